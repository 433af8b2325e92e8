#pragma once

#include "rtf/rtf_reader.h"

#include <QByteArray>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextTable>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace ct::rtf::testing {

struct ReadOutcome {
    bool ok = false;
    QString error;
    std::unique_ptr<QTextDocument> document;
};

ReadOutcome readRtf(const QByteArray &rtf);

// The bytes of a test data file, by its path below tests/rtf.
QByteArray dataFile(const QString &relativePath);
QString dataPath(const QString &relativePath);

// A document with the fonts and colours the tests use, around `body`:
//   f0 Arial (cp1252)  f1 Symbol  f2 MS Mincho (cp932)  f3 Arial Cyr (cp1251)
//   f4 Wingdings  f5 SimSun (cp936)  f6 Gulim (cp949)  f7 MingLiU (cp950)
//   f8 Greek (\cpg1253)  f9 Courier New
//   colours: 1 red, 2 blue (written without \red, as writers may leave out a 0),
//   3 empty (automatic)
QByteArray wrap(const std::string &body);

// The document's text, paragraphs joined by "\n"; line breaks stay U+2028 and
// non-breaking spaces stay U+00A0 (unlike toPlainText()).
QString textOf(const QTextDocument &document);

// The format of the first character of the first occurrence of `needle`.
QTextCharFormat charFormatOf(const QTextDocument &document, const QString &needle);
// The format of the paragraph holding the first occurrence of `needle`.
QTextBlockFormat blockFormatOf(const QTextDocument &document, const QString &needle);

// The document's top-level tables, in order.
QList<QTextTable *> tablesOf(const QTextDocument &document);
// A cell's text, paragraphs joined by "\n".
QString cellText(QTextTable *table, int row, int column);

struct ShownImage {
    QString name;
    double width = 0;
    double height = 0;
};
// The pictures the document shows, in order.
QList<ShownImage> imagesOf(const QTextDocument &document);

// The document's structure, one line per paragraph, frame, table and cell, nested
// parts indented by two spaces:
//   "text with [picture 20x10] in it"       (picture sizes in whole pixels)
//   "[frame 227 border 1]"                   (a text box: width in pixels, border)
//   "[table 2x3 columns 214,214,214]"        (rows x columns, column widths in pixels)
//   "(0,1 span 1x2) text"                    (a cell: row, column, rows x columns it covers)
QString outlineOf(const QTextDocument &document);

// A property of a character or paragraph format, found by the text it holds.
struct FormatCheck {
    const char *needle;
    int property;
    QVariant expected;
    bool paragraph = false; // a block format property rather than a character one
};
// Checks each of `checks` (with a trace naming the failing one).
void expectFormats(const QTextDocument &document, const std::vector<FormatCheck> &checks);

} // namespace ct::rtf::testing

// Readable failure messages for QString.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
