#pragma once

#include <string_view>

namespace ct::rtf {

// The control words this reader acts on. Every other word is ignored, and every
// other destination marked with \* is skipped whole.
enum class Word {
    Unknown,
    // Document
    Rtf, Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, UnicodeSkip, Unicode, UnicodePair, UnicodeText,
    // Destinations whose content is read
    FontTable, ColorTable, FontAltName, FieldResult, ShapePicture, ListText, Picture,
    // Destinations skipped whole
    SkippedDestination,
    // Font table entries
    Font, FontCharset, FontCodePage,
    // Colour table entries
    Red, Green, Blue,
    // Character formatting
    Plain, Bold, Italic, Underline, UnderlineDouble, UnderlineNone, Strike, StrikeDouble, Superscript,
    Subscript, NoSuperSub, Raise, Lower, Expand, ExpandTwips, UnderlineDotted, UnderlineDashed, FontSize, Foreground, Background, Highlight, Hidden, Caps, SmallCaps,
    // Paragraph formatting
    Pard, AlignLeft, AlignRight, AlignCenter, AlignJustify, LeftIndent, RightIndent, FirstIndent,
    SpaceBefore, SpaceAfter, LineSpacing, LineMultiple, TabStop, TabBar, TabRight, TabCenter, TabDecimal,
    TabLeaderDots, TabLeaderHyphens, TabLeaderLine, DefaultTab,
    InTable, TableDepth, ListOverride, ListLevelIndex,
    // Lists
    ListTable, List, ListLevel, LevelNumberFormat, LevelStart, LevelText, LevelFollow, ListId,
    ListOverrideTable, ListOverrideEntry, Numbering, NumberingBullet, NumberingBody, NumberingContinue,
    NumberingDecimal, NumberingUpperLetter, NumberingLowerLetter, NumberingUpperRoman, NumberingLowerRoman,
    NumberingStart, NumberingFont, NumberingTextBefore, NumberingTextAfter,
    // Breaks and tables
    Par, Line, Tab, Cell, Row, NestedCell, NestedRow, RowDefaults, CellRight, Section, Page,
    RowLeft, CellMergeFirst, CellMerge, CellVerticalMergeFirst, CellVerticalMerge, CellShading,
    CellBorderTop, CellBorderLeft, CellBorderBottom, CellBorderRight, // in Side order
    RowBorderTop, RowBorderLeft, RowBorderBottom, RowBorderRight, RowBorderHorizontal, RowBorderVertical,
    // Borders and shading
    BorderSingle, BorderDouble, BorderDotted, BorderDashed, BorderNone, // in Border::Style order, None last
    BorderWidth, BorderColor, ParagraphBorderTop, ParagraphBorderLeft, ParagraphBorderBottom, ParagraphBorderRight,
    ParagraphBox, ParagraphShading, CharacterShading,
    // Special characters
    EmDash, EnDash, EmSpace, EnSpace, QuarterEmSpace, Bullet, LeftQuote, RightQuote, LeftDoubleQuote,
    RightDoubleQuote, ZeroWidthJoiner, ZeroWidthNonJoiner, ZeroWidthBreak, LeftToRightMark, RightToLeftMark,
    // Pictures
    PngBlip, JpegBlip, OtherBlip, PictureGoalWidth, PictureGoalHeight,
    PictureScaleX, PictureScaleY, PictureWidth, PictureHeight,
    // Shapes
    Shape, ShapeInstance, ShapeLeft, ShapeTop, ShapeRight, ShapeBottom, ShapePropertyName, ShapePropertyValue,
    ShapeText, ShapeResult,
};

Word lookUpWord(std::string_view letters);

} // namespace ct::rtf
