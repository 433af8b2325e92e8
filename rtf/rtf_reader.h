#pragma once

#include "platform/error.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

// The program's own RTF reader, for the instruction files lab staff write in Word,
// WordPad or LibreOffice. It shows what a word processor shows: character and
// paragraph formats, lists (the writer's marker text, or one made from the list when
// there is none, never both), tables, PNG and JPEG pictures, fields by their result;
// document information, styles, headers, footers, notes and unknown \* destinations
// are skipped.
//
// A file is refused when it is empty or does not start with {\rtf, when its groups
// nest deeper than 1024, or when it ends inside a font, colour or list table, a
// picture or another hidden part (it was cut short before its text). Everything else
// is read as Word reads it: a missing final }, stray } and text after the end, bad
// escapes, oversized numbers and \bin lengths, lone surrogates and undeclared fonts
// or colours are tolerated.
//
// Lengths in twips become pixels at 96 logical dpi (15 twips to the pixel), the
// resolution the program lays its windows out at.

namespace ct::rtf {

// Reads RTF bytes into `document` (its previous content is replaced). Returns no error on
// success; on failure a clear one-line reason, e.g. "not an RTF file" or "unexpected end
// of file at byte 1234", and leaves the document empty.
Error read(const QByteArray &bytes, QTextDocument &document);

// Reads the file at `path`; errors name the file ("... could not be opened: <reason>").
// Files above kMaxFileBytes are refused before they are read.
Error readFile(const QString &path, QTextDocument &document);

// Scales each table of `document` that is wider than `width` pixels down to that
// width, keeping its columns' proportions, as word processors do in web layout:
// writers make tables as wide as a printed page, wider than a window.
void fitTables(QTextDocument &document, double width);

inline constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;

} // namespace ct::rtf
