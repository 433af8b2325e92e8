#pragma once

#include "rtf/destination.h"

namespace ct::rtf {

class ReaderContext;

// \colortbl: entries of \red, \green and \blue, each ending at ';'.
class ColorTableReader : public Destination {
public:
    explicit ColorTableReader(ReaderContext &context) : m_context(context) {}

    void start() override;
    void word(Word word, const Token &token) override;
    void bytes(std::string_view bytes, bool escaped) override;

private:
    void commit();

    ReaderContext &m_context;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;
};

} // namespace ct::rtf
