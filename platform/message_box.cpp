#include "platform/message_box.h"

#include <QMessageBox>

namespace ct {
namespace {

MessageBox::Hook &hook()
{
    static MessageBox::Hook instance;
    return instance;
}

} // namespace

void MessageBox::setHook(Hook newHook)
{
    hook() = std::move(newHook);
}

MessageBox::Answer MessageBox::show(QWidget *parent, const Request &request)
{
    if (hook())
        return hook()(request);
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    // Messages quote typed IDs, lines of files, file names and system errors:
    // they are shown as written, never read as markup (which could load
    // pictures from any path).
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    switch (request.icon) {
    case Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (request.yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

void MessageBox::stop(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, {Icon::Stop, title, text, false});
}

void MessageBox::warning(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, {Icon::Warning, title, text, false});
}

bool MessageBox::confirm(QWidget *parent, const QString &title, const QString &text)
{
    return show(parent, {Icon::Question, title, text, true}) == Answer::Yes;
}

} // namespace ct
