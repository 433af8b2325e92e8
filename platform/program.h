#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ct {

// Ends the program at once with the given exit status: no further events are
// handled and no window's close handler runs. Callers return right after.
void endProgram(int exitStatus);

// Stops the program on an error the experimenter must see: the message goes
// to standard error and into a stop box, then the program ends with status 1.
void fatalError(QWidget *parent, const QString &message);

// The same for a message of the program's own: `source`, marked for
// translation with QT_TRANSLATE_NOOP in `context`, with `first` and `second`
// for its %1 and %2. The box shows it in the participants' language;
// standard error and the listener below (the session record) get it in
// English, so that the researcher's files are the same in every language.
void fatalError(QWidget *parent, const char *context, const char *source, const QString &first,
                const QString &second = {});

// Called with the message of every fatal error before it is shown.
void setFatalErrorListener(std::function<void(const QString &)> listener);

// The system's default alert sound.
void beep();

// Tests replace what ending the program and beeping do.
void setEndProgramHook(std::function<void(int)> hook);
void setBeepHook(std::function<void()> hook);

// Exit status when the experimenter stops the experiment before its end (for
// example by closing a game window in mid-game and confirming): not an error,
// but not a finished run either. A finished run ends with 0, an error with 1.
inline constexpr int kExitStoppedByExperimenter = 3;

// The title of the program's own error and confirmation boxes.
inline const QString kProgramTitle = QStringLiteral("choicetask");

} // namespace ct
