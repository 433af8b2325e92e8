#pragma once

#include "platform/message_box.h"
#include "platform/program.h"
#include "platform/twips.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(ct::TwipsRect)

namespace ct {
// Lets QCOMPARE show the twips rectangles it compares.
inline char *toString(const TwipsRect &r)
{
    return QTest::toString(QStringLiteral("TwipsRect(%1, %2, %3 x %4)")
                               .arg(double(r.left), 0, 'g', 9)
                               .arg(double(r.top), 0, 'g', 9)
                               .arg(double(r.width), 0, 'g', 9)
                               .arg(double(r.height), 0, 'g', 9));
}
} // namespace ct

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

#ifndef Q_OS_WIN
// A named pipe in place of a file (POSIX systems: Windows keeps its named
// pipes apart from folders, under \\.\pipe\). Should the program open it and wait, the
// pipe is opened from this side after a few seconds and closed again, so that
// the test goes on and fails instead of hanging.
class NamedPipe {
public:
    explicit NamedPipe(const QString &path) : m_path(QFile::encodeName(path).toStdString())
    {
        if (::mkfifo(m_path.c_str(), 0644) != 0)
            std::abort();
        m_watch = std::thread([this] {
            std::unique_lock lock(m_mutex);
            if (m_done.wait_for(lock, std::chrono::seconds(5), [this] { return m_finished; }))
                return;
            m_waitedOn = true;
            const int fd = ::open(m_path.c_str(), O_RDWR | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        });
    }
    ~NamedPipe()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_watch.join();
    }
    // True when the program sat waiting on the pipe.
    bool waitedOn()
    {
        std::lock_guard lock(m_mutex);
        return m_waitedOn;
    }

private:
    std::string m_path;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    bool m_waitedOn = false;
    std::thread m_watch;
};
#endif

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
