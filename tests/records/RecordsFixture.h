// SPDX-License-Identifier: MIT
#pragma once

#include "support/MessageBoxRecorder.h"
#include "support/TestLanguage.h"

#include "core/Clock.h"
#include "core/Globals.h"
#include "core/SaveFileDialog.h"
#include "lang/LangMgr.h"
#include "records/TMeasurementListModel.h"
#include "records/TfrmDateRange.h"
#include "records/TfrmMyData.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// One cell of a written worksheet.
struct SheetCell {
    int Row;
    int Column;
    QByteArray Text;
    bool operator==(const SheetCell& other) const {
        return Row == other.Row && Column == other.Column && Text == other.Text;
    }
};

// Reads a file written by the export: BOF, CODEPAGE, LABEL records, EOF and nothing else; the code
// page goes to codePage when given. A fault in the structure is reported as a test failure and
// ends the reading.
inline std::vector<SheetCell> ReadSheet(const QByteArray& file, int* codePage = nullptr) {
    std::vector<SheetCell> cells;
    auto word = [&](qsizetype at) {
        return static_cast<int>(static_cast<uchar>(file[at]) | (static_cast<uchar>(file[at + 1]) << 8));
    };
    if (!file.startsWith(QByteArray::fromHex("090808000000100000000000"))) {
        ADD_FAILURE() << "no BOF record at the start";
        return cells;
    }
    if (file.mid(12, 4) != QByteArray::fromHex("42000200") || file.size() < 18) {
        ADD_FAILURE() << "no CODEPAGE record after the BOF record";
        return cells;
    }
    if (codePage)
        *codePage = word(16);
    qsizetype at = 18;
    while (at + 4 <= file.size()) {
        const int type = word(at);
        const int length = word(at + 2);
        if (type == 0x000A) {
            EXPECT_EQ(length, 0);
            EXPECT_EQ(at + 4, file.size()) << "bytes after the EOF record";
            return cells;
        }
        if (type != 0x0204 || at + 4 + length > file.size() || length < 8 || word(at + 8) != 0 ||
            word(at + 10) != length - 8) {
            ADD_FAILURE() << "bad record at offset " << at;
            return cells;
        }
        cells.push_back({word(at + 4), word(at + 6), file.mid(at + 12, length - 8)});
        at += 4 + length;
    }
    ADD_FAILURE() << "no EOF record";
    return cells;
}

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A fresh folder, language, database and MDI area per test; message boxes are recorded and the
// clock stands at Today.
class RecordsTest : public ::testing::Test {
protected:
    static inline const QDate Today{2024, 3, 31};

    void SetUp() override {
        UseLanguage({});
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
        Globals.CurrentUserId = 1;
        Globals.CurrentUnit = 0;
        previousClock_ = SetClock([] { return QDateTime(Today, QTime(9, 30)); });
        area_ = std::make_unique<QMdiArea>();
        area_->resize(900, 700);
        area_->show();
    }

    void TearDown() override {
        SetSaveFileHook({});
        area_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetClock(previousClock_);
        SetDataModule(nullptr);
    }

    // Makes a new language current: the test texts (mostly the key itself), with overrides.
    void UseLanguage(const QMap<QString, QString>& overrides, int langId = 1033) {
        QMap<QString, QString> texts = {
            {"Notify", "Notify"},
            {"MeasuringDate", "Measuring Date"},
            {"Weight", "Weight"},
            {"FAT", "FAT"},
            {"TBW", "TBW"},
            {"MUS", "MUS"},
            {"BONE", "BONE"},
            {"KG", "KG"},
            {"LB", "LB"},
            {"FmtRecordCnt", "Records: %d"},
            {"SureDelete", "SureDelete"},
            {"DeleteDataError", "DeleteDataError"},
            {"DeleteRangError", "DeleteRangError"},
            {"NoDataToExport", "NoDataToExport"},
            {"FileExistsSureOverwrite", "Replace %s?"},
            {"FileOpenFailure", "FileOpenFailure"},
            {"ExportTooLarge", "ExportTooLarge"},
            {"Date", "Date"},
            {"WeightKG", "Weight (kg)"},
            {"WeightLB", "Weight (lb)"},
            {"CsvFiles", "CSV Files"},
        };
        for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
            texts[it.key()] = it.value();
        ASSERT_FALSE(UseTestLanguage(folder_.path(), texts, langId).isEmpty());
    }

    void Add(const QDate& day, double weight, double fat = 20.5, double tbw = 55.0, double mus = 40.2,
             double bone = 3.1, int user = 1) {
        store_->ExecuteSql(SqlInsertMeasurement(user, day, weight, fat, tbw, mus, bone));
    }

    // count rows of user 1 on day, in one statement.
    void AddMany(int count, const QDate& day) {
        store_->ExecuteSql(
            QStringLiteral("insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
                           "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                           "select 1, '%2', 70.5, 20.5, 55, 40.2, 3.1 from n")
                .arg(count)
                .arg(day.toString(Qt::ISODate)));
    }

    int StoredRows() {
        return static_cast<int>(store_->SelectRows(QStringLiteral("select ID from P_DATA")).size());
    }

    TfrmMyData* Open() {
        TfrmMyData* form = ShowMyData(area_.get());
        QCoreApplication::processEvents();
        return form;
    }

    static TMeasurementListModel& ModelOf(TfrmMyData* form) { return *form->Model(); }
    static QTableView* ListOf(TfrmMyData* form) {
        return form->findChild<QTableView*>(QStringLiteral("lv1"));
    }

    static QStringList Column(TfrmMyData* form, int column) {
        QStringList texts;
        for (int row = 0; row < ModelOf(form).rowCount(); ++row)
            texts << QString::fromLatin1(ModelOf(form).Cell(row, column));
        return texts;
    }

    // Answers the next TfrmDateRange: with the two days and OK, or Cancel when range is empty.
    // Returns where the dialog's starting dates are recorded.
    struct DialogSeen {
        bool Shown = false;
        QDate From;
        QDate To;
        QWidget* Parent = nullptr;
    };
    std::shared_ptr<DialogSeen> AnswerDateRange(std::optional<std::pair<QDate, QDate>> range) {
        auto seen = std::make_shared<DialogSeen>();
        QTimer::singleShot(0, [seen, range] {
            auto* dialog = qobject_cast<TfrmDateRange*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen->Shown = true;
            seen->From = dialog->FromDate();
            seen->To = dialog->ToDate();
            seen->Parent = dialog->parentWidget();
            if (range) {
                dialog->SetDates(range->first, range->second);
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        return seen;
    }

    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
    std::unique_ptr<QMdiArea> area_;
    MessageBoxRecorder boxes_;
    std::function<QDateTime()> previousClock_;
};
