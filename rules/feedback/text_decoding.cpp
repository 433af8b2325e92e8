#include "rules/feedback/text_decoding.h"

#include "platform/cp1252.h"

#include <QStringDecoder>

namespace ct {

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text.append(QChar(cp1252ToUnicode(static_cast<unsigned char>(c))));
    return text;
}

QString decodeUtf8OrWindows1252(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

} // namespace ct
