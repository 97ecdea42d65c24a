// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The visual themes of menus, toolbar, status bar and dialogs. "Default" is Qt's plain look; each
// named theme is a style sheet and palette applied to the whole application at once.
class TThemes {
public:
    static inline const QString DefaultName = QStringLiteral("Default");
    static inline const QString InitialName = QStringLiteral("Office 2003");

    // "Default" first, then the named themes sorted by name without regard to letter case.
    static QStringList Names();

    // Makes name current: the current name (any letter case) changes nothing, "Default" selects
    // the plain look, a registered name selects that theme, any other name is ignored.
    static void Select(const QString& name);
    static QString Current();

    // The style sheet of a named theme; empty for "Default" and unknown names.
    static QString StyleSheet(const QString& name);
};
