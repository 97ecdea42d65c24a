// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TfrmAbout;
}
class TWaterImage;

// The about box: a rippling banner and the program's file version, read from the version block
// of the program's own executable.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    // programFile is the file whose version is shown; empty means the running program's own.
    explicit TfrmAbout(QWidget* parent = nullptr, QString programFile = QString());
    ~TfrmAbout() override;

    void FormCreate();

    // The rippling banner, once FormCreate has made it.
    TWaterImage* WaterImage() const { return waterImage_; }

private:
    void btnOkClick();

    std::unique_ptr<Ui::TfrmAbout> ui;
    QString programFile_;
    TWaterImage* waterImage_ = nullptr;
};

// The About command: a new about box, shown modally over owner and freed when it closes.
void ShowAbout(QWidget* owner = nullptr);
