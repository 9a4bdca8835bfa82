#include "app/instance_lock.h"

#include <QDir>

namespace {
constexpr char kLockName[] = "zt5-configurator.lock";
}  // namespace

InstanceLock::InstanceLock(const QString& workFolder)
    : m_folder(QDir::toNativeSeparators(workFolder)), m_lock(QDir(workFolder).filePath(QLatin1String(kLockName)))
{
    // Held for as long as the program runs: never stale by age, only when its process has gone.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::Take()
{
    if (m_lock.tryLock(0))
        return true;
    return m_lock.error() != QLockFile::LockFailedError;
}

QString InstanceLock::SecondInstanceQuestion() const
{
    qint64 pid = 0;
    QString host;
    QString program;
    const QString holder = m_lock.getLockInfo(&pid, &host, &program)
        ? QString::fromUtf8(" (процесс %1 на компьютере \"%2\")").arg(pid).arg(host)
        : QString();
    return QString::fromUtf8(
               "Конфигуратор уже запущен с рабочей папкой \"%1\"%2. Два экземпляра записывают "
               "базу узлов учета и настройки один поверх другого.\r\n\r\n"
               "Продолжить работу во втором экземпляре?")
        .arg(m_folder, holder);
}
