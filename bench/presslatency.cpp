// Press-to-answer latency of the button wait.
//
// The simulated instrument presses at a random moment inside a wait that
// polls in the product's 50 ms steps. Each latency runs from the handler's
// signal (its "pressed" log line, written on the SDK's thread as the press
// arrives) to the moment the wait answers on the waiting thread, whose event
// loop runs meanwhile as the application's does.
#include "instrument/buttonwait.h"
#include "instrument/simulator/i1sim.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<Clock::rep> pressSignalledAt {0};

void recordPress(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (message == QLatin1String("pressed"))
        pressSignalledAt.store(Clock::now().time_since_epoch().count());
}

double percentile(const std::vector<double> &sorted, double fraction)
{
    // Nearest rank.
    const auto rank = std::size_t(std::ceil(fraction * double(sorted.size())));
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    // A lost press ends the wait after 10 s instead of the product's 90 minutes.
    const int pollLimit = 200;

    qInstallMessageHandler(recordPress);
    I1Sim_Configure("I1SIM_PRESS_MS", "never");
    I1Sim_Configure("I1SIM_TRACE", "");

    std::mt19937 random(std::random_device {}());
    // Anywhere in the first three sleeps, so every phase of a sleep is hit.
    std::uniform_int_distribution<int> pressAfterMs(5, 150);

    ButtonWait wait(ButtonWait::DefaultInterval, pollLimit);
    bool pressed = false;
    Clock::time_point answeredAt;
    QEventLoop loop;
    QObject::connect(&wait, &ButtonWait::finished, [&](bool wasPressed) {
        answeredAt = Clock::now();
        pressed = wasPressed;
        loop.quit();
    });

    std::vector<double> latenciesMs;
    int missed = 0;
    for (int i = 0; i < presses; ++i) {
        pressSignalledAt.store(0);
        I1Sim_SendDeviceEvent(1, pressAfterMs(random));
        wait.start();
        if (wait.isRunning())
            loop.exec();
        const Clock::rep signalled = pressSignalledAt.load();
        if (!pressed || signalled == 0) {
            ++missed;
            continue;
        }
        const Clock::time_point signalledAt {Clock::duration(signalled)};
        latenciesMs.push_back(
                std::chrono::duration<double, std::milli>(answeredAt - signalledAt).count());
    }
    if (latenciesMs.empty()) {
        std::fprintf(stderr, "No press reached the wait\n");
        return 1;
    }

    std::sort(latenciesMs.begin(), latenciesMs.end());
    std::printf("Press-to-answer latency of the button wait (%d ms sleeps), %zu presses:\n",
            int(ButtonWait::DefaultInterval.count()), latenciesMs.size());
    const double median = percentile(latenciesMs, 0.5);
    std::printf("  median           %8.3f ms  (goal: under 1 ms) %s\n", median,
            median < 1.0 ? "met" : "MISSED");
    std::printf("  99th percentile  %8.3f ms  (no goal)\n", percentile(latenciesMs, 0.99));
    std::printf("  maximum          %8.3f ms  (no goal)\n", latenciesMs.back());
    if (missed > 0)
        std::printf("  missed presses   %8d\n", missed);
    return missed > 0 ? 1 : 0;
}
