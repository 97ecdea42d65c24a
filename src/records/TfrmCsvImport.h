// SPDX-License-Identifier: MIT
#pragma once

#include "exchange/MeasurementCsvReader.h"
#include "exchange/MeasurementImport.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The preview of a CSV import: what the file holds and what saving it would do to the logged-in
// user's measurements, before anything is written. Save writes the days and closes the dialog;
// a failed save says so and leaves the store and the dialog as they were.
class TfrmCsvImport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCsvImport(QWidget* parent = nullptr);

    void FormCreate();
    void ShowPreview(const QString& fileName, const TCsvMeasurements& read, const TImportPreview& preview);
    void btnSaveClick();

private:
    QLabel* AddLine(const char* name, const QString& caption);

    TCsvMeasurements read_;
    QLabel* lblFileName_;
    QLabel* lblDaysValue_;
    QLabel* lblNewDaysValue_;
    QLabel* lblReplacedDaysValue_;
    QLabel* lblSkippedValue_;
    QLabel* lblSkippedDateValue_;
    QLabel* lblSkippedRangeValue_;
    QLabel* lblSkippedWeightValue_;
    QPushButton* btnSave_;
};

// Data > Import from File: asks for the file, refuses one it cannot read with a message, shows the
// preview and saves on the person's word; an open measurement list then reads its rows again.
void RunCsvImport(QWidget* owner);
