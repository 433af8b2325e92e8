#include "app/options.h"

#include <cstring>

namespace ct {

Options parseOptions(const QStringList &arguments)
{
    Options options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == QLatin1String("--study-folder")) {
            options.studyFolder = true;
        } else if (argument == QLatin1String("--language")) {
            if (i + 1 == arguments.size() || arguments[i + 1].startsWith(QLatin1Char('-'))) {
                options.problem = QStringLiteral("--language needs a language code, for example --language de");
                return options;
            }
            options.language = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--language="))) {
            options.language = argument.mid(11);
        } else {
            options.problem = QStringLiteral("unknown argument \"%1\"").arg(argument);
            return options;
        }
    }
    return options;
}

bool asksForHelpOrVersion(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--version"))
            return true;
    return false;
}

QString usageText(const QStringList &builtInLanguages)
{
    return QStringLiteral("usage: choicetask [--language CODE] [--study-folder]\n"
                          "       choicetask --help | --version\n"
                          "\n"
                          "Runs one participant through the repeated-choice experiment. The program\n"
                          "reads instructions_condition_1.rtf from the folder it is started in and\n"
                          "writes the participant's data file <ID>.csv and session record there;\n"
                          "config.ini beside the program holds the exchange rate.\n"
                          "\n"
                          "  --language CODE  the language of the participant's windows: en (English,\n"
                          "                   the default), one built in (%1), or one whose\n"
                          "                   translation file choicetask_CODE.qm lies in the study\n"
                          "                   folder. The data file and the session record are the\n"
                          "                   same in every language.\n"
                          "  --study-folder   run in the study folder \"choicetask data\" in the\n"
                          "                   Documents folder (as the desktop menu entry does),\n"
                          "                   created on first use with the sample instruction file;\n"
                          "                   files already there are left as they are.\n"
                          "  --help           print this text and end.\n"
                          "  --version        print the version and end.\n"
                          "\n"
                          "Exit status: 0 finished or closed; 1 an error stopped the program; 2 wrong\n"
                          "arguments, or no display; 3 the experimenter ended the experiment early.\n"
                          "The experimenter's guide (/usr/share/doc/choicetask/experimenter-guide.md\n"
                          "on Debian) says more.\n")
        .arg(builtInLanguages.join(QStringLiteral(", ")));
}

} // namespace ct
