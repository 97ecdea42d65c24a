// SPDX-License-Identifier: MIT
#include "app/Themes.h"

#include "core/Contrast.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <algorithm>
#include <array>

namespace {

// The colours that make one theme; every theme fills the same style sheet template.
struct ThemeColours {
    const char* name;
    const char* window; // dialogs and window backgrounds
    const char* text;   // text on window backgrounds
    const char* barTop; // menu bar and toolbar gradient
    const char* barBottom;
    const char* barText;
    const char* barBorder;
    const char* menu; // drop-down menus
    const char* menuText;
    const char* highlight; // selected menu item, focus, selection
    const char* highlightText;
    const char* statusTop; // status bar gradient
    const char* statusBottom;
    const char* statusText;
    const char* buttonTop; // push buttons
    const char* buttonBottom;
    const char* input; // edits, combo boxes, lists
};

constexpr std::array<ThemeColours, 12> Themes = {{
    {"Aluminum", "#e4e6e8", "#1e2326", "#f7f8f9", "#c5c9cd", "#1e2326", "#9aa0a6", "#f3f4f5", "#1e2326",
     "#697682", "#ffffff", "#d4d8dc", "#b4b9be", "#1e2326", "#fbfbfc", "#d2d6da", "#ffffff"},
    {"Athen", "#f3eee4", "#3b2f20", "#fbf6ea", "#e2d3b3", "#3b2f20", "#bfa77a", "#fffaf0", "#3b2f20",
     "#2f6690", "#ffffff", "#e9dcc0", "#d5c29b", "#3b2f20", "#fffdf7", "#eadfc6", "#fffdf8"},
    {"Dream", "#f1ecf8", "#2e2540", "#e9def9", "#b9a3e3", "#2e2540", "#9a84c9", "#f8f4fd", "#2e2540",
     "#8a5cd1", "#ffffff", "#cdbdf0", "#a991de", "#2e2540", "#fbf9ff", "#ded2f5", "#ffffff"},
    {"Eos", "#eef1f4", "#20262d", "#ffffff", "#e3e8ee", "#20262d", "#c4ccd5", "#ffffff", "#20262d", "#1570eb",
     "#ffffff", "#f4f6f8", "#dfe4ea", "#46505b", "#ffffff", "#e9edf2", "#ffffff"},
    {"Human", "#efebe7", "#3c3b37", "#f6f0ea", "#dcc9b6", "#3c3b37", "#b59f87", "#f9f6f3", "#3c3b37",
     "#bc5618", "#ffffff", "#d9c6b3", "#c3ab93", "#3c3b37", "#fbf8f5", "#e4d7ca", "#ffffff"},
    {"Leopard", "#e8e8e8", "#1a1a1a", "#ececec", "#b8b8b8", "#1a1a1a", "#8c8c8c", "#f6f6f6", "#1a1a1a",
     "#3472d6", "#ffffff", "#d8d8d8", "#a9a9a9", "#1a1a1a", "#ffffff", "#d6d6d6", "#ffffff"},
    {"Office 2003", "#f3f7fd", "#15275a", "#e3efff", "#9ebff6", "#15275a", "#7a9fd9", "#fbfcff", "#15275a",
     "#ffd58c", "#15275a", "#c9dcfa", "#8fb1ea", "#15275a", "#fdfeff", "#cfe0fb", "#ffffff"},
    {"Office 2007 Black", "#3a3d42", "#f0f0f0", "#5a5e64", "#2b2d31", "#f0f0f0", "#17181a", "#2f3135",
     "#f0f0f0", "#f2b33d", "#1b1b1b", "#4a4d52", "#26282b", "#e6e6e6", "#62666c", "#3f4247", "#25272b"},
    {"Office 2007 Blue", "#dfe9f5", "#15428b", "#e4efff", "#bcd4f2", "#15428b", "#8db2e3", "#fafcff",
     "#15428b", "#ffd87a", "#15428b", "#d0e1f7", "#a9c6ed", "#15428b", "#ffffff", "#d6e5f8", "#ffffff"},
    {"Office 2007 Silver", "#eceef1", "#3b3b3b", "#f7f8fa", "#cdd2d9", "#3b3b3b", "#a5acb5", "#fbfbfc",
     "#3b3b3b", "#ffd87a", "#3b3b3b", "#e0e3e8", "#c2c7cf", "#3b3b3b", "#ffffff", "#dfe2e7", "#ffffff"},
    {"Office XP", "#f6f5f2", "#000000", "#f9f8f6", "#e8e6e0", "#000000", "#c0bdb4", "#ffffff", "#000000",
     "#b6bdd2", "#000000", "#ece9e2", "#dcd8cf", "#000000", "#ffffff", "#ecebe6", "#ffffff"},
    {"Xito", "#eaf3ec", "#17351f", "#eaf7ed", "#9fd3ad", "#17351f", "#6fb582", "#f7fcf8", "#17351f",
     "#278447", "#ffffff", "#bfe3c9", "#8ccb9e", "#17351f", "#fbfefc", "#d3ecd9", "#ffffff"},
}};

const QString StyleSheetTemplate = QStringLiteral(R"(
QMainWindow, QDialog, QMessageBox { background: %window; color: %text; }
QLabel, QCheckBox, QRadioButton, QGroupBox { color: %text; }
QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %barTop, stop:1 %barBottom);
           color: %barText; border-bottom: 1px solid %barBorder; padding: 1px; }
QMenuBar::item { background: transparent; padding: 4px 10px; border-radius: 3px; }
QMenuBar::item:selected, QMenuBar::item:pressed { background: %highlight; color: %highlightText; }
QMenu { background: %menu; color: %menuText; border: 1px solid %barBorder; padding: 3px; }
QMenu::item { padding: 5px 28px 5px 26px; border-radius: 3px; }
QMenu::item:selected { background: %highlight; color: %highlightText; }
QMenu::separator { height: 1px; background: %barBorder; margin: 4px 8px; }
QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %barTop, stop:1 %barBottom);
           border-bottom: 1px solid %barBorder; spacing: 4px; padding: 3px; }
QToolBar::separator { width: 1px; background: %barBorder; margin: 6px 6px; }
QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 3px; }
QToolButton:hover { border-color: %barBorder; background: rgba(255, 255, 255, 60); }
QToolButton:pressed { background: %highlight; }
QStatusBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %statusTop, stop:1 %statusBottom);
             color: %statusText; border-top: 1px solid %barBorder; }
QStatusBar QLabel { color: %statusText; padding: 2px 6px; }
QStatusBar::item { border: none; }
QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %buttonTop, stop:1 %buttonBottom);
              color: %text; border: 1px solid %barBorder; border-radius: 4px; padding: 2px 3px; min-height: 18px; }
QPushButton:hover { border-color: %highlight; }
QPushButton:pressed { background: %highlight; color: %highlightText; }
QPushButton:disabled { color: %barBorder; }
QLineEdit, QComboBox, QDateEdit, QPlainTextEdit, QTextEdit, QTreeView, QListView, QTableView {
    background: %input; color: %text; border: 1px solid %barBorder; border-radius: 3px;
    selection-background-color: %highlight; selection-color: %highlightText;
    alternate-background-color: %menu; }
QLineEdit, QComboBox, QDateEdit { padding: 2px 4px; min-height: 18px; }
/* Spin boxes keep the style's own arrow buttons, in the palette's colours: a styled frame would
   leave their buttons without arrows. */
QComboBox QAbstractItemView { background: %menu; color: %menuText; }
QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %barTop, stop:1 %barBottom);
                       color: %barText; border: none; border-right: 1px solid %barBorder;
                       border-bottom: 1px solid %barBorder; padding: 3px 6px; }
QGroupBox { border: 1px solid %barBorder; border-radius: 4px; margin-top: 10px; padding-top: 6px; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }
QProgressBar { border: 1px solid %barBorder; border-radius: 3px; background: %input; color: %text; text-align: center; }
QProgressBar::chunk { background: %highlight; }
)");

const ThemeColours* findTheme(const QString& name) {
    const auto it = std::find_if(Themes.begin(), Themes.end(), [&](const ThemeColours& theme) {
        return name.compare(QLatin1String(theme.name), Qt::CaseInsensitive) == 0;
    });
    return it == Themes.end() ? nullptr : &*it;
}

QString fill(const ThemeColours& c) {
    QString sheet = StyleSheetTemplate;
    const std::pair<const char*, const char*> fields[] = {
        {"%window", c.window},         {"%text", c.text},           {"%barTop", c.barTop},
        {"%barBottom", c.barBottom},   {"%barText", c.barText},     {"%barBorder", c.barBorder},
        {"%menuText", c.menuText},     {"%menu", c.menu},           {"%highlightText", c.highlightText},
        {"%highlight", c.highlight},   {"%statusTop", c.statusTop}, {"%statusBottom", c.statusBottom},
        {"%statusText", c.statusText}, {"%buttonTop", c.buttonTop}, {"%buttonBottom", c.buttonBottom},
        {"%input", c.input},
    };
    for (const auto& [field, colour] : fields) // longer names first where one is a prefix of another
        sheet.replace(QLatin1String(field), QLatin1String(colour));
    return sheet;
}

// The plain look takes its selection colours from the platform, which may pair white with a mid
// blue: the highlight is darkened (or lightened) until selected text reads on it.
void KeepSelectionReadable(QPalette& palette) {
    palette.setColor(QPalette::Highlight, ReadableAgainst(palette.color(QPalette::Highlight),
                                                          palette.color(QPalette::HighlightedText)));
}

QString& currentName() {
    static QString name = TThemes::DefaultName;
    return name;
}

} // namespace

QStringList TThemes::Names() {
    QStringList names;
    for (const ThemeColours& theme : Themes)
        names.append(QLatin1String(theme.name));
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    names.prepend(DefaultName);
    return names;
}

QString TThemes::StyleSheet(const QString& name) {
    const ThemeColours* theme = findTheme(name);
    return theme ? fill(*theme) : QString();
}

QString TThemes::Current() {
    return currentName();
}

void TThemes::Select(const QString& name) {
    // The plain look is current before anything was selected, but its palette is applied only by
    // the first selection.
    static bool applied = false;
    if (applied && name.compare(currentName(), Qt::CaseInsensitive) == 0)
        return;
    const ThemeColours* theme = findTheme(name);
    const bool plain = name.compare(DefaultName, Qt::CaseInsensitive) == 0;
    if (!theme && !plain)
        return;
    // Named themes draw on Fusion, which follows style sheets and palettes faithfully.
    static const QString plainStyle = QApplication::style()->name();
    QApplication::setStyle(QStyleFactory::create(plain ? plainStyle : QStringLiteral("Fusion")));
    QPalette palette = QApplication::style()->standardPalette();
    if (theme) {
        palette.setColor(QPalette::Window, QColor(QLatin1String(theme->window)));
        palette.setColor(QPalette::WindowText, QColor(QLatin1String(theme->text)));
        palette.setColor(QPalette::Base, QColor(QLatin1String(theme->input)));
        palette.setColor(QPalette::Text, QColor(QLatin1String(theme->text)));
        palette.setColor(QPalette::Button, QColor(QLatin1String(theme->buttonBottom)));
        palette.setColor(QPalette::ButtonText, QColor(QLatin1String(theme->text)));
        palette.setColor(QPalette::Highlight, QColor(QLatin1String(theme->highlight)));
        palette.setColor(QPalette::HighlightedText, QColor(QLatin1String(theme->highlightText)));
    }
    KeepSelectionReadable(palette);
    QApplication::setPalette(palette);
    qApp->setStyleSheet(theme ? fill(*theme) : QString());
    applied = true;
    currentName() = plain ? DefaultName : QLatin1String(theme->name);
}
