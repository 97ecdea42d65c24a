// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "scale/HidBackend.h"

// What sets one program apart from the other: the real one talks to HID devices, the demo to a
// virtual scale, and the demo keeps its settings and database in a folder of its own.
struct ProgramSetup {
    QString ApplicationName;
    QString DataSubfolder; // beside the executable in a build tree; empty for the real program
    std::function<std::unique_ptr<HidBackend>()> CreateHidBackend;
};

class AppPaths;

// Lists the language files, makes the default language current, then the one saved in the
// settings file. Fills Globals.SettingsPath.
void PrepareLanguage(const AppPaths& paths);

// The program's entry sequence: settings, language, splash, data module, login, main window.
int RunProgram(int argc, char** argv, const ProgramSetup& setup);
