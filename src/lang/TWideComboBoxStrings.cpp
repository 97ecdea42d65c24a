// SPDX-License-Identifier: MIT
#include "lang/TWideComboBoxStrings.h"

#include <QComboBox>
#include <QSignalBlocker>

TWideComboBoxStrings::TWideComboBoxStrings(QComboBox* comboBox) : TStrings(comboBox), comboBox_(comboBox) {}

void TWideComboBoxStrings::SetStrings(const QStringList& entries) {
    const int selected = comboBox_->currentIndex();
    const bool selectionSurvives = selected >= 0 && selected < entries.size();
    {
        // A translation that keeps the selection is no change of selection for the window's handlers.
        QSignalBlocker blocker(selectionSurvives ? comboBox_ : nullptr);
        comboBox_->clear();
        comboBox_->addItems(entries);
        if (selectionSurvives)
            comboBox_->setCurrentIndex(selected);
    }
}

QStringList TWideComboBoxStrings::Strings() const {
    QStringList entries;
    for (int i = 0; i < comboBox_->count(); ++i)
        entries << comboBox_->itemText(i);
    return entries;
}
