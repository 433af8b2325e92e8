#pragma once

#include "rtf/destination.h"
#include "rtf/picture.h"

namespace ct::rtf {

class ReaderContext;

// \pict: the picture's kind, size and data; the destination around it gets the
// picture when the group closes.
class PictureReader : public Destination {
public:
    explicit PictureReader(ReaderContext &context) : m_context(context) {}

    void start() override { m_picture = Picture(); }
    void word(Word word, const Token &token) override;
    void bytes(std::string_view bytes, bool escaped) override;
    void binary(std::string_view bytes) override { m_picture.addBinary(bytes); }
    void finish() override;

private:
    ReaderContext &m_context;
    Picture m_picture;
};

} // namespace ct::rtf
