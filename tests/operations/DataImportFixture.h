// SPDX-License-Identifier: MIT
#pragma once

#include "OperationsFixture.h"

#include "core/WindowMessage.h"
#include "operations/MyDataLink.h"
#include "operations/TImportListModel.h"
#include "operations/TfrmDataImport.h"
#include "scale/ScaleProtocol.h"
#include "store/Statements.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

inline MeasurementRecord Measurement(const QDate& day, double weight, double fat = 23.4, double tbw = 55.1,
                                     double mus = 38.2, double bone = 3.1) {
    return MeasurementRecord{day, weight, fat, tbw, mus, bone};
}

inline const QDate March1(2024, 3, 1);
inline const QDate March2(2024, 3, 2);
inline const QDate March3(2024, 3, 3);

inline Bytes Part1(int index) {
    return RequestBytes(ReadDataRequest(1, ReadDataPart::Part1, index));
}
inline Bytes Part2(int index) {
    return RequestBytes(ReadDataRequest(1, ReadDataPart::Part2, index));
}
inline const Bytes CountRequest = HexBytes("00 FF 03 01 55 AA 55 D5 BD");

// Receives what is posted to the measurement list.
class MyDataWindow : public QObject {
public:
    bool event(QEvent* event) override {
        if (static_cast<int>(event->type()) == WM_REFRESH_MYDATA) {
            const auto* message = static_cast<TWindowMessage*>(event);
            refreshes.push_back({message->WParam, message->LParam});
            return true;
        }
        return QObject::event(event);
    }
    std::vector<std::pair<qintptr, qintptr>> refreshes;
};

// One stored P_DATA row as text, for comparing whole tables.
inline QStringList StoredRows(const QString& where = QString()) {
    QStringList rows;
    for (const TDataRow& row : dmMain().SelectRows(
             QStringLiteral(
                 "select ID, USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE from P_DATA %1 order by ID")
                 .arg(where))) {
        QStringList cells;
        for (int i = 0; i < row.ColumnCount(); ++i)
            cells << row.ValueAt(i).toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// user 1's rows as "date weight", oldest first.
inline QStringList StoredDays() {
    QStringList days;
    for (const TDataRow& row : dmMain().SelectRows(
             QStringLiteral("select THE_DATE, WEIGHT from P_DATA where USER_ID = 1 order by THE_DATE, ID")))
        days << row.AsString(QStringLiteral("THE_DATE")) + QLatin1Char(' ') +
                    QString::number(row.AsFloat(QStringLiteral("WEIGHT")));
    return days;
}

class DataImportTest : public OperationsTest {
protected:
    void TearDown() override {
        SetMyDataHandleSource({});
        OperationsTest::TearDown();
    }

    VirtualScale& ScaleWith(const std::vector<MeasurementRecord>& measurements, int slot = 1) {
        VirtualScale& scale = PlugScale();
        for (const MeasurementRecord& measurement : measurements)
            scale.addMeasurement(slot, measurement);
        return scale;
    }

    // Opens the dialog as the open routine does, without its modal loop.
    std::unique_ptr<TfrmDataImport> Open() {
        auto dialog = std::make_unique<TfrmDataImport>();
        dialog->FormCreate();
        dialog->show();
        dialog->StartCounting();
        return dialog;
    }
    std::unique_ptr<TfrmDataImport> OpenAndCount(int expected) {
        std::unique_ptr<TfrmDataImport> dialog = Open();
        EXPECT_TRUE(WaitUntil([&] { return dialog->Total() == expected; }));
        EXPECT_EQ(Count(*dialog), QString::number(expected));
        return dialog;
    }

    template <typename T> static T* Child(QWidget& dialog, const char* name) {
        T* child = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QString Count(QWidget& dialog) { return Child<QLineEdit>(dialog, "edtCount")->text(); }
    static QPushButton* Button(QWidget& dialog, const char* name) { return Child<QPushButton>(dialog, name); }
    static QTableView* List(QWidget& dialog) { return Child<QTableView>(dialog, "lv1"); }
    static int RowCount(QWidget& dialog) { return List(dialog)->model()->rowCount(); }
    static QVariant Data(QWidget& dialog, int row, int column, int role = Qt::DisplayRole) {
        QAbstractItemModel* model = List(dialog)->model();
        return model->data(model->index(row, column), role);
    }
    static QStringList Row(QWidget& dialog, int row) {
        QStringList cells;
        for (int column = 0; column < TImportListModel::ColumnCount; ++column)
            cells << Data(dialog, row, column).toString();
        return cells;
    }

    // Presses Import and waits until the transfer has ended in a message box.
    void Import(TfrmDataImport& dialog, const char* endKey = "Complete", int timeoutMs = 3000) {
        boxes.clear();
        Button(dialog, "btnImport")->click();
        EXPECT_TRUE(WaitForBox(endKey, timeoutMs))
            << endKey << "; shown: " << boxes.texts().join("; ").toStdString();
        EXPECT_TRUE(Button(dialog, "btnImport")->isEnabled());
    }
    static QString StayOnScaleText(int count) {
        return GetText("MeasurementsStayOnScale").replace(QStringLiteral("%d"), QString::number(count));
    }
    void Save(TfrmDataImport& dialog) {
        boxes.clear();
        Button(dialog, "btnSave")->click();
    }
};
