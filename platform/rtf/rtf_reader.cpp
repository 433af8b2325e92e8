// Interim reader until the full one lands: plain text only.
#include "platform/rtf/rtf_reader.h"

#include <QFile>
#include <QTextDocument>

namespace ct::rtf {

bool read(const QByteArray &bytes, QTextDocument &document, QString *error)
{
    if (!bytes.startsWith("{\\rtf")) {
        if (error)
            *error = QStringLiteral("not an RTF file");
        return false;
    }
    QString text;
    int depth = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            --depth;
        } else if (c == '\\') {
            qsizetype j = i + 1;
            while (j < bytes.size() && std::isalpha(static_cast<unsigned char>(bytes[j])))
                ++j;
            const QByteArray word = bytes.mid(i + 1, j - i - 1);
            if (word == "par")
                text += QLatin1Char('\n');
            while (j < bytes.size() && (std::isdigit(static_cast<unsigned char>(bytes[j])) || bytes[j] == '-'))
                ++j;
            if (j < bytes.size() && bytes[j] == ' ')
                ++j;
            i = j - 1;
        } else if (c != '\r' && c != '\n' && depth == 1) {
            text += QLatin1Char(c);
        }
    }
    document.setPlainText(text);
    return true;
}

bool readFile(const QString &path, QTextDocument &document, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("\"%1\" could not be opened: %2").arg(path, file.errorString());
        return false;
    }
    if (!read(file.readAll(), document, error)) {
        if (error)
            *error = QStringLiteral("\"%1\": %2").arg(path, *error);
        return false;
    }
    return true;
}

} // namespace ct::rtf
