#pragma once

#include <QObject>

class QWidget;

namespace ct {

// Tells a window when it becomes the program's active window coming from
// another window of this program. Focus that comes back from another
// application does not count, nor does focus that comes back from a message
// box or dialog: only the program's own top-level windows take turns.
class ActivationWatch : public QObject {
    Q_OBJECT
public:
    // Watches `window`; the watch belongs to it. Whatever window of the
    // program is active now counts as the one the focus comes from.
    explicit ActivationWatch(QWidget *window);

    // From now on `window` counts as the program's active window, whether or
    // not the window system has activated it yet (its first showing).
    void markActive();

signals:
    void activatedFromProgramWindow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    // The program window that was active last; compared, never used. Null
    // until some program window has been active.
    const QObject *m_lastActive = nullptr;
};

} // namespace ct
