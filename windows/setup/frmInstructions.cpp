#include "windows/setup/frmInstructions.h"

#include "platform/controls.h"
#include "platform/program.h"
#include "windows/rich_text_box.h"
#include "windows/session_log.h"
#include "windows/window_flow.h"

#include <QLabel>
#include <QPushButton>
#include <QTextDocument>

namespace ct {

frmInstructions::frmInstructions(AppContext &context, QWidget *parent) : Form(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmInstructions"));
    setUpWindow(this, tr("Instructions"), 10050, 9510, designFont("MS Sans Serif", 8.25), QPalette::ToolTipBase);

    rtbInstructions = new RichTextBox(this);
    rtbInstructions->setObjectName(QStringLiteral("rtbInstructions"));
    setTwipsGeometry(rtbInstructions, {435, 480, 9015, 8175});
    rtbInstructions->setAccessibleName(tr("Instructions"));

    const QFont system = designFont("System", 9.75, true);
    Command1 = addButton(this, "Command1", tr("OK"), {9240, 8880, 540, 495}, system);
    Label10 = addLabel(this, "Label10", tr("Click here to continue"), {7080, 9000, 2175, 255}, system,
                       {palette().color(QPalette::ToolTipBase), {}, false, Qt::AlignLeft});

    stackFrontToBack({rtbInstructions, Command1, Label10});
    chainTabOrder({Command1, rtbInstructions});
    connect(Command1, &QPushButton::clicked, this, &frmInstructions::Command1_Click);
}

bool frmInstructions::Form_Load(std::unique_ptr<QTextDocument> checked)
{
    if (checked) {
        rtbInstructions->showDocument(std::move(checked));
        return true;
    }
    // The file lies in the working directory, found by its name alone (the
    // errors name its full path).
    const Error error = rtbInstructions->LoadFile(QString::fromLatin1(kInstructionFileName));
    if (!error.empty()) {
        fatalError(this, "ct::frmInstructions",
                   QT_TRANSLATE_NOOP("ct::frmInstructions", "The instruction file could not be shown.\n\n%1"),
                   QString::fromStdString(error.message));
        return false;
    }
    return true;
}

void frmInstructions::firstShown()
{
    Command1->setFocus(Qt::OtherFocusReason);
    session::Row row;
    row.event = session::Event::InstructionsShown;
    (void)recordEvent(m_context, std::move(row), this);
}

void frmInstructions::Command1_Click()
{
    m_leaving = true;
    m_context.flow.openGame();
    close();
}

void frmInstructions::closeEvent(QCloseEvent *event)
{
    // Closed from its frame: no game starts and the program ends, as it
    // always has; the session record says where the run stopped.
    if (!m_leaving)
        (void)recordClosedEarly(m_context, "instructions", std::nullopt, std::nullopt, this);
    Form::closeEvent(event);
}

} // namespace ct
