// SPDX-License-Identifier: MIT
#pragma once

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The two entry points every fuzz target defines. libFuzzer calls them in a fuzzing build;
// ReplayMain.cpp calls them for each corpus file in the ordinary test build.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A broken property of the code under test: report it and abort, which both libFuzzer and the
// replay test count as a finding.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);               \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

// A folder for the files a target writes, removed when the process ends normally.
inline QString ScratchFolder() {
    static QTemporaryDir folder;
    return folder.path();
}
