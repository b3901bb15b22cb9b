// Window timers on a kernel periodic timer, read on the user-interface thread.
#include "periodic_timer.h"

#include "exceptions.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

PeriodicTimer::PeriodicTimer(int periodMs, std::function<void()> onTick)
    : m_fd(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (m_fd < 0)
        throw CException("A timer could not be started (" + std::string(std::strerror(errno)) + ").");
    const long ns = static_cast<long>(std::max(periodMs, 1)) * 1000000L;
    itimerspec period{};
    period.it_interval.tv_sec = ns / 1000000000L;
    period.it_interval.tv_nsec = ns % 1000000000L;
    period.it_value = period.it_interval;
    timerfd_settime(m_fd, 0, &period, nullptr);
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this, onTick] {
        // Expiries missed while a handler ran are one tick, as window timers are.
        std::uint64_t expiries = 0;
        if (read(m_fd, &expiries, sizeof expiries) == static_cast<ssize_t>(sizeof expiries) && expiries > 0)
            onTick();
    });
}

void PeriodicTimer::Disarm() noexcept
{
    const itimerspec never{};
    timerfd_settime(m_fd, 0, &never, nullptr);
}

// A timer may be stopped from its own tick: its notifier is disabled at once and
// deleted once that signal has returned.
PeriodicTimer::~PeriodicTimer()
{
    m_notifier->setEnabled(false);
    m_notifier.release()->deleteLater();
    close(m_fd);
}
