// SPDX-License-Identifier: MIT
#include "core/WindowRegistry.h"

#include <QObject>
#include <QWidget>

namespace {

QList<QWidget*>& windows() {
    static QList<QWidget*> list;
    return list;
}

} // namespace

void JoinWindowRegistry(QWidget* window) {
    if (windows().contains(window))
        return;
    windows().append(window);
    QObject::connect(window, &QObject::destroyed, [window] { windows().removeAll(window); });
}

QList<QWidget*> RegisteredWindows() {
    return windows();
}
