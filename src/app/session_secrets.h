#pragma once
// What the user typed during this run and must not be written anywhere (a database password): kept in
// memory only, gone when the program ends. The window writes it, the command thread reads it.

#include <QHash>
#include <QString>

#include <mutex>

class SessionSecrets {
public:
    void Remember(const QString& key, const QString& secret);
    void Forget(const QString& key);
    // False when nothing is remembered for `key`; an empty secret remembered counts as one.
    bool Find(const QString& key, QString* secret) const;

private:
    mutable std::mutex m_lock;
    QHash<QString, QString> m_secrets;
};
