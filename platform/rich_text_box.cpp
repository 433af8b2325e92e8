#include "platform/rich_text_box.h"

#include "platform/twips.h"
#include "platform/window_scale.h"
#include "rtf/rtf_reader.h"

#include <QFileInfo>
#include <QScrollBar>
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
    // Tables as wide as a printed page fit the box, even with a scroll bar beside them.
    const int scrollBar = verticalScrollBar()->sizeHint().width();
    rtf::fitTables(*shown, viewport()->width() - scrollBar - 2 * shown->documentMargin());
    // The box owns the new document; the one it replaces is deleted with it.
    shown->setParent(this);
    setDocument(shown.release());
}

} // namespace ct
