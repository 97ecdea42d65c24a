// SPDX-License-Identifier: MIT
#include "core/ProgramLock.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace {

class ProgramLockTest : public ::testing::Test {
protected:
    QString LockPath() const { return folder.filePath(QStringLiteral("running.lock")); }

    // A child process that takes the lock and then either dies at once, leaving the lock behind as
    // a crash does, or stays alive holding it until it is killed.
    pid_t ChildHoldingTheLock(bool staysAlive) {
        int ready[2];
        if (pipe(ready) != 0)
            return -1;
        const pid_t child = fork();
        if (child == 0) {
            close(ready[0]);
            const auto* lock = new TProgramLock(LockPath()); // never freed: it dies with the child
            const char taken = lock->HeldByAnotherProgram() ? 'n' : 'y';
            if (write(ready[1], &taken, 1) != 1 || !staysAlive)
                _exit(0); // no destructors: the lock file stays
            pause();
            _exit(0);
        }
        close(ready[1]);
        char taken = 0;
        const bool answered = read(ready[0], &taken, 1) == 1 && taken == 'y';
        close(ready[0]);
        EXPECT_TRUE(answered) << "the child could not take the lock";
        if (!staysAlive)
            waitpid(child, nullptr, 0);
        return child;
    }

    void Stop(pid_t child) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }

    QTemporaryDir folder;
};

bool HeldElsewhere(const QString& path) {
    return TProgramLock(path).HeldByAnotherProgram();
}

TEST_F(ProgramLockTest, OneHolderAtATimeAndFreedWhenTheProgramEnds) {
    auto first = std::make_unique<TProgramLock>(LockPath());
    ASSERT_FALSE(first->HeldByAnotherProgram());
    EXPECT_TRUE(QFile::exists(LockPath()));
    first.reset();
    EXPECT_FALSE(QFile::exists(LockPath()));
    EXPECT_FALSE(HeldElsewhere(LockPath()));
}

// Another running program keeps its lock however long it has held it.
TEST_F(ProgramLockTest, ARunningProgramsLockIsRefusedEvenWhenItIsOld) {
    const pid_t child = ChildHoldingTheLock(true);
    EXPECT_TRUE(HeldElsewhere(LockPath()));
    const utimbuf hourAgo{time(nullptr) - 3600, time(nullptr) - 3600};
    ASSERT_EQ(utime(QFile::encodeName(LockPath()).constData(), &hourAgo), 0);
    EXPECT_TRUE(HeldElsewhere(LockPath()));
    Stop(child);
}

// A program that crashed leaves its lock file behind; the next start takes it over at once.
TEST_F(ProgramLockTest, ALockLeftByACrashIsTakenOver) {
    ChildHoldingTheLock(false);
    ASSERT_TRUE(QFile::exists(LockPath()));
    EXPECT_FALSE(HeldElsewhere(LockPath()));
}

// A folder that cannot take the lock file is not another program running.
TEST_F(ProgramLockTest, AFolderThatCannotTakeTheFileIsNotAnotherProgram) {
    EXPECT_FALSE(HeldElsewhere(folder.filePath(QStringLiteral("missing/running.lock"))));
}

} // namespace
