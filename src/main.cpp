// SPDX-License-Identifier: MIT
#include "app/EntrySequence.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
