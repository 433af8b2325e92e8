#pragma once

#include "rtf/destination.h"

#include <QByteArray>
#include <QString>

namespace ct::rtf {

class ReaderContext;

// A font's alternative name, \*\falt, inside a font-table entry.
class FontAltNameReader : public Destination {
public:
    explicit FontAltNameReader(ReaderContext &context) : m_context(context) {}
    void readFor(int font) { m_font = font; }

    void start() override { m_bytes.clear(); }
    void bytes(std::string_view bytes, bool escaped) override;
    void finish() override;

private:
    ReaderContext &m_context;
    int m_font = 0;
    QByteArray m_bytes;
};

// \fonttbl: entries of a number, a charset or code page and a name ending at ';',
// with or without braces around each.
class FontTableReader : public Destination {
public:
    explicit FontTableReader(ReaderContext &context) : m_context(context), m_altName(context) {}

    void start() override;
    void word(Word word, const Token &token) override;
    void bytes(std::string_view bytes, bool escaped) override;
    void unicode(char32_t character) override;
    void symbol(char symbol) override;
    void groupEnd() override;

private:
    void commitName();
    // The name's bytes so far, decoded in the entry's code page.
    void decodePending();

    ReaderContext &m_context;
    FontAltNameReader m_altName;
    int m_font = 0;
    QString m_name;
    QByteArray m_nameBytes;
};

} // namespace ct::rtf
