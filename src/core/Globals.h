// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class THidDevice;

// The process-wide state every window shares. Used on the GUI thread only and never persisted.
struct TGlobals {
    int CurrentUserId = 0;               // USER_ID of the logged-in user; 0 until a login succeeds
    QString CurrentUserName;             // as shown in the login list, later as saved in user information
    int CurrentUnit = 0;                 // 0 metric (kg, cm), 1 imperial (lb, inch)
    THidDevice* AttachedScale = nullptr; // the claimed scale, or none
    QString SettingsPath;                // full path of my.ini
};

inline TGlobals Globals;
