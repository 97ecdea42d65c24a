// SPDX-License-Identifier: MIT
// The program with one virtual scale plugged in that holds a few months of measurements, so that
// the whole program can be tried without the device.
#include "app/DemoScale.h"
#include "app/EntrySequence.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv,
                      {QStringLiteral("body-fat-scale-demo"), QStringLiteral("demo"), CreateDemoBackend});
}
