#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace ct {
namespace {

struct Substitute {
    const char *family;   // as the layouts name it
    const char *standIn;  // shipped family with matching metrics
    const char *files[2]; // regular and bold, inside the program
};

constexpr Substitute kSubstitutes[] = {
    {"MS Sans Serif", "Liberation Sans", {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"}},
    {"System", "Liberation Sans", {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"}},
    {"Verdana", "DejaVu Sans", {":/fonts/DejaVuSans.ttf", ":/fonts/DejaVuSans-Bold.ttf"}},
};

} // namespace

void installFonts()
{
    const QStringList available = QFontDatabase::families();
    QStringList loaded;
    for (const Substitute &s : kSubstitutes) {
        const QString family = QString::fromLatin1(s.family);
        if (available.contains(family, Qt::CaseInsensitive))
            continue;
        const QString standIn = QString::fromLatin1(s.standIn);
        if (!available.contains(standIn, Qt::CaseInsensitive) && !loaded.contains(standIn)) {
            for (const char *file : s.files)
                QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            loaded << standIn;
        }
        QFont::insertSubstitution(family, standIn);
    }
}

} // namespace ct
