// SPDX-License-Identifier: MIT
#include "core/ProgramLock.h"

TProgramLock::TProgramLock(const QString& path) : file_(path) {
    // A lock is stale only when the program that wrote it no longer runs, however old it is: the
    // program runs for hours, and an age limit would let a second copy break a live lock.
    file_.setStaleLockTime(0);
    file_.tryLock(0);
}

bool TProgramLock::HeldByAnotherProgram() const {
    return file_.error() == QLockFile::LockFailedError;
}
