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
#include <map>
#include <set>

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
        DeleteResult(outcome, static_cast<int>(static_cast<const TWindowMessage*>(event)->LParam));
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
    tmrTimeOut->stop();
    lateRepliesPossible_ = true;
    if (recountingBeforeDelete_) {
        // Without a fresh count the scale may hold a measurement nobody read: it keeps them all.
        recountingBeforeDelete_ = false;
        Notify("ResponseTimeout", "Error", MB_ICONINFORMATION);
        return;
    }
    ++countAttempts_;
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
    part1Known_ = false;
    part1Asks_ = 0;
    part2Asks_ = 0;
    lastTaken_.reset();
    previous_.reset();
    undecodable_.reset();
    recordAttempts_ = 0;
    // Saving (and deleting on the scale) halfway through would lose what is still unread.
    transferring_ = true;
    ui->btnSave->setEnabled(false);
    if (lateRepliesPossible_) {
        // What was asked before may still be answered: ask the count first and start reading
        // after its answer, which comes after all of those.
        half_ = Half::Recount;
        WriteRecordRequest(ReadDataCountRequest(Globals.CurrentUserId));
    } else {
        RequestMeasurement(1);
    }
}

void TfrmDataImport::EndTransfer() {
    ShowNewRows();
    transferring_ = false;
    ui->btnImport->setEnabled(true);
    ui->btnSave->setEnabled(!saveFailed_);
}

bool TfrmDataImport::WriteRecordRequest(const ScaleRequest& request) {
    if (!Globals.AttachedScale) {
        PostWindowMessage(this, WM_TRANSFER_RESULT, 1);
        EndTransfer();
        return false;
    }
    try {
        SetReplyHandler(&TfrmDataImport::RecordReply);
        if (!WriteScaleRequest(request)) {
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

bool TfrmDataImport::RequestMeasurement(int index) {
    half_ = Half::Part1;
    ++part1Asks_;
    return WriteRecordRequest(ReadDataRequest(Globals.CurrentUserId, ReadDataPart::Part1, index));
}

void TfrmDataImport::AskAgain() {
    if (half_ == Half::Recount)
        WriteRecordRequest(ReadDataCountRequest(Globals.CurrentUserId));
    else
        RequestMeasurement(read_ + 1);
}

// The scale answers one request after the other, so an older reply (one that came after its
// time-out, or twice) can only arrive before the answer to the request now waiting. It is told
// from that answer by its bytes:
// - a copy of the reply taken last is the same answer again;
// - part 1 asked again after part 2 was lost must repeat the part 1 already taken, so the late
//   part 2 that may come first is not taken for it;
// - a half equal to the same half of the measurement before is taken only when asked for again:
//   the first time it may be that measurement's reply coming once more.
// A reply passed over leaves the time-out running, which asks again.
bool TfrmDataImport::IsAwaitedHalf(const ScaleReply& reply) const {
    if (half_ == Half::Part1 && part1Known_)
        return reply == part1_;
    if (lastTaken_ && reply == *lastTaken_)
        return false;
    if (!previous_)
        return true;
    if (half_ == Half::Part1)
        return part1Asks_ > 1 || reply != previous_->first;
    return part2Asks_ > 1 || reply != previous_->second;
}

void TfrmDataImport::RecordReply(const std::uint8_t* data, std::uint16_t size) {
    // A reply that comes after the transfer has ended answers nothing that is still asked.
    if (!transferring_ || JudgeReadDataReply(data, size) != ReplyVerdict::Accepted)
        return;
    const ScaleReply reply = CopyScaleReply(data);
    if (half_ == Half::Recount) {
        // Every older reply comes before the answer to this request: from here on none can come.
        if (JudgeReadDataCountReply(data, size, Globals.CurrentUserId) != ReplyVerdict::Accepted ||
            ReadDataCountOf(data) != total_)
            return;
        tmrGetDataTimeout->stop();
        lateRepliesPossible_ = false;
        lastTaken_ = reply; // its copies, if it was asked more than once
        RequestMeasurement(1);
        return;
    }
    if (!IsAwaitedHalf(reply))
        return;
    tmrGetDataTimeout->stop();
    lastTaken_ = reply;
    if (half_ == Half::Part2) {
        MeasurementRead(reply);
        return;
    }
    part1_ = reply;
    part1Known_ = true;
    half_ = Half::Part2;
    ++part2Asks_;
    if (WriteRecordRequest(ReadDataRequest(Globals.CurrentUserId, ReadDataPart::Part2, read_ + 1)))
        recordAttempts_ = 0;
}

void TfrmDataImport::MeasurementRead(const ScaleReply& part2) {
    const std::pair<ScaleReply, ScaleReply> pair{part1_, part2};
    const std::optional<MeasurementRecord> record = DecodeMeasurement(part1_, part2, CurrentDate());
    if (!record && undecodable_ != pair) {
        // Two halves that name no date may be halves of two measurements: ask for both again.
        // Only the same pair a second time is a measurement stored without a valid date.
        undecodable_ = pair;
        part1Known_ = false;
        recordAttempts_ = 0;
        RequestMeasurement(read_ + 1);
        return;
    }
    if (record)
        AddRow(*record);
    else
        ++skipped_; // it cannot be stored, so the scale must keep it
    previous_ = pair;
    NextMeasurement();
}

void TfrmDataImport::NextMeasurement() {
    half_ = Half::Part1;
    part1Known_ = false;
    part1Asks_ = 0;
    part2Asks_ = 0;
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
    lateRepliesPossible_ = true;
    ++recordAttempts_;
    if (recordAttempts_ < RecordAttempts) {
        AskAgain();
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
            NotifyCount("SkippedInvalidDates", skipped_);
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
        // Undone before the message box: its event loop must not see half a save.
        dmMain().InTransaction([this] { SaveRows(); });
    } catch (const std::exception& error) {
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

// The measurements the scale counted that are not in P_DATA as they were read: unread ones, ones
// without a valid date, and any whose row does not read back as saved. P_DATA keeps one row per
// day, the last one listed, so an earlier measurement of that day counts as saved with it.
int TfrmDataImport::MeasurementsNotSaved() const {
    const std::vector<MeasurementRecord> records = Records();
    if (records.empty())
        return total_;
    std::map<QDate, MeasurementRecord> lastOfDay;
    for (const MeasurementRecord& record : records)
        lastOfDay[record.Date] = record;
    const auto tenths = [](double value) { return qRound(value * 10); };
    std::map<QDate, int> rowsOfDay;
    std::set<QDate> savedDays;
    for (const TDataRow& row : dmMain().SelectRows(
             SqlListRange(Globals.CurrentUserId, lastOfDay.begin()->first, lastOfDay.rbegin()->first))) {
        const QDate day = row.AsDate(QStringLiteral("THE_DATE"));
        ++rowsOfDay[day];
        const auto listed = lastOfDay.find(day);
        if (listed == lastOfDay.end())
            continue;
        const MeasurementRecord& saved = listed->second;
        if (tenths(row.AsFloat(QStringLiteral("WEIGHT"))) == tenths(saved.Weight) &&
            tenths(row.AsFloat(QStringLiteral("FAT"))) == tenths(saved.Fat) &&
            tenths(row.AsFloat(QStringLiteral("TBW"))) == tenths(saved.Tbw) &&
            tenths(row.AsFloat(QStringLiteral("MUS"))) == tenths(saved.Mus) &&
            tenths(row.AsFloat(QStringLiteral("BONE"))) == tenths(saved.Bone))
            savedDays.insert(day);
    }
    const auto isSaved = [&](const MeasurementRecord& record) {
        return savedDays.count(record.Date) > 0 && rowsOfDay[record.Date] == 1;
    };
    const int saved = static_cast<int>(std::count_if(records.begin(), records.end(), isSaved));
    return std::max(total_ - saved, 0);
}

void TfrmDataImport::NotifyCount(const char* textKey, int count) {
    ShowMessageBox(this, GetText(textKey).replace(QStringLiteral("%d"), QString::number(count)),
                   GetText("Notify"), MB_OK | MB_ICONINFORMATION);
}

void TfrmDataImport::AskToDeleteOnScale() {
    // The scale deletes all of the user's measurements at once: only when every one of them is
    // read back from P_DATA may it be asked to.
    if (const int notSaved = MeasurementsNotSaved(); notSaved > 0) {
        NotifyCount("MeasurementsStayOnScale", notSaved);
        return;
    }
    if (!Globals.AttachedScale) {
        Notify("SaveSuccess", "Notify", MB_ICONINFORMATION);
        return;
    }
    if (ShowMessageBox(this, GetText("SaveSucessAndDelete"), GetText("Notify"),
                       MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return;
    if (!Globals.AttachedScale) {
        Notify("ScaleDisconnect", "Error", MB_ICONERROR);
        return;
    }
    // The scale deletes what it holds when the request comes, which may be more than was counted:
    // the person may have stepped on it since. Its count is asked again first.
    SetReplyHandler(&TfrmDataImport::RecountReply);
    if (!WriteScaleRequest(ReadDataCountRequest(Globals.CurrentUserId))) {
        Notify("SendCommandError", "Error", MB_ICONERROR);
        return;
    }
    recountingBeforeDelete_ = true;
    tmrTimeOut->start();
}

void TfrmDataImport::RecountReply(const std::uint8_t* data, std::uint16_t size) {
    if (!recountingBeforeDelete_ ||
        JudgeReadDataCountReply(data, size, Globals.CurrentUserId) != ReplyVerdict::Accepted)
        return;
    tmrTimeOut->stop();
    recountingBeforeDelete_ = false;
    if (const int count = ReadDataCountOf(data); count != total_) {
        total_ = count;
        ui->edtCount->setText(QString::number(count));
        PostWindowMessage(this, WM_DELETE_RESULT, 3, count);
        return;
    }
    SendDelete();
}

void TfrmDataImport::SendDelete() {
    if (!Globals.AttachedScale) {
        PostWindowMessage(this, WM_DELETE_RESULT, 4);
        return;
    }
    SetReplyHandler(&TfrmDataImport::DeleteReply);
    if (!WriteScaleRequest(DeleteDataRequest(Globals.CurrentUserId)))
        PostWindowMessage(this, WM_DELETE_RESULT, 5);
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

void TfrmDataImport::DeleteResult(int outcome, int count) {
    switch (outcome) {
    case 1:
        Notify("DataDeleted", "Notify", MB_ICONINFORMATION);
        break;
    case 2:
        Notify("ResponseError", "Error", MB_ICONINFORMATION);
        break;
    case 3:
        NotifyCount("MeasurementsStayOnScale", count);
        break;
    case 4:
        Notify("ScaleDisconnect", "Error", MB_ICONERROR);
        break;
    case 5:
        Notify("SendCommandError", "Error", MB_ICONERROR);
        break;
    default:
        break;
    }
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
