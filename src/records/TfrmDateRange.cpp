// SPDX-License-Identifier: MIT
#include "records/TfrmDateRange.h"

#include "ui_TfrmDateRange.h"

#include "core/Clock.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"

TfrmDateRange::TfrmDateRange(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TfrmDateRange>()) {
    ui->setupUi(this);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(12);
    setFont(font);
    QFont bold = font;
    bold.setBold(true);
    ui->Label3->setFont(bold);
    setFixedSize(size());
    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    JoinWindowRegistry(this);
}

TfrmDateRange::~TfrmDateRange() = default;

void TfrmDateRange::FormCreate() {
    LangMgr().TranslateForm(this);
    const QDate today = CurrentDate();
    ui->dtpTo->setDate(today);
    ui->dtpD1->setDate(today.addDays(-30));
}

QDate TfrmDateRange::FromDate() const {
    return ui->dtpD1->date();
}

QDate TfrmDateRange::ToDate() const {
    return ui->dtpTo->date();
}

void TfrmDateRange::SetDates(const QDate& from, const QDate& to) {
    ui->dtpD1->setDate(from);
    ui->dtpTo->setDate(to);
}

void TfrmDateRange::SetTexts(const QString& caption, const QString& prompt) {
    setWindowTitle(caption);
    ui->Label3->setText(prompt);
}
