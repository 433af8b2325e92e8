// The game window's controls as designed: positions and sizes in twips
// relative to their container, fonts, colours, stacking and tab order, and the
// names that screen readers give the controls without a caption.
#include "windows/game/frmTesting2.h"

#include "assets/pictures.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "rules/game/trial_display.h"
#include "windows/window_flow.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <vector>

namespace ct {

void frmTesting2::BuildLayout()
{
    // Controls without a font of their own use the window's, also inside a
    // frame, whose caption font they do not take.
    const QFont windowFont = designFont("MS Sans Serif", 24);
    setUpWindow(this, tr("Game"), 9885, 6600, windowFont, QPalette::Button);

    const QFont sans12 = designFont("MS Sans Serif", 12);
    const QFont sans13 = designFont("MS Sans Serif", 13.5);
    const QColor buttonFace = palette().color(QPalette::Button);
    const QColor buttonText = palette().color(QPalette::ButtonText);
    const LabelStyle valueStyle{QColor(255, 255, 255), buttonText, true, Qt::AlignHCenter};
    const QString choiceTip = tr("Click left or right");

    Frame6 = addFrame(this, "Frame6", tr("Game Units Lost on last trial"), {6600, 3360, 3255, 1455}, sans12);
    lblgametimelost = addValueLabel(Frame6, "lblgametimelost", tr("Game units lost on last trial"),
                                    {360, 480, 2535, 735}, windowFont, valueStyle);
    Frame1 = addFrame(this, "Frame1", tr("Game Units Remaining"), {6600, 1920, 3255, 1455}, sans12);
    lblgametime = addValueLabel(Frame1, "lblgametime", tr("Game units remaining"), {360, 480, 2535, 735}, windowFont,
                                valueStyle);

    Timer1 = m_context.clock.createTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    Timer1->start(); // enabled when created; Form_Load stops it until "Go"

    Frame2 = addFrame(this, "Frame2", tr("Last choice"), {4320, 1920, 1335, 975}, designFont("MS Sans Serif", 9.75));
    txtChoice = addValueLabel(Frame2, "txtChoice", tr("Last choice"), {240, 360, 855, 375}, sans12, valueStyle);
    Frame5 = addFrame(this, "Frame5", tr("Total Points"), {0, 1920, 3255, 1455}, sans12);
    txtWins = addValueLabel(Frame5, "txtWins", tr("Total points"), {360, 480, 2535, 735}, windowFont, valueStyle);
    Frame4 = addFrame(this, "Frame4", tr("Points on last trial"), {0, 3360, 3255, 1455}, sans12);
    txtPayoff = addValueLabel(Frame4, "txtPayoff", tr("Points on last trial"), {360, 480, 2535, 735}, windowFont,
                              valueStyle);

    Command1 = addButton(this, "Command1", QStringLiteral("Command1"), {0, 0, 120, 135},
                         designFont("MS Sans Serif", 8.25));
    // A stop in the tab order that does nothing; a screen reader says so.
    Command1->setAccessibleDescription(tr("Does nothing"));
    cmdRight = addButton(this, "cmdRight", QStringLiteral("B"), {5280, 5160, 2295, 615}, sans13);
    cmdRight->setToolTip(choiceTip);
    cmdLeft = addButton(this, "cmdLeft", QStringLiteral("A"), {2280, 5160, 2295, 615}, sans13);
    cmdLeft->setToolTip(choiceTip);
    Frame3 = addFrame(this, "Frame3", QString(), {1995, 4680, 5895, 1335}, windowFont);
    Frame3->setAccessibleName(tr("Start game"));
    cmdGo = addButton(Frame3, "cmdGo", tr("Go"), {2640, 480, 615, 615}, designFont("System", 9.75, true));

    const QString dot = QString::fromLatin1(pictures::kDot);
    for (int i = 0; i < board::kDots; ++i) {
        const QByteArray name = "Image3_" + QByteArray::number(i);
        Image3.at(static_cast<std::size_t>(i)) = addPicture(
            this, name.constData(), tr("Dot %1").arg(i + 1), dot,
            {board::dotLeft(i), board::kDotTop, board::kDotSize, board::kDotSize}, true);
    }
    const TwipsRect mover{board::kMoverLeft, board::kMoverTop, board::kMoverWidth, board::kMoverHeight};
    // The two mover pictures take turns on screen: one name, whichever shows.
    Image2 = addPicture(this, "Image2", tr("Mover"), QString::fromLatin1(pictures::kMoverOpen), mover, true);
    Image2->setAccessibleDescription(tr("Mouth open"));
    Image1 = addPicture(this, "Image1", tr("Mover"), QString::fromLatin1(pictures::kMoverClosed), mover, true);
    Image1->setAccessibleDescription(tr("Mouth closed"));
    TrialsShape = addShape(this, "TrialsShape", tr("Game units remaining bar"),
                           {board::kBarLeft, board::kBarTop, board::kBarWidth, board::kBarHeight}, QColor(0, 192, 0));

    Label2 = addLabel(this, "Label2", tr("Game Units Remaining"), {120, 960, 2175, 735}, sans13,
                      {buttonFace, buttonText, false, Qt::AlignRight});
    Label1 = addLabel(this, "Label1", tr("Points"), {1440, 240, 855, 375}, sans13,
                      {buttonFace, buttonText, false, Qt::AlignLeft});
    lblChoose = addLabel(this, "lblChoose", tr("CHOOSE"), {3855, 4080, 2175, 495}, sans13,
                         {QColor(255, 128, 0), buttonText, true, Qt::AlignHCenter});

    // Front to back. Buttons and frames stand in front of the labels,
    // pictures and shapes whatever their place among them.
    std::vector<QWidget *> order = {Frame6, Frame1, Frame2, Frame5, Frame4, Command1, cmdRight, cmdLeft, Frame3};
    for (int i = board::kDots - 1; i >= 0; --i)
        order.push_back(Image3.at(static_cast<std::size_t>(i)));
    order.insert(order.end(), {Image2, Image1, TrialsShape, Label2, Label1, lblChoose});
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        (*it)->raise();

    chainTabOrder({cmdLeft, cmdRight, Command1, cmdGo});
}

void frmTesting2::PlaceFocus()
{
    // The first control of the tab order that can take the focus.
    for (QPushButton *button : {cmdLeft, cmdRight, Command1, cmdGo}) {
        if (button->isVisible() && button->isEnabled()) {
            button->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

} // namespace ct
