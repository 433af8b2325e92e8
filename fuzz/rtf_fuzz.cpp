// libFuzzer entry for the RTF reader: any bytes must give a document or an error,
// never a crash, a hang or runaway memory.
#include "rtf/rtf_reader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Pictures and fonts want an application object, as in the program.
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     static_cast<qsizetype>(size));
    QTextDocument document;
    // A failed read leaves an empty document.
    if (!ct::rtf::read(bytes, document).empty() && !document.isEmpty())
        __builtin_trap();
    return 0;
}
