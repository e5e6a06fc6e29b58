#include "editor/Debouncer.h"

#include <algorithm>

Debouncer::~Debouncer()
{
    stopTimer();
}

void Debouncer::arm(std::function<void()> function, int milliseconds)
{
    pending = std::move(function);
    stopTimer();
    // The framework's timer treats a period of 0 or less as "stop", which would keep the function forever.
    startTimer(std::max(1, milliseconds));
}

void Debouncer::disarm()
{
    stopTimer();
    pending = nullptr;
}

void Debouncer::timerCallback()
{
    stopTimer();
    auto function = std::move(pending);
    pending = nullptr;
    if (function)
        function();
}
