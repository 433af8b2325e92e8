#pragma once

#include "rtf/table_reader.h"

#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextFrameFormat>
#include <QTextTableCellFormat>

#include <optional>

class QImage;
class QTextDocument;
class QTextFrame;
class QTextTable;

namespace ct::rtf {

// Appends content to a QTextDocument through one cursor: runs of text with one
// format each, paragraphs, line breaks, pictures and table rows. Content comes with
// its depth in tables: 0 outside, 1 in a table, 2 in a table inside a cell.
//
// A paragraph longer than kChunkCharacters is laid out as several blocks that read as
// one paragraph (the blocks between have no spacing), split after a sentence where
// one ends near the limit: Qt lays out a block whole, so one very long block keeps
// the window from showing anything until all of it is laid out, while short ones
// are laid out as they come into view.
//
// A paragraph break is inserted lazily, when something follows it, so that the final
// \par of a file leaves no empty paragraph behind (as word processors show it).
// Tables grow a row at a time. Each row's cells line up by their boundaries: the
// table's columns are the boundaries of all its rows, and a cell covers the columns
// between its own two boundaries, and the rows above it that it merges with. A row
// or column beyond kMaxRows / kMaxColumns starts a new table or shares the last
// cell, because every change to a QTextTable's shape costs time in proportion to
// its size. Past kMaxFrames text boxes and boxed paragraphs, the rest show without
// a frame: each new frame costs time in proportion to the frames before it.
class DocumentBuilder {
public:
    static constexpr int kMaxColumns = 64;
    static constexpr int kMaxRows = 256;
    static constexpr int kChunkCharacters = 3000;
    static constexpr int kMaxFrames = 500;
    static constexpr int kDefaultPaperWidth = 12240; // US Letter, as RTF defines

    // Pictures go into `resources` (the document itself when null), named
    // "rtf-<pictureNames>:<n>".
    explicit DocumentBuilder(QTextDocument &document, QTextDocument *resources = nullptr,
                             QString pictureNames = QStringLiteral("picture"));
    ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder &) = delete;
    DocumentBuilder &operator=(const DocumentBuilder &) = delete;

    // `formatId` names `format`: the same id means the same format, so a run grows
    // without comparing formats.
    void appendText(QStringView text, const QTextCharFormat &format, quint64 formatId, int depth);
    void appendImage(const QImage &image, double width, double height, int depth);
    // The format a paragraph has when its content starts, most often the one it ends
    // with: a new block gets it at once rather than a change of format afterwards.
    // A paragraph outside tables and text boxes with a `box` goes in a frame drawn
    // with it, one frame for consecutive paragraphs with the same box.
    void startParagraph(const QTextBlockFormat &format, quint64 formatId, const std::optional<QTextFrameFormat> &box,
                        int depth);
    // Ends the current paragraph with `format`, named by `formatId` like run formats.
    void endParagraph(const QTextBlockFormat &format, quint64 formatId, int depth);
    // Ends the current table cell; its last paragraph takes `format`.
    void endCell(const QTextBlockFormat &format);
    void endRow();
    // A table inside a cell: its cell ends, and its row, whose definition comes
    // after the row's cells (\nesttableprops).
    void endNestedCell(const QTextBlockFormat &format);
    void endNestedRow();
    RowDefinition &nestedRowDefinition() { return m_nestedDefinition; }
    // A frame around the content that follows, until endFrame(): a text box.
    void startFrame(const QTextFrameFormat &format, int depth);
    void endFrame();
    // The definition of the rows that follow (\trowd, \cellx and the cells' looks).
    RowDefinition &rowDefinition() { return m_rowDefinition; }
    // The width of the document's paper in twips (\paperw): a table that reaches
    // beyond it is sized in percent of the width.
    void setPaperWidth(int twips) { m_paperWidth = twips > 0 ? twips : kDefaultPaperWidth; }
    // The distance between the tab stops that every paragraph has beyond its own.
    void setDefaultTabDistance(double pixels);
    // Gives the last paragraph its format and writes out what is pending.
    void finish(const QTextBlockFormat &format, quint64 formatId);
    // After finish(): appends the content of `part` (built with this document as its
    // pictures' resources) at the end, below a thin rule when `ruleBefore`.
    void appendDocument(const QTextDocument &part, bool ruleBefore);

private:
    void flushRun();
    // The cursor's position in its block, kept as text goes in.
    qsizetype positionInBlock();
    void insertText(const QString &text);
    void insertBlock();
    // After the cursor went elsewhere than the end of what it inserted.
    void cursorMoved();
    // Inserts `text`, starting a new block of the same paragraph where the block grows too long.
    void insertChunked(QStringView text);
    // Gives every block of the paragraph split into chunks its format.
    void formatChunks(const QTextBlockFormat &format);
    void placeContent(int depth);
    // The cursor to where content at depth 2 goes: a table in the current cell.
    void placeNested();
    void leaveNested();
    // A frame at the cursor, the cursor in it; and the cursor out of it again.
    QTextFrame *insertFrame(const QTextFrameFormat &format, int depth);
    void leaveFrame(QTextFrame *frame);
    void closeBox();
    // Table building (document_tables.cpp).
    void startTable();
    void startRow();
    // Adds the current definition's cell boundaries to the table's columns.
    void addBoundaries();
    void addBoundary(int twips);
    void placeRow();
    static QTextTableCellFormat cellFormat(const CellDefinition &cell, const RowDefinition &row, bool firstRow,
                                           bool firstColumn, bool lastColumn);
    void nextCell();
    void leaveTable();
    // Gives the table its column widths, once its rows are all there.
    void finishTable();
    void moveToCell(int row, int column, bool atEnd = false);

    QTextDocument &m_document;
    QTextDocument &m_resources;
    QString m_pictureNames;
    QTextCursor m_cursor;
    QString m_run;
    QTextCharFormat m_runFormat;
    quint64 m_runFormatId = 0;
    bool m_breakPending = false;
    // The format of the block the cursor is in; a new block starts with the format
    // of the one before, so most paragraphs need no format change of their own.
    QTextBlockFormat m_blockFormat;
    quint64 m_blockFormatId = 0; // 0: not known
    void setBlockFormat(const QTextBlockFormat &format, quint64 formatId);
    int m_images = 0;
    qsizetype m_positionInBlock = 0; // -1: not known
    int m_chunksStart = -1;          // the first block of a paragraph split into chunks, or -1

    QTextFrame *m_frame = nullptr;
    QTextFrame *m_box = nullptr; // the frame of boxed paragraphs the cursor is in
    QTextFrameFormat m_boxFormat;
    int m_frameDepth = 0;
    int m_frames = 0; // text boxes and boxes so far
    QTextTable *m_table = nullptr;
    int m_row = 0;
    int m_column = 0;
    bool m_rowPending = false;
    bool m_cellPending = false;
    RowDefinition m_rowDefinition;
    // The table's column boundaries in twips, left to right, while its rows line up
    // by them; false once a row had more cells than its definition.
    QList<int> m_boundaries;
    bool m_aligned = true;
    struct CellPlace {
        int column;
        bool merged; // merged into a cell before it: its text goes on at that cell's end
    };
    QList<CellPlace> m_cellPlaces; // where the current row's cells go
    int m_cell = 0;                // the current cell's index in the row
    QList<int> m_columnTops;       // per column: the row a cell that may merge downwards starts in
    int m_paperWidth = kDefaultPaperWidth;
    // The table in the current cell, while there is one.
    QTextTable *m_nested = nullptr;
    int m_nestedRow = 0;
    int m_nestedColumn = 0;
    bool m_nestedCellPending = false;
    bool m_nestedRowPending = false;
    RowDefinition m_nestedDefinition;
};

} // namespace ct::rtf
