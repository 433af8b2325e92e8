#include "rtf/reader_context.h"

namespace ct::rtf {

const CodePage &ReaderContext::codePageOf(const FontEntry *entry) const
{
    int codePage = 0;
    if (entry) {
        codePage = entry->codePage;
        if (codePage == 0 && entry->charset >= 0)
            codePage = codePageOfCharset(entry->charset);
    }
    if (codePage <= 0)
        codePage = ansiCodePage;
    return CodePage::forNumber(codePage);
}

} // namespace ct::rtf
