// Instruction files as the participant sees them: each file is opened in the
// instructions window at its real size, through the window flow, and the laid-out
// text is measured where the participant looks. The files are made by the writers
// themselves (tests/rtf/corpus/sources says how).
#include "gui_support.h"
#include "manual_clock.h"
#include "platform/fonts.h"
#include "windows/rich_text_box.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"
#include "windows/window_flow.h"

#include <QAbstractTextDocumentLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <vector>

using namespace ct;
using namespace ct::test;

namespace {

QByteArray corpusFile(const char *name)
{
    QFile file(QStringLiteral(CT_RTF_CORPUS "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QTextTable *> tablesOf(const QTextDocument &document)
{
    QList<QTextTable *> tables;
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            tables.append(table);
    return tables;
}

QTextBlock blockWith(const QTextDocument &document, const QString &text)
{
    return document.find(text).block();
}

// Where a cell's text starts, in the document.
double cellLeft(const QTextDocument &document, QTextTable *table, int row, int column)
{
    return document.documentLayout()
        ->blockBoundingRect(table->cellAt(row, column).firstCursorPosition().block())
        .left();
}

// Where the room for the text of the table's last cell ends: its lines are
// laid out as wide as the cell.
double cellRight(const QTextDocument &document, QTextTable *table)
{
    const QTextBlock block = table->cellAt(table->rows() - 1, table->columns() - 1).firstCursorPosition().block();
    return document.documentLayout()->blockBoundingRect(block).left() + block.layout()->lineAt(0).width();
}

// The shares of the table's width its columns take, measured from the text of
// the cells of row `row`.
std::vector<double> columnShares(const QTextDocument &document, QTextTable *table, int row)
{
    const double right = cellRight(document, table);
    std::vector<double> widths;
    for (int column = 0; column < table->columns(); ++column) {
        const double next = column + 1 < table->columns() ? cellLeft(document, table, row, column + 1) : right;
        widths.push_back(next - cellLeft(document, table, row, column));
    }
    double total = 0;
    for (const double width : widths)
        total += width;
    for (double &width : widths)
        width /= total;
    return widths;
}

} // namespace

class InstructionsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<ProgramRecorder> recorder;
    std::unique_ptr<Experiment> experiment;
    ManualClock clock;
    Module1 state;

    // The instructions window as the participant reaches it: registered, shown.
    RichTextBox *open(const QByteArray &rtf)
    {
        folder->write(QStringLiteral("instructions_condition_1.rtf"), rtf);
        auto *registration = qobject_cast<frmSubjects *>(experiment->start());
        if (!registration)
            return nullptr;
        registration->Txt_id->setText(QStringLiteral("7"));
        QTest::mouseClick(registration->Command1, Qt::LeftButton);
        auto *window = qobject_cast<frmInstructions *>(topLevel(QStringLiteral("frmInstructions")));
        if (!window || !QTest::qWaitForWindowExposed(window))
            return nullptr;
        return window->rtbInstructions;
    }

    // The widest text the box shows without scrolling sideways.
    static double textWidth(const RichTextBox *box)
    {
        return box->viewport()->width() - 2 * box->document()->documentMargin();
    }

private slots:
    void initTestCase() { installFonts(); }
    void init()
    {
        folder = std::make_unique<WorkingFolder>();
        folder->write(QStringLiteral("config.ini"), "50\r\n$\r\n");
        recorder = std::make_unique<ProgramRecorder>();
        state = Module1{};
        experiment = std::make_unique<Experiment>(
            state, clock, [] { return 0.25; }, folder->path());
    }
    void cleanup()
    {
        closeAllWindows();
        experiment.reset();
        recorder.reset();
        folder.reset();
    }

    // A table keeps its file's column widths while it fits the box, and is
    // scaled to the box, in proportion, when it is wider: short cell texts stay
    // on one line either way.
    void tablesFitTheBox_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("table");
        QTest::addColumn<QStringList>("oneLine");
        QTest::addColumn<std::vector<double>>("shares");
        QTest::addColumn<double>("widthShare");  // of the box's text width; 0 for the file's own width
        QTest::addColumn<double>("firstColumn"); // pixels, when the table keeps the file's widths
        QTest::newRow("wider than the box") << corpusFile("libreoffice_table_fit.rtf") << 0
                                            << QStringList{"Option", "Points per choice", "Chance", "50%"}
                                            << std::vector<double>{1.5 / 6.5, 3 / 6.5, 2 / 6.5} << 1.0 << 0.0;
        QTest::newRow("narrower than the box")
            << corpusFile("libreoffice_table_fit.rtf") << 1 << QStringList{"Round", "Units left"}
            << std::vector<double>{0.5, 0.5} << 0.0 << 144.0;
        QTest::newRow("as wide as the page, in percent")
            << corpusFile("libreoffice_percent_table.rtf") << 0
            << QStringList{"Payoffs per option", "Option", "Points per choice", "Chance"}
            << std::vector<double>{0.2, 0.3, 0.5} << 1.0 << 0.0;
        QTest::newRow("half the page, in percent")
            << corpusFile("libreoffice_percent_table.rtf") << 1 << QStringList{"Half", "width"}
            << std::vector<double>{0.5, 0.5} << 0.5 << 0.0;
    }
    void tablesFitTheBox()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, table);
        QFETCH(QStringList, oneLine);
        QFETCH(std::vector<double>, shares);
        QFETCH(double, widthShare);
        QFETCH(double, firstColumn);
        RichTextBox *box = open(file);
        QVERIFY(box);
        const QTextDocument &document = *box->document();
        QTextTable *shown = tablesOf(document).value(table);
        QVERIFY(shown);
        for (const QString &text : oneLine)
            QVERIFY2(blockWith(document, text).layout()->lineCount() == 1, qPrintable(text));
        const int row = shown->rows() - 1; // a row of single cells in every file
        const std::vector<double> measured = columnShares(document, shown, row);
        QCOMPARE(measured.size(), shares.size());
        for (std::size_t i = 0; i < shares.size(); ++i)
            QVERIFY2(std::abs(measured[i] - shares[i]) <= 0.02,
                     qPrintable(QStringLiteral("column %1: %2 of the width").arg(i).arg(measured[i])));
        const double left = cellLeft(document, shown, row, 0);
        const double right = cellRight(document, shown);
        QVERIFY2(right <= box->viewport()->width() - document.documentMargin(), qPrintable(QString::number(right)));
        if (widthShare > 0) {
            // The cells' text, their padding and borders; Qt takes a few pixels
            // off the last column of a table that fills its room.
            const double width = right - left + 2 * (shown->format().cellPadding() + 1);
            QVERIFY2(width <= textWidth(box) && std::abs(width / textWidth(box) - widthShare) <= 0.04,
                     qPrintable(QString::number(width)));
        }
        if (firstColumn > 0) {
            const double width = cellLeft(document, shown, row, 1) - cellLeft(document, shown, row, 0);
            QVERIFY2(std::abs(width / firstColumn - 1) <= 0.02, qPrintable(QString::number(width)));
        }
    }

    // The fit follows the box: narrower (a smaller screen), and back again.
    void tablesFollowTheBoxWidth()
    {
        RichTextBox *box = open(corpusFile("libreoffice_table_fit.rtf"));
        QVERIFY(box);
        const QTextDocument &document = *box->document();
        QTextTable *wide = tablesOf(document).value(0);
        QTextTable *narrow = tablesOf(document).value(1);
        for (const int width : {360, box->width()}) {
            box->resize(width, box->height());
            QApplication::processEvents();
            const double right = cellRight(document, wide);
            QVERIFY2(right <= box->viewport()->width() - document.documentMargin(),
                     qPrintable(QStringLiteral("%1 in %2").arg(right).arg(width)));
            QCOMPARE(blockWith(document, QStringLiteral("Points per choice")).layout()->lineCount(), 1);
            const std::vector<double> shares = columnShares(document, wide, 1);
            QVERIFY(std::abs(shares[1] - 3 / 6.5) <= 0.02);
            const double column = cellLeft(document, narrow, 0, 1) - cellLeft(document, narrow, 0, 0);
            // The narrow table still fits: it keeps its file's widths.
            QVERIFY2(std::abs(column / 144 - 1) <= 0.02, qPrintable(QString::number(column)));
        }
    }
};

QTEST_MAIN(InstructionsWindowTest)
#include "instructions_window_test.moc"
