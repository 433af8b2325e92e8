#include "platform/window_scale.h"

#include "platform/twips.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ct {
namespace {

constexpr char kScale[] = "ct_scale";
constexpr char kDesignFont[] = "ct_design_font";
constexpr char kDesignDefaultFont[] = "ct_design_default_font";

// What a window frame takes before the window system says: a title bar and
// thin borders, generous for the desktops labs use.
const QMargins kFrameAllowance(8, 40, 8, 8);

// Text is drawn at whole pixel sizes: a point size is rounded to the nearest
// one at the screen's `dpi`. Rounded up, a scaled-down text grows wider than its
// scaled-down control (at 73 %, 9.5 pixels drawn at 10 fill a label up to the
// button beside it). Scaled fonts are rounded down to a whole pixel size
// instead, so a text takes at most its share of its control.
QFont scaledFont(QFont font, double factor, double dpi)
{
    const auto wholePixels = [](double pixels) { return std::max(1.0, std::floor(pixels + 1e-6)); };
    if (factor == 1.0)
        return font;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(wholePixels(font.pointSizeF() * factor * dpi / 72.0) * 72.0 / dpi);
    else if (font.pixelSize() > 0)
        font.setPixelSize(static_cast<int>(wholePixels(font.pixelSize() * factor)));
    return font;
}

// The dots per inch point sizes are drawn at, on the screen of `widget` or,
// for a document not shown yet, the main screen.
double fontDpi(const QWidget *widget)
{
    if (widget)
        return widget->logicalDpiY();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

QTextLength scaled(const QTextLength &length, double factor)
{
    if (length.type() != QTextLength::FixedLength)
        return length;
    return QTextLength(QTextLength::FixedLength, length.rawValue() * factor);
}

void scaleFrameFormat(QTextFrameFormat &format, double k)
{
    format.setBorder(format.border() * k);
    format.setPadding(format.padding() * k);
    format.setTopMargin(format.topMargin() * k);
    format.setBottomMargin(format.bottomMargin() * k);
    format.setLeftMargin(format.leftMargin() * k);
    format.setRightMargin(format.rightMargin() * k);
    if (format.hasProperty(QTextFormat::FrameWidth))
        format.setWidth(scaled(format.width(), k));
    if (format.hasProperty(QTextFormat::FrameHeight))
        format.setHeight(scaled(format.height(), k));
}

void scaleCharFormat(QTextCharFormat &format, double k)
{
    if (format.hasProperty(QTextFormat::FontPointSize))
        format.setFontPointSize(format.fontPointSize() * k);
    if (format.hasProperty(QTextFormat::FontPixelSize))
        format.setProperty(
            QTextFormat::FontPixelSize,
            std::max(1, static_cast<int>(std::lround(format.intProperty(QTextFormat::FontPixelSize) * k))));
    if (format.hasProperty(QTextFormat::FontLetterSpacing) && format.fontLetterSpacingType() == QFont::AbsoluteSpacing)
        format.setFontLetterSpacing(format.fontLetterSpacing() * k);
    if (format.isImageFormat()) {
        QTextImageFormat image = format.toImageFormat();
        if (image.hasProperty(QTextFormat::ImageWidth))
            image.setWidth(image.width() * k);
        if (image.hasProperty(QTextFormat::ImageHeight))
            image.setHeight(image.height() * k);
        format = image;
    }
}

void scaleBlockFormat(QTextBlockFormat &format, double k)
{
    format.setTopMargin(format.topMargin() * k);
    format.setBottomMargin(format.bottomMargin() * k);
    format.setLeftMargin(format.leftMargin() * k);
    format.setRightMargin(format.rightMargin() * k);
    format.setTextIndent(format.textIndent() * k);
    if (format.hasProperty(QTextFormat::LineHeight) && format.lineHeightType() != QTextBlockFormat::ProportionalHeight
        && format.lineHeightType() != QTextBlockFormat::SingleHeight)
        format.setLineHeight(format.lineHeight() * k, format.lineHeightType());
    QList<QTextOption::Tab> tabs = format.tabPositions();
    for (QTextOption::Tab &tab : tabs)
        tab.position *= k;
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
}

void scaleTable(QTextTable *table, double k)
{
    QTextTableFormat format = table->format();
    scaleFrameFormat(format, k);
    format.setCellSpacing(format.cellSpacing() * k);
    format.setCellPadding(format.cellPadding() * k);
    QList<QTextLength> columns = format.columnWidthConstraints();
    for (QTextLength &column : columns)
        column = scaled(column, k);
    format.setColumnWidthConstraints(columns);
    table->setFormat(format);
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue; // a cell spanning several is scaled once
            // Only what the cell sets itself: a cell without its own padding
            // or border takes the table's, scaled above.
            QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
            for (const int property : {QTextFormat::TableCellTopPadding, QTextFormat::TableCellBottomPadding,
                                       QTextFormat::TableCellLeftPadding, QTextFormat::TableCellRightPadding,
                                       QTextFormat::TableCellTopBorder, QTextFormat::TableCellBottomBorder,
                                       QTextFormat::TableCellLeftBorder, QTextFormat::TableCellRightBorder})
                if (cellFormat.hasProperty(property))
                    cellFormat.setProperty(property, cellFormat.doubleProperty(property) * k);
            cell.setFormat(cellFormat);
        }
    }
}

void scaleFrames(QTextFrame *frame, double k)
{
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            scaleTable(table, k);
        } else {
            QTextFrameFormat format = child->frameFormat();
            scaleFrameFormat(format, k);
            child->setFrameFormat(format);
        }
        scaleFrames(child, k);
    }
}

} // namespace

double windowScale(const QWidget *widget)
{
    const QVariant scale = widget->window()->property(kScale);
    return scale.isValid() ? scale.toDouble() : 1.0;
}

void scaleDocument(QTextDocument &document, double factor)
{
    const QVariant applied = document.property(kScale);
    const double current = applied.isValid() ? applied.toDouble() : 1.0;
    if (!document.property(kDesignDefaultFont).isValid())
        document.setProperty(kDesignDefaultFont, document.defaultFont());
    document.setProperty(kScale, factor);
    // The default font from the one the document was made with, whatever
    // happened to it since (a text box gives its document its own font).
    document.setDefaultFont(scaledFont(document.property(kDesignDefaultFont).value<QFont>(), factor, fontDpi(nullptr)));
    if (factor == current)
        return;
    const double k = factor / current;

    // The document margin is the root frame's: read before it is set, so that
    // it is scaled once.
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    document.setDocumentMargin(document.documentMargin() * k);
    document.setIndentWidth(document.indentWidth() * k);
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(option.tabStopDistance() * k);
    document.setDefaultTextOption(option);
    scaleFrameFormat(root, k);
    document.rootFrame()->setFrameFormat(root);
    scaleFrames(document.rootFrame(), k);

    // Blocks and their runs of text: read first, then written, since writing
    // a format can merge runs.
    struct Run {
        int start;
        int end;
        QTextCharFormat format;
    };
    std::vector<Run> runs;
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat blockFormat = block.blockFormat();
        scaleBlockFormat(blockFormat, k);
        QTextCharFormat blockCharFormat = block.charFormat();
        scaleCharFormat(blockCharFormat, k);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(blockFormat);
        cursor.setBlockCharFormat(blockCharFormat);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            scaleCharFormat(format, k);
            runs.push_back({fragment.position(), fragment.position() + fragment.length(), format});
        }
    }
    for (const Run &run : runs) {
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.format);
    }
}

void scaleWindow(QWidget *window, double factor)
{
    window->setProperty(kScale, factor);
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    const QList<QTextEdit *> texts = window->findChildren<QTextEdit *>();
    for (QWidget *widget : widgets) {
        if (!widget->testAttribute(Qt::WA_SetFont))
            continue;
        QVariant design = widget->property(kDesignFont);
        if (!design.isValid()) {
            design = QVariant::fromValue(widget->font());
            widget->setProperty(kDesignFont, design);
        }
        widget->setFont(scaledFont(design.value<QFont>(), factor, fontDpi(widget)));
    }
    // A text box hands its own font to its document when fonts change: the
    // documents get their own, scaled, back.
    for (QTextEdit *text : texts)
        scaleDocument(*text->document(), factor);
    for (QWidget *widget : widgets)
        if (widget != window && hasTwipsGeometry(widget))
            setTwipsGeometry(widget, twipsGeometry(widget));
    const QSize client = clientAreaTwips(window);
    if (client.isValid())
        setClientAreaTwips(window, client.width(), client.height());
    for (QWidget *widget : widgets)
        widget->update();
}

bool fitToScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    const QSize client = clientAreaTwips(window);
    if (!screen || !client.isValid())
        return false;
    const QRect available = screen->availableGeometry();
    QMargins frame = kFrameAllowance;
    if (window->isVisible()) {
        const QRect outer = window->frameGeometry();
        const QRect inner = window->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    const double designWidth = client.width() / kTwipsPerPixel;
    const double designHeight = client.height() / kTwipsPerPixel;
    const double roomWidth = available.width() - frame.left() - frame.right();
    const double roomHeight = available.height() - frame.top() - frame.bottom();
    // In thousandths, rounded down, so that the rounded pixels still fit.
    double factor = std::min({1.0, roomWidth / designWidth, roomHeight / designHeight});
    factor = std::max(0.001, std::floor(factor * 1000.0) / 1000.0);
    if (factor >= windowScale(window))
        return false;
    scaleWindow(window, factor);
    return true;
}

} // namespace ct
