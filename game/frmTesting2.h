#pragma once

#include <QWidget>

namespace ct {

struct AppContext;

// The game window (being built): caption and client area only.
class frmTesting2 : public QWidget {
    Q_OBJECT
public:
    explicit frmTesting2(AppContext &context, QWidget *parent = nullptr);

private:
    AppContext &m_context;
};

} // namespace ct
