#include "platform/rich_text_box.h"

#include "platform/twips.h"
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

std::unique_ptr<QTextDocument> RichTextBox::readFile(const QString &path, QString *error)
{
    auto loaded = std::make_unique<QTextDocument>();
    loaded->setDefaultFont(boxFont());
    QString reason;
    if (!rtf::readFile(path, *loaded, &reason)) {
        if (error)
            *error = reason;
        return nullptr;
    }
    return loaded;
}

bool RichTextBox::LoadFile(const QString &path, QString *error)
{
    std::unique_ptr<QTextDocument> loaded = readFile(path, error);
    if (!loaded)
        return false;
    showDocument(std::move(loaded));
    return true;
}

void RichTextBox::showDocument(std::unique_ptr<QTextDocument> shown)
{
    // Tables as wide as a printed page fit the box, even with a scroll bar beside them.
    const int scrollBar = verticalScrollBar()->sizeHint().width();
    rtf::fitTables(*shown, viewport()->width() - scrollBar - 2 * shown->documentMargin());
    // The box owns the new document; the one it replaces is deleted with it.
    shown->setParent(this);
    setDocument(shown.release());
}

} // namespace ct
