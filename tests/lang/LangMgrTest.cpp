// SPDX-License-Identifier: MIT
#include "lang/LangMgr.h"

#include "LangFolder.h"

#include "QStringPrinter.h"
#include <QElapsedTimer>
#include <QStringEncoder>
#include <arpa/inet.h>

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class LangMgrTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.SetSystemLanguageIdSource([this] { return systemId; });
    }

    void Load(bool chooseDefault = true) { manager.LoadLanguageList(folder.Path(), chooseDefault); }

    TLangFolder folder;
    TLangMgr manager;
    int systemId = 1031;
};

QString TextBody(const QString& elements) {
    return QStringLiteral("<Text>%1</Text>").arg(elements);
}

TEST_F(LangMgrTest, ListsOnlyUsableLanguageFilesWithTrimmedNames) {
    folder.WriteLanguage(QStringLiteral("en.xml"), QStringLiteral("  English\t"), 1033);
    folder.WriteLanguage(QStringLiteral("de.XML"), QStringLiteral("Deutsch"), 1031);
    folder.Write(QStringLiteral("noname.xml"), "<Root><Language LangId=\"7\"/></Root>");
    folder.Write(QStringLiteral("nolanguage.xml"), "<Root><Text><A>a</A></Text></Root>");
    folder.Write(QStringLiteral("deep.xml"), "<Root><Inner><Language Name=\"Deep\"/></Inner></Root>");
    folder.Write(QStringLiteral("broken.xml"), "<Root><Language Name=\"Broken\"/>");
    folder.Write(QStringLiteral("empty.xml"), "");
    folder.Write(QStringLiteral("binary.xml"), QByteArray("\x00\xff\xfe\x01garbage", 11));
    folder.Write(QStringLiteral("notes.txt"), "<Root><Language Name=\"Text file\"/></Root>");
    QDir(folder.Path()).mkdir(QStringLiteral("folder.xml"));
    Load(false);

    ASSERT_EQ(manager.FileNames().size(), manager.Languages().size());
    QStringList pairs;
    for (int i = 0; i < manager.FileNames().size(); ++i)
        pairs << manager.FileNames()[i] + QLatin1Char('=') + manager.Languages()[i];
    pairs.sort();
    EXPECT_EQ(pairs, QStringList({QStringLiteral("de.XML=Deutsch"), QStringLiteral("en.xml=English"),
                                  QStringLiteral("noname.xml=")}));
    EXPECT_EQ(manager.CurrentLanguage(), QString()); // no default chosen without the flag
}

TEST_F(LangMgrTest, MissingOrEmptyFolderLeavesNoLanguage) {
    for (const QString& path : {folder.Path() + QStringLiteral("missing/"), folder.Path(), QString()}) {
        TLangMgr fresh;
        fresh.LoadLanguageList(path, true);
        EXPECT_TRUE(fresh.FileNames().isEmpty());
        EXPECT_TRUE(fresh.Languages().isEmpty());
        EXPECT_EQ(fresh.CurrentLanguage(), QString());
        EXPECT_EQ(fresh.GetText("Notify"), QString());
        EXPECT_EQ(fresh.GetDefaultLanguage(), QString());
    }
}

TEST_F(LangMgrTest, ReloadingTheListStartsAfresh) {
    folder.WriteLanguage(QStringLiteral("a.xml"), QStringLiteral("A"), 1);
    Load(false);
    Load(false);
    EXPECT_EQ(manager.Languages(), QStringList{QStringLiteral("A")});
    EXPECT_EQ(manager.LanguageFolder(), folder.Path());
}

// Listing order is the file system's; expectations are stated against FileNames() order.
TEST_F(LangMgrTest, DefaultIsTheSystemLanguage) {
    folder.WriteLanguage(QStringLiteral("en.xml"), QStringLiteral("English"), 1033);
    folder.WriteLanguage(QStringLiteral("de.xml"), QStringLiteral("Deutsch"), 1031);
    folder.WriteLanguage(QStringLiteral("fr.xml"), QStringLiteral("Francais"), 1036);
    systemId = 1031;
    Load();
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("Deutsch"));
    EXPECT_EQ(manager.CurrentLanguageId(), 1031);
}

TEST_F(LangMgrTest, WithoutSystemMatchTheLastEnglishFileWins) {
    folder.WriteLanguage(QStringLiteral("us1.xml"), QStringLiteral("English one"), 1033);
    folder.WriteLanguage(QStringLiteral("fr.xml"), QStringLiteral("Francais"), 1036);
    folder.WriteLanguage(QStringLiteral("us2.xml"), QStringLiteral("English two"), 1033);
    systemId = 1041;
    Load();
    const QString last = manager.FileNames().indexOf(QStringLiteral("us1.xml")) >
                                 manager.FileNames().indexOf(QStringLiteral("us2.xml"))
                             ? QStringLiteral("English one")
                             : QStringLiteral("English two");
    EXPECT_EQ(manager.CurrentLanguage(), last);
}

TEST_F(LangMgrTest, SystemEnglishTakesTheFirstEnglishFile) {
    folder.WriteLanguage(QStringLiteral("us1.xml"), QStringLiteral("English one"), 1033);
    folder.WriteLanguage(QStringLiteral("fr.xml"), QStringLiteral("Francais"), 1036);
    folder.WriteLanguage(QStringLiteral("us2.xml"), QStringLiteral("English two"), 1033);
    systemId = 1033;
    Load();
    const QString first = manager.FileNames().indexOf(QStringLiteral("us1.xml")) <
                                  manager.FileNames().indexOf(QStringLiteral("us2.xml"))
                              ? QStringLiteral("English one")
                              : QStringLiteral("English two");
    EXPECT_EQ(manager.CurrentLanguage(), first);
}

TEST_F(LangMgrTest, WithoutSystemOrEnglishTheFirstListedWins) {
    folder.WriteLanguage(QStringLiteral("fr.xml"), QStringLiteral("Francais"), 1036);
    folder.WriteLanguage(QStringLiteral("ja.xml"), QStringLiteral("Nihongo"), 1041);
    folder.WriteLanguage(QStringLiteral("x.xml"), QStringLiteral("NoId"), 0);
    for (int id : {1049, 0}) { // an unknown system language (0) matches no file, not even one without LangId
        systemId = id;
        Load();
        EXPECT_EQ(manager.CurrentLanguage(), manager.Languages().value(0)) << id;
    }
}

TEST_F(LangMgrTest, SystemNameWithBlanksAroundItStillBecomesCurrent) {
    folder.WriteLanguage(QStringLiteral("de.xml"), QStringLiteral("  Deutsch  "), 1031,
                         TextBody(QStringLiteral("<Notify>Hinweis</Notify>")));
    folder.WriteLanguage(QStringLiteral("en.xml"), QStringLiteral("English"), 1033);
    systemId = 1031;
    Load();
    EXPECT_EQ(manager.GetDefaultLanguage(), QStringLiteral("Deutsch"));
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("Deutsch"));
    EXPECT_EQ(manager.GetText("Notify"), QStringLiteral("Hinweis"));
}

TEST_F(LangMgrTest, DefaultPassesOverFilesThatBecameUnusableOrLackTheName) {
    folder.WriteLanguage(QStringLiteral("en.xml"), QStringLiteral("English"), 1033);
    folder.WriteLanguage(QStringLiteral("gone.xml"), QStringLiteral("Gone"), 1031);
    folder.Write(QStringLiteral("noname.xml"), "<Root><Language LangId=\"1031\"/></Root>");
    folder.WriteLanguage(QStringLiteral("de.xml"), QStringLiteral("Deutsch"), 1031);
    systemId = 1031;
    Load(false);
    folder.Remove(QStringLiteral("gone.xml"));
    // "noname.xml" matches the system but has no Name: passed over, and so is the removed file,
    // whatever their place in the listing.
    EXPECT_EQ(manager.GetDefaultLanguage(), QStringLiteral("Deutsch"));
}

TEST_F(LangMgrTest, SetLanguageIgnoresCaseAndKeepsTheNameAsPassed) {
    folder.WriteLanguage(QStringLiteral("en.xml"), QStringLiteral("English"), 1033,
                         TextBody(QStringLiteral("<Notify>Notify</Notify>")));
    folder.WriteLanguage(QStringLiteral("de.xml"), QStringLiteral("Deutsch"), 1031,
                         TextBody(QStringLiteral("<Notify>Hinweis</Notify>")));
    Load(false);
    manager.SetLanguage(QStringLiteral("dEUTSCH"));
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("dEUTSCH"));
    EXPECT_EQ(manager.GetText("Notify"), QStringLiteral("Hinweis"));

    manager.SetLanguage(QStringLiteral("Klingon")); // not listed: nothing changes
    manager.SetLanguage(QString());
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("dEUTSCH"));
    EXPECT_EQ(manager.GetText("Notify"), QStringLiteral("Hinweis"));

    folder.Write(QStringLiteral("en.xml"), "<Root><Language"); // unusable since it was listed
    manager.SetLanguage(QStringLiteral("English"));
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("dEUTSCH"));
    EXPECT_EQ(manager.GetText("Notify"), QStringLiteral("Hinweis"));
    folder.Remove(QStringLiteral("en.xml"));
    manager.SetLanguage(QStringLiteral("English"));
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("dEUTSCH"));
}

TEST_F(LangMgrTest, DuplicateNamesReachOnlyTheFirstFile) {
    folder.WriteLanguage(QStringLiteral("one.xml"), QStringLiteral("Twin"), 1,
                         TextBody(QStringLiteral("<Who>one</Who>")));
    folder.WriteLanguage(QStringLiteral("two.xml"), QStringLiteral("twin"), 2,
                         TextBody(QStringLiteral("<Who>two</Who>")));
    Load(false);
    ASSERT_EQ(manager.Languages().size(), 2);
    manager.SetLanguage(QStringLiteral("TWIN"));
    const QString firstFile = manager.FileNames().first();
    EXPECT_EQ(manager.GetText("Who"),
              firstFile == QStringLiteral("one.xml") ? QStringLiteral("one") : QStringLiteral("two"));
}

TEST_F(LangMgrTest, TextsAreLookedUpExactlyAndLaterDuplicatesWin) {
    folder.WriteLanguage(
        QStringLiteral("en.xml"), QStringLiteral("English"), 1033,
        TextBody(QStringLiteral("<KG>kg</KG><Notify>first</Notify><!-- c --><Notify>second</Notify>"
                                "<Empty/><Nested>a<B>b</B>c</Nested>")));
    Load();
    EXPECT_EQ(manager.GetText("Notify"), QStringLiteral("second"));
    EXPECT_EQ(manager.GetText("notify"), QString());
    EXPECT_EQ(manager.GetText("NOTIFY"), QString());
    EXPECT_EQ(manager.GetText("KG"), QStringLiteral("kg"));
    EXPECT_EQ(manager.GetText("Missing"), QString());
    EXPECT_EQ(manager.GetText("Empty"), QString());
    EXPECT_EQ(manager.GetText("Nested"), QStringLiteral("abc"));
    EXPECT_EQ(manager.GetText(""), QString());
    EXPECT_EQ(manager.GetText(nullptr), QString());
}

TEST_F(LangMgrTest, WithoutTextElementEveryKeyIsEmpty) {
    folder.WriteLanguage(QStringLiteral("a.xml"), QStringLiteral("A"), 1,
                         TextBody(QStringLiteral("<K>a</K>")));
    folder.WriteLanguage(QStringLiteral("b.xml"), QStringLiteral("B"), 2);
    Load(false);
    manager.SetLanguage(QStringLiteral("A"));
    EXPECT_EQ(manager.GetText("K"), QStringLiteral("a"));
    manager.SetLanguage(QStringLiteral("B"));
    EXPECT_EQ(manager.GetText("K"), QString());
}

TEST_F(LangMgrTest, CharacterDataIsTrimmedRunByRunAndKeepsInnerLineBreaks) {
    const QByteArray file = "<?xml version=\"1.0\"?>\r\n<Root>\r\n"
                            "  <Language Name=\"English\" LangId=\"1033\"/>\r\n"
                            "  <Text>\r\n"
                            "    <Multi>\r\n      First line\r\n      second line  \r\n    </Multi>\r\n"
                            "    <Runs>  one  <!-- a comment splits the run -->\t two\r\n</Runs>\r\n"
                            "    <Blank>  \r\n\t </Blank>\r\n"
                            "    <Cdata>  <![CDATA[ <raw> ]]>  </Cdata>\r\n"
                            "    <Lf>a\nb\rc</Lf>\r\n"
                            "    <Nbsp>\xc2\xa0kept\xc2\xa0</Nbsp>\r\n"
                            "  </Text>\r\n</Root>\r\n";
    folder.Write(QStringLiteral("en.xml"), file);
    Load();
    EXPECT_EQ(manager.GetText("Multi"), QStringLiteral("First line\n      second line"));
    EXPECT_EQ(manager.GetText("Runs"), QStringLiteral("onetwo"));
    EXPECT_EQ(manager.GetText("Blank"), QString());
    EXPECT_EQ(manager.GetText("Cdata"), QStringLiteral("<raw>"));
    EXPECT_EQ(manager.GetText("Lf"), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(manager.GetText("Nbsp"), QStringLiteral("\u00A0kept\u00A0")); // only blanks, tabs, CR and LF go
}

TEST_F(LangMgrTest, NonAsciiKeysAreFound) {
    folder.WriteLanguage(QStringLiteral("en.xml"), QStringLiteral("English"), 1033,
                         TextBody(QStringLiteral("<Größe>size</Größe>")));
    Load();
    EXPECT_EQ(manager.GetText("Größe"), QStringLiteral("size"));
}

struct EncodingCase {
    const char* declared; // as the XML declaration names it
    const char* encoder;  // the name Qt's encoder knows it by
    const char16_t* sample;
};

// A sample in each encoding the files may use, with characters outside ASCII that it holds.
const EncodingCase EncodingCases[] = {
    {"utf-8", "UTF-8", u"Ünïcødé 中文"},
    {"utf-16", "UTF-16", u"中文 Ü"},
    {"windows-1250", "windows-1250", u"Łódź"},
    {"windows-1251", "windows-1251", u"Привет"},
    {"windows-1252", "windows-1252", u"Café €"},
    {"windows-1253", "windows-1253", u"Ελληνικά"},
    {"windows-1254", "windows-1254", u"İstanbul ğ"},
    {"windows-1255", "windows-1255", u"שלום"},
    {"windows-1256", "windows-1256", u"مرحبا"},
    {"windows-1257", "windows-1257", u"Ąžuolas ė"},
    {"windows-1258", "windows-1258", u"đơn"},
    {"iso-8859-1", "ISO-8859-1", u"Café"},
    {"iso-8859-2", "ISO-8859-2", u"Łódź"},
    {"iso-8859-3", "ISO-8859-3", u"ħaġar"},
    {"iso-8859-4", "ISO-8859-4", u"ķēde"},
    {"iso-8859-5", "ISO-8859-5", u"Привет"},
    {"iso-8859-6", "ISO-8859-6", u"مرحبا"},
    {"iso-8859-7", "ISO-8859-7", u"Ελληνικά"},
    {"iso-8859-8", "ISO-8859-8", u"שלום"},
    {"iso-8859-9", "ISO-8859-9", u"İstanbul ğ"},
    {"shift-jis", "Shift_JIS", u"日本語テキスト"},
    {"euc-jp", "EUC-JP", u"日本語テキスト"},
    {"iso-2022-jp", "ISO-2022-JP", u"日本語テキスト"},
};

TEST_F(LangMgrTest, ReadsEveryListedEncoding) {
    int index = 0;
    for (const EncodingCase& c : EncodingCases) {
        const QString sample = QString::fromUtf16(c.sample);
        const QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n<Root>"
                                           "<Language Name=\"%2 %3\" LangId=\"%3\"/>"
                                           "<Text><Sample>%2</Sample></Text></Root>\n")
                                .arg(QLatin1String(c.declared), sample)
                                .arg(index);
        QStringEncoder encoder(c.encoder, QStringConverter::Flag::WriteBom);
        ASSERT_TRUE(encoder.isValid()) << c.encoder;
        const QByteArray bytes = encoder(xml);
        ASSERT_FALSE(encoder.hasError()) << c.declared;
        folder.Write(QStringLiteral("%1.xml").arg(QLatin1String(c.declared)), bytes);
        ++index;
    }
    Load(false);
    EXPECT_EQ(manager.Languages().size(), int(std::size(EncodingCases)));
    index = 0;
    for (const EncodingCase& c : EncodingCases) {
        const QString sample = QString::fromUtf16(c.sample);
        const QString name = QStringLiteral("%1 %2").arg(sample).arg(index++);
        EXPECT_TRUE(manager.Languages().contains(name)) << c.declared;
        manager.SetLanguage(name);
        EXPECT_EQ(manager.CurrentLanguage(), name) << c.declared;
        EXPECT_EQ(manager.GetText("Sample"), sample) << c.declared;
    }
}

TEST_F(LangMgrTest, ExternalEntitiesAndDtdsAreNeverLoaded) {
    folder.Write(QStringLiteral("secret.txt"), "TOPSECRET");
    folder.Write(QStringLiteral("defs.dtd"), "<!ENTITY greet \"FROMDTD\">\n"
                                             "<!ATTLIST Language Name CDATA \"FromDtd\">\n");
    const QString secret = folder.Path() + QStringLiteral("secret.txt");
    folder.Write(QStringLiteral("xxe.xml"),
                 QStringLiteral("<?xml version=\"1.0\"?>\n"
                                "<!DOCTYPE Root [\n"
                                "  <!ENTITY passwd SYSTEM \"file:///etc/passwd\">\n"
                                "  <!ENTITY secret SYSTEM \"%1\">\n"
                                "  <!ENTITY relative SYSTEM \"secret.txt\">\n"
                                "  <!ENTITY inner \"inner text\">\n"
                                "]>\n"
                                "<Root><Language Name=\"Xxe\" LangId=\"1\"/><Text>"
                                "<Passwd>[&passwd;]</Passwd><Secret>[&secret;&relative;]</Secret>"
                                "<Amp>a &amp; b &#x41;</Amp></Text></Root>\n")
                     .arg(secret)
                     .toUtf8());
    folder.Write(QStringLiteral("dtd.xml"),
                 "<?xml version=\"1.0\"?>\n<!DOCTYPE Root SYSTEM \"defs.dtd\">\n"
                 "<Root><Language LangId=\"2\"/><Text><Greet>[&greet;]</Greet></Text></Root>\n");
    Load(false);
    ASSERT_TRUE(manager.Languages().contains(QStringLiteral("Xxe")));
    manager.SetLanguage(QStringLiteral("Xxe"));
    EXPECT_EQ(manager.GetText("Passwd"), QStringLiteral("[]"));
    EXPECT_EQ(manager.GetText("Secret"), QStringLiteral("[]"));
    EXPECT_EQ(manager.GetText("Amp"), QStringLiteral("a & b A"));

    // The DTD's attribute default would have named the language "FromDtd".
    EXPECT_FALSE(manager.Languages().contains(QStringLiteral("FromDtd")));
    ASSERT_TRUE(manager.Languages().contains(QString()));
    manager.SetLanguage(QString());
    EXPECT_EQ(manager.GetText("Greet"), QStringLiteral("[]"));
}

// A listening socket on the loopback address that tells whether anyone connected.
class TLoopbackListener {
public:
    TLoopbackListener() {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            ::listen(socket_, 4) == 0 &&
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~TLoopbackListener() { ::close(socket_); }

    int Port() const { return port_; }
    bool WasContacted() const {
        pollfd waiting{socket_, POLLIN, 0};
        return ::poll(&waiting, 1, 200) > 0;
    }

private:
    int socket_ = -1;
    int port_ = 0;
};

TEST_F(LangMgrTest, NeverReachesTheNetwork) {
    TLoopbackListener listener;
    ASSERT_NE(listener.Port(), 0);
    const QString url = QStringLiteral("http://127.0.0.1:%1/lang").arg(listener.Port());
    folder.Write(QStringLiteral("net.xml"),
                 QStringLiteral("<?xml version=\"1.0\"?>\n"
                                "<!DOCTYPE Root SYSTEM \"%1.dtd\" [\n"
                                "  <!ENTITY remote SYSTEM \"%1.txt\">\n]>\n"
                                "<Root><Language Name=\"Net\" LangId=\"1\"/>"
                                "<Text><Remote>[&remote;]</Remote></Text></Root>\n")
                     .arg(url)
                     .toUtf8());
    Load(false);
    manager.SetLanguage(QStringLiteral("Net"));
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("Net"));
    EXPECT_EQ(manager.GetText("Remote"), QStringLiteral("[]"));
    EXPECT_FALSE(listener.WasContacted());
}

TEST_F(LangMgrTest, EntityExpansionBombNeitherHangsNorCrashes) {
    QString entities = QStringLiteral("<!ENTITY l0 \"lol\">\n");
    for (int i = 1; i <= 9; ++i)
        entities += QStringLiteral("<!ENTITY l%1 \"%2\">\n")
                        .arg(i)
                        .arg(QStringLiteral("&l%1;").arg(i - 1).repeated(10));
    folder.Write(QStringLiteral("bomb.xml"),
                 QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE Root [\n%1]>\n"
                                "<Root><Language Name=\"Bomb\" LangId=\"1\"/>"
                                "<Text><Lol>&l9;</Lol></Text></Root>\n")
                     .arg(entities)
                     .toUtf8());
    folder.WriteLanguage(QStringLiteral("fine.xml"), QStringLiteral("Fine"), 1033);
    QElapsedTimer timer;
    timer.start();
    Load();
    manager.SetLanguage(QStringLiteral("Bomb"));
    EXPECT_LT(manager.GetText("Lol").size(), 1000);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(manager.Languages().contains(QStringLiteral("Fine")));
}

TEST_F(LangMgrTest, LangIdThatIsNoNumberCountsAsZero) {
    folder.Write(QStringLiteral("a.xml"), "<Root><Language Name=\"Words\" LangId=\"English\"/></Root>");
    folder.Write(QStringLiteral("b.xml"), "<Root><Language Name=\"Hex\" LangId=\"0x409\"/></Root>");
    folder.Write(QStringLiteral("c.xml"), "<Root><Language Name=\"Spaced\" LangId=\" 1033 \"/></Root>");
    systemId = 1041;
    Load();
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("Spaced"));
    EXPECT_EQ(manager.CurrentLanguageId(), 1033);
}

TEST(LangMgrGlobalTest, GetTextReadsTheProcessWideManager) {
    EXPECT_EQ(&LangMgr(), &LangMgr());
    EXPECT_EQ(GetText("NoSuchKeyAnywhere"), QString());
}

} // namespace
