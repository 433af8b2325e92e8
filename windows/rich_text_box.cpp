#include "windows/rich_text_box.h"

#include "platform/twips.h"
#include "platform/window_scale.h"
#include "rtf/rtf_reader.h"

#include <QEvent>
#include <QTextDocument>

#include <memory>

namespace ct {
namespace {

QFont boxFont()
{
    return designFont("MS Sans Serif", 8.5);
}

} // namespace

RichTextBox::RichTextBox(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Selectable and scrollable by keyboard, but not editable.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    document()->setDefaultFont(boxFont());
    setPlainText(QStringLiteral("RichTextBox1"));
    // At a display scaling such as 150 % the frame's line is one screen pixel
    // of the one and a half it has room for, and the text's viewport, one pixel
    // in, starts between two screen pixels: the line is drawn over on the right
    // and at the bottom, and a pixel of the window shows through beside it.
    // The viewport is moved in to whole screen pixels, and the room between
    // it and the frame has the text's background.
    const int grid = pixelGrid(devicePixelRatioF());
    if (grid > 1) {
        const int margin = grid - frameWidth();
        setViewportMargins(margin, margin, margin, margin);
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
    }
}

RichTextBox::Loaded RichTextBox::read(const QByteArray &bytes, const QString &path, const std::atomic_bool *stop)
{
    Loaded loaded{std::make_unique<QTextDocument>(), {}};
    loaded.document->setDefaultFont(boxFont());
    loaded.error = rtf::readFileContent(bytes, path, *loaded.document, stop);
    if (!loaded.error.empty())
        loaded.document.reset();
    return loaded;
}

RichTextBox::Loaded RichTextBox::readFile(const QString &path)
{
    Loaded loaded{std::make_unique<QTextDocument>(), {}};
    loaded.document->setDefaultFont(boxFont());
    loaded.error = rtf::readFile(path, *loaded.document);
    if (!loaded.error.empty())
        loaded.document.reset();
    return loaded;
}

Error RichTextBox::LoadFile(const QString &path)
{
    Loaded loaded = readFile(path);
    if (loaded.document)
        showDocument(std::move(loaded.document));
    return loaded.error;
}

void RichTextBox::showDocument(std::unique_ptr<QTextDocument> shown)
{
    // In a window scaled down to fit the screen the text is scaled with it.
    scaleDocument(*shown, windowScale(this));
    // The box owns the new document; the one it replaces is deleted with it.
    shown->setParent(this);
    setDocument(shown.release());
    fitTables();
}

double RichTextBox::tableWidth() const
{
    // Before the box is first shown its viewport has not been laid out yet:
    // the box's own width stands in until it is (a resize follows).
    const int width = viewport()->isVisible() ? viewport()->width() : contentsRect().width();
    return width - 2 * document()->documentMargin();
}

void RichTextBox::fitTables()
{
    rtf::fitTables(*document(), tableWidth(), windowScale(this));
}

// Called for the viewport's resizes too: a scroll bar coming or going.
void RichTextBox::resizeEvent(QResizeEvent *event)
{
    QTextBrowser::resizeEvent(event);
    fitTables();
}

void RichTextBox::changeEvent(QEvent *event)
{
    QTextBrowser::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitTables();
}

} // namespace ct
