#pragma once

#include "rtf/color_table_reader.h"
#include "rtf/font_table_reader.h"
#include "rtf/list_readers.h"
#include "rtf/picture_reader.h"
#include "rtf/reader_context.h"
#include "rtf/shape_reader.h"
#include "rtf/text_destination.h"
#include "rtf/tokenizer.h"

#include <QString>

#include <atomic>
#include <string_view>
#include <vector>

class QTextDocument;

namespace ct::rtf {

// Reads the tokens of one RTF file into a document. It keeps the group stack, in
// one loop with an explicit stack so that input cannot make it recurse, and hands
// each token to the destination of its group; groups deeper than kMaxDepth make the
// file an error. What is not a destination's is the interpreter's: \* before an
// unknown destination, \uc and the fallback characters after \u, and the groups of a
// destination that is skipped whole.
class Interpreter {
public:
    static constexpr std::size_t kMaxDepth = 1024;

    // Reading stops, as with an error, once `stop` is set.
    Interpreter(std::string_view input, QTextDocument &document, const std::atomic_bool *stop = nullptr);

    // Reads everything; false with a one-line reason in `error` when the file is not
    // RTF or is broken beyond what word processors accept, or reading was stopped.
    bool run(QString &error);

private:
    bool readHeader(QString &error);
    // False when groups nest too deep.
    bool groupStart(const Token &token, QString &error);
    // False when the file's outermost group has closed.
    bool groupEnd();
    void controlWord(const Token &token);
    void controlSymbol(char symbol);
    // Whether the fallback of a \u swallows the current token.
    bool consumeFallback();
    // Whether the file may end here: in the document's text, not inside a table,
    // picture or other hidden part.
    bool mayEnd() const;

    Tokenizer m_tokens;
    const std::atomic_bool *m_stop = nullptr;
    ReaderContext m_context;
    Destination m_skip;
    TextDestination m_text;
    ListTextDestination m_listText;
    FontTableReader m_fontTable;
    ColorTableReader m_colorTable;
    ListTableReader m_listTable;
    ListOverridesReader m_listOverrides;
    NumberingReader m_numbering;
    PictureReader m_picture;
    UnicodePairReader m_unicodePair;
    ShapeReader m_shape;
    NoteReader m_note;
    NestedRowReader m_nestedRow;

    std::vector<GroupState> m_saved;
    std::size_t m_skippedDepth = 0; // groups open inside a skipped destination
    int m_fallbackLeft = 0;         // \uc characters still to skip
    bool m_starPending = false;
};

} // namespace ct::rtf
