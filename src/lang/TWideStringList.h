// SPDX-License-Identifier: MIT
#pragma once

#include "lang/TStrings.h"

class QListWidget;

// The entries of a plain list ("Items" of a list widget). Replacing them keeps the current row
// where it can.
class TWideStringList : public TStrings {
    Q_OBJECT
public:
    explicit TWideStringList(QListWidget* list);

    void SetStrings(const QStringList& entries) override;
    QStringList Strings() const override;

private:
    QListWidget* list_;
};
