// SPDX-License-Identifier: MIT
#include "records/TfrmCsvImport.h"

#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/OpenFileDialog.h"
#include "core/WindowMessage.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "records/FormatText.h"
#include "records/TfrmMyData.h"
#include "store/TdmMain.h"
#include "store/ValueFormats.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* ErrorKeyOf(TCsvFileError error) {
    switch (error) {
    case TCsvFileError::Unreadable:
        return "ImportUnreadable";
    case TCsvFileError::TooLarge:
        return "ImportTooLarge";
    case TCsvFileError::NotUtf8:
        return "ImportNotUtf8";
    case TCsvFileError::NotCsv:
        return "ImportNotCsv";
    case TCsvFileError::NoDateColumn:
        return "ImportNoDateColumn";
    case TCsvFileError::None:
        break;
    }
    return nullptr;
}

} // namespace

TfrmCsvImport::TfrmCsvImport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmCsvImport"));
    setWindowTitle(QStringLiteral("Import from File"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(12);
    setFont(font);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    setLayout(layout);

    lblFileName_ = AddLine("lblFile", QStringLiteral("File:"));
    lblFileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDaysValue_ = AddLine("lblDays", QStringLiteral("Days in the file:"));
    lblNewDaysValue_ = AddLine("lblNewDays", QStringLiteral("New days:"));
    lblReplacedDaysValue_ = AddLine("lblReplacedDays", QStringLiteral("Days that replace stored ones:"));
    lblSkippedValue_ = AddLine("lblSkipped", QStringLiteral("Rows skipped:"));
    lblSkippedDateValue_ = AddLine("lblSkippedDate", QStringLiteral("bad date:"));
    lblSkippedRangeValue_ = AddLine("lblSkippedRange", QStringLiteral("value out of range:"));
    lblSkippedWeightValue_ = AddLine("lblSkippedWeight", QStringLiteral("no weight:"));
    // The reasons stand indented below their total.
    for (const char* name : {"lblSkippedDate", "lblSkippedRange", "lblSkippedWeight"})
        findChild<QLabel*>(QLatin1String(name))->setIndent(20);

    btnSave_ = new QPushButton(QStringLiteral("Save"), this);
    btnSave_->setObjectName(QStringLiteral("btnSave"));
    btnSave_->setDefault(true);
    auto* btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSave_);
    buttons->addWidget(btnCancel);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(btnSave_, &QPushButton::clicked, this, Guarded([this] { btnSaveClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(420);
    JoinWindowRegistry(this);
}

QLabel* TfrmCsvImport::AddLine(const char* name, const QString& caption) {
    auto* grid = static_cast<QGridLayout*>(layout()->itemAt(0)->layout());
    const int row = grid->rowCount();
    auto* label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(name));
    auto* value = new QLabel(this);
    value->setObjectName(QLatin1String(name) + QStringLiteral("Value"));
    grid->addWidget(label, row, 0);
    grid->addWidget(value, row, 1);
    return value;
}

void TfrmCsvImport::FormCreate() {
    LangMgr().TranslateForm(this);
}

void TfrmCsvImport::ShowPreview(const QString& fileName, const TCsvMeasurements& read,
                                const TImportPreview& preview) {
    read_ = read;
    lblFileName_->setText(QDir::toNativeSeparators(fileName));
    QString days = QString::number(read.Days.size());
    if (!read.Days.empty())
        days += QStringLiteral("  (%1 – %2)")
                    .arg(DateText(read.Days.front().Day), DateText(read.Days.back().Day));
    lblDaysValue_->setText(days);
    lblNewDaysValue_->setText(QString::number(preview.NewDays));
    lblReplacedDaysValue_->setText(QString::number(preview.ReplacedDays));
    lblSkippedValue_->setText(
        QString::number(read.SkippedBadDate + read.SkippedOutOfRange + read.SkippedNoWeight));
    lblSkippedDateValue_->setText(QString::number(read.SkippedBadDate));
    lblSkippedRangeValue_->setText(QString::number(read.SkippedOutOfRange));
    lblSkippedWeightValue_->setText(QString::number(read.SkippedNoWeight));
    btnSave_->setEnabled(!read.Days.empty());
}

void TfrmCsvImport::btnSaveClick() {
    try {
        SaveImportedDays(dmMain(), Globals.CurrentUserId, read_.Days);
    } catch (const std::exception& error) {
        ShowMessageBox(this, GetText("ImportSaveFailed") + QStringLiteral("\n") + ErrorMessageOf(error),
                       GetText("Error"), MB_OK | MB_ICONERROR);
        return;
    }
    if (QWidget* myData = GetMyDataHandle())
        PostWindowMessage(myData, WM_REFRESH_MYDATA, 0, 0);
    const int saved = static_cast<int>(read_.Days.size());
    ShowMessageBox(this, FormatWithInteger(GetText("ImportSaved"), saved).value_or(GetText("ImportSaved")),
                   GetText("Notify"), MB_OK | MB_ICONINFORMATION);
    accept();
}

void RunCsvImport(QWidget* owner) {
    const QString filter = QStringLiteral("%1 (*.csv);;%2 (*)").arg(GetText("CsvFiles"), GetText("AllFiles"));
    const QString fileName = AskOpenFileName(owner, QString(), filter);
    if (fileName.isEmpty())
        return;
    const TCsvMeasurements read = ReadMeasurementCsvFile(fileName);
    if (const char* key = ErrorKeyOf(read.Error)) {
        ShowMessageBox(owner, GetText(key), GetText("Error"), MB_OK | MB_ICONERROR);
        return;
    }
    const TImportPreview preview = PreviewImport(dmMain(), Globals.CurrentUserId, read.Days);
    TfrmCsvImport dialog(owner);
    RunGuarded([&] { dialog.FormCreate(); });
    dialog.ShowPreview(fileName, read, preview);
    dialog.exec();
}
