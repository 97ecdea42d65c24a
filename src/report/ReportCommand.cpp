// SPDX-License-Identifier: MIT
#include "report/ReportCommand.h"

#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/SaveFileDialog.h"
#include "lang/LangMgr.h"
#include "records/FormatText.h"
#include "records/TfrmDateRange.h"
#include "report/ReportContent.h"
#include "report/ReportPdf.h"
#include "store/TdmMain.h"

#include <QFileInfo>
#include <utility>

namespace {} // namespace

void RunReport(QWidget* owner) {
    const TDateRange proposed = DefaultReportRange(dmMain(), Globals.CurrentUserId, CurrentDate());
    TfrmDateRange dialog(owner);
    RunGuarded([&] { dialog.FormCreate(); });
    dialog.SetTexts(GetText("ReportRangeCaption"), GetText("ReportRangePrompt"));
    dialog.SetDates(proposed.From, proposed.To);
    if (dialog.exec() != QDialog::Accepted)
        return;
    MakeReport(owner, dialog.FromDate(), dialog.ToDate());
}

void MakeReport(QWidget* owner, const QDate& from, const QDate& to) {
    const auto [first, last] = from <= to ? std::pair(from, to) : std::pair(to, from);
    const TReportContent content = ReadReportContent(dmMain(), Globals.CurrentUserId,
                                                     Globals.CurrentUnit == 0, first, last, CurrentDate());
    if (content.Days.empty()) {
        ShowMessageBox(owner, GetText("ReportNoMeasurements"), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
        return;
    }
    QString path = AskSaveFileName(owner, QString(), GetText("PdfFile") + QStringLiteral(" (*.pdf)"),
                                   QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (QFileInfo::exists(path) &&
        ShowMessageBox(owner, TextWithPath("FileExistsSureOverwrite", path), GetText("Notify"),
                       MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return;
    if (!SaveReportPdf(content, path)) {
        ShowMessageBox(owner, TextWithPath("ReportWriteFailed", path), GetText("Error"),
                       MB_OK | MB_ICONERROR);
        return;
    }
    ShowMessageBox(owner, TextWithPath("ReportSaved", path), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
}
