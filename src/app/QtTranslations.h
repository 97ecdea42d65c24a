// SPDX-License-Identifier: MIT
#pragma once

// Qt's own texts (the buttons of message boxes, the file and calendar dialogs) follow the current
// language, from Qt's translations when they are installed. Called whenever the language changes.
void FollowCurrentLanguageWithQtTexts();
