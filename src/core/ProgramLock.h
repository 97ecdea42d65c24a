// SPDX-License-Identifier: MIT
#pragma once

#include <QLockFile>
#include <QString>

// One program per data folder: two copies would save over each other's changes, and two first runs
// would both create the database. The lock is a file in the data folder, held while the program
// runs; one left behind by a program that crashed is taken over.
class TProgramLock {
public:
    // Tries to take the lock at path.
    explicit TProgramLock(const QString& path);

    // Another program that is still running holds the lock. A folder that cannot take the file is
    // not that: the program then runs without the lock and meets the folder's fault where it saves.
    bool HeldByAnotherProgram() const;

private:
    QLockFile file_;
};
