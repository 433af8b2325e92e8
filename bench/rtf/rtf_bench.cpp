// How long reading an instruction file into a QTextDocument takes, for a 1 MB and a
// 10 MB file of the kind word processors write. Reading is meant to be linear: the
// 10 MB median should be about ten times the 1 MB one. showInstructions measures
// what the participant waits for: reading, then the instruction box (601 x 545
// pixels) laid out and painted, for those files and for one 2 MB paragraph.
// rebuildInstructions measures Qt's share of reading alone.
//
//   build/bench/rtf_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include "rtf/rtf_reader.h"
#include "rtf/tokenizer.h"

#include <QApplication>
#include <QPixmap>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// Word-style paragraphs: runs with bold and italic, code-page escapes, \u with
// fallbacks, bullet and numbered list items with their fallback text.
QByteArray instructions(qsizetype targetBytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Calibri;}"
                     "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset128 MS Mincho;}}"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                     "{\\*\\generator Benchmark}\\viewkind4\n";
    int paragraph = 0;
    while (rtf.size() < targetBytes) {
        ++paragraph;
        switch (paragraph % 6) {
        case 0:
            rtf += "\\pard\\qc\\sa200\\sl276\\slmult1{\\rtlch\\fcs1 \\ab\\af0 \\ltrch\\fcs0 \\b\\f0\\fs32\\insrsid1 "
                   "Part "
                   + QByteArray::number(paragraph) + "}\\par\n";
            break;
        case 1:
        case 2:
            rtf += "\\pard\\qj\\sa200\\sl276\\slmult1{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid1 In each round you "
                   "choose one of two options. }{\\b\\cf2 The caf\\'e9 voucher}{ is worth \\u8364?5; "
                   "M\\u252?ller\\rquote s rule says \\ldblquote take your time\\rdblquote .} {\\i Points are "
                   "added up} at the end of the game, and the total is paid in cash.\\par\n";
            break;
        case 3:
        case 4:
            rtf += "{\\listtext\\pard\\plain\\f1\\fs22 \\'b7\\tab}\\pard\\fi-360\\li720\\sa200\\ls1 {\\rtlch\\fcs1 "
                   "\\af0 \\ltrch\\fcs0 \\insrsid1 Press }{\\b Left} or {\\b Right} to choose; na\\'efve guesses "
                   "are fine.\\par\n";
            break;
        case 5:
            rtf += "{\\listtext\\pard\\plain\\fs22 " + QByteArray::number(paragraph % 9 + 1)
                   + ".\\tab}\\pard\\fi-360\\li720\\sa200\\ls2 Step with Japanese {\\f2\\uc2\\u26085\\'93\\'fa"
                     "\\u26412\\'96\\'7b} text.\\par\n";
            break;
        }
    }
    rtf += "}";
    return rtf;
}

void readInstructions(benchmark::State &state)
{
    const QByteArray rtf = instructions(state.range(0) * 1024 * 1024);
    for (auto _ : state) {
        QTextDocument document;
        const bool ok = ct::rtf::read(rtf, document).empty();
        benchmark::DoNotOptimize(ok);
        if (!ok)
            state.SkipWithError("the generated file did not read");
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["file_bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(readInstructions)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

// Qt's share of reading: the document the reader made, built again with the same
// cursor calls (a run of text per fragment, a block per paragraph) and no RTF. Its
// 10 MB / 1 MB ratio is what the reader's cannot go below.
void rebuildInstructions(benchmark::State &state)
{
    QTextDocument read;
    if (!ct::rtf::read(instructions(state.range(0) * 1024 * 1024), read).empty())
        state.SkipWithError("the generated file did not read");
    for (auto _ : state) {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        QTextCursor cursor(&document);
        cursor.beginEditBlock();
        for (QTextBlock block = read.begin(); block.isValid(); block = block.next()) {
            if (block != read.begin())
                cursor.insertBlock(block.blockFormat(), block.charFormat());
            for (auto it = block.begin(); !it.atEnd(); ++it)
                cursor.insertText(it.fragment().text(), it.fragment().charFormat());
        }
        cursor.endEditBlock();
        benchmark::DoNotOptimize(document.characterCount());
    }
}
BENCHMARK(rebuildInstructions)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

// One paragraph of plain sentences with a bold word now and then.
QByteArray oneParagraph(qsizetype targetBytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\pard\\sa200 ";
    for (int sentence = 0; rtf.size() < targetBytes; ++sentence)
        rtf += "In each round you choose one of two options and the {\\b points} are added up at the end. ";
    rtf += "\\par}";
    return rtf;
}

// From the file's bytes to the first painted picture of the instruction box.
// Arguments: megabytes, and 1 for one paragraph rather than instructions.
void showInstructions(benchmark::State &state)
{
    const qsizetype bytes = state.range(0) * 1024 * 1024;
    const QByteArray rtf = state.range(1) ? oneParagraph(bytes) : instructions(bytes);
    for (auto _ : state) {
        QTextBrowser box;
        box.resize(601, 545);
        auto *document = new QTextDocument(&box);
        if (!ct::rtf::read(rtf, *document).empty())
            state.SkipWithError("the generated file did not read");
        box.setDocument(document);
        box.show();
        const QPixmap painted = box.grab();
        benchmark::DoNotOptimize(painted.cacheKey());
    }
}
BENCHMARK(showInstructions)->Args({1, 0})->Args({10, 0})->Args({2, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

// The reader's own first stage alone, without Qt's document: where the time goes
// when the whole read is not quite ten times longer for ten times the bytes.
void tokenizeInstructions(benchmark::State &state)
{
    const QByteArray rtf = instructions(state.range(0) * 1024 * 1024);
    for (auto _ : state) {
        ct::rtf::Tokenizer tokenizer(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())));
        std::size_t tokens = 0;
        while (tokenizer.next().kind != ct::rtf::TokenKind::End)
            ++tokens;
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(tokenizeInstructions)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
