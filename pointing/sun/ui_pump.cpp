#include "pointing/sun/ui_pump.h"

#include "platform/services.h"

void UiPump::Tick()
{
    // Reading the clock costs more than a step; look at it every 64 steps.
    if ((++ticks_ & 63u) != 0) return;
    if (std::chrono::steady_clock::now() - last_ >= kInterval) Now();
}

void UiPump::Now()
{
    platform::PumpWaitingMessages();
    last_ = std::chrono::steady_clock::now();
}
