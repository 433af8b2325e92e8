#include "windows/setup/frmSubjects.h"

#include "platform/controls.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/program.h"
#include "rules/setup/participant_id.h"
#include "windows/session_log.h"
#include "windows/window_flow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>

namespace ct {

frmSubjects::frmSubjects(AppContext &context, QWidget *parent) : Form(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmSubjects"));
    setUpWindow(this, tr("Subject info"), 6480, 3540, designFont("MS Sans Serif", 8.25, true), QPalette::Button);

    Txt_id = new QLineEdit(this);
    Txt_id->setObjectName(QStringLiteral("Txt_id"));
    setTwipsGeometry(Txt_id, {4200, 1080, 855, 375});

    Command1 = addButton(this, "Command1", tr("Run"), {1680, 1680, 2655, 615}, designFont("MS Sans Serif", 13.5));
    Label1 = addLabel(this, "Label1", tr("Participant ID Number:"), {960, 1080, 3015, 375},
                      designFont("MS Sans Serif", 13.5), {});

    // The box is named for assistive technology, and the caption beside it
    // labels it.
    Txt_id->setAccessibleName(tr("Participant ID number"));
    Label1->setBuddy(Txt_id);

    stackFrontToBack({Txt_id, Command1, Label1});
    // Focus starts on "Run"; the ID box comes next.
    chainTabOrder({Command1, Txt_id});
    connect(Command1, &QPushButton::clicked, this, &frmSubjects::Command1_Click);
}

void frmSubjects::firstShown()
{
    Command1->setFocus(Qt::OtherFocusReason);
}

void frmSubjects::Command1_Click()
{
    const QString text = Txt_id->text();
    const ParticipantId parsed = parseParticipantId(text.toStdString());
    if (parsed.status == IdStatus::Zero)
        return;
    if (parsed.status != IdStatus::Ok) {
        MessageBox::warning(this, tr("Subject info"),
                            QString::fromStdString(participantIdProblem(parsed.status, text.toStdString())));
        return;
    }

    // The instruction file must be readable before anyone is registered.
    if (!m_context.flow.instructionsReady(this))
        return;

    Module1 &state = m_context.state;
    state.subjectId = parsed.id;
    state.dataFileName = dataFileNameFor(parsed.id);
    std::error_code error;
    const bool existed = std::filesystem::exists(state.dataFileName, error) || error;
    const FileResult written = appendDurably(state.dataFileName, kHeaderLine);
    if (!written.ok()) {
        // A file created here without its header line (the disk full, say)
        // would be taken for a data file: it goes again.
        if (!existed)
            std::filesystem::remove(state.dataFileName, error);
        fatalError(this, QString::fromStdString(written.error.message));
        return;
    }

    state.leftOptionOnLeft = leftOptionOnLeftFor(m_context.uniformDraw());
    if (!startSessionRecord(m_context, this))
        return;

    m_context.flow.openInstructions();
    close();
}

} // namespace ct
