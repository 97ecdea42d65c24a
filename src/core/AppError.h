// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The program's error: a message meant for the person, shown by ShowApplicationError when it
// escapes a window's handler.
class AppError : public std::exception {
public:
    explicit AppError(const QString& message) : message_(message), utf8_(message.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// The message of any exception as the person should read it.
QString ErrorMessageOf(const std::exception& error);
