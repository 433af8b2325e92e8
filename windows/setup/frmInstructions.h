#pragma once

#include "platform/form.h"

#include <memory>

class QLabel;
class QTextDocument;
class QPushButton;

namespace ct {

struct AppContext;
class RichTextBox;

// The instructions window: shows the instruction file and "OK" starts the
// first game.
class frmInstructions : public Form {
    Q_OBJECT
public:
    explicit frmInstructions(AppContext &context, QWidget *parent = nullptr);

    // Shows the instructions: the document read by the start check when there
    // is one, otherwise the instruction file read now. False once the program
    // has been stopped because the file is missing or not readable rich text.
    bool Form_Load(std::unique_ptr<QTextDocument> checked = nullptr);

    RichTextBox *rtbInstructions = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label10 = nullptr;

private slots:
    void Command1_Click();

protected:
    void firstShown() override;
    void closeEvent(QCloseEvent *event) override;

private:
    AppContext &m_context;
    bool m_leaving = false;
};

} // namespace ct
