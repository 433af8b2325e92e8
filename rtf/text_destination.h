#pragma once

#include "rtf/destination.h"
#include "rtf/document_builder.h"
#include "rtf/formats.h"
#include "rtf/list_markers.h"
#include "rtf/table_reader.h"

#include <QString>

#include <array>
#include <memory>

class QTextDocument;

namespace ct::rtf {

class ReaderContext;

// The document's text: character and paragraph properties, breaks, tables, special
// characters, and the bytes and \u characters shown through code pages and symbol
// fonts. Field results and \shppict pictures are read here too.
class TextDestination : public Destination {
public:
    TextDestination(ReaderContext &context, QTextDocument &document);

    void word(Word word, const Token &token) override;
    void bytes(std::string_view bytes, bool escaped) override;
    void unicode(char32_t character) override;
    void symbol(char symbol) override;
    void picture(const Picture &picture) override;
    bool showsText() const override { return true; }

    // Markup came between the two bytes of a double-byte character.
    void dropLeadByte();
    bool hasLeadByte() const { return m_leadByte != 0; }
    // Gives the last paragraph its format and writes out what is pending.
    void finishDocument();
    // The paragraph's marker text as its writer gave it (\listtext, \pntext) begins.
    void listTextStarted() { m_paragraphHasListText = true; }
    // A text box's paragraphs, in a frame of `format` (its size, outline and fill).
    void startTextBox(const QTextFrameFormat &format);
    void endTextBox();

    // Notes (\footnote): the mark shows where it stands, the notes after the
    // document's text, footnotes then endnotes, under a thin rule.
    void noteStarted();
    void noteIsEndnote() { m_noteKind = Endnotes; }
    // The note's first content: numbers it, and its text goes to the notes.
    void noteContent();
    // A group inside the note, or the note's own, is about to close.
    void noteGroupClosing();
    void noteEnded();
    // \nesttableprops: the definition of the row of a table in a cell, read
    // after the row's cells.
    void nestedRowStarted(bool started) { m_nestedRow = started; }

private:
    void emitBytes(std::string_view bytes);
    void emitCharacter(char32_t character);
    void emitString(QStringView text);
    void emitString(QStringView text, const CharacterState &character);
    // Text of one direction's properties.
    void emitRun(QStringView text, const CharacterState &character);
    // Text that goes into the document as it is, neither list text nor a paragraph's start.
    void appendToDocument(QStringView text, const CharacterState &character);
    // A tab, drawn with the leader of the tab stop it goes to.
    void emitTab();
    void flushSurrogate();
    void endParagraph();
    // A paragraph's first content: a paragraph in a list whose writer gave no marker
    // text of its own (\listtext, \pntext) gets one made from its list.
    void startParagraphContent();
    void endParagraphLists();
    bool hidden() const;
    // The body's note mark, with the character properties it had where it stood.
    void appendBodyMark(const QString &label);
    // A mark in the text with no note after it.
    void flushPendingMark();
    QString nextNoteLabel(int kind);

    ReaderContext &m_context;
    QTextDocument &m_document;
    DocumentBuilder m_body;
    DocumentBuilder *m_builder = &m_body; // the body's, or a note's
    Formats m_formats;
    ListMarkers m_markers;
    TableReader m_table;
    unsigned char m_leadByte = 0; // first byte of a double-byte character, or 0
    char32_t m_highSurrogate = 0; // first half of a surrogate pair, or 0
    bool m_paragraphStarted = false;
    bool m_paragraphHasListText = false;
    int m_tabsInParagraph = 0;
    struct ListTextRun {
        QString text;
        CharacterState character;
    };
    QList<ListTextRun> m_listText; // the writer's marker for the paragraph being read
    int m_defaultTab = 720;        // \deftab
    QString m_scratch;

    enum NoteKind { Footnotes, Endnotes };
    struct Notes {
        std::unique_ptr<QTextDocument> document;
        std::unique_ptr<DocumentBuilder> builder;
        int count = 0;
        int start = 1;
        QString numbering = QStringLiteral("ar"); // of \ftnnar, \ftnnrlc...
    };
    std::array<Notes, 2> m_notes;
    bool m_inNote = false;
    bool m_noteNumbered = false;
    int m_noteKind = Footnotes;
    QString m_noteLabel;
    ParagraphState m_noteParagraph;
    // The body's paragraph while a note is read.
    struct Progress {
        bool started = false;
        bool hasListText = false;
        int tabs = 0;
    };
    Progress m_bodyProgress;
    bool m_markPending = false; // \chftn in the text, its note not read yet
    CharacterState m_markCharacter;
    int m_markDepth = 0;
    bool m_nestedRow = false; // reading \nesttableprops
};

// A group whose content is the document's text, read with a meaning of its own.
class TextPart : public Destination {
public:
    explicit TextPart(TextDestination &text) : m_text(text) {}

    void word(Word word, const Token &token) override { m_text.word(word, token); }
    void bytes(std::string_view bytes, bool escaped) override { m_text.bytes(bytes, escaped); }
    void unicode(char32_t character) override { m_text.unicode(character); }
    void symbol(char symbol) override { m_text.symbol(symbol); }
    void picture(const Picture &picture) override { m_text.picture(picture); }
    bool showsText() const override { return true; }

protected:
    TextDestination &m_text;
};

// \listtext and \pntext: the writer's own list marker.
class ListTextDestination : public TextPart {
public:
    using TextPart::TextPart;
    void start() override { m_text.listTextStarted(); }
};

// \footnote: a footnote, or an endnote with \ftnalt.
class NoteReader : public TextPart {
public:
    using TextPart::TextPart;
    void start() override { m_text.noteStarted(); }
    void word(Word word, const Token &token) override
    {
        if (word == Word::Endnote) {
            m_text.noteIsEndnote();
            return;
        }
        m_text.noteContent();
        m_text.word(word, token);
    }
    void bytes(std::string_view bytes, bool escaped) override
    {
        m_text.noteContent();
        m_text.bytes(bytes, escaped);
    }
    void unicode(char32_t character) override
    {
        m_text.noteContent();
        m_text.unicode(character);
    }
    void symbol(char symbol) override
    {
        m_text.noteContent();
        m_text.symbol(symbol);
    }
    void picture(const Picture &picture) override
    {
        m_text.noteContent();
        m_text.picture(picture);
    }
    void groupEnd() override { m_text.noteGroupClosing(); }
    void finish() override { m_text.noteEnded(); }
};

// \nesttableprops: the row definition of a table inside a cell, then \nestrow.
class NestedRowReader : public TextPart {
public:
    using TextPart::TextPart;
    void start() override { m_text.nestedRowStarted(true); }
    void finish() override { m_text.nestedRowStarted(false); }
};

// \upr: text twice, in the ANSI code page and again in Unicode in \*\ud; the ANSI
// half is skipped and \ud goes back to where \upr was.
class UnicodePairReader : public Destination {
public:
    explicit UnicodePairReader(ReaderContext &context) : m_context(context) {}
    void returnTo(Destination *destination) { m_return = destination; }
    void word(Word word, const Token &token) override;

private:
    ReaderContext &m_context;
    Destination *m_return = nullptr;
};

} // namespace ct::rtf
