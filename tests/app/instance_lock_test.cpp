#include "app/instance_lock.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

TEST(InstanceLock, SecondProgramIsToldAndACrashedOnesLockIsTakenOver)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    {
        InstanceLock first(folder.path());
        ASSERT_TRUE(first.Take());
        InstanceLock second(folder.path());
        EXPECT_FALSE(second.Take());
        const QString question = second.SecondInstanceQuestion();
        EXPECT_TRUE(question.contains(QStringLiteral("уже запущен с рабочей папкой \"%1\"").arg(folder.path())));
        EXPECT_TRUE(question.contains(QStringLiteral("процесс %1").arg(::getpid()))) << question.toStdString();
    }
    {
        // A program that ended without letting go (as a crash does): its lock names a process that is gone.
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto* held = new InstanceLock(folder.path());
            ::_exit(held->Take() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("zt5-configurator.lock"))));
        InstanceLock after(folder.path());
        EXPECT_TRUE(after.Take());
    }
}
