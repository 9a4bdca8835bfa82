#include "app/session_secrets.h"

void SessionSecrets::Remember(const QString& key, const QString& secret)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    m_secrets.insert(key, secret);
}

void SessionSecrets::Forget(const QString& key)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    m_secrets.remove(key);
}

bool SessionSecrets::Find(const QString& key, QString* secret) const
{
    const std::lock_guard<std::mutex> lock(m_lock);
    const auto found = m_secrets.constFind(key);
    if (found == m_secrets.cend())
        return false;
    *secret = found.value();
    return true;
}
