#pragma once

#include "platform/twips.h"

#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include <initializer_list>

class QFont;
class QPushButton;

namespace ct {

// A picture control: shows a picture stretched to the control or at its own
// size, with the container showing through its transparent parts.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QPixmap &picture, bool stretch, QWidget *parent);
    const QPixmap &picture() const { return m_picture; }
    bool stretches() const { return m_stretch; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    bool m_stretch;
};

// A filled rectangle with a 1-pixel border in the window-text colour.
class ShapeBox : public QWidget {
    Q_OBJECT
public:
    ShapeBox(const QColor &fill, QWidget *parent);
    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor &fill);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
};

// A frame around a group of controls, with its caption set into the top
// border line (not above it, as some styles draw it).
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    FrameBox(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A straight horizontal or vertical line, 1 pixel wide, in the window-text
// colour.
class LineBox : public QWidget {
    Q_OBJECT
public:
    explicit LineBox(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A label with a single-line border that keeps the window-text colour of the
// desktop scheme whatever colour its text is given.
class BoxLabel : public QLabel {
    Q_OBJECT
public:
    BoxLabel(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A bordered label that shows a value which changes as the program runs, such
// as a points total. Its accessible name says what the value stands for and
// stays the same; the text shown is its accessible value and description.
class ValueLabel : public BoxLabel {
    Q_OBJECT
public:
    ValueLabel(const QString &accessibleName, QWidget *parent);

    // Shows `text` and tells assistive technology that the value changed.
    // QLabel::setText is not virtual: set values through a ValueLabel pointer
    // for the change to be announced (what is read stays right either way).
    void setText(const QString &text);
};

// How a label looks. An invalid background colour means transparent.
struct LabelStyle {
    QColor background;
    QColor text;
    bool border = false;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// Builders for the controls of the designed windows. Every control gets its
// design name as objectName and its twips rectangle. Controls with a caption
// are named by it for assistive technology; those without one take an
// accessible name that says what they stand for. Labels show plain text.
QLabel *addLabel(QWidget *parent, const char *name, const QString &caption, const TwipsRect &rect, const QFont &font,
                 const LabelStyle &style);
// A value label, always with the single-line border, starting empty.
ValueLabel *addValueLabel(QWidget *parent, const char *name, const QString &accessibleName, const TwipsRect &rect,
                          const QFont &font, const LabelStyle &style);
QPushButton *addButton(QWidget *parent, const char *name, const QString &caption, const TwipsRect &rect,
                       const QFont &font);
QGroupBox *addFrame(QWidget *parent, const char *name, const QString &caption, const TwipsRect &rect,
                    const QFont &font);
PictureBox *addPicture(QWidget *parent, const char *name, const QString &accessibleName, const QString &resource,
                       const TwipsRect &rect, bool stretch);
ShapeBox *addShape(QWidget *parent, const char *name, const QString &accessibleName, const TwipsRect &rect,
                   const QColor &fill);
LineBox *addLine(QWidget *parent, const char *name, const QString &accessibleName, int x1, int y1, int x2, int y2);

// Stacks siblings so that the first is in front and the last at the back.
void stackFrontToBack(std::initializer_list<QWidget *> controls);

// Chains the keyboard focus through the controls in the order given.
void chainTabOrder(std::initializer_list<QWidget *> controls);

// Sets a window's caption, client area, font and background, ready to be
// centred on the screen when first shown.
void setUpWindow(QWidget *window, const QString &caption, int widthTwips, int heightTwips, const QFont &font,
                 QPalette::ColorRole background);

// Moves a window so that it is centred on its screen.
void centreOnScreen(QWidget *window);

} // namespace ct
