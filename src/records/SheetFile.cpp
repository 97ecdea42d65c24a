// SPDX-License-Identifier: MIT
#include "records/SheetFile.h"

#include "core/AppError.h"
#include "core/MessageBox.h"
#include "lang/AnsiText.h"
#include "lang/LangMgr.h"
#include "records/FormatText.h"
#include "records/TExcelExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool ConfirmReplaceFile(QWidget* owner, const QString& fileName) {
    const QFileInfo target(fileName);
    if (!target.exists() && !target.isSymLink())
        return true;
    const QString format = GetText("FileExistsSureOverwrite");
    const std::optional<QString> question = FormatWithText(format, fileName);
    if (!question)
        throw AppError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
    if (ShowMessageBox(owner, *question, GetText("Notify"), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return false;
    QFile::setPermissions(fileName,
                          QFile::permissions(fileName) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    if (!QFile::remove(fileName)) {
        ShowMessageBox(owner, GetText("FileOpenFailure"), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}

bool WriteSheetFile(QWidget* owner, const QString& fileName, const std::vector<QStringList>& rows) {
    if (rows.size() > static_cast<size_t>(TExcelExport::MaxDataRows) + 1)
        throw AppError(QStringLiteral("A sheet holds at most %1 rows").arg(TExcelExport::MaxDataRows + 1));
    if (!ConfirmReplaceFile(owner, fileName))
        return false;

    const int codePage = AnsiCodePage();
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName), out.errorString()));
    TExcelExport::WriteBof(out);
    TExcelExport::WriteCodePage(out, static_cast<quint16>(codePage));
    for (size_t row = 0; row < rows.size(); ++row)
        for (qsizetype column = 0; column < rows[row].size(); ++column)
            TExcelExport::WriteLabelCell(out, static_cast<quint16>(column), static_cast<quint16>(row),
                                         ToAnsi(rows[row][column], codePage));
    TExcelExport::WriteEof(out);
    if (!out.commit())
        throw AppError(QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName), out.errorString()));
    return true;
}
