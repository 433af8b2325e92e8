#include "rtf/control_words.h"

#include <array>
#include <cstdint>
#include <utility>

namespace ct::rtf {

namespace {

constexpr std::pair<std::string_view, Word> kWords[] = {
    {"rtf", Word::Rtf},
    {"ansi", Word::Ansi},
    {"mac", Word::Mac},
    {"pc", Word::Pc},
    {"pca", Word::Pca},
    {"ansicpg", Word::AnsiCodePage},
    {"deff", Word::DefaultFont},
    {"paperw", Word::PaperWidth},
    {"uc", Word::UnicodeSkip},
    {"u", Word::Unicode},
    {"upr", Word::UnicodePair},
    {"ud", Word::UnicodeText},

    {"fonttbl", Word::FontTable},
    {"colortbl", Word::ColorTable},
    {"falt", Word::FontAltName},
    {"fldrslt", Word::FieldResult},
    {"shppict", Word::ShapePicture},
    {"listtext", Word::ListText},
    {"pntext", Word::ListText},
    {"pict", Word::Picture},
    {"chftn", Word::NoteMark},
    {"ftnalt", Word::Endnote},
    {"ftnnar", Word::NoteNumbering},
    {"ftnnalc", Word::NoteNumbering},
    {"ftnnauc", Word::NoteNumbering},
    {"ftnnrlc", Word::NoteNumbering},
    {"ftnnruc", Word::NoteNumbering},
    {"ftnnchi", Word::NoteNumbering},
    {"aftnnar", Word::NoteNumbering},
    {"aftnnalc", Word::NoteNumbering},
    {"aftnnauc", Word::NoteNumbering},
    {"aftnnrlc", Word::NoteNumbering},
    {"aftnnruc", Word::NoteNumbering},
    {"aftnnchi", Word::NoteNumbering},
    {"ftnstart", Word::NoteStart},
    {"aftnstart", Word::NoteStart},

    // Not part of the text a reader sees: document information, styles, page
    // furniture, notes, hidden instructions and the tables only Word itself uses.
    {"info", Word::SkippedDestination},
    {"stylesheet", Word::SkippedDestination},
    {"header", Word::SkippedDestination},
    {"headerl", Word::SkippedDestination},
    {"headerr", Word::SkippedDestination},
    {"headerf", Word::SkippedDestination},
    {"footer", Word::SkippedDestination},
    {"footerl", Word::SkippedDestination},
    {"footerr", Word::SkippedDestination},
    {"footerf", Word::SkippedDestination},
    {"footnote", Word::Footnote},
    {"annotation", Word::SkippedDestination},
    {"fldinst", Word::SkippedDestination},
    {"nonshppict", Word::SkippedDestination},
    {"levelnumbers", Word::SkippedDestination},
    {"listname", Word::SkippedDestination},
    {"bkmkstart", Word::SkippedDestination},
    {"bkmkend", Word::SkippedDestination},
    {"xe", Word::SkippedDestination},
    {"tc", Word::SkippedDestination},
    {"txe", Word::SkippedDestination},
    {"objdata", Word::SkippedDestination},
    {"objclass", Word::SkippedDestination},
    {"objname", Word::SkippedDestination},
    {"themedata", Word::SkippedDestination},
    {"colorschememapping", Word::SkippedDestination},
    {"datastore", Word::SkippedDestination},
    {"latentstyles", Word::SkippedDestination},
    {"generator", Word::SkippedDestination},
    {"rsidtbl", Word::SkippedDestination},
    {"xmlnstbl", Word::SkippedDestination},
    {"pgdsctbl", Word::SkippedDestination},
    {"revtbl", Word::SkippedDestination},
    {"filetbl", Word::SkippedDestination},
    {"listpicture", Word::SkippedDestination},
    {"ftnsep", Word::SkippedDestination},
    {"ftnsepc", Word::SkippedDestination},
    {"ftncn", Word::SkippedDestination},
    {"aftnsep", Word::SkippedDestination},
    {"aftnsepc", Word::SkippedDestination},
    {"aftncn", Word::SkippedDestination},
    {"docvar", Word::SkippedDestination},
    {"template", Word::SkippedDestination},
    {"fchars", Word::SkippedDestination},
    {"lchars", Word::SkippedDestination},
    {"private", Word::SkippedDestination},
    {"userprops", Word::SkippedDestination},
    {"do", Word::SkippedDestination},
    {"atnid", Word::SkippedDestination},
    {"atnauthor", Word::SkippedDestination},
    {"atrfstart", Word::SkippedDestination},
    {"atrfend", Word::SkippedDestination},
    {"mmathPr", Word::SkippedDestination},

    {"f", Word::Font},
    {"fcharset", Word::FontCharset},
    {"cpg", Word::FontCodePage},
    {"red", Word::Red},
    {"green", Word::Green},
    {"blue", Word::Blue},

    {"plain", Word::Plain},
    {"b", Word::Bold},
    {"i", Word::Italic},
    {"ul", Word::Underline},
    {"uld", Word::UnderlineDotted},
    {"uldash", Word::UnderlineDashed},
    {"uldashd", Word::UnderlineDashed},
    {"uldashdd", Word::UnderlineDashed},
    {"ulhwave", Word::Underline},
    {"ulth", Word::Underline},
    {"ulthd", Word::Underline},
    {"ulthdash", Word::Underline},
    {"ulw", Word::Underline},
    {"ulwave", Word::Underline},
    {"uldb", Word::UnderlineDouble},
    {"ululdbwave", Word::UnderlineDouble},
    {"ulnone", Word::UnderlineNone},
    {"strike", Word::Strike},
    {"striked", Word::StrikeDouble},
    {"super", Word::Superscript},
    {"sub", Word::Subscript},
    {"nosupersub", Word::NoSuperSub},
    {"up", Word::Raise},
    {"dn", Word::Lower},
    {"expnd", Word::Expand},
    {"expndtw", Word::ExpandTwips},
    {"fs", Word::FontSize},
    {"cf", Word::Foreground},
    {"cb", Word::Background},
    {"highlight", Word::Highlight},
    {"v", Word::Hidden},
    {"caps", Word::Caps},
    {"scaps", Word::SmallCaps},
    {"rtlch", Word::RightToLeftRun},
    {"ltrch", Word::LeftToRightRun},
    {"ab", Word::RtlBold},
    {"ai", Word::RtlItalic},
    {"afs", Word::RtlFontSize},

    {"pard", Word::Pard},
    {"ql", Word::AlignLeft},
    {"qr", Word::AlignRight},
    {"qc", Word::AlignCenter},
    {"qj", Word::AlignJustify},
    {"qd", Word::AlignJustify},
    {"rtlpar", Word::RightToLeftParagraph},
    {"ltrpar", Word::LeftToRightParagraph},
    {"li", Word::LeftIndent},
    {"lin", Word::LeftIndent},
    {"ri", Word::RightIndent},
    {"rin", Word::RightIndent},
    {"fi", Word::FirstIndent},
    {"sb", Word::SpaceBefore},
    {"sa", Word::SpaceAfter},
    {"sl", Word::LineSpacing},
    {"slmult", Word::LineMultiple},
    {"tx", Word::TabStop},
    {"tb", Word::TabBar},
    {"tqr", Word::TabRight},
    {"tqc", Word::TabCenter},
    {"tqdec", Word::TabDecimal},
    {"tldot", Word::TabLeaderDots},
    {"tlmdot", Word::TabLeaderDots},
    {"tlhyph", Word::TabLeaderHyphens},
    {"tlul", Word::TabLeaderLine},
    {"tlth", Word::TabLeaderLine},
    {"tleq", Word::TabLeaderLine},
    {"deftab", Word::DefaultTab},
    {"intbl", Word::InTable},
    {"itap", Word::TableDepth},
    {"ls", Word::ListOverride},
    {"ilvl", Word::ListLevelIndex},

    {"listtable", Word::ListTable},
    {"list", Word::List},
    {"listlevel", Word::ListLevel},
    {"levelnfc", Word::LevelNumberFormat},
    {"levelnfcn", Word::LevelNumberFormat},
    {"levelstartat", Word::LevelStart},
    {"leveltext", Word::LevelText},
    {"levelfollow", Word::LevelFollow},
    {"listid", Word::ListId},
    {"listoverridetable", Word::ListOverrideTable},
    {"listoverride", Word::ListOverrideEntry},
    {"pn", Word::Numbering},
    {"pnlvlblt", Word::NumberingBullet},
    {"pnlvlbody", Word::NumberingBody},
    {"pnlvl", Word::NumberingBody},
    {"pnlvlcont", Word::NumberingContinue},
    {"pndec", Word::NumberingDecimal},
    {"pnucltr", Word::NumberingUpperLetter},
    {"pnlcltr", Word::NumberingLowerLetter},
    {"pnucrm", Word::NumberingUpperRoman},
    {"pnlcrm", Word::NumberingLowerRoman},
    {"pnstart", Word::NumberingStart},
    {"pnf", Word::NumberingFont},
    {"pntxtb", Word::NumberingTextBefore},
    {"pntxta", Word::NumberingTextAfter},

    {"par", Word::Par},
    {"line", Word::Line},
    {"softline", Word::Line},
    {"tab", Word::Tab},
    {"cell", Word::Cell},
    {"row", Word::Row},
    {"nestcell", Word::NestedCell},
    {"nestrow", Word::NestedRow},
    {"nesttableprops", Word::NestedTableProperties},
    {"nonesttables", Word::SkippedDestination}, // the text of a table in a table for readers without them
    {"trowd", Word::RowDefaults},
    {"cellx", Word::CellRight},
    {"trleft", Word::RowLeft},
    {"clmgf", Word::CellMergeFirst},
    {"clmrg", Word::CellMerge},
    {"clvmgf", Word::CellVerticalMergeFirst},
    {"clvmrg", Word::CellVerticalMerge},
    {"clcbpat", Word::CellShading},
    {"clbrdrt", Word::CellBorderTop},
    {"clbrdrl", Word::CellBorderLeft},
    {"clbrdrb", Word::CellBorderBottom},
    {"clbrdrr", Word::CellBorderRight},
    {"trbrdrt", Word::RowBorderTop},
    {"trbrdrl", Word::RowBorderLeft},
    {"trbrdrb", Word::RowBorderBottom},
    {"trbrdrr", Word::RowBorderRight},
    {"trbrdrh", Word::RowBorderHorizontal},
    {"trbrdrv", Word::RowBorderVertical},
    {"brdrs", Word::BorderSingle},
    {"brdrth", Word::BorderSingle},
    {"brdrsh", Word::BorderSingle},
    {"brdrhair", Word::BorderSingle},
    {"brdrdb", Word::BorderDouble},
    {"brdrtriple", Word::BorderDouble},
    {"brdrdot", Word::BorderDotted},
    {"brdrdash", Word::BorderDashed},
    {"brdrdashsm", Word::BorderDashed},
    {"brdrnone", Word::BorderNone},
    {"brdrnil", Word::BorderNone},
    {"brdrw", Word::BorderWidth},
    {"brdrcf", Word::BorderColor},
    {"brdrt", Word::ParagraphBorderTop},
    {"brdrl", Word::ParagraphBorderLeft},
    {"brdrb", Word::ParagraphBorderBottom},
    {"brdrr", Word::ParagraphBorderRight},
    {"box", Word::ParagraphBox},
    {"cbpat", Word::ParagraphShading},
    {"chcbpat", Word::CharacterShading},
    {"sect", Word::Section},
    {"page", Word::Page},

    {"emdash", Word::EmDash},
    {"endash", Word::EnDash},
    {"emspace", Word::EmSpace},
    {"enspace", Word::EnSpace},
    {"qmspace", Word::QuarterEmSpace},
    {"bullet", Word::Bullet},
    {"lquote", Word::LeftQuote},
    {"rquote", Word::RightQuote},
    {"ldblquote", Word::LeftDoubleQuote},
    {"rdblquote", Word::RightDoubleQuote},
    {"zwj", Word::ZeroWidthJoiner},
    {"zwnj", Word::ZeroWidthNonJoiner},
    {"zwbo", Word::ZeroWidthBreak},
    {"ltrmark", Word::LeftToRightMark},
    {"rtlmark", Word::RightToLeftMark},

    {"pngblip", Word::PngBlip},
    {"jpegblip", Word::JpegBlip},
    {"emfblip", Word::OtherBlip},
    {"wmetafile", Word::OtherBlip},
    {"macpict", Word::OtherBlip},
    {"dibitmap", Word::OtherBlip},
    {"wbitmap", Word::OtherBlip},
    {"pmmetafile", Word::OtherBlip},
    {"picwgoal", Word::PictureGoalWidth},
    {"pichgoal", Word::PictureGoalHeight},
    {"picscalex", Word::PictureScaleX},
    {"picscaley", Word::PictureScaleY},
    {"picw", Word::PictureWidth},
    {"pich", Word::PictureHeight},

    {"shp", Word::Shape},
    {"shpinst", Word::ShapeInstance},
    {"shpleft", Word::ShapeLeft},
    {"shptop", Word::ShapeTop},
    {"shpright", Word::ShapeRight},
    {"shpbottom", Word::ShapeBottom},
    {"sn", Word::ShapePropertyName},
    {"sv", Word::ShapePropertyValue},
    {"shptxt", Word::ShapeText},
    {"shprslt", Word::ShapeResult},
};

std::uint32_t hashOf(std::string_view letters)
{
    // FNV-1a: cheap for the short words RTF is made of.
    std::uint32_t hash = 2166136261u;
    for (const char c : letters)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// Open addressing with linear probing; a lookup is read on every control word of a
// file, so it avoids the allocation-heavy std::unordered_map path.
class WordTable {
public:
    WordTable()
    {
        for (const auto &[letters, word] : kWords) {
            std::size_t slot = hashOf(letters) & kMask;
            while (!m_slots[slot].first.empty())
                slot = (slot + 1) & kMask;
            m_slots[slot] = {letters, word};
        }
    }

    Word find(std::string_view letters) const
    {
        std::size_t slot = hashOf(letters) & kMask;
        while (!m_slots[slot].first.empty()) {
            if (m_slots[slot].first == letters)
                return m_slots[slot].second;
            slot = (slot + 1) & kMask;
        }
        return Word::Unknown;
    }

private:
    static constexpr std::size_t kSize = 1024; // well above twice the number of words
    static constexpr std::size_t kMask = kSize - 1;
    static_assert(std::size(kWords) * 2 < kSize);
    std::array<std::pair<std::string_view, Word>, kSize> m_slots{};
};

} // namespace

Word lookUpWord(std::string_view letters)
{
    static const WordTable table;
    return letters.empty() ? Word::Unknown : table.find(letters);
}

} // namespace ct::rtf
