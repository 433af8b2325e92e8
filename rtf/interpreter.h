#pragma once

#include "rtf/document_builder.h"
#include "rtf/font_table.h"
#include "rtf/format_cache.h"
#include "rtf/list_numbering.h"
#include "rtf/picture.h"
#include "rtf/reader_state.h"
#include "rtf/tokenizer.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <string_view>
#include <vector>

class QTextDocument;

namespace ct::rtf {

enum class Word;

// Gives meaning to the tokens of one RTF file and appends what they show to a
// document. It reads in one loop with an explicit stack of group states, so input
// cannot make it recurse; groups deeper than kMaxDepth make the file an error.
class Interpreter {
public:
    static constexpr std::size_t kMaxDepth = 1024;

    Interpreter(std::string_view input, QTextDocument &document);

    // Reads everything; false with a one-line reason in `error` when the file is not
    // RTF or is broken beyond what word processors accept.
    bool run(QString &error);

private:
    using CharFormats = FormatCache<CharacterState, QTextCharFormat>;
    using BlockFormats = FormatCache<ParagraphState, QTextBlockFormat>;

    bool readHeader(QString &error);
    // False when groups nest too deep.
    bool groupStart(const Token &token, QString &error);
    // False when the file's outermost group has closed.
    bool groupEnd();
    void controlWord(const Token &token);
    void controlSymbol(char symbol);
    void hexByte(unsigned char byte);
    void text(std::string_view bytes);
    void binary(std::string_view bytes);

    void textWord(Word word, const Token &token);
    void fontTableWord(Word word, const Token &token);
    void colorTableWord(Word word, const Token &token);
    void pictureWord(Word word, const Token &token);
    void listWord(Word word, const Token &token);

    // Lists (interpreter_lists.cpp).
    void addTemplateUnit(TemplateUnit unit);
    void commitList();
    // A paragraph's first content: a paragraph in a list whose writer gave no marker
    // text of its own (\listtext, \pntext) gets one made from its list.
    void startParagraphContent();
    void endParagraphLists();
    bool countListParagraph(std::array<int, ListTable::kMaxLevels> &numbers);
    QString markerText();
    QString decodeTemplate(const QList<TemplateUnit> &units, int font) const;

    bool isTextDestination() const;
    bool consumeFallback();
    void emitBytes(std::string_view bytes);
    void emitUnicode(std::int32_t value);
    void emitCharacter(char32_t character);
    void emitString(QStringView text);
    void flushSurrogate();
    void dropLeadByte();
    void endParagraph();
    void finishPicture();
    void commitFontName();
    void commitColor();

    const FontInfo &fontInfo();
    const CharFormats::Entry &charFormat();
    const BlockFormats::Entry &blockFormat();
    QTextCharFormat makeCharFormat(const CharacterState &state);
    QTextBlockFormat makeBlockFormat(const ParagraphState &state) const;
    // Fonts or colours changed: formats made before are stale.
    void forgetFormats();
    const CodePage &codePageOf(const FontEntry *entry) const;

    Tokenizer m_tokens;
    DocumentBuilder m_builder;

    GroupState m_state;
    std::vector<GroupState> m_saved;
    std::size_t m_skippedDepth = 0; // groups open inside a skipped destination
    int m_fallbackLeft = 0;         // \uc bytes still to skip
    bool m_starPending = false;
    unsigned char m_leadByte = 0;   // first byte of a double-byte character, or 0
    char32_t m_highSurrogate = 0;   // first half of a surrogate pair, or 0

    int m_defaultFont = 0;
    int m_ansiCodePage = 1252;
    FontTable m_fonts;
    int m_fontBeingRead = 0;
    QString m_fontName;
    QByteArray m_fontNameBytes;
    QByteArray m_altNameBytes;

    QList<QColor> m_colors;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;

    Picture m_picture;

    ListTable m_lists;
    ListDefinition m_listBeingRead;
    int m_listBeingReadId = 0;
    bool m_listPending = false;
    int m_overrideListId = -1;
    ParagraphNumbering m_numberingBeingRead;
    bool m_numberingTextAfter = false;
    int m_numberingCounter = 0;
    bool m_numberingContinues = false;
    bool m_paragraphStarted = false;
    bool m_paragraphHasListText = false;

    int m_fontInfoFor = 0;
    bool m_fontInfoValid = false;
    FontInfo m_fontInfo;

    CharFormats m_charFormats;
    BlockFormats m_blockFormats;
    quint64 m_nextFormatId = 1;
    QString m_scratch;
};

} // namespace ct::rtf
