// A window timer: ticks delivered one at a time on the user-interface thread.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

// A window timer: a kernel timer on an absolute period, so ticks that come late do not
// push every later tick back, and its expiries read on the user-interface thread.
class PeriodicTimer {
public:
    PeriodicTimer(int periodMs, std::function<void()> onTick);
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;
    // Ticks no more until replaced.
    void Disarm() noexcept;

private:
    int m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
