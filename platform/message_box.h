#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ct {

// Modal message boxes behind one door, so that window tests can answer them
// without a modal loop. Their texts are plain text, never markup.
class MessageBox {
public:
    enum class Icon { Stop, Warning, Question };
    enum class Answer { Ok, Yes, No };
    struct Request {
        Icon icon;
        QString title;
        QString text;
        bool yesNo; // Yes and No buttons; otherwise a single OK
    };
    using Hook = std::function<Answer(const Request &)>;

    // A box with a single OK button.
    static void stop(QWidget *parent, const QString &title, const QString &text);
    static void warning(QWidget *parent, const QString &title, const QString &text);
    // A question with Yes and No, No being the default; true for Yes.
    static bool confirm(QWidget *parent, const QString &title, const QString &text);

    // While a hook is set, boxes are not shown: the hook answers them.
    static void setHook(Hook hook);

private:
    static Answer show(QWidget *parent, const Request &request);
};

} // namespace ct
