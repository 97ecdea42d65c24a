// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

inline const QString ApplicationTitle = QStringLiteral("Body Fat Scale");

// The text shown for an error message: a full stop is appended when the last character sorts
// after "." (so "x." and "x!" stay as they are).
QString ApplicationErrorText(const QString& message);

// Shows an error that escaped a window's handler: error icon, OK, captioned with the title.
void ShowApplicationError(const std::exception& error);

// Runs handler; an exception that escapes it is shown by ShowApplicationError and the program goes on.
void RunGuarded(const std::function<void()>& handler);

// Wraps a slot without arguments so that its exceptions never travel through Qt's signal machinery.
template <typename F> auto Guarded(F handler) {
    return [handler = std::move(handler)]() { RunGuarded(handler); };
}

// The application object: an exception escaping any event handler is shown, and the loop goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
