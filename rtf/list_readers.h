#pragma once

#include "rtf/destination.h"
#include "rtf/list_numbering.h"

namespace ct::rtf {

class ReaderContext;

// The text of a list marker template, \leveltext or \pntxtb/\pntxta: bytes and
// Unicode characters kept undecoded until the font they are in is known.
class TemplateTextReader : public Destination {
public:
    explicit TemplateTextReader(ReaderContext &context) : m_context(context) {}
    // `endsAtSemicolon`: a level's text ends at its first plain ';'.
    void readInto(QList<TemplateUnit> *units, bool endsAtSemicolon);

    void start() override { m_units->clear(); }
    void bytes(std::string_view bytes, bool escaped) override;
    void unicode(char32_t character) override { add({character, true}); }

private:
    void add(TemplateUnit unit);

    ReaderContext &m_context;
    QList<TemplateUnit> *m_units = nullptr;
    bool m_endsAtSemicolon = false;
};

// \listtable: the lists and their levels.
class ListTableReader : public Destination {
public:
    explicit ListTableReader(ReaderContext &context) : m_context(context), m_levelText(context) {}

    void start() override { m_pending = false; }
    void word(Word word, const Token &token) override;
    void finish() override { commit(); }

private:
    void commit();

    ReaderContext &m_context;
    TemplateTextReader m_levelText;
    ListDefinition m_list;
    int m_listId = 0;
    bool m_pending = false;
};

// \listoverridetable: which list each paragraph \ls number stands for.
class ListOverridesReader : public Destination {
public:
    explicit ListOverridesReader(ReaderContext &context) : m_context(context) {}

    void start() override { m_listId = -1; }
    void word(Word word, const Token &token) override;

private:
    ReaderContext &m_context;
    int m_listId = -1;
};

// \pn: the old Word 6 and WordPad numbering of the paragraph it is in.
class NumberingReader : public Destination {
public:
    explicit NumberingReader(ReaderContext &context) : m_context(context), m_text(context) {}

    void start() override { m_numbering = ParagraphNumbering(); }
    void word(Word word, const Token &token) override;
    void finish() override;

private:
    ReaderContext &m_context;
    TemplateTextReader m_text;
    ParagraphNumbering m_numbering;
};

} // namespace ct::rtf
