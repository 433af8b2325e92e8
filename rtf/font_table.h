#pragma once

#include "rtf/code_pages.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace ct::rtf {

// One \fonttbl entry.
struct FontEntry {
    QString family;
    QString alternative; // \falt
    int charset = -1;    // \fcharset, -1 when not given
    int codePage = 0;    // \cpg, 0 when not given
};

// The document's fonts by number, kept sparse so that a font number of two billion
// costs no more than font 0.
class FontTable {
public:
    // The entry for `number`, created when missing.
    FontEntry &entry(int number) { return m_fonts[number]; }
    const FontEntry *find(int number) const
    {
        const auto it = m_fonts.constFind(number);
        return it == m_fonts.cend() ? nullptr : &it.value();
    }

private:
    QHash<int, FontEntry> m_fonts;
};

// What text in one font needs: how its bytes decode and which families to ask for.
struct FontInfo {
    const CodePage *codePage = nullptr;
    SymbolFont symbol = SymbolFont::None;
    QStringList families; // empty for the default font and for symbol fonts
};

} // namespace ct::rtf
