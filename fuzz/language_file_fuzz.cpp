// SPDX-License-Identifier: MIT
// A language file, as anyone who can write to the language folder may place it there: listed by the
// language manager, made current (which translates every open window and loads the message texts)
// and applied to a window once more directly.
#include "FuzzTarget.h"

#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

// A window with a component of each kind the translation tells apart, and properties of the types
// that take the different value rules (whole number, enumeration, set, yes/no, 8-bit text).
class TfrmFuzz : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Count MEMBER Count)
    Q_PROPERTY(TMode Mode MEMBER Mode)
    Q_PROPERTY(TOptions Options READ GetOptions WRITE SetOptions)
    Q_PROPERTY(bool Flag MEMBER Flag)
    Q_PROPERTY(QByteArray AnsiCaption MEMBER AnsiCaption)
    Q_PROPERTY(double Ratio MEMBER Ratio)
public:
    enum TMode { mdFirst, mdSecond };
    Q_ENUM(TMode)
    enum TOption { opA = 1, opB = 2 };
    Q_DECLARE_FLAGS(TOptions, TOption)
    Q_FLAG(TOptions)

    TfrmFuzz() {
        setObjectName(QStringLiteral("frmFuzz"));
        auto* layout = new QVBoxLayout(this);
        auto* box = new QGroupBox(this);
        box->setObjectName(QStringLiteral("grpBox"));
        layout->addWidget(box);
        auto* boxLayout = new QVBoxLayout(box);
        Add<QLabel>(boxLayout, box, "lblInfo");
        Add<QPushButton>(boxLayout, box, "btnOK");
        auto* combo = Add<QComboBox>(boxLayout, box, "cbbGender");
        combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
        combo->setCurrentIndex(1);
        Add<QPlainTextEdit>(boxLayout, box, "memNotes");
        Add<QListWidget>(boxLayout, box, "lstItems")->addItem(QStringLiteral("x"));
        auto* tree = Add<QTreeWidget>(boxLayout, box, "lvData");
        tree->setColumnCount(3);
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("mnuFile"));
        menu->addAction(QStringLiteral("Exit"))->setObjectName(QStringLiteral("mnuExit"));
        JoinWindowRegistry(this);
    }

    TOptions GetOptions() const { return Options; }
    void SetOptions(TOptions options) { Options = options; }

    int Count = 0;
    TMode Mode = mdFirst;
    TOptions Options;
    bool Flag = false;
    QByteArray AnsiCaption;
    double Ratio = 0;

private:
    template <typename T> T* Add(QVBoxLayout* layout, QWidget* parent, const char* name) {
        auto* widget = new T(parent);
        widget->setObjectName(QLatin1String(name));
        layout->addWidget(widget);
        return widget;
    }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TfrmFuzz::TOptions)

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int appArgc = 1;
    static char* appArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    // Destroyed at exit, after the language manager and the scratch folder, which come later.
    static QApplication application(appArgc, appArgv);
    LangMgr().SetSystemLanguageIdSource([] { return 1033; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString fileName = QDir(ScratchFolder()).filePath(QStringLiteral("Fuzz.xml"));
    {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    auto window = std::make_unique<TfrmFuzz>();
    LangMgr().LoadLanguageList(ScratchFolder() + QLatin1Char('/'), false);
    FUZZ_CHECK(LangMgr().Languages().size() == LangMgr().FileNames().size());
    FUZZ_CHECK(LangMgr().Languages().size() <= 1);
    if (!LangMgr().Languages().isEmpty()) {
        LangMgr().SetLanguage(LangMgr().Languages().first());
        LangMgr().TranslateForm(window.get());
        (void)LangMgr().GetText("Notify");
        (void)LangMgr().GetText("UserNameFmt");
    }
    return 0;
}

#include "language_file_fuzz.moc"
