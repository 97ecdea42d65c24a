// SPDX-License-Identifier: MIT
#include "records/TfrmMyData.h"

#include "ui_TfrmMyData.h"

#include "core/AppError.h"
#include "core/AtomicFile.h"
#include "core/ChildWindow.h"
#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/SaveFileDialog.h"
#include "core/Units.h"
#include "core/WindowMessage.h"
#include "core/WindowRegistry.h"
#include "exchange/MeasurementCsv.h"
#include "lang/AnsiText.h"
#include "lang/LangMgr.h"
#include "records/FormatText.h"
#include "records/SheetFile.h"
#include "records/TExcelExport.h"
#include "records/TMeasurementListModel.h"
#include "records/TfrmDateRange.h"
#include "store/Statements.h"
#include "store/TdmMain.h"
#include "store/ValueFormats.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <charconv>
#include <limits>

namespace {

QPointer<TfrmMyData>& myDataInstance() {
    static QPointer<TfrmMyData> instance;
    return instance;
}

void showNotice(QWidget* owner, const char* key) {
    ShowMessageBox(owner, GetText(key), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
}

bool askOkCancel(QWidget* owner, const QString& question) {
    return ShowMessageBox(owner, question, GetText("Notify"), MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

// The FAT, TBW and MUS cells of the list read "20.5 "; in the sheet they read "20.5 %".
bool isPercentColumn(int column) {
    return column >= 2 && column <= 4;
}

// value with one decimal, as "%.1f" writes it, followed by suffix.
QByteArray OneDecimal(double value, const QByteArray& suffix) {
    char digits[400]; // enough for the fixed notation of any double
    const char* end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1).ptr;
    QByteArray cell;
    cell.reserve(static_cast<qsizetype>(end - digits) + suffix.size());
    return cell.append(digits, end - digits).append(suffix);
}

// Reads the listed columns of P_DATA rows. A list of a hundred thousand rows spends more time
// finding columns by name and parsing dates than on anything else, so the columns are found once
// and values stored the usual way (numbers as numbers, days as yyyy-mm-dd text) are taken as they
// are; any other value is read through the row's own conversions.
class TListColumns {
public:
    enum Column { Date, Weight, Fat, Tbw, Mus, Bone, Id, Count };

    explicit TListColumns(const TDataRow& row) {
        for (int column = 0; column < Count; ++column) {
            index_[column] = -1;
            for (int i = 0; i < row.ColumnCount(); ++i)
                if (row.ColumnName(i).compare(Names[column], Qt::CaseInsensitive) == 0) {
                    index_[column] = i;
                    break;
                }
        }
    }

    // "yyyy-mm-dd", or the empty text when the stored value is no day.
    QByteArray DateText(const TDataRow& row) const {
        if (index_[Date] >= 0) {
            const QVariant value = row.ValueAt(index_[Date]);
            if (value.typeId() == QMetaType::QString) {
                const QString text = value.toString();
                if (IsDayText(text))
                    return text.toLatin1();
            }
        }
        return ::DateText(row.AsDate(Name(Date))).toLatin1();
    }

    double Number(const TDataRow& row, Column column) const {
        if (index_[column] >= 0) {
            const QVariant value = row.ValueAt(index_[column]);
            if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong)
                return value.toDouble();
        }
        return row.AsFloat(Name(column));
    }

    int RowId(const TDataRow& row) const {
        if (index_[Id] >= 0) {
            const QVariant value = row.ValueAt(index_[Id]);
            if (value.typeId() == QMetaType::LongLong &&
                value.toLongLong() >= std::numeric_limits<int>::min() &&
                value.toLongLong() <= std::numeric_limits<int>::max())
                return static_cast<int>(value.toLongLong());
        }
        return row.AsInteger(Name(Id));
    }

private:
    static constexpr const char* Names[Count] = {"THE_DATE", "WEIGHT", "FAT", "TBW", "MUS", "BONE", "ID"};
    static QString Name(Column column) { return QString::fromLatin1(Names[column]); }

    // Exactly yyyy-mm-dd and a day of the calendar: what AsDate and DateText would give back unchanged.
    static bool IsDayText(const QString& text) {
        if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
            return false;
        int parts[3] = {0, 0, 0};
        const int starts[3] = {0, 5, 8};
        const int lengths[3] = {4, 2, 2};
        for (int part = 0; part < 3; ++part)
            for (int i = starts[part]; i < starts[part] + lengths[part]; ++i) {
                const char16_t c = text[i].unicode();
                if (c < u'0' || c > u'9')
                    return false;
                parts[part] = parts[part] * 10 + (c - u'0');
            }
        return QDate(parts[0], parts[1], parts[2]).isValid();
    }

    int index_[Count];
};

} // namespace

TfrmMyData::TfrmMyData(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TfrmMyData>()), model_(new TMeasurementListModel(this)) {
    ui->setupUi(this);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(12);
    setFont(font);

    ui->btnFilter->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ui->btnDelete->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    ui->btnDeleteBatch->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    ui->btnExport->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));

    ui->lv1->setModel(model_);
    const int widths[TMeasurementListModel::ColumnCount] = {120, 100, 80, 80, 80, 90};
    for (int column = 0; column < TMeasurementListModel::ColumnCount; ++column)
        ui->lv1->setColumnWidth(column, widths[column]);
    QHeaderView* rows = ui->lv1->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(ui->lv1->fontMetrics().height() + 5);

    connect(ui->btnFilter, &QPushButton::clicked, this, Guarded([this] { btnFilterClick(); }));
    connect(ui->btnDelete, &QPushButton::clicked, this, Guarded([this] { btnDeleteClick(); }));
    connect(ui->btnDeleteBatch, &QPushButton::clicked, this, Guarded([this] { btnDeleteBatchClick(); }));
    connect(ui->btnExport, &QPushButton::clicked, this, Guarded([this] { btnExportClick(); }));

    JoinWindowRegistry(this);
}

TfrmMyData::~TfrmMyData() {
    if (myDataInstance() == this)
        myDataInstance() = nullptr;
}

void TfrmMyData::FormCreate() {
    LangMgr().TranslateForm(this);
    const QDate today = CurrentDate();
    ui->dtpTo->setDate(today);
    ui->dtpFrom->setDate(today.addDays(-30));
    RefreshList();
    ComposeColumnCaptions();
}

void TfrmMyData::ComposeColumnCaptions() {
    const int codePage = AnsiCodePage();
    const QString percent = QStringLiteral(" %");
    model_->SetColumnCaptions(
        {ToAnsi(GetText("MeasuringDate"), codePage), ToAnsi(GetText("Weight"), codePage),
         ToAnsi(GetText("FAT") + percent, codePage), ToAnsi(GetText("TBW") + percent, codePage),
         ToAnsi(GetText("MUS") + percent, codePage), ToAnsi(GetText("BONE"), codePage)},
        codePage);
}

// The captions, the unit words in the cells and the count line are all composed from the
// language, so they are composed again; the rows are read anew for that, and the person keeps
// the selected row and the scroll position.
void TfrmMyData::ComposeTextsAgain() {
    QTableView* list = ui->lv1;
    const int scrolled = list->verticalScrollBar()->value();
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    const std::optional<int> selectedId =
        selected.isEmpty() ? std::nullopt : std::optional<int>(model_->ListRow(selected.first().row()).Id);
    ComposeColumnCaptions();
    RefreshList();
    for (int row = 0; selectedId && row < model_->rowCount(); ++row)
        if (model_->ListRow(row).Id == *selectedId) {
            list->selectRow(row);
            break;
        }
    list->verticalScrollBar()->setValue(scrolled);
}

void TfrmMyData::FormActivate() {
    if (QMdiSubWindow* frame = FrameOf(this))
        QMetaObject::invokeMethod(frame, &QMdiSubWindow::showMaximized, Qt::QueuedConnection);
}

void TfrmMyData::FormResize() {
    QTableView* list = ui->lv1;
    list->resize(std::max(0, width() - 2 * list->x() - 20), std::max(0, height() - list->y() - 55));
    ui->lblMsg->move(ui->lblMsg->x(), height() - 40);
}

void TfrmMyData::RefreshList() {
    model_->Clear();
    const int codePage = AnsiCodePage();
    const bool pounds = Globals.CurrentUnit != 0;
    const QByteArray massUnit = ' ' + ToAnsi(GetText(pounds ? "LB" : "KG"), codePage);
    auto massCell = [&](double kg) {
        return pounds ? KgToLbText(kg).toLatin1().append(massUnit) : OneDecimal(kg, massUnit);
    };
    const QByteArray blank(" ");
    auto percentCell = [&](double value) { return OneDecimal(value, blank); };

    std::vector<TMeasurementListModel::Row> listRows;
    int found = 0;
    try {
        const TRowSet rows =
            dmMain().SelectRows(SqlListRange(Globals.CurrentUserId, ui->dtpFrom->date(), ui->dtpTo->date()));
        found = static_cast<int>(rows.size());
        listRows.reserve(rows.size());
        if (!rows.empty()) {
            const TListColumns columns(rows.front());
            for (const TDataRow& row : rows) {
                TMeasurementListModel::Row listRow;
                listRow.Texts = {columns.DateText(row),
                                 massCell(columns.Number(row, TListColumns::Weight)),
                                 percentCell(columns.Number(row, TListColumns::Fat)),
                                 percentCell(columns.Number(row, TListColumns::Tbw)),
                                 percentCell(columns.Number(row, TListColumns::Mus)),
                                 massCell(columns.Number(row, TListColumns::Bone))};
                listRow.Id = columns.RowId(row);
                listRow.Values = {QDate::fromString(QString::fromLatin1(listRow.Texts[0]), Qt::ISODate),
                                  columns.Number(row, TListColumns::Weight),
                                  columns.Number(row, TListColumns::Fat),
                                  columns.Number(row, TListColumns::Tbw),
                                  columns.Number(row, TListColumns::Mus),
                                  columns.Number(row, TListColumns::Bone)};
                listRows.push_back(std::move(listRow));
            }
        }
    } catch (...) {
        model_->SetRows(std::move(listRows), codePage); // the rows read so far stay listed
        throw;
    }
    model_->SetRows(std::move(listRows), codePage);

    // A language text whose placeholders do not fit one number leaves the old line.
    if (const std::optional<QString> line = FormatWithInteger(GetText("FmtRecordCnt"), found)) {
        ui->lblMsg->setText(*line);
        ui->lblMsg->adjustSize();
    }
}

void TfrmMyData::btnFilterClick() {
    RefreshList();
}

void TfrmMyData::btnDeleteClick() {
    const QModelIndexList selected = ui->lv1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const int row = selected.first().row();
    if (!askOkCancel(this, GetText("SureDelete")))
        return;
    TdmMain& store = dmMain();
    try {
        store.ExecuteSql(SqlDeleteRow(model_->ListRow(row).Id));
    } catch (const std::exception&) {
        ShowMessageBox(this, GetText("DeleteDataError"), ApplicationTitle, MB_OK);
        return;
    }
    // The row goes from the list without reading the table again; the count line stays as it was.
    model_->RemoveListRow(row);
}

void TfrmMyData::btnDeleteBatchClick() {
    const std::optional<TDateRange> range = SelectDateRange();
    if (!range)
        return;
    if (!askOkCancel(this, GetText("SureDelete")))
        return;
    TdmMain& store = dmMain();
    try {
        store.ExecuteSql(SqlDeleteRange(Globals.CurrentUserId, range->From, range->To));
    } catch (const std::exception&) {
        ShowMessageBox(this, GetText("DeleteRangError"), ApplicationTitle, MB_OK);
        return;
    }
    RefreshList();
}

std::optional<TfrmMyData::TDateRange> TfrmMyData::SelectDateRange() {
    TfrmDateRange dialog(window());
    dialog.FormCreate();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return TDateRange{dialog.FromDate(), dialog.ToDate()};
}

void TfrmMyData::btnExportClick() {
    if (model_->rowCount() == 0) {
        showNotice(this, "NoDataToExport");
        return;
    }
    const QString filters = QStringLiteral("Excel Files (*.xls);;%1 (*.csv)").arg(GetText("CsvFiles"));
    const QString fileName = AskSaveFileName(this, QString(), filters, QStringLiteral("xls"));
    if (fileName.isEmpty())
        return;
    if (fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        ExportToCsv(fileName);
    else
        ExportToXls(fileName);
}

void TfrmMyData::ExportToCsv(const QString& fileName) {
    std::vector<TDayMean> days;
    days.reserve(static_cast<size_t>(model_->rowCount()));
    for (int row = 0; row < model_->rowCount(); ++row)
        days.push_back(model_->ListRow(row).Values);
    const QByteArray csv =
        WriteMeasurementCsv(days, Globals.CurrentUnit != 0 ? TCsvUnit::Pounds : TCsvUnit::Kilograms);
    if (!ConfirmReplaceFile(this, fileName))
        return;
    WriteFileAtomically(fileName, [&](QIODevice& out) { out.write(csv); });
}

void TfrmMyData::ExportToXls(const QString& fileName) {
    // Headings and cells go out in one code page, the current language's, which the file names:
    // cells listed before a language switch are converted to it.
    const int codePage = AnsiCodePage();
    const TMeasurementListModel::Cells heading = {
        ToAnsi(GetText("Date"), codePage),
        ToAnsi(GetText(Globals.CurrentUnit != 0 ? "WeightLB" : "WeightKG"), codePage),
        ToAnsi(GetText("FAT"), codePage),
        ToAnsi(GetText("TBW"), codePage),
        ToAnsi(GetText("MUS"), codePage),
        ToAnsi(GetText("BONE"), codePage)};
    const int rows = model_->rowCount();

    // Row numbers and text lengths are 16-bit words in the file: what does not fit is refused
    // before anything is touched, rather than written with numbers that wrap around.
    auto fits = [](const QByteArray& text, int extra) {
        return text.size() + extra <= TExcelExport::MaxCellTextBytes;
    };
    bool fitsSheet =
        rows <= TExcelExport::MaxDataRows &&
        std::all_of(heading.cbegin(), heading.cend(), [&](const QByteArray& t) { return fits(t, 0); });
    for (int row = 0; fitsSheet && row < rows; ++row)
        for (int column = 0; fitsSheet && column < TMeasurementListModel::ColumnCount; ++column)
            fitsSheet = fits(model_->CellIn(row, column, codePage), isPercentColumn(column) ? 1 : 0);
    if (!fitsSheet) {
        showNotice(this, "ExportTooLarge");
        return;
    }

    if (!ConfirmReplaceFile(this, fileName))
        return;

    WriteFileAtomically(fileName, [&](QIODevice& out) {
        TExcelExport::WriteSheet(
            out, static_cast<quint16>(codePage), rows + 1, [&](int row, QList<QByteArray>& cells) {
                if (row == 0) {
                    for (const QByteArray& text : heading)
                        cells.append(text);
                    return;
                }
                for (int column = 0; column < TMeasurementListModel::ColumnCount; ++column) {
                    cells.append(model_->CellIn(row - 1, column, codePage));
                    if (isPercentColumn(column))
                        cells.back().append('%');
                }
            });
    });
}

bool TfrmMyData::event(QEvent* event) {
    if (event->type() == static_cast<QEvent::Type>(WM_REFRESH_MYDATA)) {
        RefreshList();
        return true;
    }
    if (event->type() == LanguageChangedEvent()) {
        RunGuarded([this] { ComposeTextsAgain(); });
        return true;
    }
    return QWidget::event(event);
}

void TfrmMyData::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ui->pnlTop->setGeometry(0, 0, width(), ui->pnlTop->height());
    FormResize();
}

void TfrmMyData::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // The frame frees itself and this list with it; the single instance is forgotten now, so that
    // My Data opens a fresh list even before the deferred deletion has run.
    if (myDataInstance() == this)
        myDataInstance() = nullptr;
    CloseFrameOf(this);
}

TfrmMyData* ShowMyData(QMdiArea* area) {
    QPointer<TfrmMyData>& instance = myDataInstance();
    if (!instance) {
        auto* form = new TfrmMyData;
        instance = form;
        AddChildWindow(area, form, [form] { form->FormActivate(); });
        RunGuarded([form] { form->FormCreate(); });
    }
    TfrmMyData* form = instance;
    BringChildToFront(form);
    if (QMdiSubWindow* frame = FrameOf(form))
        frame->repaint();
    return form;
}

QWidget* GetMyDataHandle() {
    return myDataInstance().data();
}
