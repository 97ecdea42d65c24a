// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QObject>

// The column collection of a list view ("Columns"). Its element's attributes reach the collection,
// never a single column: column captions come from the window's own code through GetText.
class TListColumns : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count)
public:
    explicit TListColumns(QAbstractItemView* view) : QObject(view), view_(view) {}

    int Count() const { return view_->model() ? view_->model()->columnCount() : 0; }

private:
    QAbstractItemView* view_;
};
