// Code pages through Qt's converters, which know them when Qt is built with
// ICU (Debian's Qt is).
#include "rtf/code_pages_system.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

namespace ct::rtf::system_code_pages {
namespace {

QByteArray qtNameOf(int codePage)
{
    if (codePage == 874)
        return "windows-874";
    if (codePage >= 1250 && codePage <= 1258)
        return "windows-" + QByteArray::number(codePage);
    switch (codePage) {
    case 10000:
        return "macintosh";
    case 10007:
        return "x-mac-cyrillic";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    default:
        return "cp" + QByteArray::number(codePage);
    }
}

} // namespace

bool converts(int codePage)
{
    return QStringDecoder(qtNameOf(codePage).constData(), QStringDecoder::Flag::Stateless).isValid();
}

char32_t decodeOne(int codePage, QByteArrayView bytes)
{
    // A fresh converter each time: an ICU-backed one does not always recover
    // from an invalid byte.
    QStringDecoder decoder(qtNameOf(codePage).constData(), QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return 0xFFFD;
    if (text.size() == 1 && !text.at(0).isSurrogate())
        return text.at(0).unicode();
    if (text.size() == 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate())
        return QChar::surrogateToUcs4(text.at(0), text.at(1));
    return 0xFFFD;
}

} // namespace ct::rtf::system_code_pages
