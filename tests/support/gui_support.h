#pragma once

#include "platform/message_box.h"
#include "platform/program.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

namespace ct::test {

// The named child, or a loud failure naming what is missing.
template <typename T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found) {
        std::fprintf(stderr, "%s has no child %s of the expected type\n", qPrintable(parent->objectName()),
                     qPrintable(name));
        std::abort();
    }
    return found;
}

// The one visible top-level window with this objectName, or nullptr.
inline QWidget *topLevel(const QString &name)
{
    QWidget *found = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            found = w;
    return found;
}

inline int visibleTopLevels()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->isVisible() && !w->objectName().isEmpty() ? 1 : 0;
    return count;
}

// Runs the test in a fresh empty working directory.
class WorkingFolder {
public:
    WorkingFolder() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~WorkingFolder() { QDir::setCurrent(m_previous); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(file(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::abort();
    }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString &name) const { return QFile::exists(file(name)); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Answers message boxes and records them, and records how the program ended,
// instead of showing boxes or ending the test.
class ProgramRecorder {
public:
    ProgramRecorder()
    {
        MessageBox::setHook([this](const MessageBox::Request &request) {
            boxes.push_back(request);
            if (answers.empty())
                return request.yesNo ? MessageBox::Answer::No : MessageBox::Answer::Ok;
            const MessageBox::Answer answer = answers.front();
            answers.pop_front();
            return answer;
        });
        setEndProgramHook([this](int status) { exitStatuses.push_back(status); });
        setBeepHook([this] { ++beeps; });
    }
    ~ProgramRecorder()
    {
        MessageBox::setHook({});
        setEndProgramHook({});
        setBeepHook({});
    }

    std::vector<MessageBox::Request> boxes;
    std::deque<MessageBox::Answer> answers;
    std::vector<int> exitStatuses;
    int beeps = 0;
};

// Deletes every window of the experiment, so that each test starts clean.
inline void closeAllWindows()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName().startsWith(QLatin1String("frm")))
            delete w;
}

} // namespace ct::test
