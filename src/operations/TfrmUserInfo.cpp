// SPDX-License-Identifier: MIT
#include "operations/TfrmUserInfo.h"

#include "ui_TfrmUserInfo.h"

#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/Units.h"
#include "core/WindowMessage.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "operations/ScaleLink.h"
#include "scale/ScaleProtocol.h"
#include "store/Goals.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

const QDate DefaultBirthday(1980, 1, 1);
constexpr int DefaultHeightCm = 170;
constexpr int GenderCount = 4;
// A goal weight starts here when the user has no goal and no measurement yet.
constexpr double DefaultGoalKg = 70.0;

double OneDecimal(double value) {
    return std::round(value * 10.0) / 10.0;
}

// The weight of the user's latest measurement, where a new goal starts; none without one.
std::optional<double> LatestWeightKg(int userId) {
    const TRowSet rows = dmMain().SelectRows(
        QStringLiteral("select WEIGHT from P_DATA where USER_ID = ? order by THE_DATE desc limit 1"),
        {userId});
    if (rows.empty())
        return std::nullopt;
    return rows.front().AsFloat(QStringLiteral("WEIGHT"));
}

} // namespace

TfrmUserInfo::TfrmUserInfo(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmUserInfo>()), tmrTimeout(new QTimer(this)) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(471, 463);
    tmrTimeout->setObjectName(QStringLiteral("tmrTimeout"));
    tmrTimeout->setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    tmrTimeout->setInterval(TimeoutMs);
    connect(tmrTimeout, &QTimer::timeout, this, Guarded([this] { tmrTimeoutTimer(); }));
    connect(ui->cbbUntSet, &QComboBox::currentIndexChanged, this, Guarded([this] { cbbUntSetChange(); }));
    connect(ui->btnSpinUp, &QToolButton::clicked, this, Guarded([this] { SpinButton1UpClick(); }));
    connect(ui->btnSpinDown, &QToolButton::clicked, this, Guarded([this] { SpinButton1DownClick(); }));
    connect(ui->chkGoal, &QCheckBox::toggled, this, Guarded([this] { chkGoalClick(); }));
    connect(ui->chkTargetDate, &QCheckBox::toggled, this, Guarded([this] { chkGoalClick(); }));
    connect(ui->edtGoalWeight, &QDoubleSpinBox::valueChanged, this,
            Guarded([this] { edtGoalWeightChange(); }));
    connect(ui->btnOk, &QPushButton::clicked, this, Guarded([this] { btnOkClick(); }));
    connect(ui->btnCancel, &QPushButton::clicked, this, Guarded([this] { btnCancelClick(); }));
    JoinWindowRegistry(this);
}

TfrmUserInfo::~TfrmUserInfo() {
    // A dialog destroyed without being closed must not leave its handler on the scale.
    if (handlerSet_)
        ClearScaleReplyHandler();
}

void TfrmUserInfo::FormCreate() {
    LangMgr().TranslateForm(this);
    const TRowSet rows = dmMain().SelectRows(SqlSelectUser(Globals.CurrentUserId));
    if (rows.empty()) {
        ui->btnOk->setEnabled(false); // nothing to edit: the user's row has gone
        return;
    }
    user_ = rows.front();
    const TDataRow& user = *user_;
    ui->edtUserID->setText(user.AsString(QStringLiteral("USER_ID")));
    ui->edtUserName->setText(user.AsString(QStringLiteral("USER_NAME")));

    const int gender = user.IsNull(QStringLiteral("SEX")) ? 0 : user.AsInteger(QStringLiteral("SEX"));
    // An index the list does not have would be sent to the scale as a wrong slot byte.
    ui->cbbSex->setCurrentIndex(gender >= 0 && gender < GenderCount ? gender : 0);

    const QDate birthday = user.AsDate(QStringLiteral("BIRTHDAY"));
    ui->dtpBirthday->setDate(birthday.isValid() ? birthday : DefaultBirthday);
    ui->cbbBlood->setCurrentText(user.AsString(QStringLiteral("BLOOD")));

    if (user.IsNull(QStringLiteral("HEIGHT")) || user.IsNull(QStringLiteral("HEIGHT_EN"))) {
        heightCm_ = DefaultHeightCm;
        heightInches_ = CmToInch(DefaultHeightCm);
    } else {
        heightCm_ = user.AsInteger(QStringLiteral("HEIGHT"));
        heightInches_ = user.AsFloat(QStringLiteral("HEIGHT_EN"));
    }
    const int unit = user.IsNull(QStringLiteral("THE_UNIT")) ? 0 : user.AsInteger(QStringLiteral("THE_UNIT"));
    ui->cbbUntSet->setCurrentIndex(unit == 0 || unit == 1 ? unit : 0);
    ui->DBMemo1->setPlainText(user.AsString(QStringLiteral("COMMENT")));
    ShowHeight();

    const std::optional<TGoal> goal = ReadGoal(dmMain(), Globals.CurrentUserId);
    ui->chkGoal->setChecked(goal.has_value());
    goalKg_ = goal ? goal->WeightKg : LatestWeightKg(Globals.CurrentUserId).value_or(DefaultGoalKg);
    ui->chkTargetDate->setChecked(goal && goal->TargetDate.isValid());
    ui->dtpTargetDate->setDate(goal && goal->TargetDate.isValid() ? goal->TargetDate
                                                                  : CurrentDate().addMonths(3));
    ShowGoal();
}

void TfrmUserInfo::ShowGoal() {
    // The goal is kept in kilograms exactly as stored or typed; only its display follows the unit.
    const bool pounds = ui->cbbUntSet->currentIndex() == 1;
    goalKg_ = std::clamp(goalKg_, MinGoalKg, MaxGoalKg); // what the box shows is what is saved
    QSignalBlocker blocker(ui->edtGoalWeight);
    if (pounds)
        ui->edtGoalWeight->setRange(OneDecimal(KgToLbExact(MinGoalKg)), OneDecimal(KgToLbExact(MaxGoalKg)));
    else
        ui->edtGoalWeight->setRange(MinGoalKg, MaxGoalKg);
    ui->edtGoalWeight->setValue(OneDecimal(pounds ? KgToLbExact(goalKg_) : goalKg_));
    ui->lblGoalUnit->setText(GetText(pounds ? "LB" : "KG"));
    chkGoalClick();
}

void TfrmUserInfo::chkGoalClick() {
    const bool goal = ui->chkGoal->isChecked();
    ui->edtGoalWeight->setEnabled(goal);
    ui->chkTargetDate->setEnabled(goal);
    ui->dtpTargetDate->setEnabled(goal && ui->chkTargetDate->isChecked());
}

void TfrmUserInfo::edtGoalWeightChange() {
    const double shown = ui->edtGoalWeight->value();
    goalKg_ = ui->cbbUntSet->currentIndex() == 1 ? LbToKg(shown) : shown;
}

std::optional<TGoal> TfrmUserInfo::Goal() const {
    if (!ui->chkGoal->isChecked())
        return std::nullopt;
    TGoal goal;
    goal.WeightKg = goalKg_;
    if (ui->chkTargetDate->isChecked())
        goal.TargetDate = ui->dtpTargetDate->date();
    return goal;
}

void TfrmUserInfo::ShowHeight() {
    if (ui->cbbUntSet->currentIndex() == 1) {
        ui->edtHeight->setText(InchToFeetText(heightInches_));
        ui->lblUnit->setText(GetText("UnitInch"));
    } else {
        ui->edtHeight->setText(QString::number(heightCm_));
        ui->lblUnit->setText(GetText("UnitCM"));
    }
}

void TfrmUserInfo::cbbUntSetChange() {
    ShowHeight();
    ShowGoal();
}

void TfrmUserInfo::Spin(int steps) {
    if (ui->cbbUntSet->currentIndex() == 1) {
        heightInches_ += 0.5 * steps;
        heightCm_ = InchToCm(heightInches_);
    } else {
        heightCm_ += steps;
        heightInches_ = CmToInch(heightCm_);
    }
    ShowHeight();
}

void TfrmUserInfo::SpinButton1UpClick() {
    Spin(+1);
}

void TfrmUserInfo::SpinButton1DownClick() {
    Spin(-1);
}

int TfrmUserInfo::Age() const {
    return ScaleAgeInYears(ui->dtpBirthday->date(), CurrentDate());
}

void TfrmUserInfo::Notify(const char* textKey, const char* captionKey) {
    ShowMessageBox(this, GetText(textKey), GetText(captionKey), MB_OK | MB_ICONINFORMATION);
}

void TfrmUserInfo::btnOkClick() {
    ui->btnOk->setEnabled(false);
    const QString name = ui->edtUserName->text().trimmed();
    ui->edtUserName->setText(name);
    if (name.isEmpty()) {
        ui->edtUserName->setFocus();
        ui->btnOk->setEnabled(true);
        return;
    }
    const int age = Age();
    if (age < MinAge || age > MaxAge) {
        Notify("AgeOutOfRange", "Error");
        ui->btnOk->setEnabled(true);
        return;
    }
    if (heightCm_ < MinHeightCm || heightCm_ > MaxHeightCm) {
        Notify(ui->cbbUntSet->currentIndex() != 0 ? "HeightInchOutOfRange" : "HeightCMOutOfRange", "Error");
        ui->btnOk->setEnabled(true);
        return;
    }
    if (!user_)
        return;

    TDataRow& user = *user_;
    user.SetValue(QStringLiteral("SEX"), ui->cbbSex->currentIndex());
    user.SetValue(QStringLiteral("BIRTHDAY"), ui->dtpBirthday->date());
    user.SetValue(QStringLiteral("HEIGHT"), heightCm_);
    user.SetValue(QStringLiteral("HEIGHT_EN"), heightInches_);
    user.SetValue(QStringLiteral("THE_UNIT"), ui->cbbUntSet->currentIndex());
    user.SetValue(QStringLiteral("USER_NAME"), name);
    user.SetValue(QStringLiteral("BLOOD"), ui->cbbBlood->currentText());
    user.SetValue(QStringLiteral("COMMENT"), ui->DBMemo1->toPlainText());
    // The profile and the goal are saved together or not at all.
    TdmMain& store = dmMain();
    store.InTransaction([&] {
        store.SaveUserRow(user);
        SaveGoal(store, Globals.CurrentUserId, Goal());
    });
    saved_ = {ui->cbbSex->currentIndex(), heightCm_, heightInches_, ui->dtpBirthday->date()};

    Globals.CurrentUserName = name;
    Globals.CurrentUnit = ui->cbbUntSet->currentIndex();

    if (!Globals.AttachedScale) {
        accept();
        return;
    }
    if (ShowMessageBox(this, GetText("SynchronizeDataToProduct"), GetText("Notify"),
                       MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
        accept();
        return;
    }
    if (PushProfile()) {
        attempts_ = 0;
        tmrTimeout->start();
    } else {
        Notify("SetUserInfoError", "Notify");
        ui->btnOk->setEnabled(true);
    }
}

bool TfrmUserInfo::PushProfile() {
    if (!Globals.AttachedScale)
        return false;
    try {
        if (SetScaleReplyHandler([this](THidDevice*, std::uint8_t, const std::uint8_t* data,
                                        std::uint16_t size) { Reply(data, size); }))
            handlerSet_ = true;
        return WriteScaleRequest(SetUserInfoRequest(Globals.CurrentUserId, saved_.Gender, saved_.HeightCm,
                                                    saved_.HeightInches,
                                                    ScaleAgeInYears(saved_.Birthday, CurrentDate())));
    } catch (const std::exception&) {
        return false;
    }
}

void TfrmUserInfo::tmrTimeoutTimer() {
    tmrTimeout->stop();
    ++attempts_;
    if (attempts_ >= Attempts) {
        Notify("ResponseTimeout", "Notify");
        ui->btnOk->setEnabled(true);
    } else if (PushProfile()) {
        tmrTimeout->start();
    } else {
        Notify("SetUserInfoError", "Notify");
        ui->btnOk->setEnabled(true);
    }
}

void TfrmUserInfo::Reply(const std::uint8_t* data, std::uint16_t size) {
    ui->btnOk->setEnabled(true);
    tmrTimeout->stop();
    switch (JudgeSetUserInfoReply(data, size)) {
    case ReplyVerdict::Accepted:
        PostWindowMessage(this, WM_PROFILE_RESULT, 1);
        break;
    case ReplyVerdict::Rejected:
        PostWindowMessage(this, WM_PROFILE_RESULT, 2);
        break;
    case ReplyVerdict::WrongLength:
        PostWindowMessage(this, WM_PROFILE_RESULT, 3);
        break;
    }
}

bool TfrmUserInfo::event(QEvent* event) {
    if (static_cast<int>(event->type()) != WM_PROFILE_RESULT)
        return QDialog::event(event);
    ProfileResult(static_cast<int>(static_cast<const TWindowMessage*>(event)->WParam));
    return true;
}

void TfrmUserInfo::ProfileResult(int outcome) {
    Notify(outcome == 1 ? "SaveSuccess" : outcome == 2 ? "SaveError" : "ResponseError", "Notify");
    if (outcome == 1)
        accept();
}

void TfrmUserInfo::btnCancelClick() {
    reject();
}

void TfrmUserInfo::done(int result) {
    tmrTimeout->stop();
    ClearScaleReplyHandler();
    handlerSet_ = false;
    QDialog::done(result);
}

bool RunUserInfoDialog(QWidget* owner) {
    TfrmUserInfo dialog(owner);
    RunGuarded([&] { dialog.FormCreate(); });
    return dialog.exec() == QDialog::Accepted;
}
