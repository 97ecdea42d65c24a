// SPDX-License-Identifier: MIT
#include "RecordsFixture.h"

#include <QLabel>
#include <QPushButton>

namespace {

using EnglishTextsTest = RecordsTest;

TEST_F(EnglishTextsTest, TheEnglishFileTranslatesBothWindowsAndHasTheExportRefusal) {
    LangMgr().LoadLanguageList(QStringLiteral(BFS_LANG_FOLDER), false);
    LangMgr().SetLanguage(QStringLiteral("English"));
    ASSERT_EQ(LangMgr().CurrentLanguage(), "English");
    EXPECT_FALSE(GetText("ExportTooLarge").isEmpty());

    TfrmMyData* form = Open();
    EXPECT_EQ(form->windowTitle(), "User Data");
    const std::pair<const char*, const char*> texts[] = {{"btnFilter", "Date Filter"},
                                                         {"btnDelete", "Delete"},
                                                         {"btnDeleteBatch", "Batch Delete"},
                                                         {"btnExport", "Export ..."}};
    for (const auto& [name, text] : texts)
        EXPECT_EQ(form->findChild<QPushButton*>(name)->text(), text) << name;
    EXPECT_EQ(form->findChild<QLabel*>("lblMsg")->text(), "0 record(s)");
    EXPECT_EQ(ModelOf(form).headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "FAT %");

    TfrmDateRange dialog;
    dialog.FormCreate();
    EXPECT_EQ(dialog.windowTitle(), "Select Range");
    EXPECT_EQ(dialog.findChild<QLabel*>("Label3")->text(), "Select Date Range to Delete Record ");
    EXPECT_EQ(dialog.findChild<QPushButton*>("btnCancel")->text(), "Cancel");
}

} // namespace
