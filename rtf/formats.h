#pragma once

#include "rtf/font_table.h"
#include "rtf/format_cache.h"
#include "rtf/reader_state.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>

namespace ct::rtf {

class ReaderContext;

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
