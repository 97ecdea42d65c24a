// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QWidget>
#include <memory>
#include <optional>

class QMdiArea;
class QMdiSubWindow;
class TMeasurementListModel;

namespace Ui {
class TfrmMyData;
}

// The measurement list: the logged-in user's measurements between two days, oldest first, with
// single and batch deletion and the spreadsheet export. It lives in a child window of the main
// window's client area, exists at most once (ShowMyData) and frees itself when closed.
class TfrmMyData : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMyData(QWidget* parent = nullptr);
    ~TfrmMyData() override;

    void FormCreate();
    // Maximises the child window, posted so that it happens after the activation has finished.
    void FormActivate();
    void FormResize();

    // Reads the user's rows between dtpFrom and dtpTo into the list and shows their number.
    void RefreshList();

    void btnFilterClick();
    void btnDeleteClick();
    void btnDeleteBatchClick();
    void btnExportClick();

    struct TDateRange {
        QDate From;
        QDate To;
    };
    // Asks for a range in TfrmDateRange; nothing when the person cancels.
    std::optional<TDateRange> SelectDateRange();

    // Writes the listed rows to fileName as a worksheet (replacing an existing file after asking).
    void ExportToXls(const QString& fileName);
    // Writes the listed rows to fileName as CSV: numbers in kg, or in lb when the unit setting says so.
    void ExportToCsv(const QString& fileName);

    TMeasurementListModel* Model() const { return model_; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ComposeColumnCaptions();
    void ComposeTextsAgain();
    // True when fileName does not exist, or the person agreed to replace it and it was removed.

    std::unique_ptr<Ui::TfrmMyData> ui;
    TMeasurementListModel* model_;
};

// Opens the measurement list in area when none is open, then shows it and brings it to the front.
TfrmMyData* ShowMyData(QMdiArea* area);
// The open measurement list, the target of WM_REFRESH_MYDATA; nullptr when none is open.
QWidget* GetMyDataHandle();
