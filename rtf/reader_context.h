#pragma once

#include "rtf/destination.h"
#include "rtf/font_table.h"
#include "rtf/list_numbering.h"
#include "rtf/reader_state.h"

#include <QColor>
#include <QList>

namespace ct::rtf {

class TextDestination;
class UnicodePairReader;

// The destinations of one reading, for the readers that switch a group to another.
struct Destinations {
    Destination *skip = nullptr;
    TextDestination *text = nullptr;
    Destination *listText = nullptr;
    Destination *fontTable = nullptr;
    Destination *colorTable = nullptr;
    Destination *listTable = nullptr;
    Destination *listOverrides = nullptr;
    Destination *numbering = nullptr;
    Destination *picture = nullptr;
    UnicodePairReader *unicodePair = nullptr;
    Destination *shape = nullptr;
    Destination *note = nullptr;
    Destination *nestedRow = nullptr;
};

// What the destinations of one file share: the current group's state and the
// document-wide tables they read or use.
class ReaderContext {
public:
    GroupState state;
    Destinations destinations;

    int ansiCodePage = 1252;
    int defaultFont = 0;
    FontTable fonts;
    QList<QColor> colors;
    ListTable lists;

    // Switches the current group to `destination`.
    void open(Destination *destination)
    {
        state.destination = destination;
        destination->start();
    }
    void skipGroup() { state.destination = destinations.skip; }
    bool inText() const { return state.destination->showsText(); }

    // The code page of text in font `entry` (the document's when there is none).
    const CodePage &codePageOf(const FontEntry *entry) const;
    // The colour at `index`, invalid for "automatic" (index 0, missing or empty).
    QColor color(int index) const { return index > 0 && index < colors.size() ? colors.at(index) : QColor(); }

    // Fonts, colours or the code page changed: formats made before are stale.
    void tablesChanged() { ++m_tablesVersion; }
    quint64 tablesVersion() const { return m_tablesVersion; }

private:
    quint64 m_tablesVersion = 0;
};

} // namespace ct::rtf
