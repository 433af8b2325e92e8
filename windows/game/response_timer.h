#pragma once

#include <QObject>

#include <optional>

class QAbstractButton;
class QWidget;

namespace ct {

class Clock;

// Times the participant's responses in the game window on the program's
// monotonic clock.
//
// The onset is the moment the choice buttons are shown and painted: armed by
// buttonsShown(), it is taken when the window's repaint that draws the
// buttons has been handed to the window system (or, for a paint that comes
// another way, when the buttons are painted).
//
// The response is the press of the mouse button or key on a choice button,
// timed when the press reaches the button (a mouse press that the system
// makes the second of a double click included). The event's own time stamp is not
// used: on X11 it is the X server's clock in whole milliseconds (other
// systems have their own clocks and resolutions), and mapping it onto ours
// would cost more precision than the delivery delay it saves, since nothing
// slow runs on the event loop while the buttons are up.
class ResponseTimer final : public QObject {
    Q_OBJECT
public:
    ResponseTimer(Clock &clock, QWidget *window, QAbstractButton *left, QAbstractButton *right);

    // The buttons have just been shown (or enabled): the next paint of them
    // is the onset.
    void buttonsShown();
    // The onset, in clock seconds, once the buttons have been painted (the
    // moment they were shown until then); nullopt before buttonsShown().
    std::optional<double> onset() const;
    // The press that led to the click on `clicked`: its moment in clock
    // seconds and the device, "mouse" or "keyboard"; now and "other" when no
    // press on it was seen (a click by other means).
    struct Press {
        double at = 0;
        const char *input = "other";
    };
    Press press(const QAbstractButton *clicked) const;
    // Milliseconds from the onset to that press.
    std::optional<double> responseMs(const QAbstractButton *clicked) const;

signals:
    // The buttons are on screen; `onset` is in clock seconds.
    void painted(double onset);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void stamp(double when);

    Clock &m_clock;
    QWidget *m_window;
    QAbstractButton *m_left;
    QAbstractButton *m_right;
    bool m_armed = false;     // shown, not yet painted
    bool m_inRepaint = false; // inside the window's repaint pass
    bool m_paintedInRepaint = false;
    std::optional<double> m_onset;
    const QAbstractButton *m_pressed = nullptr;
    double m_pressedAt = 0;
    const char *m_pressedBy = "other";
};

} // namespace ct
