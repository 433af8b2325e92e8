#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ct::rtf {

// The Windows code page of an RTF \fcharsetN, or 0 when the charset names none
// (1 means "the document's default", 2 the symbol charset).
int codePageOfCharset(int charset);

// Turns bytes of one Windows code page into Unicode. Single-byte code pages use a
// 256-entry table; the double-byte ones of East Asia (932, 936, 949, 950) also know
// their lead bytes and decode byte pairs, caching each pair on first use.
//
// The tables come from Qt's converters (ICU-backed on Debian's Qt 6.4). Where a code
// page is unknown to Qt, or not one a Windows writer would use, cp1252 stands in.
class CodePage {
public:
    // Shared, never freed; safe to call from any thread.
    static const CodePage &forNumber(int codePage);

    int number() const { return m_number; }
    bool isDoubleByte() const { return m_doubleByte; }
    bool isLeadByte(unsigned char byte) const { return m_lead[byte]; }
    char32_t byte(unsigned char byte) const { return m_single[byte]; }
    // Decodes a lead byte and a trail byte; U+FFFD when the pair means nothing.
    char32_t pair(unsigned char lead, unsigned char trail) const;

private:
    explicit CodePage(int number);

    int m_number = 1252;
    bool m_doubleByte = false;
    std::array<char32_t, 256> m_single{};
    std::array<bool, 256> m_lead{};
    QByteArray m_qtName;
    mutable std::mutex m_pairMutex;
    mutable std::vector<char32_t> m_pairs; // 65536 entries once a pair was asked for
};

// Decodes a whole byte string, such as a font name.
QString decode(const CodePage &codePage, QByteArrayView bytes);

// Fonts whose bytes are pictures rather than letters.
enum class SymbolFont { None, Symbol, Wingdings, Webdings };

SymbolFont symbolFontOf(const QString &family, int charset);

// What a symbol-font character shows as in Unicode, from its byte (or the low byte of
// its U+F0xx private-use code). Unmapped bytes give U+F000 + byte, as Windows does.
char32_t symbolCharacter(SymbolFont font, unsigned char byte);

} // namespace ct::rtf
