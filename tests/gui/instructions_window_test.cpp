// Instruction files as the participant sees them: each file is opened in the
// instructions window at its real size, through the window flow, and the laid-out
// text is measured where the participant looks. The files are made by the writers
// themselves (tests/rtf/corpus/sources says how).
#include "gui_support.h"
#include "manual_clock.h"
#include "platform/fonts.h"
#include "platform/window_scale.h"
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

// Where the cursor before character `position` of `block` stands, in the document.
double xAt(const QTextBlock &block, int position)
{
    const QTextLayout *layout = block.layout();
    const QTextLine line = layout->lineForTextPosition(position);
    return layout->position().x() + line.cursorToX(position);
}

// The format of the first character of `text`.
QTextCharFormat formatOf(const QTextDocument &document, const QString &text)
{
    QTextCursor cursor = document.find(text);
    cursor.setPosition(cursor.selectionStart() + 1);
    return cursor.charFormat();
}

double yOf(const QTextDocument &document, const QString &text)
{
    return document.documentLayout()->blockBoundingRect(blockWith(document, text)).top();
}

// Where the line of `text` starts, down the document.
double lineTop(const QTextDocument &document, const QString &text)
{
    const QTextBlock block = blockWith(document, text);
    const int position = block.text().indexOf(text);
    return yOf(document, text) + block.layout()->lineForTextPosition(position).y();
}

QString rectText(QRect rect)
{
    return QStringLiteral("%1,%2 %3 x %4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

// The pixels of exactly `color` on the screen, as a rectangle around them.
QRect pixelsOf(const QImage &screen, QColor color)
{
    QRect found;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixelColor(x, y) == color)
                found |= QRect(x, y, 1, 1);
    return found;
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
            state, clock, [] { return 0.25; }, QDir(folder->path()).filesystemPath());
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
    // on one line either way. Also run in a window scaled down to fit the
    // screen (see CMakeLists.txt), where all of it is scaled with the window.
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
            // off the last column of a table that fills its room, and rounds
            // the padding of a scaled window to its own steps.
            const double width = right - left + 2 * (shown->format().cellPadding() + windowScale(box));
            QVERIFY2(width <= textWidth(box) + 1 && std::abs(width / textWidth(box) - widthShare) <= 0.05,
                     qPrintable(QString::number(width)));
        }
        if (firstColumn > 0) {
            // In a window scaled down to fit the screen, scaled with it.
            const double width = cellLeft(document, shown, row, 1) - cellLeft(document, shown, row, 0);
            QVERIFY2(std::abs(width / (firstColumn * windowScale(box)) - 1) <= 0.02,
                     qPrintable(QString::number(width)));
        }
    }

    // Paragraphs run in the file's direction, whatever their first letter; a
    // right-aligned right-to-left paragraph starts at the right edge, and list
    // numbers stand inside the box, on the right of their item.
    void rightToLeftTextFollowsTheFile()
    {
        RichTextBox *box = open(corpusFile("word_right_to_left.rtf"));
        QVERIFY(box);
        const QTextDocument &document = *box->document();
        const double left = document.documentMargin();
        const double right = box->viewport()->width() - document.documentMargin();
        const QTextBlock latinFirst = blockWith(document, QStringLiteral("Points"));
        QCOMPARE(latinFirst.textDirection(), Qt::RightToLeft);
        const double lineEnd = latinFirst.layout()->position().x()
                               + latinFirst.layout()->lineAt(0).naturalTextRect().right();
        QVERIFY2(std::abs(lineEnd - right) <= 2, qPrintable(QString::number(lineEnd)));
        // Its first word, in Latin letters, stands on the right, its full stop on the left.
        QVERIFY(xAt(latinFirst, 0) > xAt(latinFirst, latinFirst.length() - 2));
        const QTextBlock arabicFirst = blockWith(document, QStringLiteral("means hello"));
        QCOMPARE(arabicFirst.textDirection(), Qt::LeftToRight);
        const double lineStart = arabicFirst.layout()->position().x()
                                 + arabicFirst.layout()->lineAt(0).naturalTextRect().left();
        QVERIFY2(std::abs(lineStart - left) <= 2, qPrintable(QString::number(lineStart)));
        QVERIFY(xAt(arabicFirst, 0) < xAt(arabicFirst, arabicFirst.length() - 2));
        for (const QString &item :
             {QStringLiteral("\u0627\u062E\u062A\u0631"), QStringLiteral("\u0627\u062C\u0645\u0639")}) {
            const QTextBlock block = blockWith(document, item);
            QVERIFY(block.text().startsWith(QLatin1String("1.")) || block.text().startsWith(QLatin1String("2.")));
            for (int position = 0; position <= block.length() - 1; ++position) {
                const double x = xAt(block, position);
                QVERIFY2(x >= left - 1 && x <= right + 1, qPrintable(QStringLiteral("%1 at %2").arg(x).arg(position)));
            }
            // The number first, on the right; the item's text after the tab, to its left,
            // where the file's indent puts it (\li720), a gap away from the number.
            const double textStart = xAt(block, block.text().indexOf(item));
            const double numberEnd = std::min({xAt(block, 0), xAt(block, 1), xAt(block, 2)});
            QVERIFY2(std::abs(textStart - (right - 720 / 15.0)) <= 1 && numberEnd - textStart >= 8,
                     qPrintable(QStringLiteral("%1 %2").arg(textStart).arg(numberEnd)));
        }
        // Right-to-left runs take \ab and \afs.
        const QTextCharFormat word = formatOf(document, QStringLiteral("\u0645\u0647\u0645\u0629"));
        QCOMPARE(word.fontWeight(), int(QFont::Bold));
        QCOMPARE(word.fontPointSize(), 18.0);
    }

    // Notes show their mark where it stands, and their text after the
    // document's, footnotes then endnotes, under a rule.
    void notesFollowTheText()
    {
        RichTextBox *box = open(corpusFile("libreoffice_notes.rtf"));
        QVERIFY(box);
        const QTextDocument &document = *box->document();
        const double left = document.documentMargin();
        QCOMPARE(blockWith(document, QStringLiteral("Each game")).text(),
                 QStringLiteral("Each game ends when its units are spent.1 You are paid in cash.*"));
        QCOMPARE(blockWith(document, QStringLiteral("Points are")).text(), QStringLiteral("Points are added up.i"));
        QCOMPARE(formatOf(document, QStringLiteral("1 You")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatOf(document, QStringLiteral(" You")).verticalAlignment(), QTextCharFormat::AlignNormal);
        const double body = yOf(document, QStringLiteral("The last paragraph"));
        const double first = yOf(document, QStringLiteral("A unit is"));
        QVERIFY(body < first);
        QVERIFY(first < yOf(document, QStringLiteral("At the end of the session")));
        QVERIFY(yOf(document, QStringLiteral("At the end of the session"))
                < yOf(document, QStringLiteral("See the payment")));
        const QTextBlock rule = blockWith(document, QStringLiteral("The last paragraph")).next();
        QVERIFY(rule.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth));
        QVERIFY(blockWith(document, QStringLiteral("A unit is")).text().startsWith(QLatin1String("1\tA unit")));
        // Each note's text starts at its hanging indent (\li340), after its mark.
        for (const QString &text :
             {QStringLiteral("A unit is"), QStringLiteral("At the end"), QStringLiteral("See the")}) {
            const QTextBlock note = blockWith(document, text);
            const double start = xAt(note, note.text().indexOf(text));
            QVERIFY2(std::abs(start - (left + 340 / 15.0)) <= 1,
                     qPrintable(QStringLiteral("%1 at %2").arg(text).arg(start)));
        }
    }

    // A table in a cell is laid out inside that cell, its short texts on one line.
    void nestedTableInsideItsCell()
    {
        RichTextBox *box = open(corpusFile("libreoffice_nested_table.rtf"));
        QVERIFY(box);
        const QTextDocument &document = *box->document();
        QTextTable *outer = tablesOf(document).value(0);
        QVERIFY(outer);
        QCOMPARE(outer->childFrames().size(), 1);
        auto *inner = qobject_cast<QTextTable *>(outer->childFrames().front());
        QVERIFY(inner);
        QCOMPARE(inner->rows(), 2);
        QCOMPARE(inner->columns(), 2);
        const double cell = cellLeft(document, outer, 0, 1);
        for (const QString &text : {QStringLiteral("Left"), QStringLiteral("1 unit"), QStringLiteral("2 units")}) {
            const QTextBlock block = blockWith(document, text);
            QCOMPARE(block.layout()->lineCount(), 1);
            const QRectF rect = document.documentLayout()->blockBoundingRect(block);
            QVERIFY2(rect.left() > cell && rect.right() < box->viewport()->width(), qPrintable(text));
        }
        QVERIFY(yOf(document, QStringLiteral("Costs:")) < yOf(document, QStringLiteral("Left")));
        QVERIFY(yOf(document, QStringLiteral("2 units")) < yOf(document, QStringLiteral("After the inner table.")));
    }

    // Rectangles and lines are drawn at their size and offset, in their
    // colours, above the text of the paragraph they are anchored in; a text box
    // has its fill. Measured in the box's pixels.
    void shapesAreDrawn()
    {
        RichTextBox *box = open(corpusFile("libreoffice_drawings.rtf"));
        QVERIFY(box);
        const QTextDocument &document = *box->document();
        const QImage screen = box->viewport()->grab().toImage();
        const double left = document.documentMargin();
        const auto near = [](double a, double b) { return std::abs(a - b) <= 1; };
        // 4 x 1.5 cm, 1 cm from the left, red outline, yellow fill.
        const QRect outline = pixelsOf(screen, QColor(0xc0, 0, 0));
        QVERIFY2(near(outline.left(), left + 567 / 15.0) && near(outline.width(), 2266 / 15.0)
                     && near(outline.height(), 849 / 15.0),
                 qPrintable(rectText(outline)));
        QCOMPARE(pixelsOf(screen, QColor(0xff, 0xd9, 0x66)), outline.adjusted(1, 1, -1, -1));
        QVERIFY(outline.top() >= lineTop(document, QStringLiteral("Above")) + 10);
        QVERIFY(outline.bottom() < lineTop(document, QStringLiteral("Beside")));
        // An 8 cm blue line.
        const QRect line = pixelsOf(screen, QColor(0, 0x70, 0xc0));
        QVERIFY2(near(line.left(), left) && near(line.width(), 4534 / 15.0) && line.height() == 1,
                 qPrintable(rectText(line)));
        QVERIFY(line.top() > outline.bottom() && line.bottom() < lineTop(document, QStringLiteral("Under")));
        // The text box: green around its text, a blue outline.
        const QRect fill = pixelsOf(screen, QColor(0xc6, 0xe0, 0xb4));
        const QRectF text = document.documentLayout()->blockBoundingRect(
            blockWith(document, QStringLiteral("Text in a green box.")));
        QVERIFY2(fill.contains(text.toRect()), qPrintable(rectText(fill)));
        QCOMPARE(pixelsOf(screen, QColor(0x34, 0x65, 0xa4)), fill.adjusted(-1, -1, 1, 1));
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
