// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QDialog>
#include <memory>

namespace Ui {
class TfrmDateRange;
}

// The small modal question for a range of days: those whose measurements a batch delete removes,
// or those a report covers.
class TfrmDateRange : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDateRange(QWidget* parent = nullptr);
    ~TfrmDateRange() override;

    void FormCreate();

    QDate FromDate() const; // dtpD1
    QDate ToDate() const;   // dtpTo
    void SetDates(const QDate& from, const QDate& to);
    // For another question than the batch delete: the window's caption and the prompt above the
    // dates, set after FormCreate's translation.
    void SetTexts(const QString& caption, const QString& prompt);

private:
    std::unique_ptr<Ui::TfrmDateRange> ui;
};
