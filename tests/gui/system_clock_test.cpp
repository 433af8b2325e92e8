// The real clock's timers, in a real event loop. Every wait here is for a
// timer's signal: a few milliseconds, and the shortest and longest pause after
// a choice (330 and 990 ms), as the game arms them, about 1.4 s in all. The
// figures of how precise the timers are belong to bench/game_bench.
#include "platform/clock.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace ct;

class SystemClockTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ClockTimer> singleShot(int milliseconds)
    {
        std::unique_ptr<ClockTimer> timer(systemClock().createTimer(nullptr));
        timer->setSingleShot(true);
        timer->setInterval(milliseconds);
        return timer;
    }
    // Lets the event loop run until a later timer has fired.
    void runPast(int milliseconds)
    {
        const auto later = singleShot(milliseconds);
        QSignalSpy fired(later.get(), &ClockTimer::timeout);
        later->start();
        QVERIFY(fired.wait(5000));
    }

private slots:
    void singleShotFiresOnceNotBeforeItsInterval_data()
    {
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("0 ms") << 0;
        QTest::newRow("1 ms") << 1;
        QTest::newRow("pause of 1 unit") << 330;
        QTest::newRow("pause of 3 units") << 990;
    }
    void singleShotFiresOnceNotBeforeItsInterval()
    {
        QFETCH(int, milliseconds);
        const auto timer = singleShot(milliseconds);
        QSignalSpy fired(timer.get(), &ClockTimer::timeout);
        const double started = systemClock().seconds();
        timer->start();
        QVERIFY(timer->isActive());
        QVERIFY(fired.wait(5000));
        QVERIFY(systemClock().seconds() - started >= milliseconds / 1000.0);
        QVERIFY(!timer->isActive());
        runPast(20);
        QCOMPARE(fired.count(), 1);
    }

    void stoppedSingleShotDoesNotFire()
    {
        const auto timer = singleShot(2);
        QSignalSpy fired(timer.get(), &ClockTimer::timeout);
        timer->start();
        timer->stop();
        QVERIFY(!timer->isActive());
        runPast(20);
        QCOMPARE(fired.count(), 0);
    }

    void restartedSingleShotFiresOnce()
    {
        const auto timer = singleShot(3);
        QSignalSpy fired(timer.get(), &ClockTimer::timeout);
        timer->start();
        timer->start(5);
        QCOMPARE(timer->interval(), 5);
        QVERIFY(fired.wait(5000));
        runPast(20);
        QCOMPARE(fired.count(), 1);
        // And it can be armed again.
        timer->start(1);
        QVERIFY(fired.wait(5000));
        QCOMPARE(fired.count(), 2);
    }

    void repeatingTimerRepeats()
    {
        std::unique_ptr<ClockTimer> timer(systemClock().createTimer(nullptr));
        timer->setInterval(2);
        QSignalSpy fired(timer.get(), &ClockTimer::timeout);
        timer->start();
        QTRY_VERIFY_WITH_TIMEOUT(fired.count() >= 3, 5000);
        QVERIFY(timer->isActive());
        timer->stop();
        QVERIFY(!timer->isActive());
    }

    void switchingToSingleShotStopsTheTimer()
    {
        std::unique_ptr<ClockTimer> timer(systemClock().createTimer(nullptr));
        timer->setInterval(2);
        QSignalSpy fired(timer.get(), &ClockTimer::timeout);
        timer->start();
        timer->setSingleShot(true);
        QVERIFY(!timer->isActive());
        runPast(20);
        QCOMPARE(fired.count(), 0);
    }
};

QTEST_MAIN(SystemClockTest)
#include "system_clock_test.moc"
