#include "rtf/document_builder.h"

#include "rtf/units.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <utility>

namespace ct::rtf {
namespace {

// Pixels between the document's text and the rule above its notes.
constexpr double kNotesGap = 12;

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument &document, QTextDocument *resources, QString pictureNames)
    : m_document(document), m_resources(resources ? *resources : document), m_pictureNames(std::move(pictureNames)),
      m_cursor(&document)
{
    m_cursor.beginEditBlock();
}

DocumentBuilder::~DocumentBuilder()
{
    m_cursor.endEditBlock();
}

void DocumentBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    if (m_table || m_frame || positionInBlock() + m_run.size() <= kChunkCharacters)
        insertText(m_run);
    else
        insertChunked(m_run);
    m_run.resize(0); // keeps its capacity for the next run
}

qsizetype DocumentBuilder::positionInBlock()
{
    // Asking the cursor costs a search through the whole document's blocks.
    if (m_positionInBlock < 0)
        m_positionInBlock = m_cursor.positionInBlock();
    return m_positionInBlock;
}

void DocumentBuilder::insertText(const QString &text)
{
    m_cursor.insertText(text, m_runFormat);
    if (m_positionInBlock >= 0)
        m_positionInBlock += text.size();
}

void DocumentBuilder::insertBlock()
{
    m_cursor.insertBlock(m_blockFormat, m_runFormat);
    m_positionInBlock = 0;
}

void DocumentBuilder::cursorMoved()
{
    m_blockFormatId = 0;
    m_positionInBlock = -1;
}

void DocumentBuilder::insertChunked(QStringView text)
{
    while (!text.isEmpty()) {
        const qsizetype used = positionInBlock();
        const qsizetype room = std::max<qsizetype>(kChunkCharacters - used, 0);
        if (text.size() <= room) {
            insertText(text.toString());
            return;
        }
        // After a sentence if one ends soon after the limit (in this run or a later
        // one), else after a word.
        const qsizetype slack = std::max<qsizetype>(kChunkCharacters + kChunkCharacters / 3 - used, 0);
        qsizetype split = text.first(std::min(text.size(), slack + 2)).indexOf(u". ", room);
        if (split >= 0 && split <= slack)
            ++split;
        else if (text.size() > slack)
            split = text.indexOf(u' ', slack);
        else
            split = -1;
        if (split < 0) {
            insertText(text.toString());
            return;
        }
        insertText(text.first(split + 1).toString());
        text = text.sliced(split + 1);
        if (m_chunksStart < 0)
            m_chunksStart = m_cursor.blockNumber();
        insertBlock();
    }
}

void DocumentBuilder::formatChunks(const QTextBlockFormat &format)
{
    // The first block has the paragraph's space above and first-line indent, the
    // last its space below; the blocks between run on without either.
    QTextBlock block = m_document.findBlockByNumber(m_chunksStart);
    const QTextBlock last = m_cursor.block();
    for (; block.isValid(); block = block.next()) {
        QTextBlockFormat chunk = format;
        if (block.blockNumber() != m_chunksStart) {
            chunk.setTopMargin(0);
            chunk.setTextIndent(0);
        }
        if (block != last)
            chunk.setBottomMargin(0);
        QTextCursor(block).setBlockFormat(chunk);
        if (block == last)
            break;
    }
    m_chunksStart = -1;
    cursorMoved();
}

void DocumentBuilder::placeContent(int depth)
{
    const bool inTable = depth > 0;
    if (depth < 2 && m_nested) {
        flushRun();
        leaveNested();
    }
    if (inTable && !m_table) {
        flushRun();
        if (m_chunksStart >= 0)
            formatChunks(m_blockFormat);
        if (m_box)
            closeBox();
        startTable();
    } else if (!inTable && m_table) {
        flushRun();
        leaveTable();
    }
    if (m_table && m_rowPending) {
        flushRun();
        startRow();
    }
    if (m_table && m_cellPending) {
        flushRun();
        m_cellPending = false;
        nextCell();
    }
    if (depth >= 2 && m_table)
        placeNested();
    if (m_breakPending) {
        flushRun();
        insertBlock();
        m_breakPending = false;
    }
}

void DocumentBuilder::setBlockFormat(const QTextBlockFormat &format, quint64 formatId)
{
    if (m_chunksStart >= 0) {
        formatChunks(format);
        m_blockFormat = format;
        return;
    }
    if (formatId != 0 && formatId == m_blockFormatId)
        return;
    m_cursor.setBlockFormat(format);
    m_blockFormat = format;
    m_blockFormatId = formatId;
}

void DocumentBuilder::startParagraph(const QTextBlockFormat &format, quint64 formatId,
                                     const std::optional<QTextFrameFormat> &box, int depth)
{
    if (depth == 0 && !m_frame) {
        if (m_box && box != m_boxFormat) {
            closeBox();
            if (box) {
                // Qt keeps a block between two frames; here it takes no room.
                QTextBlockFormat gap;
                gap.setLineHeight(0, QTextBlockFormat::FixedHeight);
                m_cursor.setBlockFormat(gap);
            }
        }
        if (box && !m_box && m_frames < kMaxFrames) {
            m_box = insertFrame(*box, 0);
            m_boxFormat = *box;
        }
    }
    if (!m_breakPending || m_chunksStart >= 0)
        return;
    m_blockFormat = format;
    m_blockFormatId = formatId;
}

void DocumentBuilder::appendText(QStringView text, const QTextCharFormat &format, quint64 formatId, int depth)
{
    placeContent(depth);
    if (formatId != m_runFormatId || m_run.isEmpty()) {
        flushRun();
        m_runFormat = format;
        m_runFormatId = formatId;
    }
    m_run.append(text);
}

void DocumentBuilder::appendImage(const QImage &image, double width, double height, int depth)
{
    placeContent(depth);
    flushRun();
    const QString name = QStringLiteral("rtf-%1:%2").arg(m_pictureNames).arg(++m_images);
    m_resources.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(width);
    format.setHeight(height);
    m_cursor.insertImage(format);
    if (m_positionInBlock >= 0)
        ++m_positionInBlock;
}

QTextFrame *DocumentBuilder::insertFrame(const QTextFrameFormat &format, int depth)
{
    if (m_chunksStart >= 0)
        formatChunks(m_blockFormat);
    // A frame directly follows the paragraph before it; Qt adds the block boundary.
    m_breakPending = false;
    placeContent(depth);
    flushRun();
    QTextFrame *frame = m_cursor.insertFrame(format);
    ++m_frames;
    cursorMoved();
    return frame;
}

void DocumentBuilder::leaveFrame(QTextFrame *frame)
{
    flushRun();
    // What follows goes on after the frame, in the block Qt keeps after it.
    m_breakPending = false;
    m_cursor.setPosition(frame->lastPosition() + 1);
    cursorMoved();
}

void DocumentBuilder::closeBox()
{
    leaveFrame(std::exchange(m_box, nullptr));
}

void DocumentBuilder::startFrame(const QTextFrameFormat &format, int depth)
{
    if (m_frameDepth++ > 0 || m_frames >= kMaxFrames)
        return; // a text box in a text box shares its frame; past the last, it has none
    m_frame = insertFrame(format, depth);
}

void DocumentBuilder::endFrame()
{
    if (m_frameDepth == 0 || --m_frameDepth > 0 || !m_frame)
        return;
    // What follows goes on in the paragraph the text box was anchored in.
    leaveFrame(std::exchange(m_frame, nullptr));
}

void DocumentBuilder::endParagraph(const QTextBlockFormat &format, quint64 formatId, int depth)
{
    placeContent(depth);
    flushRun();
    setBlockFormat(format, formatId);
    m_breakPending = true;
}

void DocumentBuilder::endCell(const QTextBlockFormat &format)
{
    placeContent(true);
    flushRun();
    setBlockFormat(format, 0);
    m_cellPending = true;
}

void DocumentBuilder::setDefaultTabDistance(double pixels)
{
    QTextOption option = m_document.defaultTextOption();
    option.setTabStopDistance(pixels);
    m_document.setDefaultTextOption(option);
}

void DocumentBuilder::appendDocument(const QTextDocument &part, bool ruleBefore)
{
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    if (ruleBefore) {
        QTextBlockFormat rule;
        rule.setTopMargin(kNotesGap);
        rule.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                         QTextLength(QTextLength::PercentageLength, 100));
        cursor.insertBlock(rule, QTextCharFormat());
    }
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    const int start = cursor.position();
    cursor.insertFragment(QTextDocumentFragment(&part));
    // The fragment's first paragraph goes into the block made for it and would
    // take that block's format: it keeps its own (a note's hanging indent).
    QTextCursor first(&m_document);
    first.setPosition(start);
    first.setBlockFormat(part.begin().blockFormat());
    cursorMoved();
}

void DocumentBuilder::finish(const QTextBlockFormat &format, quint64 formatId)
{
    flushRun();
    finishTable();
    if (!m_breakPending)
        setBlockFormat(format, formatId);
}

} // namespace ct::rtf
