// Keeps the user interface alive during a long calculation on its thread:
// waiting messages are dispatched when at least the interval has passed
// since the last time, so that a search of many thousand steps neither looks
// hung nor spends its time in the event loop.
#pragma once

#include <chrono>

class UiPump {
public:
    static constexpr std::chrono::milliseconds kInterval{40};

    void Tick();
    // Dispatches now, whatever the time.
    void Now();

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
    unsigned ticks_ = 0;
};
