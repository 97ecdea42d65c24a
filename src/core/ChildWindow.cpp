// SPDX-License-Identifier: MIT
#include "core/ChildWindow.h"

#include "core/ErrorHandler.h"

#include <QMdiArea>
#include <QMdiSubWindow>

QMdiSubWindow* FrameOf(QWidget* form) {
    return qobject_cast<QMdiSubWindow*>(form->parentWidget());
}

QMdiSubWindow* AddChildWindow(QMdiArea* area, QWidget* form, std::function<void()> onActivate) {
    QMdiSubWindow* frame = area->addSubWindow(form);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(frame, &QMdiSubWindow::windowStateChanged, form,
                     [onActivate = std::move(onActivate)](Qt::WindowStates before, Qt::WindowStates now) {
                         if (!(before & Qt::WindowActive) && (now & Qt::WindowActive))
                             RunGuarded(onActivate);
                     });
    return frame;
}

void BringChildToFront(QWidget* form) {
    if (QMdiSubWindow* frame = FrameOf(form)) {
        frame->show();
        frame->raise();
        frame->mdiArea()->setActiveSubWindow(frame);
    }
}

void CloseFrameOf(QWidget* form) {
    if (QMdiSubWindow* frame = FrameOf(form))
        frame->close();
}
