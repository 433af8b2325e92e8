#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace ct::rtf {

// Reads RTF bytes into `document` (its previous content is replaced).
bool read(const QByteArray &bytes, QTextDocument &document, QString *error = nullptr);
// Reads the RTF file at `path`; errors name the file.
bool readFile(const QString &path, QTextDocument &document, QString *error = nullptr);

} // namespace ct::rtf
