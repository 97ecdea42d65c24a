// SPDX-License-Identifier: MIT
#include "app/EntrySequence.h"

#include "core/ErrorHandler.h"

int RunProgram(int argc, char** argv) {
    TApplication app(argc, argv);
    return 0;
}
