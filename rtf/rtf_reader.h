#pragma once

#include "platform/error.h"

#include <QByteArray>
#include <QString>

#include <atomic>

class QTextDocument;

// The program's own RTF reader, for the instruction files lab staff write in Word,
// WordPad or LibreOffice. It shows what a word processor shows: character and
// paragraph formats in the file's direction (\rtlpar, and \ab \ai \afs for
// right-to-left letters), lists (the writer's marker text, or one made from the list
// when there is none, never both), tables (and tables in their cells), PNG and JPEG
// pictures, fields by their result, footnotes and endnotes after the text under a
// rule; document information, styles, headers, footers and unknown \* destinations
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
// Reading stops with the error "stopped" once `stop` is set (from another thread).
Error read(const QByteArray &bytes, QTextDocument &document, const std::atomic_bool *stop = nullptr);

// The bytes of the file at `path`; errors name the file ("... could not be opened:
// <reason>"). Files above kMaxFileBytes are refused before they are read.
Error readFileBytes(const QString &path, QByteArray &bytes);
// Reads `bytes`, the content of the file at `path`; errors name the file.
Error readFileContent(const QByteArray &bytes, const QString &path, QTextDocument &document,
                      const std::atomic_bool *stop = nullptr);
// Both of the above.
Error readFile(const QString &path, QTextDocument &document);

// Fits the tables of `document` to a text `width` pixels wide. A table keeps the
// column widths its file gives while they fit; one wider than `width` is scaled
// down to it, keeping its columns' proportions, as word processors do in web
// layout: writers make tables as wide as a printed page, wider than a window.
// Called again with another width, the fit starts from the file's widths again,
// times `scale` for a document shown scaled. Tables sized in percent of the width
// follow it without this.
void fitTables(QTextDocument &document, double width, double scale = 1.0);

inline constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;

} // namespace ct::rtf
