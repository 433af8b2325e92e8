#pragma once

#include "platform/form.h"
#include "rules/experiment.h"

#include <array>

class QLabel;
class QLocale;
class QPushButton;

namespace ct {

struct AppContext;
class LineBox;
class PictureBox;
class ShapeBox;
struct Settings;

// The feedback window shown after every game. Building it runs Form_Load:
// the settings are read, the finished game is recorded in the score store and
// the points message, the comparison with the previous game, the face and the
// bar chart are set. "Continue" starts the next game; after game 8 the button
// reads "Exit" and ends the experiment.
class frmFeedback1 : public Form {
    Q_OBJECT
public:
    explicit frmFeedback1(AppContext &context, QWidget *parent = nullptr);

    // False when loading stopped the program (the settings file could not be
    // used): the window must then not be shown.
    bool loaded() const { return m_loaded; }

    QPushButton *Command1 = nullptr;
    ShapeBox *Shape1 = nullptr, *Shape2 = nullptr, *Shape3 = nullptr, *Shape4 = nullptr;
    ShapeBox *Shape5 = nullptr, *Shape6 = nullptr, *Shape7 = nullptr, *Shape8 = nullptr;
    QLabel *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr;
    QLabel *Label12 = nullptr, *Label13 = nullptr, *Label14 = nullptr;
    QLabel *Label11 = nullptr, *Label10 = nullptr, *label9 = nullptr, *Label8 = nullptr;
    LineBox *Line1 = nullptr, *Line2 = nullptr;
    PictureBox *imgsurprised = nullptr, *imgwretched = nullptr, *imgneutral = nullptr, *imghappy = nullptr;
    QLabel *Label2 = nullptr, *Label1 = nullptr, *LblWellDone = nullptr;

private slots:
    void Command1_Click();

protected:
    void firstShown() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void Form_Load();
    void showComparison(const Settings &settings, const QLocale &locale);
    void drawBars(const QLocale &locale);
    void EndExperiment();

    AppContext &m_context;
    std::array<ShapeBox *, kGamesPerExperiment> m_bars{};
    bool m_loaded = false;
    bool m_leaving = false;
};

} // namespace ct
