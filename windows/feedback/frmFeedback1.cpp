#include "windows/feedback/frmFeedback1.h"

#include "assets/pictures.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "platform/program.h"
#include "rules/feedback/bar_chart.h"
#include "rules/feedback/feedback_texts.h"
#include "rules/feedback/money.h"
#include "rules/feedback/score_store.h"
#include "rules/feedback/settings_file.h"
#include "rules/number_text.h"
#include "windows/session_log.h"
#include "windows/window_flow.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <charconv>

namespace ct {
namespace {

QColor toColor(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// The settings as the labels show them: a currency text wider than half of
// the headline is cut short with "…", so that the amount after it stays in view
// however long the text in the settings file is.
Settings shownSettings(const Settings &settings, const QLabel *headline)
{
    Settings shown = settings;
    shown.currencySymbol = QFontMetrics(headline->font())
                               .elidedText(settings.currencySymbol, Qt::ElideRight, headline->width() / 2);
    return shown;
}

const QColor kBarGreen(0, 192, 0);
const QColor kBarRed(255, 0, 0);

} // namespace

frmFeedback1::frmFeedback1(AppContext &context, QWidget *parent) : Form(parent), m_context(context)
{
    buildLayout();
    Form_Load();
}

void frmFeedback1::buildLayout()
{
    setObjectName(QStringLiteral("frmFeedback1"));
    const QFont windowFont = designFont("MS Sans Serif", 8.25);
    setUpWindow(this, tr("How Did You Do?"), 10980, 9525, windowFont, QPalette::ToolTipBase);

    const QColor background = palette().color(QPalette::ToolTipBase);
    const QColor buttonText = palette().color(QPalette::ButtonText);
    const QFont captionFont = designFont("MS Sans Serif", 8.25, true);
    const QFont verdana = designFont("Verdana", 12, true);
    const LabelStyle transparent{{}, buttonText, false, Qt::AlignLeft};
    const LabelStyle axisMark{{}, buttonText, false, Qt::AlignRight};
    const LabelStyle opaque{background, buttonText, false, Qt::AlignHCenter};

    Command1 = addButton(this, "Command1", continueCaption(), {5040, 8760, 1500, 495},
                         designFont("System", 9.75, true));

    // The bars of games 1 to 8 stand on the line 7095 twips down, 960 apart.
    // Each bar carries its game's points as its accessible description.
    const char *const barNames[] = {"Shape1", "Shape2", "Shape3", "Shape4", "Shape5", "Shape6", "Shape7", "Shape8"};
    for (int k = 0; k < kBarCount; ++k)
        m_bars[std::size_t(k)] = addShape(this, barNames[k], tr("Game %1 points").arg(k + 1),
                                          {1440.0f + 960.0f * float(k), 6960, 615, 135}, kBarGreen);
    Shape1 = m_bars[0], Shape2 = m_bars[1], Shape3 = m_bars[2], Shape4 = m_bars[3];
    Shape5 = m_bars[4], Shape6 = m_bars[5], Shape7 = m_bars[6], Shape8 = m_bars[7];

    Label14 = addLabel(this, "Label14", tr("Game %1").arg(8), {8160, 7080, 735, 255}, captionFont, transparent);
    Label13 = addLabel(this, "Label13", tr("Game %1").arg(7), {7200, 7080, 735, 255}, captionFont, transparent);
    Label12 = addLabel(this, "Label12", tr("Game %1").arg(6), {6240, 7080, 735, 255}, captionFont, transparent);
    Label11 = addLabel(this, "Label11", QStringLiteral("600"), {720, 5280, 495, 255}, windowFont, axisMark);
    Label10 = addLabel(this, "Label10", QStringLiteral("400"), {720, 5880, 495, 255}, windowFont, axisMark);
    label9 = addLabel(this, "label9", QStringLiteral("200"), {720, 6480, 495, 255}, windowFont, axisMark);
    Label8 = addLabel(this, "Label8", tr("Points"), {720, 4680, 615, 375}, captionFont, transparent);
    Label7 = addLabel(this, "Label7", tr("Game %1").arg(5), {5280, 7080, 735, 255}, captionFont, transparent);
    Label6 = addLabel(this, "Label6", tr("Game %1").arg(4), {4320, 7080, 735, 255}, captionFont, transparent);
    Label5 = addLabel(this, "Label5", tr("Game %1").arg(3), {3360, 7080, 735, 255}, captionFont, transparent);
    Label4 = addLabel(this, "Label4", tr("Game %1").arg(2), {2400, 7080, 735, 255}, captionFont, transparent);
    Label3 = addLabel(this, "Label3", tr("Game %1").arg(1), {1440, 7080, 735, 255}, captionFont, transparent);

    Line2 = addLine(this, "Line2", tr("Horizontal axis"), 1320, 7080, 9000, 7080);
    Line1 = addLine(this, "Line1", tr("Vertical axis"), 1320, 4800, 1320, 7080);

    // The faces lie on one another; the surprised one is shown at its own size.
    imgsurprised = addPicture(this, "imgsurprised", tr("Surprised face"), QString::fromLatin1(pictures::kFaceSurprised),
                              {5160, 2880, 1035, 990}, false);
    imgwretched = addPicture(this, "imgwretched", tr("Knocked-out face"), QString::fromLatin1(pictures::kFaceWretched),
                             {5040, 3120, 1605, 1455}, true);
    imgneutral = addPicture(this, "imgneutral", tr("Neutral face"), QString::fromLatin1(pictures::kFaceNeutral),
                            {5040, 3120, 1575, 1455}, true);
    imghappy = addPicture(this, "imghappy", tr("Happy face"), QString::fromLatin1(pictures::kFaceHappy),
                          {5040, 3120, 1500, 1455}, true);

    Label2 = addLabel(this, "Label2", breakCaption(), {1680, 7440, 7695, 1095}, verdana, opaque);
    Label1 = addLabel(this, "Label1", maximumCaption(), {2040, 2160, 7575, 855}, verdana, opaque);
    LabelStyle headline = opaque;
    headline.text = QColor(255, 0, 0);
    LblWellDone = addLabel(this, "LblWellDone", wellDoneCaption(), {1920, 360, 7695, 1575},
                           designFont("Verdana", 20.25, true), headline);

    stackFrontToBack({Command1,    Shape8,     Shape7,   Shape6, Shape5, Label14,    Label13, Label12,
                      Label11,     Label10,    label9,   Label8, Shape4, Shape3,     Shape2,  Shape1,
                      Label7,      Label6,     Label5,   Label4, Label3, Line2,      Line1,   imgsurprised,
                      imgwretched, imgneutral, imghappy, Label2, Label1, LblWellDone});
    connect(Command1, &QPushButton::clicked, this, &frmFeedback1::Command1_Click);
}

void frmFeedback1::Form_Load()
{
    const QLocale locale;
    // The settings come first: when they cannot be used the program stops
    // before the game is recorded.
    const SettingsRead settings = ReadSettingsFile(m_context.programFolder, locale, m_context.settingsFolderRole);
    if (!settings.ok()) {
        fatalError(nullptr, "ct::frmFeedback1",
                   QT_TRANSLATE_NOOP("ct::frmFeedback1", "%1\n\nThe program stops now. The trials played so far "
                                                         "are kept in the data file."),
                   QString::fromStdString(settings.error.message));
        return;
    }
    Module1 &state = m_context.state;
    if (!RecordFinishedGame(state)) {
        fatalError(
            nullptr, "ct::frmFeedback1",
            QT_TRANSLATE_NOOP("ct::frmFeedback1", "No more games can be recorded: %1 games have been played already."),
            QString::number(state.gameNumber));
        return;
    }
    beep();

    imgneutral->hide();
    imghappy->hide();
    imgwretched->hide();
    const Settings shown = shownSettings(settings.settings, LblWellDone);
    LblWellDone->setText(pointsMessage(state.winnings, shown, locale));
    if (state.gameNumber != 1)
        showComparison(shown, locale);
    drawBars(locale);

    // What was in force and what the participant saw, for the session record.
    const Settings &used = settings.settings;
    session::Row row;
    row.event = session::Event::FeedbackShown;
    row.game = state.gameNumber;
    row.detail = {
        {"rate", shortestText(used.exchangeRate)},
        {"currency", used.currencySymbol.toStdString()},
        {"points", plainText(state.winnings)},
        {"money",
         used.exchangeRate != 0.0
             ? FormatMoney(gameMoney(state.winnings, used.exchangeRate), used.currencySymbol, locale).toStdString()
             : std::string()}};
    if (state.gameNumber == 8 && used.exchangeRate != 0.0)
        row.detail.emplace_back("total_money",
                                FormatMoney(state.totalEarnings, used.currencySymbol, locale).toStdString());
    if (!recordEvent(m_context, std::move(row)))
        return;
    m_loaded = true;
}

// From game 2 on: the comparison with the game before, its colour and face,
// the remark about the maximum and, after the last game, the earnings.
void frmFeedback1::showComparison(const Settings &settings, const QLocale &locale)
{
    Module1 &state = m_context.state;
    imgsurprised->hide();
    const Points current = gameScore(state, state.gameNumber);
    const Comparison comparison = compareGames(current, gameScore(state, state.gameNumber - 1), locale);
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, toColor(comparison.colour));
    Label1->setPalette(palette);
    switch (comparison.face) {
    case Face::Happy:
        imghappy->show();
        break;
    case Face::Neutral:
        imgneutral->show();
        break;
    case Face::Wretched:
        imgwretched->show();
        break;
    case Face::Surprised:
        imgsurprised->show();
        break;
    }
    Label1->setText(comparison.sentence + maximumRemark(current));
    if (state.gameNumber == kGamesPerExperiment) {
        Label2->setText(FinalEarningsText(state, settings, locale));
        Command1->setText(exitCaption());
    }
}

void frmFeedback1::drawBars(const QLocale &locale)
{
    const Module1 &state = m_context.state;
    const auto looks = barLooks(state);
    for (std::size_t k = 0; k < m_bars.size(); ++k) {
        ShapeBox *bar = m_bars[k];
        const BarLook &look = looks[k];
        if (!look.visible)
            bar->hide();
        if (look.red)
            bar->setFillColor(kBarRed);
        if (look.sized) {
            const Points score = gameScore(state, int(k) + 1);
            bar->setAccessibleDescription(pointsText(score, locale));
            setTwipsHeight(bar, barHeight(score));
            // The top follows the height the bar keeps, so every bar stands on the base line.
            setTwipsTop(bar, barTop(twipsGeometry(bar).height));
        }
    }
}

void frmFeedback1::firstShown()
{
    Command1->setFocus(Qt::OtherFocusReason);
}

void frmFeedback1::closeEvent(QCloseEvent *event)
{
    // Closed from its frame: no next game and no earnings message, as
    // always; the session record says after which game the run stopped.
    if (!m_leaving && m_loaded)
        (void)recordClosedEarly(m_context, "feedback", m_context.state.gameNumber, std::nullopt, this);
    Form::closeEvent(event);
}

void frmFeedback1::Command1_Click()
{
    if (m_leaving)
        return;
    const int finished = m_context.state.gameNumber;
    if (finished < kGamesPerExperiment) {
        m_leaving = true;
        m_context.flow.openGame();
        close();
    } else if (finished == kGamesPerExperiment) {
        m_leaving = true;
        EndExperiment();
    }
}

void frmFeedback1::EndExperiment()
{
    session::Row row;
    row.event = session::Event::Finished;
    row.detail = {{"games", std::to_string(m_context.state.gameNumber)}};
    if (!recordEvent(m_context, std::move(row), this))
        return;
    MessageBox::stop(this, endTitle(), endText());
    endProgram(0);
}

} // namespace ct
