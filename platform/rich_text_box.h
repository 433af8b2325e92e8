#pragma once

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
    // as it was and `error` names the file and the reason.
    bool LoadFile(const QString &path, QString *error);

    // Reads the RTF file at `path` into a document as the box would show it,
    // or nothing, with `error` naming the file and the reason.
    static std::unique_ptr<QTextDocument> readFile(const QString &path, QString *error);
    // Shows a document read before; the box takes it over.
    void showDocument(std::unique_ptr<QTextDocument> document);
};

} // namespace ct
