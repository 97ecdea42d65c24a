// SPDX-License-Identifier: MIT
#pragma once

#include "store/Goals.h"
#include "store/TDataRow.h"

#include <QDate>
#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>

class QTimer;

namespace Ui {
class TfrmUserInfo;
}

// Posted to the dialog itself with the scale's answer in wParam: 1 confirmed, 2 an 8-byte reply
// that is not the confirmation, 3 a reply of another length.
constexpr int WM_PROFILE_RESULT = 0x8123;

// Edits the logged-in user's profile, saves it and offers to send it to the scale.
class TfrmUserInfo : public QDialog {
    Q_OBJECT
public:
    static constexpr int TimeoutMs = 1000;
    static constexpr int Attempts = 3;
    static constexpr int MinAge = 10;
    static constexpr int MaxAge = 80;
    static constexpr int MinHeightCm = 100;
    static constexpr int MaxHeightCm = 240;
    // The goal weights the dialog accepts, in kilograms.
    static constexpr double MinGoalKg = 20.0;
    static constexpr double MaxGoalKg = 300.0;

    explicit TfrmUserInfo(QWidget* parent = nullptr);
    ~TfrmUserInfo() override;

    void FormCreate();
    void cbbUntSetChange();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void chkGoalClick();
    void edtGoalWeightChange();
    void btnOkClick();
    void btnCancelClick();
    void tmrTimeoutTimer();

    int HeightCm() const { return heightCm_; }
    double HeightInches() const { return heightInches_; }
    // The goal as Confirm saves it: none while "Goal Weight" is not ticked.
    std::optional<TGoal> Goal() const;

protected:
    bool event(QEvent* event) override;
    void done(int result) override;

private:
    void ShowHeight();
    void ShowGoal();
    void Spin(int steps);
    int Age() const;
    // Writes the saved profile to the scale; false when there is no scale or the write failed.
    bool PushProfile();
    void Reply(const std::uint8_t* data, std::uint16_t size);
    void ProfileResult(int outcome);
    void Notify(const char* textKey, const char* captionKey);

    std::unique_ptr<Ui::TfrmUserInfo> ui;
    bool handlerSet_ = false; // until closing clears it
    QTimer* tmrTimeout;
    int attempts_ = 0; // tmrTimeout's tag
    std::optional<TDataRow> user_;
    // What Confirm saved: every push attempt sends this, not the controls, which stay editable
    // while the push waits for the scale.
    struct PushedProfile {
        int Gender = 0;
        int HeightCm = 0;
        double HeightInches = 0;
        QDate Birthday;
    };
    PushedProfile saved_;
    int heightCm_ = 170;
    double heightInches_ = 67.0; // in steps of 0.5
    double goalKg_ = 0;          // unrounded, so that a goal typed in pounds reads back as typed
};

// Opens the user information dialog modally over owner; true when it ended with the OK result
// (the profile was saved), so the caller shows the user's name again.
bool RunUserInfoDialog(QWidget* owner);
