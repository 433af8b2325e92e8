#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <array>

namespace ct::rtf {

// One character of a list level's text template, before decoding: a byte (from \'hh
// or plain text) in the level's font, or a Unicode character (from \u).
struct TemplateUnit {
    char32_t value = 0;
    bool unicode = false;
};

// One level of a \listtable list.
struct ListLevel {
    int numberFormat = 0;     // \levelnfc: 0 decimal, 1/2 roman, 3/4 letters, 22 two digits, 23 bullet, 255 none
    int start = 1;            // \levelstartat
    int follow = 0;           // \levelfollow: 0 tab, 1 space, 2 nothing
    int font = -1;            // \f inside the level
    QList<TemplateUnit> text; // \leveltext: length first, then characters and level placeholders
};

struct ListDefinition {
    QList<ListLevel> levels;
};

// The old Word 6/WordPad paragraph numbering, \pn.
struct ParagraphNumbering {
    enum class Kind { None, Bullet, Numbered, Continue };
    Kind kind = Kind::None;
    int numberFormat = 0; // as for \levelnfc
    int start = 1;
    int font = -1;
    QList<TemplateUnit> before; // \pntxtb
    QList<TemplateUnit> after;  // \pntxta
};

// A number as a list level shows it.
QString formatListNumber(int number, int numberFormat);

// The lists of a document (\listtable, \listoverridetable) and the numbers reached
// so far, for paragraphs whose writer left no marker text of their own.
class ListTable {
public:
    static constexpr int kMaxLevels = 9;

    void addList(int listId, const ListDefinition &list);
    void addOverride(int override, int listId);

    // The level that paragraph list `override` at `level` uses, or nullptr.
    const ListLevel *level(int override, int level) const;
    // Counts one more paragraph of the list at `level`; the numbers of every level
    // up to it, deeper levels starting again.
    std::array<int, kMaxLevels> advance(int override, int level);

private:
    QHash<int, ListDefinition> m_lists;
    QHash<int, int> m_overrides;
    QHash<int, std::array<int, kMaxLevels>> m_counters;
};

} // namespace ct::rtf
