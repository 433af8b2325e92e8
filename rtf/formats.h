#pragma once

#include "rtf/font_table.h"
#include "rtf/format_cache.h"
#include "rtf/reader_state.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFrameFormat>

#include <optional>

namespace ct::rtf {

class ReaderContext;

// A border's width in pixels as it is drawn, 0 for none.
double borderPixels(const Border &border);
QTextFrameFormat::BorderStyle borderStyle(Border::Style style);
// The box drawn around a paragraph with a border on every side (\box, or \brdrt,
// \brdrl, \brdrb and \brdrr together); none for any other paragraph.
std::optional<QTextFrameFormat> boxFormat(const ParagraphState &paragraph);

// Qt's character and paragraph formats for the reader's states, each made once.
class Formats {
public:
    using CharFormats = FormatCache<CharacterState, QTextCharFormat>;
    using BlockFormats = FormatCache<ParagraphState, QTextBlockFormat>;

    explicit Formats(const ReaderContext &context) : m_context(context) {}

    // What text in font `number` (-1 for the default) needs.
    const FontInfo &fontInfo(int number);
    const CharFormats::Entry &character(const CharacterState &state);
    const BlockFormats::Entry &block(const ParagraphState &state);

private:
    // Formats made before the font or colour table changed are stale.
    void checkTables();
    QTextCharFormat makeCharFormat(const CharacterState &state);
    QTextBlockFormat makeBlockFormat(const ParagraphState &state) const;

    const ReaderContext &m_context;
    quint64 m_tablesVersion = 0;
    CharFormats m_charFormats;
    BlockFormats m_blockFormats;
    quint64 m_nextFormatId = 1;
    int m_fontInfoFor = 0;
    bool m_fontInfoValid = false;
    FontInfo m_fontInfo;
};

} // namespace ct::rtf
