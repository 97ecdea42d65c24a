// SPDX-License-Identifier: MIT
// Runs a fuzz target over files without libFuzzer: every regular file in each folder argument (and
// every file argument) is fed once to LLVMFuzzerTestOneInput, in name order. A failing input
// aborts the process, so ctest reports the test as failed and the output names the file.
#include "FuzzTarget.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path argument(argv[i]);
        if (fs::is_directory(argument)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(argument))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else {
            inputs.push_back(argument);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::cerr << "no inputs given\n";
        return 1;
    }
    for (const fs::path& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        if (!file) {
            std::cerr << "cannot read " << input << '\n';
            return 1;
        }
        std::cerr << "input " << input.filename().string() << '\n';
        const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
        // A copy of exactly the input's size, so that reading past its end is caught by a sanitizer.
        std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::cout << inputs.size() << " inputs replayed\n";
    return 0;
}
