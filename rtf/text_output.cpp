// The document's text: bytes through code pages and symbol fonts, \u with surrogate
// pairs, pictures, and what reaches the document builder.
#include "rtf/text_destination.h"

#include "rtf/picture.h"
#include "rtf/reader_context.h"
#include "rtf/units.h"

#include <QImage>
#include <QTextFrameFormat>

#include <algorithm>
#include <utility>

namespace ct::rtf {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kBullet = 0x2022;

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// What a character shows as in the document: 0 for nothing. Characters that Qt
// reads as block or frame boundaries, or as a picture's place, must not reach it
// as text, and control characters other than tab show nothing.
char32_t showable(char32_t c)
{
    if (c < 0x20)
        return c == U'\t' ? c : 0;
    switch (c) {
    case 0x2029: // paragraph separator: stays inside the paragraph
        return QChar::LineSeparator;
    case 0xFDD0: // Qt's frame markers
    case 0xFDD1:
    case 0xFFFC: // Qt's object placeholder
        return 0;
    default:
        return c;
    }
}

} // namespace

bool TextDestination::hidden() const
{
    return m_context.state.character.hidden;
}

void TextDestination::bytes(std::string_view bytes, bool)
{
    emitBytes(bytes);
}

void TextDestination::symbol(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        emitCharacter(static_cast<char32_t>(symbol));
        break;
    case '~':
        emitCharacter(0x00A0);
        break;
    case '-':
        emitCharacter(0x00AD);
        break;
    case '_':
        emitCharacter(0x2011);
        break;
    case '\n':
        endParagraph();
        break;
    default:
        break;
    }
}

void TextDestination::emitBytes(std::string_view bytes)
{
    if (hidden())
        return;
    flushSurrogate();
    const FontInfo &font = m_formats.fontInfo(m_context.state.character.font);
    m_scratch.clear();
    const bool plain = !m_leadByte && font.symbol == SymbolFont::None
                       && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 || c == '\t'; });
    if (plain) {
        m_scratch.append(QLatin1StringView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } else {
        const CodePage &codePage = *font.codePage;
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            char32_t character = 0;
            if (font.symbol != SymbolFont::None) {
                character = symbolCharacter(font.symbol, byte);
            } else if (m_leadByte) {
                character = codePage.pair(m_leadByte, byte);
                m_leadByte = 0;
            } else if (codePage.isLeadByte(byte)) {
                m_leadByte = byte;
                continue;
            } else {
                character = codePage.byte(byte);
            }
            character = showable(character);
            if (character)
                m_scratch.append(QChar::fromUcs4(character));
        }
    }
    if (!m_scratch.isEmpty())
        emitString(m_scratch);
}

void TextDestination::unicode(char32_t character)
{
    if (hidden())
        return;
    if (isHighSurrogate(character)) {
        flushSurrogate();
        m_highSurrogate = character;
        return;
    }
    if (isLowSurrogate(character)) {
        if (m_highSurrogate) {
            const char32_t joined = 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (character - 0xDC00);
            m_highSurrogate = 0;
            emitCharacter(joined);
        } else {
            emitCharacter(kReplacement);
        }
        return;
    }
    const SymbolFont symbol = m_formats.fontInfo(m_context.state.character.font).symbol;
    if (character >= 0xF020 && character <= 0xF0FF && symbol != SymbolFont::None)
        character = symbolCharacter(symbol, static_cast<unsigned char>(character - 0xF000));
    else if (character == 0xF0B7)
        character = kBullet; // Word's Symbol bullet, whatever font it claims
    emitCharacter(character);
}

void TextDestination::emitCharacter(char32_t character)
{
    if (hidden())
        return;
    flushSurrogate();
    character = showable(character);
    if (character)
        emitString(QChar::fromUcs4(character));
}

void TextDestination::emitString(QStringView text)
{
    emitString(text, m_context.state.character);
}

namespace {

// Whether the text may hold characters that take the properties of right-to-left
// text: none before the Hebrew block.
bool mayBeRightToLeft(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0590; });
}

bool isRightToLeft(QChar::Direction direction)
{
    return direction == QChar::DirR || direction == QChar::DirAL;
}

} // namespace

void TextDestination::emitString(QStringView text, const CharacterState &character)
{
    if (!character.hasRtlProperties() || (!character.rtlRun && !mayBeRightToLeft(text))) {
        emitRun(text, character);
        return;
    }
    // Right-to-left letters take \ab, \ai and \afs, left-to-right ones the
    // others; characters of neither direction go with the letters before them,
    // or with the run's \rtlch or \ltrch at its start.
    bool rightToLeft = character.rtlRun;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar::Direction direction = text[i].direction();
        const bool letter = isRightToLeft(direction) || direction == QChar::DirL;
        if (!letter || isRightToLeft(direction) == rightToLeft)
            continue;
        if (i > start)
            emitRun(text.sliced(start, i - start), rightToLeft ? character.rightToLeft() : character);
        start = i;
        rightToLeft = !rightToLeft;
    }
    emitRun(text.sliced(start), rightToLeft ? character.rightToLeft() : character);
}

void TextDestination::emitRun(QStringView text, const CharacterState &character)
{
    if (text.isEmpty())
        return;
    if (m_context.state.destination == m_context.destinations.listText) {
        // Kept until the paragraph says which list it is in.
        if (m_listText.isEmpty() || m_listText.last().character != character)
            m_listText.append({QString(), character});
        m_listText.last().text += text;
        return;
    }
    startParagraphContent();
    appendToDocument(text, character);
}

void TextDestination::appendToDocument(QStringView text, const CharacterState &character)
{
    if (m_markPending && !m_inNote)
        flushPendingMark();
    const Formats::CharFormats::Entry &format = m_formats.character(character);
    m_builder->appendText(text, format.format, format.id, tableDepth(m_context.state.paragraph));
}

void TextDestination::emitTab()
{
    // The paragraph's n-th tab goes to its n-th tab stop, unless text runs past it.
    const ParagraphState &paragraph = m_context.state.paragraph;
    const int index = m_tabsInParagraph++;
    const Underline leader = index < paragraph.tabLeaders.size() ? paragraph.tabLeaders.at(index) : Underline::None;
    if (leader == Underline::None || hidden()) {
        emitCharacter(U'\t');
        return;
    }
    flushSurrogate();
    CharacterState character = m_context.state.character;
    character.underline = leader;
    emitString(u"\t", character);
}

void TextDestination::flushSurrogate()
{
    if (!m_highSurrogate)
        return;
    // A first half with no second half.
    m_highSurrogate = 0;
    emitString(u"\uFFFD");
}

void TextDestination::dropLeadByte()
{
    // A double-byte character cut in two by markup: show that something was lost.
    m_leadByte = 0;
    if (m_context.inText() && !hidden())
        emitString(u"\uFFFD");
}

void TextDestination::endParagraph()
{
    flushSurrogate();
    if (m_markPending && !m_inNote)
        flushPendingMark();
    endParagraphLists();
    const Formats::BlockFormats::Entry &format = m_formats.block(m_context.state.paragraph);
    m_builder->endParagraph(format.format, format.id, tableDepth(m_context.state.paragraph));
}

void TextDestination::finishDocument()
{
    flushSurrogate();
    if (m_inNote) // the file ends inside a note
        noteEnded();
    flushPendingMark();
    m_body.setDefaultTabDistance(twipsToPixels(m_defaultTab > 0 ? m_defaultTab : 720));
    const Formats::BlockFormats::Entry &format = m_formats.block(m_context.state.paragraph);
    m_body.finish(format.format, format.id);
    bool first = true;
    for (Notes &notes : m_notes) {
        if (!notes.builder)
            continue;
        notes.builder->finish(QTextBlockFormat(), 0);
        notes.builder.reset(); // ends its edit block
        m_body.appendDocument(*notes.document, first);
        first = false;
    }
}

QString TextDestination::nextNoteLabel(int kind)
{
    Notes &notes = m_notes[kind];
    const int number = notes.start + notes.count++;
    if (notes.numbering == QLatin1String("chi")) {
        // The Chicago Manual's marks, doubled, then tripled...
        static const char16_t kMarks[] = {u'*', u'\u2020', u'\u2021', u'\u00A7'};
        const int index = std::max(number - 1, 0);
        return QString(std::min(index / 4 + 1, 10), QChar(kMarks[index % 4]));
    }
    const int format = notes.numbering == QLatin1String("alc")   ? 4
                       : notes.numbering == QLatin1String("auc") ? 3
                       : notes.numbering == QLatin1String("rlc") ? 2
                       : notes.numbering == QLatin1String("ruc") ? 1
                                                                 : 0;
    return formatListNumber(number, format);
}

void TextDestination::appendBodyMark(const QString &label)
{
    const Formats::CharFormats::Entry &format = m_formats.character(m_markCharacter);
    m_body.appendText(label, format.format, format.id, m_markDepth);
}

void TextDestination::flushPendingMark()
{
    if (!m_markPending)
        return;
    m_markPending = false;
    appendBodyMark(nextNoteLabel(Footnotes));
}

void TextDestination::noteStarted()
{
    m_inNote = true;
    m_noteNumbered = false;
    m_noteKind = Footnotes;
    m_noteParagraph = m_context.state.paragraph;
}

void TextDestination::noteContent()
{
    if (m_noteNumbered)
        return;
    m_noteNumbered = true;
    flushSurrogate();
    m_noteLabel = nextNoteLabel(m_noteKind);
    if (m_markPending) {
        // The mark before the note is this note's: a custom mark is text of its own.
        m_markPending = false;
        appendBodyMark(m_noteLabel);
    }
    Notes &notes = m_notes[m_noteKind];
    if (!notes.builder) {
        notes.document = std::make_unique<QTextDocument>();
        notes.document->setUndoRedoEnabled(false);
        notes.builder = std::make_unique<DocumentBuilder>(*notes.document, &m_document,
                                                          m_noteKind == Footnotes ? QStringLiteral("footnote")
                                                                                  : QStringLiteral("endnote"));
    }
    // The body's paragraph waits; the note's text starts a paragraph of its own.
    m_bodyProgress = {m_paragraphStarted, m_paragraphHasListText, m_tabsInParagraph};
    m_paragraphStarted = false;
    m_paragraphHasListText = false;
    m_tabsInParagraph = 0;
    m_listText.clear();
    m_context.state.paragraph.inTable = false;
    m_builder = notes.builder.get();
}

void TextDestination::noteGroupClosing()
{
    m_noteParagraph = m_context.state.paragraph;
}

void TextDestination::noteEnded()
{
    noteContent(); // an empty note is numbered all the same
    flushSurrogate();
    if (m_paragraphStarted) {
        // The note's last paragraph, with the properties it had inside the note.
        const ParagraphState outside = std::exchange(m_context.state.paragraph, m_noteParagraph);
        m_context.state.paragraph.inTable = false;
        endParagraph();
        m_context.state.paragraph = outside;
    }
    m_builder = &m_body;
    m_paragraphStarted = m_bodyProgress.started;
    m_paragraphHasListText = m_bodyProgress.hasListText;
    m_tabsInParagraph = m_bodyProgress.tabs;
    m_inNote = false;
}

void TextDestination::picture(const Picture &picture)
{
    if (hidden())
        return;
    QImage image = picture.decode();
    const QSizeF size = picture.displaySize(image);
    if (image.isNull()) {
        if (!picture.isPlaceholder() || size.isEmpty())
            return;
        image = placeholderImage(size);
    }
    flushSurrogate();
    // A drawing anchored at the paragraph's start stands above its text, where
    // the writer shows it, and covers none of it.
    const bool aboveText = picture.isDrawing() && !m_paragraphStarted;
    startParagraphContent();
    m_builder->appendImage(image, size.width(), size.height(), tableDepth(m_context.state.paragraph));
    if (aboveText)
        emitCharacter(QChar::LineSeparator);
}

void TextDestination::startTextBox(const QTextFrameFormat &format)
{
    flushSurrogate();
    startParagraphContent();
    m_builder->startFrame(format, tableDepth(m_context.state.paragraph));
    m_paragraphStarted = false;
}

void TextDestination::endTextBox()
{
    flushSurrogate();
    m_builder->endFrame();
    m_paragraphStarted = true;
}

void TextDestination::startParagraphContent()
{
    if (m_paragraphStarted)
        return;
    m_paragraphStarted = true;
    const ParagraphState &paragraph = m_context.state.paragraph;
    const Formats::BlockFormats::Entry &format = m_formats.block(paragraph);
    m_builder->startParagraph(format.format, format.id, boxFormat(paragraph), tableDepth(paragraph));
    if (m_paragraphHasListText && !m_markers.knowsList(paragraph)) {
        // The writer's marker for a list this reader cannot number; the list still
        // counts the paragraph.
        // (The paragraph may end inside its \listtext: the runs go straight to the
        // document rather than back into the list text.)
        m_markers.count(paragraph);
        const QList<ListTextRun> runs = std::exchange(m_listText, {});
        for (const ListTextRun &run : runs)
            appendToDocument(run.text, run.character);
    } else {
        // The marker as the list defines it, as word processors show it: the writer's
        // own text may not match the list's spacing (a tab where the level has none).
        m_listText.clear();
        const QString marker = m_markers.next(paragraph);
        if (!marker.isEmpty())
            appendToDocument(marker, m_context.state.character);
    }
}

void TextDestination::endParagraphLists()
{
    // An empty list item still shows its marker.
    startParagraphContent();
    m_markers.paragraphEnded(m_context.state.paragraph);
    m_paragraphStarted = false;
    // A paragraph that ends inside its marker text leaves the rest of it to the next.
    m_paragraphHasListText = m_context.state.destination == m_context.destinations.listText;
    m_tabsInParagraph = 0;
}

} // namespace ct::rtf
