#pragma once

#include <QString>
#include <QStringList>

namespace ct {

// The program's command line:
//   choicetask [--language CODE] [--study-folder]
//   choicetask --help | --version
struct Options {
    bool help = false;
    bool version = false;
    // The participants' language; English, the texts in the code, by default.
    QString language = QStringLiteral("en");
    // Run in the documented study folder instead of the folder started in.
    bool studyFolder = false;
    // Why the command line cannot be used; empty when it can.
    QString problem;
};

// Reads the arguments after the program name. Qt's own options (-platform
// and the like) must have been taken out already.
Options parseOptions(const QStringList &arguments);

// True when the arguments ask for --help or --version, which need no display.
bool asksForHelpOrVersion(int argc, char **argv);

// The text --help prints, naming the languages built in.
QString usageText(const QStringList &builtInLanguages);

} // namespace ct
