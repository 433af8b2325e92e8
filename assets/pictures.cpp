#include "assets/pictures.h"

#include <QImageReader>

namespace ct::pictures {

QStringList missing(std::span<const char *const> paths)
{
    QStringList result;
    for (const char *path : paths) {
        const QString name = QString::fromUtf8(path);
        // canRead() looks at the header only; the pictures are small, so read them whole.
        if (QImageReader(name).read().isNull())
            result.append(name);
    }
    return result;
}

} // namespace ct::pictures
