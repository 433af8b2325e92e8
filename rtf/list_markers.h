#pragma once

#include "rtf/list_numbering.h"
#include "rtf/reader_state.h"

#include <QString>

namespace ct::rtf {

class ReaderContext;

// Counts the paragraphs of lists and \pn numbering, and makes the marker of a
// paragraph whose writer gave no marker text of its own.
class ListMarkers {
public:
    explicit ListMarkers(ReaderContext &context) : m_context(context) {}

    // Counts `paragraph` in its list and returns its marker, empty when it is in none.
    QString next(const ParagraphState &paragraph);
    // Whether `paragraph` is in a \listtable list whose level this reader knows.
    bool knowsList(const ParagraphState &paragraph) const;
    // Counts `paragraph` whose writer showed its own marker.
    void count(const ParagraphState &paragraph);
    // A paragraph outside \pn numbering ends the run of numbered paragraphs.
    void paragraphEnded(const ParagraphState &paragraph);

private:
    // Counts the paragraph in its list; false when it is in none.
    bool countParagraph(const ParagraphState &paragraph, std::array<int, ListTable::kMaxLevels> &numbers);
    QString decodeTemplate(const QList<TemplateUnit> &units, int font) const;

    ReaderContext &m_context;
    int m_numberingCounter = 0;
    bool m_numberingContinues = false;
};

} // namespace ct::rtf
