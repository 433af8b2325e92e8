#include "windows/language.h"

#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>

namespace ct {
namespace {

// Texts Qt itself shows on the participant's screen: the buttons of the
// message boxes and the context menus of the instruction text, the ID box and
// the scroll bars. They are listed here so that the translation files carry
// them next to the program's own texts.
struct QtText {
    const char *context;
    const char *text;
};
[[maybe_unused]] const QtText kQtTexts[] = {
    {"QPlatformTheme", QT_TRANSLATE_NOOP("QPlatformTheme", "OK")},
    {"QPlatformTheme", QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes")},
    {"QPlatformTheme", QT_TRANSLATE_NOOP("QPlatformTheme", "&No")},
    {"QGnomeTheme", QT_TRANSLATE_NOOP("QGnomeTheme", "&OK")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "&Copy")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "Copy &Link Location")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "Select All")},
    {"QLineEdit", QT_TRANSLATE_NOOP("QLineEdit", "&Undo")},
    {"QLineEdit", QT_TRANSLATE_NOOP("QLineEdit", "&Redo")},
    {"QLineEdit", QT_TRANSLATE_NOOP("QLineEdit", "Cu&t")},
    {"QLineEdit", QT_TRANSLATE_NOOP("QLineEdit", "&Copy")},
    {"QLineEdit", QT_TRANSLATE_NOOP("QLineEdit", "&Paste")},
    {"QLineEdit", QT_TRANSLATE_NOOP("QLineEdit", "Delete")},
    {"QLineEdit", QT_TRANSLATE_NOOP("QLineEdit", "Select All")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll here")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Left edge")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Top")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Right edge")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Bottom")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Page left")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Page up")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Page right")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Page down")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll left")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll up")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll right")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll down")},
};

std::unique_ptr<QTranslator> &installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// The translations built in, compiled in as resources.
const QString kBuiltInFolder = QStringLiteral(":/translations");

// A path in messages: in full, by the system's own names.
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(
        QDir::cleanPath(QString::fromStdString(absolutePath(QFileInfo(path).filesystemFilePath()))));
}

} // namespace

QStringList builtInLanguages()
{
    QStringList codes{QStringLiteral("en")};
    const QStringList files = QDir(kBuiltInFolder)
                                  .entryList({QStringLiteral("choicetask_*.qm")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        codes.append(file.mid(11, file.size() - 14)); // between "choicetask_" and ".qm"
    return codes;
}

QString translationFileName(const QString &code)
{
    return QStringLiteral("choicetask_%1.qm").arg(code);
}

QString useLanguage(const QString &code, const QString &studyFolder)
{
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
        installed().reset();
    }
    if (code == QLatin1String("en"))
        return {};
    // A language code, never a path: "de", "pt_BR", "fil".
    static const QRegularExpression codeForm(QStringLiteral("^[a-z]{2,3}(_[A-Za-z0-9]{2,4})?$"));
    if (!codeForm.match(code).hasMatch())
        return QStringLiteral("\"%1\" is not a language code. Give a code such as de or pt_BR; built in: %2.")
            .arg(code, builtInLanguages().join(QStringLiteral(", ")));

    const QString fileName = translationFileName(code);
    // Not made absolute through QString: a relative folder is found by the
    // system whatever its name (one in Latin-1 on a UTF-8 system).
    const QString studyFile = QDir(studyFolder).filePath(fileName);
    auto translator = std::make_unique<QTranslator>();
    if (QFileInfo::exists(studyFile)) {
        if (!translator->load(studyFile))
            return QStringLiteral("The translation file \"%1\" cannot be read as a Qt translation (.qm) file. Make "
                                  "it again with lrelease from its .ts file.")
                .arg(shown(studyFile));
    } else if (!translator->load(fileName, kBuiltInFolder)) {
        return QStringLiteral("The language \"%1\" is not built in (built in: %2), and the study folder %3 has no "
                              "translation file \"%4\" for it.")
            .arg(code, builtInLanguages().join(QStringLiteral(", ")), shown(studyFolder), fileName);
    }
    QCoreApplication::installTranslator(translator.get());
    installed() = std::move(translator);
    return {};
}

} // namespace ct
