// SPDX-License-Identifier: MIT
#include "lang/TWideStringList.h"

#include <QListWidget>
#include <QSignalBlocker>

TWideStringList::TWideStringList(QListWidget* list) : TStrings(list), list_(list) {}

void TWideStringList::SetStrings(const QStringList& entries) {
    const int current = list_->currentRow();
    const bool currentSurvives = current >= 0 && current < entries.size();
    QSignalBlocker blocker(currentSurvives ? list_ : nullptr);
    list_->clear();
    list_->addItems(entries);
    if (currentSurvives)
        list_->setCurrentRow(current);
}

QStringList TWideStringList::Strings() const {
    QStringList entries;
    for (int i = 0; i < list_->count(); ++i)
        entries << list_->item(i)->text();
    return entries;
}
