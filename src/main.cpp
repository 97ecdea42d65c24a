// SPDX-License-Identifier: MIT
#include "app/EntrySequence.h"
#include "scale/HidapiBackend.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv, {QStringLiteral("body-fat-scale"), QString(), [] {
                                       return std::unique_ptr<HidBackend>(std::make_unique<HidapiBackend>());
                                   }});
}
