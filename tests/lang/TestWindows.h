// SPDX-License-Identifier: MIT
#pragma once

#include "core/WindowRegistry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

// Windows and components with the kinds of property that translation tells apart.

class TPropsWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Count MEMBER Count)
    Q_PROPERTY(TMode Mode MEMBER Mode)
    Q_PROPERTY(TOptions Options READ GetOptions WRITE SetOptions)
    Q_PROPERTY(double Ratio MEMBER Ratio)
    Q_PROPERTY(bool Flag MEMBER Flag)
    Q_PROPERTY(QByteArray AnsiCaption MEMBER AnsiCaption)
    Q_PROPERTY(QString WideCaption MEMBER WideCaption)
    Q_PROPERTY(QObject* Buddy MEMBER Buddy)
    Q_PROPERTY(qint64 Big MEMBER Big)
public:
    enum TMode { mdFirst, mdSecond, mdThird };
    Q_ENUM(TMode)
    enum TOption { opA = 1, opB = 2, opC = 4 };
    Q_DECLARE_FLAGS(TOptions, TOption)
    Q_FLAG(TOptions)

    using QWidget::QWidget;

    TOptions GetOptions() const { return Options; }
    void SetOptions(TOptions options) { Options = options; }

    int Count = 0;
    TMode Mode = mdFirst;
    TOptions Options;
    double Ratio = 0;
    bool Flag = false;
    QByteArray AnsiCaption;
    QString WideCaption;
    QObject* Buddy = nullptr;
    qint64 Big = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TPropsWidget::TOptions)

// A dialog whose components sit in a panel inside a group box, as designed windows have them.
class TfrmLangTest : public QDialog {
    Q_OBJECT
public:
    TfrmLangTest() {
        setWindowTitle(QStringLiteral("Design title"));
        auto* panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("pnlMain"));
        auto* group = new QGroupBox(QStringLiteral("Design group"), panel);
        group->setObjectName(QStringLiteral("grpUser"));
        btnDelete = new QPushButton(QStringLiteral("Design delete"), group);
        btnDelete->setObjectName(QStringLiteral("btnDelete"));
        lblInfo = new QLabel(QStringLiteral("Design info"), group);
        lblInfo->setObjectName(QStringLiteral("lblInfo"));
        lblAfter = new QLabel(QStringLiteral("Design after"), group);
        lblAfter->setObjectName(QStringLiteral("lblAfter"));
        chkRemember = new QCheckBox(QStringLiteral("Design check"), panel);
        chkRemember->setObjectName(QStringLiteral("chkRemember"));
        cbbGender = new QComboBox(panel);
        cbbGender->setObjectName(QStringLiteral("cbbGender"));
        cbbGender->addItems(
            {QStringLiteral("m"), QStringLiteral("f"), QStringLiteral("ma"), QStringLiteral("fa")});
        memNotes = new QPlainTextEdit(panel);
        memNotes->setObjectName(QStringLiteral("memNotes"));
        lstUsers = new QListWidget(panel);
        lstUsers->setObjectName(QStringLiteral("lstUsers"));
        lv1 = new QTreeWidget(panel);
        lv1->setObjectName(QStringLiteral("lv1"));
        lv1->setHeaderLabels({QStringLiteral("Design date"), QStringLiteral("Design weight")});
        props = new TPropsWidget(panel);
        props->setObjectName(QStringLiteral("wdgProps"));
        mnuFile = new QMenu(QStringLiteral("Design file"), this);
        mnuFile->setObjectName(QStringLiteral("mnuFile"));
        actExit = new QAction(QStringLiteral("Design exit"), this);
        actExit->setObjectName(QStringLiteral("actExit"));
        group->setLayout(new QVBoxLayout);
        group->layout()->addWidget(btnDelete);
        JoinWindowRegistry(this);
    }

    QPushButton* btnDelete;
    QLabel* lblInfo;
    QLabel* lblAfter;
    QCheckBox* chkRemember;
    QComboBox* cbbGender;
    QPlainTextEdit* memNotes;
    QListWidget* lstUsers;
    QTreeWidget* lv1;
    TPropsWidget* props;
    QMenu* mnuFile;
    QAction* actExit;
};

// A second kind of window with properties of its own (an int Count, which TfrmLangTest lacks).
class TfrmOther : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Count MEMBER Count)
public:
    TfrmOther() {
        setWindowTitle(QStringLiteral("Design other"));
        JoinWindowRegistry(this);
    }
    int Count = 0;
};
