#include "rtf_test_support.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>

namespace ct::rtf::testing {

ReadOutcome readRtf(const QByteArray &rtf)
{
    ReadOutcome outcome;
    outcome.document = std::make_unique<QTextDocument>();
    outcome.ok = read(rtf, *outcome.document, &outcome.error);
    return outcome;
}

QString dataPath(const QString &relativePath)
{
    return QStringLiteral(CT_RTF_TEST_DATA "/") + relativePath;
}

QByteArray dataFile(const QString &relativePath)
{
    QFile file(dataPath(relativePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray wrap(const std::string &body)
{
    static const std::string header =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset128 MS Mincho;}{\\f3\\fnil\\fcharset204 Arial Cyr;}"
        "{\\f4\\fnil\\fcharset2 Wingdings;}{\\f5\\fnil\\fcharset134 SimSun;}{\\f6\\fnil\\fcharset129 Gulim;}"
        "{\\f7\\fnil\\fcharset136 MingLiU;}{\\f8\\fnil\\cpg1253 Greek;}{\\f9\\fmodern\\fcharset0 Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;;}\n";
    const std::string document = header + body + "}";
    return QByteArray(document.data(), static_cast<qsizetype>(document.size()));
}

QString textOf(const QTextDocument &document)
{
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

QTextCharFormat charFormatOf(const QTextDocument &document, const QString &needle)
{
    const QTextCursor found = document.find(needle);
    if (found.isNull())
        return {};
    QTextCursor cursor(found);
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

QTextBlockFormat blockFormatOf(const QTextDocument &document, const QString &needle)
{
    const QTextCursor found = document.find(needle);
    if (found.isNull())
        return {};
    return found.block().blockFormat();
}

} // namespace ct::rtf::testing
