// Every window as created, against its layout table in geometry/<window>.txt:
// the client area, and each control's container and rectangle in twips, both
// as kept and as placed on the screen.
#include "gui_support.h"
#include "manual_clock.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"
#include "windows/window_flow.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>

using namespace ct;
using namespace ct::test;

namespace {

using MakeWindow = std::function<std::unique_ptr<QWidget>(AppContext &)>;

template <typename Window> MakeWindow make()
{
    return [](AppContext &context) { return std::make_unique<Window>(context); };
}

QString describe(const QWidget *control)
{
    const TwipsRect r = twipsGeometry(control);
    const QRect p = control->geometry();
    return QString::asprintf("%g, %g, %g x %g (%d, %d, %d x %d px)", double(r.left), double(r.top), double(r.width),
                             double(r.height), p.x(), p.y(), p.width(), p.height());
}

// Fifteen twips to the pixel: design values are whole pixels, and a row
// whose twips are not gives its pixels after "px".
int pixels(const QString &twips)
{
    const int value = twips.toInt();
    return value % 15 == 0 ? value / 15 : -1;
}

struct Place {
    TwipsRect twips;
    QRect pixels;
};

// A row "name container left top width height [px left top width height]",
// or "name container from x1 y1 to x2 y2" for a line, which covers both end
// points and is one pixel thick. A row "name container loaded" names a control
// the window sizes as it loads.
Place placeOf(const QStringList &f)
{
    const auto n = [&](int i) { return f[i].toFloat(); };
    const auto p = [&](int i) { return pixels(f[i]); };
    if (f[2] == QLatin1String("from"))
        return {{n(3), n(4), n(6) - n(3) + 15, n(7) - n(4) + 15}, QRect(QPoint(p(3), p(4)), QPoint(p(6), p(7)))};
    if (f.size() == 11)
        return {{n(2), n(3), n(4), n(5)}, QRect(f[7].toInt(), f[8].toInt(), f[9].toInt(), f[10].toInt())};
    return {{n(2), n(3), n(4), n(5)}, QRect(p(2), p(3), p(4), p(5))};
}

} // namespace

Q_DECLARE_METATYPE(MakeWindow)

class WindowGeometryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFonts(); }

    void layoutTable_data()
    {
        QTest::addColumn<MakeWindow>("makeWindow");
        QTest::newRow("frmSubjects") << make<frmSubjects>();
        QTest::newRow("frmInstructions") << make<frmInstructions>();
        QTest::newRow("frmTesting2") << make<frmTesting2>();
        QTest::newRow("frmFeedback1") << make<frmFeedback1>();
    }
    void layoutTable()
    {
        QFETCH(MakeWindow, makeWindow);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        WorkingFolder folder;
        folder.write(QStringLiteral("config.ini"), "50\r\n$\r\n"); // the feedback window loads as it opens
        const ProgramRecorder recorder;
        Module1 state;
        ManualClock clock;
        Experiment experiment(
            state, clock, [] { return 0.25; }, QDir(folder.path()).filesystemPath());
        const std::unique_ptr<QWidget> window = makeWindow(experiment.context());
        QCOMPARE(window->objectName(), name);

        QFile file(QStringLiteral(CT_GEOMETRY_DIR "/%1.txt").arg(name));
        QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
        QStringList wrong;
        QStringList listed;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString &line : lines) {
            const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
            if (f.isEmpty() || f[0].startsWith(u'#'))
                continue;
            if (f[0] == QLatin1String("client")) {
                QCOMPARE(window->size(), QSize(pixels(f[1]), pixels(f[2])));
                continue;
            }
            const bool loaded = f.size() == 3 && f[2] == QLatin1String("loaded");
            QVERIFY2(loaded || f.size() == 6 || (f.size() == 8 && f[2] == QLatin1String("from"))
                         || (f.size() == 11 && f[6] == QLatin1String("px")),
                     qPrintable(line));
            listed << f[0];
            const QWidget *control = window->findChild<QWidget *>(f[0]);
            if (!control)
                wrong << f[0] + QStringLiteral(": missing");
            else if (control->parentWidget()->objectName() != f[1])
                wrong << f[0] + QStringLiteral(": in ") + control->parentWidget()->objectName();
            else if (loaded)
                continue;
            else if (const Place expected = placeOf(f);
                     !(twipsGeometry(control) == expected.twips) || control->geometry() != expected.pixels)
                wrong << f[0] + QStringLiteral(": ") + describe(control);
        }
        // Every control of the window has its row.
        for (const QWidget *control : window->findChildren<QWidget *>())
            if (!control->objectName().isEmpty() && !control->objectName().startsWith(QLatin1String("qt_"))
                && !listed.contains(control->objectName()))
                wrong << control->objectName() + QStringLiteral(": not in the table");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(WindowGeometryTest)
#include "window_geometry_test.moc"
