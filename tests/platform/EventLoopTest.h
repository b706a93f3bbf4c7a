#pragma once
// A fixture for timers that run on the Qt event loop: the application object, and loops that end when a
// condition holds or a limit passes.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>

namespace tarvel::platform {

class EventLoopTest : public ::testing::Test {
protected:
    // Runs the event loop until done() holds or the limit passes.
    static void runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        QTimer guard;
        guard.setTimerType(Qt::PreciseTimer);
        guard.start(static_cast<int>(limit.count()));
        while (!done() && std::chrono::steady_clock::now() < end)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    static void runFor(std::chrono::milliseconds span) {
        runUntil([] { return false; }, span);
    }

    int argc = 1;
    char name[8] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

} // namespace tarvel::platform
