#pragma once

#include "platform/error.h"

#include <QTextBrowser>

#include <memory>

namespace ct {

// A read-only box that shows a rich-text (RTF) document and scrolls so that
// all of it can be read. It starts with a one-line placeholder document.
class RichTextBox : public QTextBrowser {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);

    // Replaces the content with the RTF file at `path` (relative names are
    // resolved against the working directory). On failure the content stays
    // as it was and the error names the file and the reason.
    Error LoadFile(const QString &path);

    // The RTF file at `path` read into a document as the box would show it,
    // or no document and an error naming the file and the reason.
    struct Loaded {
        std::unique_ptr<QTextDocument> document;
        Error error;
    };
    static Loaded readFile(const QString &path);
    // Shows a document read before; the box takes it over.
    void showDocument(std::unique_ptr<QTextDocument> document);
};

} // namespace ct
