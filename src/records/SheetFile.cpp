// SPDX-License-Identifier: MIT
#include "records/SheetFile.h"

#include "core/AppError.h"
#include "core/AtomicFile.h"
#include "core/MessageBox.h"
#include "lang/AnsiText.h"
#include "lang/LangMgr.h"
#include "records/FormatText.h"
#include "records/TExcelExport.h"

#include <QFile>
#include <QFileInfo>

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
    WriteFileAtomically(fileName, [&](QIODevice& out) {
        TExcelExport::WriteSheet(out, static_cast<quint16>(codePage), static_cast<int>(rows.size()),
                                 [&](int row, QList<QByteArray>& cells) {
                                     for (const QString& text : rows[static_cast<size_t>(row)])
                                         cells.append(ToAnsi(text, codePage));
                                 });
    });
    return true;
}
