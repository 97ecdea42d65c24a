// SPDX-License-Identifier: MIT
#include "app/DataSafety.h"

#include "core/AppError.h"
#include "core/Clock.h"
#include "core/MessageBox.h"
#include "core/OpenFileDialog.h"
#include "core/SaveFileDialog.h"
#include "exchange/DatabaseBackup.h"
#include "lang/LangMgr.h"
#include "records/FormatText.h"
#include "store/TdmMain.h"

#include <QFileInfo>

namespace {

QString DatabaseFilter() {
    return QStringLiteral("%1 (*.DB *.db);;%2 (*)").arg(GetText("DatabaseFiles"), GetText("AllFiles"));
}

void ShowFailure(QWidget* owner, const char* key, const std::exception& error) {
    ShowMessageBox(owner, GetText(key) + QStringLiteral("\n") + ErrorMessageOf(error), GetText("Error"),
                   MB_OK | MB_ICONERROR);
}

const char* RefusalKeyOf(TBackupCheck check) {
    switch (check) {
    case TBackupCheck::Unreadable:
        return "RestoreUnreadable";
    case TBackupCheck::Damaged:
        return "RestoreDamaged";
    case TBackupCheck::Foreign:
        return "RestoreForeign";
    case TBackupCheck::Usable:
        break;
    }
    return nullptr;
}

} // namespace

void RunBackupCommand(QWidget* owner) {
    const QString target = AskSaveFileName(owner, QString(), DatabaseFilter(), QStringLiteral("DB"));
    if (target.isEmpty())
        return;
    if (QFileInfo::exists(target)) {
        const QString question = TextWithPath("FileExistsSureOverwrite", target);
        if (ShowMessageBox(owner, question, GetText("Notify"), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
            return;
    }
    try {
        BackupDatabase(dmMain(), target);
    } catch (const std::exception& error) {
        ShowFailure(owner, "BackupFailed", error);
        return;
    }
    ShowMessageBox(owner, TextWithPath("BackupSaved", target), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
}

bool RunRestoreCommand(QWidget* owner) {
    const QString source = AskOpenFileName(owner, QString(), DatabaseFilter());
    if (source.isEmpty())
        return false;
    if (const char* refusal = RefusalKeyOf(CheckBackupFile(source))) {
        ShowMessageBox(owner, GetText(refusal), GetText("Error"), MB_OK | MB_ICONERROR);
        return false;
    }
    if (ShowMessageBox(owner, GetText("RestoreSure"), GetText("Notify"), MB_OKCANCEL | MB_ICONINFORMATION) !=
        IDOK)
        return false;
    QString kept;
    try {
        kept = RestoreDatabase(dmMain(), source, CurrentDateTime());
    } catch (const std::exception& error) {
        ShowFailure(owner, "RestoreFailed", error);
        return false;
    }
    ShowMessageBox(owner, TextWithPath("RestoreDone", kept), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
    return true;
}

void RunAutomaticBackupAtExit(TdmMain& store) {
    try {
        RunAutomaticBackup(store, CurrentDateTime());
    } catch (const std::exception& error) {
        ShowFailure(nullptr, "AutoBackupFailed", error);
    }
}
