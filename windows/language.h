#pragma once

#include <QString>
#include <QStringList>

namespace ct {

// The participants' language. The texts in the code are English, the default;
// any other language comes from a Qt translation file, choicetask_<code>.qm,
// taken from the study folder when the lab has put one there, else from the
// translations built into the program.

// The language codes the program has built in, English first.
QStringList builtInLanguages();

// Makes the windows speak the language `code` ("en", "de", or a code the lab
// added a file for) from now on. Returns an empty text, or the reason the
// language cannot be used, naming the files looked for.
QString useLanguage(const QString &code, const QString &studyFolder);

// The file name of a language's translation: "choicetask_de.qm".
QString translationFileName(const QString &code);

} // namespace ct
