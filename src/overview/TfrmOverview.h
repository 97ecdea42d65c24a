// SPDX-License-Identifier: MIT
#pragma once

#include "overview/OverviewFigures.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QMdiArea;
class QPushButton;
class QStackedWidget;
class TBmiBar;
class TSparkline;

// The overview: where the logged-in user stands and where they are heading, from the latest
// measurement, the trend, the profile and the goal. A child window of the main window like the
// measurement list: at most one (ShowOverview), maximised whenever it is activated, freed when
// closed. Everything it shows is computed when it is shown; it reads its data again each time it
// becomes active, so that imports and deletions made elsewhere show at once.
class TfrmOverview : public QWidget {
    Q_OBJECT
public:
    explicit TfrmOverview(QWidget* parent = nullptr);
    ~TfrmOverview() override;

    void FormCreate();
    void FormActivate();
    // Reads the user's measurements, profile and goal and shows them in the user's unit.
    void RefreshOverview();

    void btnImportClick();
    void chkShowAtLoginClick();

    const TOverviewFigures& Figures() const { return figures_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QGroupBox* Panel(const char* name, const QString& title);
    QLabel* Label(const char* name, const QString& text = QString());
    // Composes every text from the figures; again after a language switch.
    void ComposeTexts();
    void ComposeLatest();
    void ComposeBody();
    void ComposeGoal();
    void ShowValue(QLabel* label, const QString& value);

    TOverviewFigures figures_;
    bool pounds_ = false;

    QStackedWidget* pnlPages_;
    QCheckBox* chkShowAtLogin_;
    QPushButton* btnImport_;
    QLabel* lblLatestWeight_;
    QLabel* lblLatestDate_;
    QLabel* lblFat_;
    QLabel* lblTbw_;
    QLabel* lblMus_;
    QLabel* lblBone_;
    QLabel* lblFatCaption_;
    QLabel* lblTbwCaption_;
    QLabel* lblMusCaption_;
    QLabel* lblBoneCaption_;
    QLabel* lblChange_[ChangeDays.size()];
    QLabel* lblBmi_;
    QLabel* lblBmiBand_;
    QLabel* lblBmiNeedsProfile_;
    TBmiBar* pbxBmi_;
    QLabel* lblFatMass_;
    QLabel* lblLeanMass_;
    QLabel* lblBmrMsj_;
    QLabel* lblBmrKm_;
    QWidget* pnlGoalFigures_;
    QLabel* lblNoGoal_;
    QLabel* lblGoalWeight_;
    QLabel* lblGoalLeft_;
    QLabel* lblGoalRate_;
    QLabel* lblGoalDate_;
    QLabel* lblGoalTarget_;
    TSparkline* pbxRecent_;
};

// Opens the overview in area when none is open, then shows it, brings it to the front and reads
// its data again.
TfrmOverview* ShowOverview(QMdiArea* area);
// The open overview, or nullptr.
TfrmOverview* OverviewWindow();
// Reads the open overview's data again (after an import or a changed profile); nothing when none is open.
void RefreshOverviewIfOpen();
// Whether the overview opens after login (my.ini, [Overview] ShowAtLogin, on unless "0").
bool OverviewShownAtLogin();
// After login: opens the overview when it is wanted and the user has measurements.
void ShowOverviewAfterLogin(QMdiArea* area);
