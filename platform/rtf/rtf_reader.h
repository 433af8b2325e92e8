#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace ct::rtf {

// Reads RTF bytes into `document` (its previous content is replaced). Returns true on
// success; on failure returns false, leaves a clear one-line reason in *error (if given),
// e.g. "not an RTF file" or "unexpected end of file at byte 1234", and the document empty.
bool read(const QByteArray &bytes, QTextDocument &document, QString *error = nullptr);

// Reads the file at `path`; errors name the file ("... could not be opened: <reason>").
// Files above kMaxFileBytes are refused.
bool readFile(const QString &path, QTextDocument &document, QString *error = nullptr);

inline constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;

} // namespace ct::rtf
