#pragma once

#include "platform/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ct {

struct AppContext;

// The registration window: the participant ID is typed into Txt_id and "Run"
// creates the data file, assigns the options to the buttons and moves on to
// the instructions.
class frmSubjects : public Form {
    Q_OBJECT
public:
    explicit frmSubjects(AppContext &context, QWidget *parent = nullptr);

    QLineEdit *Txt_id = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label1 = nullptr;

private slots:
    void Command1_Click();

protected:
    void firstShown() override;

private:
    AppContext &m_context;
};

} // namespace ct
