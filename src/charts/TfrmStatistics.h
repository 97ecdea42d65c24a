// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"
#include "insight/PeriodMeans.h"

#include <QDialog>
#include <QStringList>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// The statistics of the days the chart view shows: for weight, FAT, TBW, MUS and bone the first
// and last value, the change, the lowest, highest and mean value and the trend's change per week;
// below them the weekly or monthly means. Both tables can be saved as one worksheet. Values are
// shown in the unit setting of the moment the dialog is made.
class TfrmStatistics : public QDialog {
    Q_OBJECT
public:
    // days: one mean per measured day in kg, ascending; from..to: the range they were read for.
    TfrmStatistics(const std::vector<TDayMean>& days, const QDate& from, const QDate& to,
                   QWidget* parent = nullptr);

    void FormCreate();
    void cbbMeansChange();
    void btnExportClick();

    // The cell texts of both tables as they are shown, headings first: the statistics, an empty
    // row, then the means of the chosen period.
    std::vector<QStringList> SheetRows() const;
    TPeriod MeansPeriod() const;

private:
    void ComposeTexts();
    void FillStatistics();
    void FillMeans();

    std::vector<TDayMean> days_; // in the shown unit
    QDate from_;
    QDate to_;
    bool metric_;

    QLabel* lblRange;
    QTreeWidget* lvStatistics;
    QLabel* lblMeans;
    QComboBox* cbbMeans;
    QTreeWidget* lvMeans;
    QPushButton* btnExport;
    QPushButton* btnClose;
};
