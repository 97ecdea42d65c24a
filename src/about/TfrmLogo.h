// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class TfrmLogo;
}

// The splash window: the program's picture in a thin frame, without caption, on top of every
// window and centred on the screen, while the program starts. It has no texts to translate.
class TfrmLogo : public QFrame {
    Q_OBJECT
public:
    explicit TfrmLogo(QWidget* parent = nullptr);
    ~TfrmLogo() override;

private:
    std::unique_ptr<Ui::TfrmLogo> ui;
};
