// The program itself, ending as soon as its registration window has first been
// painted. Prints the monotonic time of that moment (nanoseconds) and the
// resident memory then (kilobytes).
#include "app/run.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    return ct::run(argc, argv, [](QWidget *) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld %ld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, residentKilobytes());
        std::fflush(stdout);
        std::_Exit(0);
    });
}
