#include "platform/rich_text_box.h"

#include "rtf/rtf_reader.h"
#include "platform/twips.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextDocument>

#include <memory>

namespace ct {

RichTextBox::RichTextBox(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Selectable and scrollable by keyboard, but not editable.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    document()->setDefaultFont(designFont("MS Sans Serif", 8.5));
    setPlainText(QStringLiteral("RichTextBox1"));
}

bool RichTextBox::LoadFile(const QString &path, QString *error)
{
    auto loaded = std::make_unique<QTextDocument>();
    loaded->setDefaultFont(document()->defaultFont());
    QString reason;
    if (!rtf::readFile(path, *loaded, &reason)) {
        if (error)
            *error = reason;
        return false;
    }
    // Tables as wide as a printed page fit the box, even with a scroll bar beside them.
    const int scrollBar = verticalScrollBar()->sizeHint().width();
    rtf::fitTables(*loaded, viewport()->width() - scrollBar - 2 * loaded->documentMargin());
    // The box owns the new document; the one it replaces is deleted with it.
    loaded->setParent(this);
    setDocument(loaded.release());
    return true;
}

} // namespace ct
