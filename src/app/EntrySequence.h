// SPDX-License-Identifier: MIT
#pragma once

// The program's entry sequence: settings, language, splash, data module, login, main window.
int RunProgram(int argc, char** argv);
