#include "net/NetworkWait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

std::vector<NetworkWait*>& activeWaits()
{
    static std::vector<NetworkWait*> waits;
    return waits;
}

// The watch over stalled waits: one single-shot timer, running only while a watched wait is in
// progress. Progress only notes the time (it comes with every read and write); the timer, when it
// runs out, starts again for whatever remains since the last progress.
struct StallWatch
{
    int seconds = 0;
    std::function<void()> onStall;
    int watchedWaits = 0;
    QPointer<QTimer> timer; // goes with the application that owns it
    QElapsedTimer sinceProgress;

    void restart()
    {
        if (seconds <= 0 || watchedWaits == 0 || !QCoreApplication::instance())
            return;
        if (!timer) {
            timer = new QTimer(QCoreApplication::instance());
            timer->setSingleShot(true);
            QObject::connect(timer, &QTimer::timeout, timer, [this] {
                if (watchedWaits == 0 || !onStall)
                    return;
                const qint64 left = seconds * qint64(1000) - sinceProgress.elapsed();
                if (left > 0) {
                    timer->start(int(left));
                    return;
                }
                restart();
                onStall();
            });
        }
        sinceProgress.start();
        timer->start(seconds * 1000);
    }
    void stop()
    {
        if (timer)
            timer->stop();
    }
};

StallWatch& stallWatch()
{
    static StallWatch watch;
    return watch;
}

// The watch over a site's whole time: one single-shot timer from the site's start. A limit that
// runs out between waits is acted on by the next wait, so a trickling peer cannot outlast it.
struct SiteWatch
{
    int seconds = 0;
    std::function<void()> onLimit;
    QPointer<QTimer> timer;
    bool overdue = false;

    void start()
    {
        overdue = false;
        if (seconds <= 0 || !QCoreApplication::instance()) {
            if (timer)
                timer->stop();
            return;
        }
        if (!timer) {
            timer = new QTimer(QCoreApplication::instance());
            timer->setSingleShot(true);
            QObject::connect(timer, &QTimer::timeout, timer, [this] {
                overdue = true;
                fireIfWaiting();
            });
        }
        timer->start(seconds * 1000);
    }
    void fireIfWaiting()
    {
        if (!overdue || activeWaits().empty() || !onLimit)
            return;
        overdue = false;
        onLimit();
    }
};

SiteWatch& siteWatch()
{
    static SiteWatch watch;
    return watch;
}

} // namespace

NetworkWait::NetworkWait(Watch watch)
    : m_watched(watch == Watch::Stalls)
{
    activeWaits().push_back(this);
    if (m_watched && stallWatch().watchedWaits++ == 0)
        stallWatch().restart();
    if (siteWatch().overdue && QCoreApplication::instance()) {
        // Acted on from the wait's own event loop, where Skip is acted on too.
        QTimer::singleShot(0, QCoreApplication::instance(), [] { siteWatch().fireIfWaiting(); });
    }
}

NetworkWait::~NetworkWait()
{
    auto& waits = activeWaits();
    waits.erase(std::remove(waits.begin(), waits.end(), this), waits.end());
    if (m_watched && --stallWatch().watchedWaits == 0)
        stallWatch().stop();
}

void setNetworkStallLimit(int seconds, std::function<void()> onStall)
{
    StallWatch& watch = stallWatch();
    watch.seconds = std::max(0, seconds);
    watch.onStall = std::move(onStall);
    if (watch.seconds == 0)
        watch.stop();
    else
        watch.restart();
}

void setNetworkSiteLimit(int seconds, std::function<void()> onLimit)
{
    SiteWatch& watch = siteWatch();
    watch.seconds = std::max(0, seconds);
    watch.onLimit = std::move(onLimit);
    watch.overdue = false;
    if (watch.timer)
        watch.timer->stop();
}

void startSiteClock()
{
    siteWatch().start();
}

void noteNetworkProgress()
{
    StallWatch& watch = stallWatch();
    if (watch.timer && watch.timer->isActive())
        watch.sinceProgress.start();
}

void NetworkWait::interrupt()
{
    m_interrupted = true;
    // The wait may be about to block in the event loop with nothing else pending: wake it so it
    // sees the flag at once.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

void interruptNetworkWaits()
{
    for (NetworkWait* wait : activeWaits())
        wait->interrupt();
}
