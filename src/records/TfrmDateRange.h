// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QDialog>
#include <memory>

namespace Ui {
class TfrmDateRange;
}

// The small modal question for the days whose measurements a batch delete removes.
class TfrmDateRange : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDateRange(QWidget* parent = nullptr);
    ~TfrmDateRange() override;

    void FormCreate();

    QDate FromDate() const; // dtpD1
    QDate ToDate() const;   // dtpTo
    void SetDates(const QDate& from, const QDate& to);

private:
    std::unique_ptr<Ui::TfrmDateRange> ui;
};
