// SPDX-License-Identifier: MIT
#include "about/TfrmAbout.h"
#include "ElfTestFile.h"
#include "about/TWaterImage.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

template <typename T> T* Child(QWidget* form, const char* name) {
    T* child = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST(AboutTest, ShowsTheProgramVersionUnderTheRipplingBanner) {
    TfrmAbout form;
    form.FormCreate();
    EXPECT_STREQ(form.metaObject()->className(), "TfrmAbout");
    EXPECT_EQ(Child<QLabel>(&form, "lblVer")->text(), QStringLiteral("1.0.0.83"));
    EXPECT_EQ(form.size(), QSize(335, 266));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(RegisteredWindows().contains(&form));

    QWidget* panel = Child<QWidget>(&form, "Panel1");
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 335, 61));
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(Child<QLabel>(&form, "Image1")->isHidden());

    TWaterImage* water = form.WaterImage();
    ASSERT_NE(water, nullptr);
    EXPECT_EQ(water->parentWidget(), panel);
    EXPECT_EQ(water->geometry(), QRect(0, 0, 334, 57));
    EXPECT_TRUE(water->AutoSize());
    EXPECT_EQ(water->RandomBlob(), 5);
    EXPECT_EQ(water->Picture().size(), QSize(334, 57));
}

TEST(AboutTest, VersionIsMaroonBesideItsCaption) {
    TfrmAbout form;
    form.FormCreate();
    form.show();
    auto* caption = Child<QLabel>(&form, "lblFileVer");
    auto* version = Child<QLabel>(&form, "lblVer");
    EXPECT_EQ(version->palette().color(version->foregroundRole()), QColor(128, 0, 0));
    EXPECT_EQ(caption->pos(), QPoint(24, 88));
    EXPECT_EQ(version->pos(), QPoint(128, 88));
    EXPECT_LT(caption->geometry().right(), version->x());
    EXPECT_GE(version->width(), version->sizeHint().width());
}

TEST(AboutTest, AProgramWithoutVersionShowsAnEmptyLabel) {
    QTemporaryDir folder;
    const QString plain = folder.filePath(QStringLiteral("plain"));
    ElfTestFile::Write(plain, ElfTestFile::Make({{".text", {0xC3}}}));
    const QString damaged = folder.filePath(QStringLiteral("damaged"));
    ElfTestFile::Write(damaged, ElfTestFile::Make({{".bfs_version", {0x20, 0x00, 0x34, 0x00, 0x00}}}));
    for (const QString& program : {plain, damaged, folder.filePath(QStringLiteral("missing"))}) {
        TfrmAbout form(nullptr, program);
        form.FormCreate();
        EXPECT_EQ(Child<QLabel>(&form, "lblVer")->text(), QString()) << program.toStdString();
    }
}

TEST(AboutTest, OkClosesTheBox) {
    TfrmAbout form;
    form.FormCreate();
    form.show();
    Child<QPushButton>(&form, "btnOk")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
}

TEST(AboutTest, ShowAboutMakesANewModalBoxEachTime) {
    for (int use = 0; use < 2; ++use) {
        QString shown;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box)
                return;
            shown = QString::fromLatin1(box->metaObject()->className());
            modal = box->isModal();
            box->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        });
        ShowAbout();
        EXPECT_EQ(shown, QStringLiteral("TfrmAbout"));
        EXPECT_TRUE(modal);
        for (QWidget* window : RegisteredWindows())
            EXPECT_STRNE(window->metaObject()->className(), "TfrmAbout");
    }
}

// The language file's element for the box sets its captions; a longer caption moves the version
// to the right instead of overlapping it.
TEST(AboutTest, TakesItsCaptionsFromTheLanguageFile) {
    QTemporaryDir folder;
    const auto writeLanguage = [&](const char* name, const char* element) {
        QFile file(folder.filePath(QString::fromLatin1(name) + QStringLiteral(".xml")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?><Root><Language Name=\"") + name +
                   "\" LangId=\"1\"/>" + element + "</Root>");
    };
    writeLanguage("Long",
                  "<TfrmAbout Caption=\"Info\"><lblFileVer Caption=\"Version du logiciel install\xC3\xA9\"/>"
                  "<btnOk Caption=\"D'accord\"/></TfrmAbout>");
    writeLanguage("Plain", "<TfrmAbout Caption=\"About\"><lblFileVer Caption=\"Software Version:\"/>"
                           "<btnOk Caption=\"&amp;OK\"/></TfrmAbout>");
    LangMgr().LoadLanguageList(folder.path() + QLatin1Char('/'), false);
    LangMgr().SetLanguage(QStringLiteral("Long"));
    {
        TfrmAbout form;
        form.FormCreate();
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Info"));
        EXPECT_EQ(Child<QPushButton>(&form, "btnOk")->text(), QStringLiteral("D'accord"));
        auto* caption = Child<QLabel>(&form, "lblFileVer");
        auto* version = Child<QLabel>(&form, "lblVer");
        EXPECT_EQ(caption->text(), QStringLiteral("Version du logiciel installé"));
        EXPECT_GE(caption->width(), caption->sizeHint().width());
        EXPECT_GT(version->x(), caption->geometry().right());
        EXPECT_EQ(version->text(), QStringLiteral("1.0.0.83"));
    }
    LangMgr().SetLanguage(QStringLiteral("Plain"));
}

TEST(AboutTest, TheEnglishFileGivesTheBoxItsTexts) {
    const QByteArray fromEnvironment = qgetenv("BFS_SOURCE_DIR");
    const QString source = fromEnvironment.isEmpty() ? QStringLiteral(BFS_SOURCE_DIR_AT_BUILD)
                                                     : QString::fromLocal8Bit(fromEnvironment);
    LangMgr().LoadLanguageList(source + QStringLiteral("/resources/Lang/"), false);
    LangMgr().SetLanguage(QStringLiteral("English"));
    ASSERT_EQ(LangMgr().CurrentLanguage(), QStringLiteral("English"));
    TfrmAbout form;
    form.setWindowTitle(QString());
    Child<QLabel>(&form, "lblFileVer")->clear();
    Child<QPushButton>(&form, "btnOk")->setText(QString());
    form.FormCreate();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(Child<QLabel>(&form, "lblFileVer")->text(), QStringLiteral("Software Version:"));
    EXPECT_EQ(Child<QPushButton>(&form, "btnOk")->text(), QStringLiteral("&OK"));
}

} // namespace
