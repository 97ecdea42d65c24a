// SPDX-License-Identifier: MIT
#include "core/ErrorHandler.h"

#include "core/AppError.h"
#include "core/MessageBox.h"

QString ErrorMessageOf(const std::exception& error) {
    if (const auto* appError = dynamic_cast<const AppError*>(&error))
        return appError->message();
    return QString::fromUtf8(error.what());
}

QString ApplicationErrorText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowApplicationError(const std::exception& error) {
    ShowMessageBox(nullptr, ApplicationErrorText(ErrorMessageOf(error)), ApplicationTitle,
                   MB_OK | MB_ICONERROR);
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowApplicationError(error);
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowApplicationError(error);
        return true;
    }
}
