// SPDX-License-Identifier: MIT
#pragma once

#include "lang/TStrings.h"

class QComboBox;

// The entries of a combo box ("Items"). Replacing them keeps the selected index where it can.
class TWideComboBoxStrings : public TStrings {
    Q_OBJECT
public:
    explicit TWideComboBoxStrings(QComboBox* comboBox);

    void SetStrings(const QStringList& entries) override;
    QStringList Strings() const override;

private:
    QComboBox* comboBox_;
};
