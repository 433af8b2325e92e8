#include "platform/controls.h"

#include "platform/accessible_controls.h"
#include "platform/window_scale.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace ct {

PictureBox::PictureBox(const QPixmap &picture, bool stretch, QWidget *parent)
    : QWidget(parent), m_picture(picture), m_stretch(stretch)
{
    installAccessibleControls();
    setAttribute(Qt::WA_TranslucentBackground);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double scale = windowScale(this);
    if (m_stretch)
        painter.drawPixmap(rect(), m_picture);
    else if (scale == 1.0)
        painter.drawPixmap(0, 0, m_picture);
    else // at its own size, scaled with its window
        painter.drawPixmap(QRectF(0, 0, m_picture.width() * scale, m_picture.height() * scale), m_picture,
                           QRectF(m_picture.rect()));
}

ShapeBox::ShapeBox(const QColor &fill, QWidget *parent) : QWidget(parent), m_fill(fill)
{
    installAccessibleControls();
}

void ShapeBox::setFillColor(const QColor &fill)
{
    m_fill = fill;
    update();
}

void ShapeBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

FrameBox::FrameBox(const QString &caption, QWidget *parent) : QGroupBox(caption, parent) {}

void FrameBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    // An etched rectangle whose top runs through the middle of the caption.
    const QRect box = rect().adjusted(0, metrics.height() / 2, -2, -2);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));
    if (title().isEmpty())
        return;
    const QRect caption(6, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(caption, palette().color(backgroundRole()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

BoxLabel::BoxLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setContentsMargins(1, 1, 1, 1);
}

void BoxLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QApplication::palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

LineBox::LineBox(QWidget *parent) : QWidget(parent)
{
    installAccessibleControls();
}

ValueLabel::ValueLabel(const QString &accessibleName, QWidget *parent) : BoxLabel(QString(), parent)
{
    installAccessibleControls();
    setAccessibleName(accessibleName);
}

void ValueLabel::setText(const QString &text)
{
    if (text == QLabel::text())
        return;
    QLabel::setText(text);
    // Windows reads a changed value from the value event, AT-SPI from the
    // description event; both carry the text just shown.
    QAccessibleValueChangeEvent valueChanged(this, text);
    QAccessible::updateAccessibility(&valueChanged);
    QAccessibleEvent descriptionChanged(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&descriptionChanged);
}

void LineBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

namespace {

// Gives a built control its design name and its place in twips.
template <typename Control> Control *placed(Control *control, const char *name, const TwipsRect &rect)
{
    control->setObjectName(QString::fromLatin1(name));
    setTwipsGeometry(control, rect);
    return control;
}

template <typename Label>
Label *styled(Label *label, const char *name, const TwipsRect &rect, const QFont &font, const LabelStyle &style)
{
    label->setFont(font);
    // Labels show texts from outside too (the currency text of the settings
    // file): plain text, never markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(style.alignment | Qt::AlignTop);
    QPalette palette = label->palette();
    if (style.background.isValid()) {
        label->setAutoFillBackground(true);
        palette.setColor(QPalette::Window, style.background);
    }
    if (style.text.isValid())
        palette.setColor(QPalette::WindowText, style.text);
    label->setPalette(palette);
    return placed(label, name, rect);
}

} // namespace

QLabel *addLabel(QWidget *parent, const char *name, const QString &caption, const TwipsRect &rect, const QFont &font,
                 const LabelStyle &style)
{
    QLabel *label = style.border ? new BoxLabel(caption, parent) : new QLabel(caption, parent);
    return styled(label, name, rect, font, style);
}

ValueLabel *addValueLabel(QWidget *parent, const char *name, const QString &accessibleName, const TwipsRect &rect,
                          const QFont &font, const LabelStyle &style)
{
    return styled(new ValueLabel(accessibleName, parent), name, rect, font, style);
}

QPushButton *addButton(QWidget *parent, const char *name, const QString &caption, const TwipsRect &rect,
                       const QFont &font)
{
    auto *button = new QPushButton(caption, parent);
    button->setFont(font);
    // Enter and Space both press the button that has the focus.
    button->setAutoDefault(true);
    return placed(button, name, rect);
}

QGroupBox *addFrame(QWidget *parent, const char *name, const QString &caption, const TwipsRect &rect, const QFont &font)
{
    auto *frame = new FrameBox(caption, parent);
    frame->setFont(font);
    frame->setFocusPolicy(Qt::NoFocus);
    return placed(frame, name, rect);
}

PictureBox *addPicture(QWidget *parent, const char *name, const QString &accessibleName, const QString &resource,
                       const TwipsRect &rect, bool stretch)
{
    auto *picture = new PictureBox(QPixmap(resource), stretch, parent);
    picture->setAccessibleName(accessibleName);
    return placed(picture, name, rect);
}

ShapeBox *addShape(QWidget *parent, const char *name, const QString &accessibleName, const TwipsRect &rect,
                   const QColor &fill)
{
    auto *shape = new ShapeBox(fill, parent);
    shape->setAccessibleName(accessibleName);
    return placed(shape, name, rect);
}

LineBox *addLine(QWidget *parent, const char *name, const QString &accessibleName, int x1, int y1, int x2, int y2)
{
    auto *line = new LineBox(parent);
    line->setAccessibleName(accessibleName);
    // One pixel thick along the line's direction.
    const float thickness = static_cast<float>(kTwipsPerPixel);
    const float left = static_cast<float>(std::min(x1, x2));
    const float top = static_cast<float>(std::min(y1, y2));
    const float width = x1 == x2 ? thickness : static_cast<float>(std::abs(x2 - x1)) + thickness;
    const float height = y1 == y2 ? thickness : static_cast<float>(std::abs(y2 - y1)) + thickness;
    return placed(line, name, {left, top, width, height});
}

void stackFrontToBack(std::initializer_list<QWidget *> controls)
{
    // Raising from the back to the front leaves the first one on top.
    for (auto it = std::rbegin(controls); it != std::rend(controls); ++it)
        (*it)->raise();
}

void chainTabOrder(std::initializer_list<QWidget *> controls)
{
    QWidget *previous = nullptr;
    for (QWidget *control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void setUpWindow(QWidget *window, const QString &caption, int widthTwips, int heightTwips, const QFont &font,
                 QPalette::ColorRole background)
{
    window->setWindowTitle(caption);
    window->setFont(font);
    setClientAreaTwips(window, widthTwips, heightTwips);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, palette.color(background));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace ct
