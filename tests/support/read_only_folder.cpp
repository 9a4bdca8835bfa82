#include "support/read_only_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

uid_t NobodyUid()
{
    const passwd* entry = ::getpwnam("nobody");
    return entry ? entry->pw_uid : 65534;
}

bool CanCreateIn(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("probe-XXXXXX")));
    return probe.open();
}

}  // namespace

ReadOnlyFolder::ReadOnlyFolder() : m_path(m_root.path() + QStringLiteral("/read-only"))
{
    QDir().mkpath(m_path);
    // The other user must be able to reach the folder and read what is in it.
    ::chmod(QFile::encodeName(m_root.path()).constData(), 0755);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    Unlock();
}

bool ReadOnlyFolder::Lock()
{
    if (!m_locked) {
        ::chmod(QFile::encodeName(m_path).constData(), 0555);
        m_locked = true;
        if (::geteuid() == 0)
            m_switchedUser = ::seteuid(NobodyUid()) == 0;
    }
    return !CanCreateIn(m_path);
}

void ReadOnlyFolder::Unlock()
{
    if (!m_locked)
        return;
    if (m_switchedUser && ::seteuid(0) == 0)
        m_switchedUser = false;
    ::chmod(QFile::encodeName(m_path).constData(), 0755);
    m_locked = false;
}
