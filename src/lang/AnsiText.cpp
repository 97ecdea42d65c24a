// SPDX-License-Identifier: MIT
#include "lang/AnsiText.h"

#include "lang/LangMgr.h"

#include <QHash>
#include <cerrno>
#include <iconv.h>
#include <utility>

namespace {

struct LocaleId {
    QLocale::Language language;
    QLocale::Territory territory; // AnyTerritory: the language's main identifier
    int languageId;
};

// Windows language identifiers of the locales the program is likely to meet. The first entry of
// a language is its main one, used for territories that have no entry of their own.
const LocaleId LocaleIds[] = {
    {QLocale::English, QLocale::UnitedStates, 1033},   {QLocale::English, QLocale::UnitedKingdom, 2057},
    {QLocale::English, QLocale::Australia, 3081},      {QLocale::English, QLocale::Canada, 4105},
    {QLocale::English, QLocale::NewZealand, 5129},     {QLocale::English, QLocale::Ireland, 6153},
    {QLocale::English, QLocale::SouthAfrica, 7177},    {QLocale::English, QLocale::India, 16393},
    {QLocale::Chinese, QLocale::China, 2052},          {QLocale::Chinese, QLocale::Taiwan, 1028},
    {QLocale::Chinese, QLocale::HongKong, 3076},       {QLocale::Chinese, QLocale::Singapore, 4100},
    {QLocale::Chinese, QLocale::Macau, 5124},          {QLocale::German, QLocale::Germany, 1031},
    {QLocale::German, QLocale::Switzerland, 2055},     {QLocale::German, QLocale::Austria, 3079},
    {QLocale::German, QLocale::Luxembourg, 4103},      {QLocale::French, QLocale::France, 1036},
    {QLocale::French, QLocale::Belgium, 2060},         {QLocale::French, QLocale::Canada, 3084},
    {QLocale::French, QLocale::Switzerland, 4108},     {QLocale::French, QLocale::Luxembourg, 5132},
    {QLocale::Spanish, QLocale::Spain, 3082},          {QLocale::Spanish, QLocale::Mexico, 2058},
    {QLocale::Spanish, QLocale::Argentina, 11274},     {QLocale::Spanish, QLocale::Colombia, 9226},
    {QLocale::Spanish, QLocale::Chile, 13322},         {QLocale::Spanish, QLocale::UnitedStates, 21514},
    {QLocale::Japanese, QLocale::Japan, 1041},         {QLocale::Korean, QLocale::SouthKorea, 1042},
    {QLocale::Russian, QLocale::Russia, 1049},         {QLocale::Italian, QLocale::Italy, 1040},
    {QLocale::Italian, QLocale::Switzerland, 2064},    {QLocale::Portuguese, QLocale::Brazil, 1046},
    {QLocale::Portuguese, QLocale::Portugal, 2070},    {QLocale::Dutch, QLocale::Netherlands, 1043},
    {QLocale::Dutch, QLocale::Belgium, 2067},          {QLocale::Swedish, QLocale::Sweden, 1053},
    {QLocale::Swedish, QLocale::Finland, 2077},        {QLocale::Danish, QLocale::Denmark, 1030},
    {QLocale::NorwegianBokmal, QLocale::Norway, 1044}, {QLocale::NorwegianNynorsk, QLocale::Norway, 2068},
    {QLocale::Finnish, QLocale::Finland, 1035},        {QLocale::Icelandic, QLocale::Iceland, 1039},
    {QLocale::Polish, QLocale::Poland, 1045},          {QLocale::Czech, QLocale::CzechRepublic, 1029},
    {QLocale::Slovak, QLocale::Slovakia, 1051},        {QLocale::Hungarian, QLocale::Hungary, 1038},
    {QLocale::Romanian, QLocale::Romania, 1048},       {QLocale::Croatian, QLocale::Croatia, 1050},
    {QLocale::Slovenian, QLocale::Slovenia, 1060},     {QLocale::Albanian, QLocale::Albania, 1052},
    {QLocale::Serbian, QLocale::Serbia, 10266},        {QLocale::Bulgarian, QLocale::Bulgaria, 1026},
    {QLocale::Ukrainian, QLocale::Ukraine, 1058},      {QLocale::Belarusian, QLocale::Belarus, 1059},
    {QLocale::Macedonian, QLocale::Macedonia, 1071},   {QLocale::Kazakh, QLocale::Kazakhstan, 1087},
    {QLocale::Greek, QLocale::Greece, 1032},           {QLocale::Turkish, QLocale::Turkey, 1055},
    {QLocale::Hebrew, QLocale::Israel, 1037},          {QLocale::Arabic, QLocale::SaudiArabia, 1025},
    {QLocale::Arabic, QLocale::Egypt, 3073},           {QLocale::Persian, QLocale::Iran, 1065},
    {QLocale::Lithuanian, QLocale::Lithuania, 1063},   {QLocale::Latvian, QLocale::Latvia, 1062},
    {QLocale::Estonian, QLocale::Estonia, 1061},       {QLocale::Vietnamese, QLocale::Vietnam, 1066},
    {QLocale::Thai, QLocale::Thailand, 1054},          {QLocale::Indonesian, QLocale::Indonesia, 1057},
    {QLocale::Malay, QLocale::Malaysia, 1086},         {QLocale::Hindi, QLocale::India, 1081},
    {QLocale::Catalan, QLocale::Spain, 1027},          {QLocale::Basque, QLocale::Spain, 1069},
    {QLocale::Galician, QLocale::Spain, 1110},
};

// The converters opened so far, one per code page and direction; closed when the process ends.
// The program converts on the GUI thread only.
class TConverters {
public:
    ~TConverters() {
        for (iconv_t converter : std::as_const(converters_)) {
            if (converter != iconv_t(-1))
                iconv_close(converter);
        }
    }

    iconv_t Get(int codePage, bool toAnsi) {
        const int slot = toAnsi ? codePage : -codePage;
        auto found = converters_.constFind(slot);
        if (found != converters_.constEnd())
            return *found;
        const QByteArray name = codePage == 65001 ? QByteArray("UTF-8") : "CP" + QByteArray::number(codePage);
        iconv_t converter =
            toAnsi ? iconv_open(name.constData(), "UTF-8") : iconv_open("UTF-8", name.constData());
        if (converter == iconv_t(-1) && codePage != 1252)
            return Get(1252, toAnsi); // a code page this system cannot convert: the Western one
        converters_.insert(slot, converter);
        return converter;
    }

private:
    QHash<int, iconv_t> converters_;
};

iconv_t Converter(int codePage, bool toAnsi) {
    static TConverters converters;
    return converters.Get(codePage, toAnsi);
}

// Runs input through converter; an input sequence it cannot convert becomes one '?' and is skipped
// (skipLength tells how long that sequence is).
QByteArray Convert(iconv_t converter, const QByteArray& input, int (*skipLength)(const char*, size_t)) {
    QByteArray output;
    if (converter == iconv_t(-1) || input.isEmpty())
        return output;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = size_t(input.size());
    char buffer[1024];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        output.append(buffer, qsizetype(out - buffer));
        if (result != size_t(-1) || errno == E2BIG)
            continue;
        // EILSEQ: not representable or not valid; EINVAL: cut short at the end.
        output.append('?');
        const size_t skip = errno == EINVAL ? inLeft : size_t(skipLength(in, inLeft));
        in += skip;
        inLeft -= skip;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    char* out = buffer;
    size_t outLeft = sizeof(buffer);
    iconv(converter, nullptr, nullptr, &out, &outLeft); // shift sequences of stateful encodings
    output.append(buffer, qsizetype(out - buffer));
    return output;
}

int Utf8SequenceLength(const char* text, size_t available) {
    const uchar lead = uchar(text[0]);
    size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return int(qMin(length, available));
}

int OneByte(const char*, size_t) {
    return 1;
}

} // namespace

int WindowsLanguageIdOf(const QLocale& locale) {
    if (locale.language() == QLocale::C)
        return 1033;
    int mainId = 0;
    for (const LocaleId& entry : LocaleIds) {
        if (entry.language != locale.language())
            continue;
        if (entry.territory == locale.territory())
            return entry.languageId;
        if (mainId == 0)
            mainId = entry.languageId;
    }
    return mainId;
}

QLocale LocaleOfLanguageId(int languageId) {
    for (const LocaleId& entry : LocaleIds)
        if (entry.languageId == languageId)
            return QLocale(entry.language, entry.territory);
    return QLocale::c();
}

int SystemLanguageId() {
    return WindowsLanguageIdOf(QLocale::system());
}

int AnsiCodePageOf(int languageId) {
    switch (languageId) {
    case 2052: // Chinese, China
    case 4100: // Chinese, Singapore
        return 936;
    case 1028: // Chinese, Taiwan
    case 3076: // Chinese, Hong Kong
    case 5124: // Chinese, Macau
        return 950;
    case 10266: // Serbian, Cyrillic
    case 3098:
        return 1251;
    case 9242: // Serbian, Latin
    case 2074:
        return 1250;
    default:
        break;
    }
    switch (languageId & 0x3FF) { // the primary language
    case 0x11:
        return 932; // Japanese
    case 0x12:
        return 949; // Korean
    case 0x1E:
        return 874; // Thai
    case 0x05:      // Czech
    case 0x0E:      // Hungarian
    case 0x15:      // Polish
    case 0x18:      // Romanian
    case 0x1A:      // Croatian
    case 0x1B:      // Slovak
    case 0x1C:      // Albanian
    case 0x24:      // Slovenian
        return 1250;
    case 0x02: // Bulgarian
    case 0x19: // Russian
    case 0x22: // Ukrainian
    case 0x23: // Belarusian
    case 0x2F: // Macedonian
    case 0x3F: // Kazakh
        return 1251;
    case 0x08:
        return 1253; // Greek
    case 0x1F:
        return 1254; // Turkish
    case 0x0D:
        return 1255; // Hebrew
    case 0x01:       // Arabic
    case 0x29:       // Persian
    case 0x20:       // Urdu
        return 1256;
    case 0x25: // Estonian
    case 0x26: // Latvian
    case 0x27: // Lithuanian
        return 1257;
    case 0x2A:
        return 1258; // Vietnamese
    case 0x39:
        return 65001; // Hindi has no 8-bit code page of its own
    default:
        return 1252;
    }
}

int AnsiCodePage() {
    const int languageId = LangMgr().CurrentLanguageId();
    return AnsiCodePageOf(languageId != 0 ? languageId : SystemLanguageId());
}

QByteArray ToAnsi(const QString& text, int codePage) {
    return Convert(Converter(codePage, true), text.toUtf8(), Utf8SequenceLength);
}

QString FromAnsi(const QByteArray& text, int codePage) {
    return QString::fromUtf8(Convert(Converter(codePage, false), text, OneByte));
}
