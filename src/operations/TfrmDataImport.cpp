// SPDX-License-Identifier: MIT
#include "operations/TfrmDataImport.h"

#include "ui_TfrmDataImport.h"

#include "core/AppError.h"
#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/Units.h"
#include "core/WindowMessage.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "operations/MyDataLink.h"
#include "operations/ScaleLink.h"
#include "operations/TImportListModel.h"
#include "scale/ScaleProtocol.h"
#include "store/Statements.h"
#include "store/TdmMain.h"
#include "store/ValueFormats.h"

#include <QHeaderView>
#include <QThread>
#include <QTimer>
#include <algorithm>

Q_LOGGING_CATEGORY(lcDataImport, "bfs.import", QtInfoMsg)

namespace {

constexpr int ColumnWidths[] = {120, 100, 80, 80, 80, 90};

} // namespace

TfrmDataImport::TfrmDataImport(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmDataImport>()), model_(new TImportListModel(this)),
      tmrTimeOut(new QTimer(this)), tmrGetDataTimeout(new QTimer(this)), tmrShowRows(new QTimer(this)) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ui->lv1->setModel(model_);
    ui->lv1->verticalHeader()->setDefaultSectionSize(ui->lv1->fontMetrics().height() + 6);
    tmrTimeOut->setObjectName(QStringLiteral("tmrTimeOut"));
    // A coarse timer may fire 5 % early; a reply gets its whole time-out.
    tmrTimeOut->setTimerType(Qt::PreciseTimer);
    tmrGetDataTimeout->setTimerType(Qt::PreciseTimer);
    tmrTimeOut->setInterval(CountTimeoutMs);
    tmrGetDataTimeout->setObjectName(QStringLiteral("tmrGetDataTimeout"));
    tmrGetDataTimeout->setInterval(RecordTimeoutMs);
    // Rows reach the list a few times a second: repainting it for every measurement would cost
    // more than reading the measurement.
    tmrShowRows->setSingleShot(true);
    tmrShowRows->setInterval(ShowRowsIntervalMs);
    connect(tmrShowRows, &QTimer::timeout, this, Guarded([this] { ShowNewRows(); }));
    connect(tmrTimeOut, &QTimer::timeout, this, Guarded([this] { tmrTimeOutTimer(); }));
    connect(tmrGetDataTimeout, &QTimer::timeout, this, Guarded([this] { tmrGetDataTimeoutTimer(); }));
    connect(ui->btnImport, &QPushButton::clicked, this, Guarded([this] { btnImportClick(); }));
    connect(ui->btnSave, &QPushButton::clicked, this, Guarded([this] { btnSaveClick(); }));
    connect(ui->btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }));
    JoinWindowRegistry(this);
}

TfrmDataImport::~TfrmDataImport() {
    // A dialog destroyed without being closed must not leave its handler on the scale.
    if (handlerSet_)
        ClearScaleReplyHandler();
}

void TfrmDataImport::FormCreate() {
    LangMgr().TranslateForm(this);
    ui->edtUserName->setText(Globals.CurrentUserName);
    const QStringList captions{GetText("MeasuringDate"),
                               GetText("Weight"),
                               GetText("FAT") + QStringLiteral(" %"),
                               GetText("TBW") + QStringLiteral(" %"),
                               GetText("MUS") + QStringLiteral(" %"),
                               GetText("BONE")};
    model_->SetCaptions(captions);
    for (int column = 0; column < TImportListModel::ColumnCount; ++column)
        ui->lv1->setColumnWidth(column, ColumnWidths[column]);
}

void TfrmDataImport::StartCounting() {
    countAttempts_ = 0;
    PostWindowMessage(this, WM_REQUEST_COUNT, 0);
}

bool TfrmDataImport::event(QEvent* event) {
    const int type = static_cast<int>(event->type());
    if (type < WM_REQUEST_COUNT || type > WM_DELETE_RESULT)
        return QDialog::event(event);
    const int outcome = static_cast<int>(static_cast<const TWindowMessage*>(event)->WParam);
    switch (type) {
    case WM_REQUEST_COUNT:
        RequestCount();
        return true;
    case WM_COUNT_RESULT:
        CountResult(outcome);
        return true;
    case WM_TRANSFER_RESULT:
        TransferResult(outcome);
        return true;
    case WM_DELETE_RESULT:
        DeleteResult(outcome);
        return true;
    default:
        return QDialog::event(event);
    }
}

void TfrmDataImport::done(int result) {
    tmrTimeOut->stop();
    tmrGetDataTimeout->stop();
    transferring_ = false;
    ClearList();
    ClearScaleReplyHandler();
    handlerSet_ = false;
    QDialog::done(result);
}

void TfrmDataImport::SetReplyHandler(ReplyMethod method) {
    if (SetScaleReplyHandler([this, method](THidDevice*, std::uint8_t, const std::uint8_t* data,
                                            std::uint16_t size) { (this->*method)(data, size); }))
        handlerSet_ = true;
}

void TfrmDataImport::Notify(const char* textKey, const char* captionKey, int icon) {
    ShowMessageBox(this, GetText(textKey), GetText(captionKey), MB_OK | icon);
}

// --- The count ---------------------------------------------------------------------------------

void TfrmDataImport::RequestCount() {
    if (!Globals.AttachedScale)
        return;
    SetReplyHandler(&TfrmDataImport::CountReply);
    if (WriteScaleRequest(ReadDataCountRequest(Globals.CurrentUserId)))
        tmrTimeOut->start();
    else
        ui->edtCount->setText(GetText("ReadDataCountError"));
}

void TfrmDataImport::CountReply(const std::uint8_t* data, std::uint16_t size) {
    tmrTimeOut->stop();
    if (JudgeReadDataCountReply(data, size, Globals.CurrentUserId) == ReplyVerdict::Accepted) {
        total_ = ReadDataCountOf(data);
        ui->edtCount->setText(QString::number(total_));
        PostWindowMessage(this, WM_COUNT_RESULT, 1);
    } else {
        PostWindowMessage(this, WM_COUNT_RESULT, 3);
    }
}

void TfrmDataImport::tmrTimeOutTimer() {
    ++countAttempts_;
    tmrTimeOut->stop();
    if (countAttempts_ < CountAttempts)
        PostWindowMessage(this, WM_REQUEST_COUNT, 0);
    else
        Notify("ResponseTimeout", "Error", MB_ICONINFORMATION);
}

void TfrmDataImport::CountResult(int outcome) {
    if (outcome == 3)
        Notify("ReadDataCountError", "Error", MB_ICONINFORMATION);
}

// --- The transfer ------------------------------------------------------------------------------

void TfrmDataImport::btnImportClick() {
    ui->btnImport->setEnabled(false);
    ClearList();
    if (!Globals.AttachedScale) {
        Notify("ScaleDisconnect", "Error", MB_ICONINFORMATION);
        ui->btnImport->setEnabled(true);
        return;
    }
    if (total_ <= 0) {
        Notify("NoDataCanBeImported", "Error", MB_ICONINFORMATION);
        ui->btnImport->setEnabled(true);
        return;
    }
    ui->pb1->setMaximum(total_);
    ui->pb1->setValue(0);
    read_ = 0;
    skipped_ = 0;
    lastPart2_.reset();
    recordAttempts_ = 0;
    // Saving (and deleting on the scale) halfway through would lose what is still unread.
    transferring_ = true;
    ui->btnSave->setEnabled(false);
    RequestMeasurement(1);
}

void TfrmDataImport::EndTransfer() {
    ShowNewRows();
    transferring_ = false;
    ui->btnImport->setEnabled(true);
    ui->btnSave->setEnabled(!saveFailed_);
}

bool TfrmDataImport::RequestMeasurement(int index) {
    if (!Globals.AttachedScale) {
        PostWindowMessage(this, WM_TRANSFER_RESULT, 1);
        EndTransfer();
        return false;
    }
    try {
        SetReplyHandler(&TfrmDataImport::RecordReply);
        half_ = Half::Part1;
        if (!WriteScaleRequest(ReadDataRequest(Globals.CurrentUserId, ReadDataPart::Part1, index))) {
            PostWindowMessage(this, WM_TRANSFER_RESULT, 2);
            EndTransfer();
            return false;
        }
        tmrGetDataTimeout->start();
        return true;
    } catch (const std::exception&) {
        EndTransfer();
        return false;
    }
}

void TfrmDataImport::RecordReply(const std::uint8_t* data, std::uint16_t size) {
    // A reply that comes after the transfer has ended answers nothing that is still asked.
    if (!transferring_ || JudgeReadDataReply(data, size) != ReplyVerdict::Accepted)
        return;
    const ScaleReply reply = CopyScaleReply(data);
    if (half_ == Half::Part1) {
        // A late second copy of the previous part 2 (its request was repeated after a time-out).
        if (lastPart2_ && reply == *lastPart2_)
            return;
        tmrGetDataTimeout->stop();
        part1_ = reply;
        half_ = Half::Part2;
        if (!Globals.AttachedScale) {
            PostWindowMessage(this, WM_TRANSFER_RESULT, 1);
            EndTransfer();
            return;
        }
        SetReplyHandler(&TfrmDataImport::RecordReply);
        if (WriteScaleRequest(ReadDataRequest(Globals.CurrentUserId, ReadDataPart::Part2, read_ + 1))) {
            recordAttempts_ = 0;
            tmrGetDataTimeout->start();
        } else {
            PostWindowMessage(this, WM_TRANSFER_RESULT, 2);
            EndTransfer();
        }
        return;
    }

    // A late second copy of this measurement's part 1 is no part 2.
    if (reply == part1_)
        return;
    tmrGetDataTimeout->stop();
    lastPart2_ = reply;
    if (const std::optional<MeasurementRecord> record = DecodeMeasurement(part1_, reply, CurrentDate()))
        AddRow(*record);
    else
        ++skipped_; // its date bytes name no calendar date: it cannot be stored
    half_ = Half::Part1;
    ++read_;
    ui->lblMsgCount->setText(QStringLiteral("%1/%2").arg(read_).arg(total_));
    ui->pb1->setValue(read_);
    if (read_ == total_) {
        tmrTimeOut->stop();
        tmrGetDataTimeout->stop();
        PostWindowMessage(this, WM_TRANSFER_RESULT, 3);
        EndTransfer();
    } else {
        recordAttempts_ = 0;
        RequestMeasurement(read_ + 1);
    }
}

void TfrmDataImport::tmrGetDataTimeoutTimer() {
    tmrGetDataTimeout->stop();
    qCDebug(lcDataImport).noquote() << QString::asprintf("read data index  = %d , timeout =%d", read_ + 1,
                                                         recordAttempts_);
    QThread::msleep(50);
    ++recordAttempts_;
    if (recordAttempts_ < RecordAttempts) {
        RequestMeasurement(read_ + 1);
    } else {
        EndTransfer();
        Notify("ReadDataTimeout", "Error", MB_ICONERROR);
    }
}

void TfrmDataImport::TransferResult(int outcome) {
    switch (outcome) {
    case 1:
        Notify("ScaleDisconnect", "Error", MB_ICONINFORMATION);
        break;
    case 2:
        Notify("SendCommandError", "Error", MB_ICONINFORMATION);
        break;
    case 3:
        Notify("Complete", "Notify", MB_ICONINFORMATION);
        if (skipped_ > 0)
            ShowMessageBox(
                this, GetText("SkippedInvalidDates").replace(QStringLiteral("%d"), QString::number(skipped_)),
                GetText("Notify"), MB_OK | MB_ICONINFORMATION);
        break;
    default:
        break;
    }
}

// --- The list ----------------------------------------------------------------------------------

QStringList TfrmDataImport::CellTexts(const MeasurementRecord& record, int unit) {
    const bool metric = unit == 0;
    const auto percent = [](double value) { return QString::asprintf("%.1f ", value); };
    return {
        DateText(record.Date),
        metric ? QString::asprintf("%.1f KG", record.Weight)
               : KgToLbText(record.Weight) + QStringLiteral(" LB"),
        percent(record.Fat),
        percent(record.Tbw),
        percent(record.Mus),
        metric ? QString::asprintf("%.1f", record.Bone) + QLatin1Char(' ') + GetText("KG")
               : KgToLbText(record.Bone) + QLatin1Char(' ') + GetText("LB"),
    };
}

void TfrmDataImport::AddRow(const MeasurementRecord& record) {
    newRows_.push_back(record);
    if (!tmrShowRows->isActive())
        tmrShowRows->start();
}

void TfrmDataImport::ShowNewRows() {
    tmrShowRows->stop();
    std::vector<TImportListModel::NewRow> rows;
    rows.reserve(newRows_.size());
    for (const MeasurementRecord& record : newRows_)
        rows.push_back({record, CellTexts(record, Globals.CurrentUnit)});
    newRows_.clear();
    model_->Append(rows);
}

void TfrmDataImport::ClearList() {
    tmrShowRows->stop();
    newRows_.clear();
    model_->Clear();
}

std::vector<MeasurementRecord> TfrmDataImport::Records() const {
    std::vector<MeasurementRecord> records;
    for (const TImportListModel::Row& row : model_->Rows())
        records.push_back(row.Record);
    return records;
}

// --- Saving and deleting on the scale ----------------------------------------------------------

void TfrmDataImport::btnSaveClick() {
    if (read_ == 0 || model_->Rows().empty())
        return;
    ui->btnSave->setEnabled(false);
    ui->pb1->setMaximum(model_->rowCount());
    ui->pb1->setValue(0);
    try {
        dmMain().StartTransaction();
        SaveRows();
        dmMain().Commit();
    } catch (const std::exception& error) {
        // Undo first: the message box runs an event loop, and nothing may see half a save.
        try {
            dmMain().RollBack();
        } catch (const std::exception&) {
            // The engine has already ended the transaction.
        }
        saveFailed_ = true;
        ShowMessageBox(this, QStringLiteral("Error:") + ErrorMessageOf(error), ApplicationTitle, MB_OK);
        return;
    }
    ui->btnSave->setEnabled(true);
    if (QObject* myData = MyDataHandle())
        PostWindowMessage(myData, WM_REFRESH_MYDATA, 0, 0);
    AskToDeleteOnScale();
}

// Each listed measurement replaces the stored row of its user and day, so that P_DATA keeps one
// row per day and, of several measurements of one day, the last one listed.
void TfrmDataImport::SaveRows() {
    const int userId = Globals.CurrentUserId;
    const std::vector<MeasurementRecord> records = Records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const MeasurementRecord& record = records[i];
        dmMain().ExecuteSql(SqlDeleteDay(userId, record.Date));
        dmMain().ExecuteSql(SqlInsertMeasurement(userId, record.Date, record.Weight, record.Fat, record.Tbw,
                                                 record.Mus, record.Bone));
        ui->pb1->setValue(static_cast<int>(i + 1));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TfrmDataImport::AskToDeleteOnScale() {
    // After a transfer that stopped halfway the scale still holds measurements nobody has read.
    if (!Globals.AttachedScale || read_ < total_) {
        Notify("SaveSuccess", "Notify", MB_ICONINFORMATION);
        return;
    }
    if (ShowMessageBox(this, GetText("SaveSucessAndDelete"), GetText("Notify"),
                       MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return;
    const ScaleRequest request = DeleteDataRequest(Globals.CurrentUserId);
    if (!Globals.AttachedScale) {
        Notify("ScaleDisconnect", "Error", MB_ICONERROR);
        return;
    }
    SetReplyHandler(&TfrmDataImport::DeleteReply);
    if (!WriteScaleRequest(request))
        Notify("SendCommandError", "Error", MB_ICONERROR);
}

void TfrmDataImport::DeleteReply(const std::uint8_t* data, std::uint16_t size) {
    if (JudgeDeleteDataReply(data, size, Globals.CurrentUserId) == ReplyVerdict::Accepted) {
        PostWindowMessage(this, WM_DELETE_RESULT, 1);
        total_ = 0;
        read_ = 0;
    } else {
        PostWindowMessage(this, WM_DELETE_RESULT, 2);
    }
}

void TfrmDataImport::DeleteResult(int outcome) {
    if (outcome == 1)
        Notify("DataDeleted", "Notify", MB_ICONINFORMATION);
    else if (outcome == 2)
        Notify("ResponseError", "Error", MB_ICONINFORMATION);
}

void TfrmDataImport::btnCloseClick() {
    close();
}

void RunDataImportDialog(QWidget* owner) {
    TfrmDataImport dialog(owner);
    RunGuarded([&] { dialog.FormCreate(); });
    dialog.StartCounting();
    dialog.exec();
}
