// SPDX-License-Identifier: MIT
#include "core/AtomicFile.h"

#include "core/AppError.h"

#include <QDir>
#include <QSaveFile>

void WriteFileAtomically(const QString& fileName, const std::function<void(QIODevice&)>& write) {
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName), out.errorString()));
    write(out);
    if (!out.commit())
        throw AppError(QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName), out.errorString()));
}
