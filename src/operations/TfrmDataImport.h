// SPDX-License-Identifier: MIT
#pragma once

#include "scale/MeasurementRecord.h"
#include "scale/ScaleFrame.h"

#include <QDialog>
#include <QLoggingCategory>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QTimer;
class TImportListModel;

namespace Ui {
class TfrmDataImport;
}

// The dialog's own window messages; the outcome code travels in wParam.
constexpr int WM_REQUEST_COUNT = 0x8101;   // 0: send the ReadDataCount request
constexpr int WM_COUNT_RESULT = 0x8102;    // 1 count received, 3 count reply rejected
constexpr int WM_TRANSFER_RESULT = 0x8103; // 1 no scale, 2 writing a request failed, 3 all read
// 1 the scale deleted its copies, 2 reply rejected, 3 the scale's count changed since it was read
// (lParam: the new count), 4 the scale went away, 5 writing the request failed
constexpr int WM_DELETE_RESULT = 0x8104;

// The record time-out trace ("read data index  = ..."), debug level, off unless enabled with
// QT_LOGGING_RULES="bfs.import.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcDataImport)

// Pulls the logged-in user's measurements out of the scale, lists them, stores them in P_DATA one
// row per day and, when asked to, has the scale delete its copies.
class TfrmDataImport : public QDialog {
    Q_OBJECT
public:
    static constexpr int CountTimeoutMs = 1000;
    static constexpr int CountAttempts = 3;
    static constexpr int RecordTimeoutMs = 500;
    static constexpr int RecordAttempts = 5;
    static constexpr int ShowRowsIntervalMs = 100;

    explicit TfrmDataImport(QWidget* parent = nullptr);
    ~TfrmDataImport() override;

    void FormCreate();
    // Posts WM_REQUEST_COUNT with a fresh attempt count, as opening the dialog does.
    void StartCounting();

    void btnImportClick();
    void btnSaveClick();
    void btnCloseClick();
    void tmrTimeOutTimer();
    void tmrGetDataTimeoutTimer();

    // The six cell texts of a measurement's row; unit 0 metric, any other imperial.
    static QStringList CellTexts(const MeasurementRecord& record, int unit);

    int Total() const { return total_; }
    int ReadCount() const { return read_; }
    int SkippedCount() const { return skipped_; }
    std::vector<MeasurementRecord> Records() const;
    TImportListModel* Model() const { return model_; }

protected:
    bool event(QEvent* event) override;
    void done(int result) override;

private:
    // Recount: the count asked again before the first measurement, after replies came too late.
    enum class Half { Recount, Part1, Part2 };
    using ReplyMethod = void (TfrmDataImport::*)(const std::uint8_t* data, std::uint16_t size);

    void SetReplyHandler(ReplyMethod method);

    void RequestCount();
    void CountReply(const std::uint8_t* data, std::uint16_t size);
    bool WriteRecordRequest(const ScaleRequest& request);
    bool RequestMeasurement(int index);
    // Asks part 1 of the next measurement, or the count again while still waiting for it.
    void AskAgain();
    void RecordReply(const std::uint8_t* data, std::uint16_t size);
    bool IsAwaitedHalf(const ScaleReply& reply) const;
    void MeasurementRead(const ScaleReply& part2);
    void NextMeasurement();
    void DeleteReply(const std::uint8_t* data, std::uint16_t size);
    void RecountReply(const std::uint8_t* data, std::uint16_t size);
    void SendDelete();
    void EndTransfer();
    void AddRow(const MeasurementRecord& record);
    void ShowNewRows();
    void ClearList();
    void SaveRows();
    int MeasurementsNotSaved() const;
    void AskToDeleteOnScale();

    void CountResult(int outcome);
    void TransferResult(int outcome);
    void DeleteResult(int outcome, int count);
    void Notify(const char* textKey, const char* captionKey, int icon);
    // textKey's text with its %d replaced by count, captioned "Notify".
    void NotifyCount(const char* textKey, int count);

    std::unique_ptr<Ui::TfrmDataImport> ui;
    bool handlerSet_ = false; // until closing clears it
    TImportListModel* model_;
    QTimer* tmrTimeOut;
    QTimer* tmrGetDataTimeout;
    QTimer* tmrShowRows;
    int countAttempts_ = 0;  // tmrTimeOut's tag
    int recordAttempts_ = 0; // tmrGetDataTimeout's tag

    int total_ = 0;
    int read_ = 0;
    int skipped_ = 0; // measurements whose date bytes name no calendar date
    Half half_ = Half::Part1;
    bool transferring_ = false;
    bool lateRepliesPossible_ = false; // a request timed out: its reply may still come
    bool saveFailed_ = false;
    bool recountingBeforeDelete_ = false; // tmrTimeOut waits for the count asked before deleting
    // Replies name neither index nor half, so a reply is taken only when it cannot be an older
    // one coming again (see IsAwaitedHalf).
    ScaleReply part1_{};
    bool part1Known_ = false; // part1_ was taken for the measurement being read
    int part1Asks_ = 0;       // how often each half of that measurement was asked for
    int part2Asks_ = 0;
    std::optional<ScaleReply> lastTaken_;
    std::optional<std::pair<ScaleReply, ScaleReply>> previous_;    // the measurement before
    std::optional<std::pair<ScaleReply, ScaleReply>> undecodable_; // the last pair without a date
    std::vector<MeasurementRecord> newRows_;                       // read, but not in the list yet
};

// Opens the import dialog modally over owner; the count is asked for at once.
void RunDataImportDialog(QWidget* owner);
