#pragma once

#include "platform/error.h"

#include <QTextBrowser>

#include <atomic>
#include <memory>

namespace ct {

// A read-only box that shows a rich-text (RTF) document and scrolls so that
// all of it can be read. It starts with a one-line placeholder document.
//
// Tables keep the widths their file gives them while they fit; a table wider
// than the box is scaled down to the box's width, keeping its columns'
// proportions, whenever the box's width is known or changes (shown, resized,
// a new font or style).
class RichTextBox : public QTextBrowser {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);

    // The RTF bytes read into a document as the box would show it, or no
    // document and an error naming `path` and the reason.
    struct Loaded {
        std::unique_ptr<QTextDocument> document;
        Error error;
    };
    // Reading stops once `stop` is set (from another thread).
    static Loaded read(const QByteArray &bytes, const QString &path, const std::atomic_bool *stop = nullptr);
    // The same for the file at `path`.
    static Loaded readFile(const QString &path);

    // Replaces the content with the RTF file at `path` (relative names are
    // resolved against the working directory). On failure the content stays
    // as it was and the error names the file and the reason.
    Error LoadFile(const QString &path);
    // Shows a document read before; the box takes it over.
    void showDocument(std::unique_ptr<QTextDocument> document);

    // The width tables are fitted to: the width of the text in the viewport.
    double tableWidth() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitTables();
};

} // namespace ct
