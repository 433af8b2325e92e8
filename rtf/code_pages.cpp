#include "rtf/code_pages.h"

#include "platform/cp1252.h"

#include <QStringDecoder>

#include <algorithm>
#include <map>

namespace ct::rtf {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code pages that Windows writers put in RTF and that Qt is asked to convert.
// Anything else falls back to cp1252 rather than asking the converter about
// arbitrary numbers taken from a file.
QByteArray qtNameOf(int codePage)
{
    switch (codePage) {
    case 437:
    case 708:
    case 720:
    case 737:
    case 775:
    case 850:
    case 852:
    case 855:
    case 857:
    case 860:
    case 861:
    case 862:
    case 863:
    case 864:
    case 865:
    case 866:
    case 869:
        return "cp" + QByteArray::number(codePage);
    case 874:
        return "windows-874";
    case 932:
    case 936:
    case 949:
    case 950:
        return "cp" + QByteArray::number(codePage);
    case 1250:
    case 1251:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
        return "windows-" + QByteArray::number(codePage);
    case 10000:
        return "macintosh";
    case 10007:
        return "x-mac-cyrillic";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    default:
        return {};
    }
}

bool isDoubleByteCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool isLeadByteOf(int codePage, unsigned char byte)
{
    if (codePage == 932)
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return byte >= 0x81 && byte <= 0xFE;
}

// Decodes one character with a fresh converter (an ICU-backed one does not always
// recover from an invalid byte); one code point or U+FFFD.
char32_t decodeOne(const QByteArray &codecName, const QByteArray &bytes)
{
    QStringDecoder decoder(codecName.constData(), QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return kReplacement;
    if (text.size() == 1 && !text.at(0).isSurrogate())
        return text.at(0).unicode();
    if (text.size() == 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate())
        return QChar::surrogateToUcs4(text.at(0), text.at(1));
    return kReplacement;
}

} // namespace

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

CodePage::CodePage(int number)
{
    // cp1252 to start with, so that the commonest case never depends on a converter.
    for (int b = 0; b < 0x100; ++b)
        m_single[b] = cp1252ToUnicode(static_cast<unsigned char>(b));

    const QByteArray name = qtNameOf(number);
    if (name.isEmpty())
        return; // cp1252
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return; // this Qt cannot convert it: cp1252 stands in
    m_number = number;
    m_qtName = name;
    m_doubleByte = isDoubleByteCodePage(number);
    for (int b = 0x80; b < 0x100; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (m_doubleByte && isLeadByteOf(number, byte)) {
            m_lead[byte] = true;
            m_single[byte] = kReplacement;
            continue;
        }
        m_single[byte] = decodeOne(name, QByteArray(1, static_cast<char>(byte)));
    }
}

const CodePage &CodePage::forNumber(int codePage)
{
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<CodePage>> pages;
    const std::lock_guard lock(mutex);
    if (qtNameOf(codePage).isEmpty())
        codePage = 1252;
    auto &page = pages[codePage];
    if (!page)
        page.reset(new CodePage(codePage));
    return *page;
}

char32_t CodePage::pair(unsigned char lead, unsigned char trail) const
{
    if (!m_doubleByte || !m_lead[lead])
        return kReplacement;
    const std::lock_guard lock(m_pairMutex);
    if (m_pairs.empty())
        m_pairs.assign(65536, 0);
    char32_t &slot = m_pairs[(std::size_t{lead} << 8) | trail];
    if (slot == 0) {
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        slot = decodeOne(m_qtName, QByteArray(bytes, 2));
    }
    return slot;
}

QString decode(const CodePage &codePage, QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        char32_t c = 0;
        if (codePage.isLeadByte(byte) && i + 1 < bytes.size())
            c = codePage.pair(byte, static_cast<unsigned char>(bytes[++i]));
        else
            c = codePage.byte(byte);
        if (c != 0)
            text.append(QChar::fromUcs4(c));
    }
    return text;
}

SymbolFont symbolFontOf(const QString &family, int charset)
{
    if (family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive))
        return SymbolFont::Wingdings;
    if (family.startsWith(QLatin1String("Webdings"), Qt::CaseInsensitive))
        return SymbolFont::Webdings;
    if (charset == 2 || family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return SymbolFont::Symbol;
    return SymbolFont::None;
}

namespace {

struct SymbolEntry {
    unsigned char byte;
    char16_t unicode;
};

// The Symbol font's letters and signs that instruction texts use: Greek letters,
// arithmetic and arrows, and the bullet.
constexpr SymbolEntry kSymbol[] = {
    {0x22, 0x2200}, {0x24, 0x2203}, {0x27, 0x220B}, {0x2A, 0x2217}, {0x2D, 0x2212}, {0x40, 0x2245}, {0x41, 0x0391},
    {0x42, 0x0392}, {0x43, 0x03A7}, {0x44, 0x0394}, {0x45, 0x0395}, {0x46, 0x03A6}, {0x47, 0x0393}, {0x48, 0x0397},
    {0x49, 0x0399}, {0x4A, 0x03D1}, {0x4B, 0x039A}, {0x4C, 0x039B}, {0x4D, 0x039C}, {0x4E, 0x039D}, {0x4F, 0x039F},
    {0x50, 0x03A0}, {0x51, 0x0398}, {0x52, 0x03A1}, {0x53, 0x03A3}, {0x54, 0x03A4}, {0x55, 0x03A5}, {0x56, 0x03C2},
    {0x57, 0x03A9}, {0x58, 0x039E}, {0x59, 0x03A8}, {0x5A, 0x0396}, {0x5C, 0x2234}, {0x5E, 0x22A5}, {0x61, 0x03B1},
    {0x62, 0x03B2}, {0x63, 0x03C7}, {0x64, 0x03B4}, {0x65, 0x03B5}, {0x66, 0x03C6}, {0x67, 0x03B3}, {0x68, 0x03B7},
    {0x69, 0x03B9}, {0x6A, 0x03D5}, {0x6B, 0x03BA}, {0x6C, 0x03BB}, {0x6D, 0x03BC}, {0x6E, 0x03BD}, {0x6F, 0x03BF},
    {0x70, 0x03C0}, {0x71, 0x03B8}, {0x72, 0x03C1}, {0x73, 0x03C3}, {0x74, 0x03C4}, {0x75, 0x03C5}, {0x76, 0x03D6},
    {0x77, 0x03C9}, {0x78, 0x03BE}, {0x79, 0x03C8}, {0x7A, 0x03B6}, {0x7E, 0x223C}, {0xA1, 0x03D2}, {0xA2, 0x2032},
    {0xA3, 0x2264}, {0xA4, 0x2044}, {0xA5, 0x221E}, {0xA6, 0x0192}, {0xA7, 0x2663}, {0xA8, 0x2666}, {0xA9, 0x2665},
    {0xAA, 0x2660}, {0xAB, 0x2194}, {0xAC, 0x2190}, {0xAD, 0x2191}, {0xAE, 0x2192}, {0xAF, 0x2193}, {0xB0, 0x00B0},
    {0xB1, 0x00B1}, {0xB2, 0x2033}, {0xB3, 0x2265}, {0xB4, 0x00D7}, {0xB5, 0x221D}, {0xB6, 0x2202}, {0xB7, 0x2022},
    {0xB8, 0x00F7}, {0xB9, 0x2260}, {0xBA, 0x2261}, {0xBB, 0x2248}, {0xBC, 0x2026}, {0xC4, 0x2297}, {0xC5, 0x2295},
    {0xC6, 0x2205}, {0xC7, 0x2229}, {0xC8, 0x222A}, {0xCE, 0x2208}, {0xCF, 0x2209}, {0xD0, 0x2220}, {0xD1, 0x2207},
    {0xD5, 0x220F}, {0xD6, 0x221A}, {0xD7, 0x22C5}, {0xD8, 0x00AC}, {0xD9, 0x2227}, {0xDA, 0x2228}, {0xDB, 0x21D4},
    {0xDC, 0x21D0}, {0xDD, 0x21D1}, {0xDE, 0x21D2}, {0xDF, 0x21D3}, {0xE0, 0x25CA}, {0xE5, 0x2211}, {0xF2, 0x222B},
};

// The Wingdings signs instruction texts use, where Unicode has them in common
// fonts: the shapes word processors offer as list bullets, hands, faces, the
// telephone and letter, arrows, ticks and crosses.
constexpr SymbolEntry kWingdings[] = {
    {0x22, 0x2702}, {0x23, 0x2701}, {0x28, 0x260E}, {0x29, 0x2706}, {0x2A, 0x2709}, {0x36, 0x231B}, {0x3E, 0x2707},
    {0x3F, 0x270D}, {0x41, 0x270C}, {0x45, 0x261C}, {0x46, 0x261E}, {0x47, 0x261D}, {0x48, 0x261F}, {0x4A, 0x263A},
    {0x4C, 0x2639}, {0x4E, 0x2620}, {0x51, 0x2708}, {0x52, 0x263C}, {0x54, 0x2744}, {0x56, 0x271E}, {0x58, 0x2720},
    {0x59, 0x2721}, {0x5A, 0x262A}, {0x5B, 0x262F}, {0x5D, 0x2638}, {0x6C, 0x25CF}, {0x6E, 0x25A0}, {0x6F, 0x25A1},
    {0x71, 0x2751}, {0x72, 0x2752}, {0x74, 0x29EB}, {0x75, 0x25C6}, {0x76, 0x2756}, {0x78, 0x2327}, {0x7A, 0x2318},
    {0x81, 0x2780}, {0x82, 0x2781}, {0x83, 0x2782}, {0x84, 0x2783}, {0x85, 0x2784}, {0x86, 0x2785}, {0x87, 0x2786},
    {0x88, 0x2787}, {0x89, 0x2788}, {0x8A, 0x2789}, {0x8C, 0x278A}, {0x8D, 0x278B}, {0x8E, 0x278C}, {0x8F, 0x278D},
    {0x90, 0x278E}, {0x91, 0x278F}, {0x92, 0x2790}, {0x93, 0x2791}, {0x94, 0x2792}, {0x95, 0x2793}, {0x9E, 0x00B7},
    {0x9F, 0x2022}, {0xA1, 0x25CB}, {0xA4, 0x25C9}, {0xA5, 0x25CE}, {0xA7, 0x25AA}, {0xA8, 0x25FB}, {0xAB, 0x2605},
    {0xB5, 0x272A}, {0xB6, 0x2730}, {0xD5, 0x232B}, {0xD6, 0x2326}, {0xD8, 0x27A2}, {0xDF, 0x2B05}, {0xE0, 0x2794},
    {0xE1, 0x2B06}, {0xE2, 0x2B07}, {0xE8, 0x2794}, {0xEF, 0x21E6}, {0xF0, 0x21E8}, {0xF1, 0x21E7}, {0xF2, 0x21E9},
    {0xFB, 0x2717}, {0xFC, 0x2713}, {0xFD, 0x2612}, {0xFE, 0x2611},
};

// The Webdings signs of the same kind.
constexpr SymbolEntry kWebdings[] = {
    {0x33, 0x25C0}, {0x34, 0x25B6}, {0x35, 0x25B2}, {0x36, 0x25BC}, {0x3D, 0x25CF}, {0x61, 0x2714}, {0x63, 0x25A1},
    {0x67, 0x25A0}, {0x6E, 0x25CF}, {0x72, 0x2717}, {0x73, 0x2753}, {0x98, 0x272F}, {0xD9, 0x2601}, {0xE9, 0x267F},
};

template <std::size_t N> char32_t lookUp(const SymbolEntry (&table)[N], unsigned char byte)
{
    const auto it = std::lower_bound(std::begin(table), std::end(table), byte,
                                     [](const SymbolEntry &e, unsigned char b) { return e.byte < b; });
    if (it != std::end(table) && it->byte == byte)
        return it->unicode;
    return 0;
}

} // namespace

char32_t symbolCharacter(SymbolFont font, unsigned char byte)
{
    char32_t mapped = 0;
    if (font == SymbolFont::Symbol) {
        mapped = lookUp(kSymbol, byte);
        // Digits, brackets and punctuation are where ASCII has them.
        if (mapped == 0 && byte >= 0x20 && byte < 0x7F)
            mapped = byte;
    } else if (font == SymbolFont::Wingdings) {
        mapped = lookUp(kWingdings, byte);
    } else if (font == SymbolFont::Webdings) {
        mapped = lookUp(kWebdings, byte);
    }
    if (mapped == 0)
        mapped = byte < 0x20 ? byte : 0xF000 + byte;
    return mapped;
}

} // namespace ct::rtf
