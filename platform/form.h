#pragma once

#include <QWidget>

namespace ct {

// A window of the experiment: opened centred on the screen, scaled down as a
// whole if it would not fit there (see window_scale.h), with work of its own
// to do once, when it is first shown.
class Form : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    void setVisible(bool visible) override;

protected:
    // Runs once, on the first showing, after the window has been centred.
    virtual void firstShown() {}

    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    bool m_fitted = false;
    bool m_shown = false;
};

} // namespace ct
