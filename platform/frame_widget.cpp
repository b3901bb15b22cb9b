// Qt implementation of the frame window.
#include "frame_widget.h"

#include "exceptions.h"
#include "menu_resource.h"
#include "window.h"
#include "window_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <new>
#include <string>

namespace {

std::string g_lastFailure;
int g_failureCount = 0;
std::function<void(MessageKind, std::int64_t)> g_timingHook;

// Windows reports a closed menu with these flags and no menu handle.
constexpr UINT kMenuClosedFlags = 0xFFFF;
constexpr int kFrameIntervalMs = 16;

// Memory set aside for telling the user that memory ran out: freed before the report is
// built, taken again once memory is back. Not touched, so it costs address space only.
constexpr std::size_t kEmergencyReserveBytes = 16u << 20;
std::unique_ptr<char[]> g_emergencyReserve;

void KeepEmergencyReserve()
{
    if (!g_emergencyReserve)
        g_emergencyReserve.reset(new (std::nothrow) char[kEmergencyReserveBytes]);
}

// One box at a time: a failure that repeats on every tick updates the box already shown
// instead of opening a thousand more.
QPointer<QMessageBox> g_failureBox;

void ShowFailure(QWidget* parent, const std::string& text)
{
    g_lastFailure = text;
    if (g_failureBox) {
        g_failureBox->setText(QString::fromStdString(text));
        return;
    }
    g_failureBox = new QMessageBox(QMessageBox::Warning, QStringLiteral("Puzzle Solver"), QString::fromStdString(text),
                                   QMessageBox::Ok, parent);
    g_failureBox->setAttribute(Qt::WA_DeleteOnClose);
    g_failureBox->setModal(false);
    g_failureBox->show();
}

// Tells the user of a failure; where even that fails (memory is short), the fixed
// `fallback` line goes to standard error, which needs no memory.
template <typename MakeText>
void ReportFailure(QWidget* parent, MakeText makeText, std::string_view fallback) noexcept
{
    ++g_failureCount;
    try {
        ShowFailure(parent, makeText());
        return;
    } catch (...) {
        // Nothing more can be done in a window; fall through to standard error.
    }
    const std::string_view prefix = "Puzzle Solver: ";
    (void)!::write(STDERR_FILENO, prefix.data(), prefix.size());
    (void)!::write(STDERR_FILENO, fallback.data(), fallback.size());
    (void)!::write(STDERR_FILENO, "\n", 1);
}

constexpr std::string_view kOutOfMemory =
    "The computer ran out of memory, so the last action was not finished. The program goes on.";

} // namespace

bool RunHandler(QWidget* dialogParent, MessageKind kind, const std::function<void()>& handler)
{
    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    try {
        KeepEmergencyReserve();
        handler();
        finished = true;
    } catch (const CException& failure) {
        ReportFailure(dialogParent, [&] { return failure.Description() + " The program goes on."; },
                      "The last action failed. The program goes on.");
    } catch (const std::bad_alloc&) {
        g_emergencyReserve.reset();
        ReportFailure(dialogParent, [] { return std::string(kOutOfMemory); }, kOutOfMemory);
    } catch (const std::exception& failure) {
        ReportFailure(dialogParent, [&] { return std::string("The last action failed: ") + failure.what() + ". The program goes on."; },
                      "The last action failed. The program goes on.");
    } catch (...) {
        ReportFailure(dialogParent, [] { return std::string("The last action failed. The program goes on."); },
                      "The last action failed. The program goes on.");
    }
    if (g_timingHook)
        g_timingHook(kind, clock.nsecsElapsed());
    return finished;
}

const std::string& LastReportedFailure() { return g_lastFailure; }
int ReportedFailureCount() { return g_failureCount; }
void ClearReportedFailure() { g_lastFailure.clear(); }
void SetHandlerTimingHook(std::function<void(MessageKind, std::int64_t)> hook) { g_timingHook = std::move(hook); }

// ---- client area

ClientArea::ClientArea(FrameWidget* frame) : QWidget(frame), m_frame(frame)
{
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel comes from the image
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setInterval(kFrameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] {
        update(m_dirty);
        m_dirty = QRect();
    });
}

void ClientArea::MarkDirty(const QRect& rect)
{
    if (rect.isEmpty())
        return;
    m_dirty |= rect;
    if (!m_frameTimer.isActive())
        m_frameTimer.start();
}

// A repaint erases to the window colour, then the paint handler writes what it writes.
void ClientArea::PaintIfPending()
{
    if (!m_paintPending)
        return;
    m_paintPending = false;
    m_image.fill(Qt::white);
    m_frame->Deliver(MessageKind::Paint, {});
    update();
}

void ClientArea::paintEvent(QPaintEvent* event)
{
    PaintIfPending();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}

void ClientArea::resizeEvent(QResizeEvent*)
{
    m_image = QImage(size(), QImage::Format_RGB32);
    m_image.fill(Qt::white);
    m_paintPending = true;
    update();
}

void ClientArea::mousePressEvent(QMouseEvent* event)
{
    MessageArgs args;
    args.point = {event->position().toPoint().x(), event->position().toPoint().y()};
    if (event->button() == Qt::LeftButton)
        m_frame->Deliver(MessageKind::LButtonDown, args);
    else if (event->button() == Qt::RightButton)
        m_frame->Deliver(MessageKind::RButtonDown, args);
}

// A second press reported as a double click is not a press.
void ClientArea::mouseDoubleClickEvent(QMouseEvent*) {}

// ---- frame

FrameWidget::FrameWidget(CFrameWnd* owner, const MenuResource& menu) : m_owner(owner), m_client(new ClientArea(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCentralWidget(m_client);
    BuildMenu(menu);
}

FrameWidget::~FrameWidget()
{
    CFrameWnd* owner = m_owner;
    m_owner = nullptr;
    // The client area calls back through this object: it goes while this is still whole.
    delete m_client;
    if (owner != nullptr)
        owner->OnWindowDestroyed();
}

bool FrameWidget::Deliver(MessageKind kind, const MessageArgs& args)
{
    if (m_owner == nullptr)
        return true;
    CFrameWnd* owner = m_owner;
    return RunHandler(this, kind, [owner, kind, &args] { owner->Dispatch(kind, args); });
}

void FrameWidget::BuildMenu(const MenuResource& menu)
{
    for (const MenuItemTemplate& popupTemplate : menu.popups) {
        QMenu* popup = menuBar()->addMenu(QString::fromStdString(popupTemplate.caption));
        AddItems(popup, popupTemplate.items);
        connect(popup, &QMenu::aboutToShow, this, [this, popup] {
            MenuUsed(0, MF_POPUP);
            UpdateItems(popup);
        });
        connect(popup, &QMenu::hovered, this, [this](QAction* action) { MenuUsed(action->data().toUInt(), 0); });
        connect(popup, &QMenu::aboutToHide, this, [this] { MenuUsed(0, kMenuClosedFlags); });
    }
}

void FrameWidget::AddItems(QMenu* popup, const std::vector<MenuItemTemplate>& items)
{
    for (const MenuItemTemplate& item : items) {
        if (item.id == 0 && item.caption.empty()) {
            popup->addSeparator();
            continue;
        }
        QAction* action = popup->addAction(QString::fromStdString(item.caption));
        action->setData(item.id);
        action->setEnabled((item.flags & MF_GRAYED) == 0);
        if (item.flags & MF_CHECKED) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        const UINT id = item.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (m_owner != nullptr)
                RunHandler(this, MessageKind::Command, [this, id] { m_owner->OnCommand(id); });
        });
    }
}

void FrameWidget::MenuUsed(UINT itemId, UINT flags)
{
    MessageArgs args;
    args.id = itemId;
    args.flags = flags;
    Deliver(MessageKind::MenuSelect, args);
}

void FrameWidget::UpdateItems(QMenu* popup)
{
    for (QAction* action : popup->actions()) {
        if (action->isSeparator() || m_owner == nullptr)
            continue;
        CCmdUI ui(action->data().toUInt(), [action](bool on) { action->setEnabled(on); });
        RunHandler(this, MessageKind::UpdateCommandUI, [this, &ui] { m_owner->UpdateMenuItem(ui.m_nID, ui); });
    }
}

// ---- timers

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

void FrameWidget::StartTimer(UINT_PTR id, int periodMs)
{
    StopTimer(id);
    m_timers[id] = std::make_unique<PeriodicTimer>(periodMs, [this, id] { Tick(id); });
}

bool FrameWidget::StopTimer(UINT_PTR id)
{
    const auto found = m_timers.find(id);
    if (found == m_timers.end())
        return false;
    m_timers.erase(found);
    return true;
}

void FrameWidget::Tick(UINT_PTR id)
{
    MessageArgs args;
    args.id = static_cast<UINT>(id);
    // A tick that failed would fail again a millisecond later (memory that ran out stays
    // out): its timer stops, and the user starts it again once the cause is gone.
    if (!Deliver(MessageKind::Timer, args))
        if (const auto found = m_timers.find(id); found != m_timers.end())
            found->second->Disarm(); // allocates nothing, unlike removing it
}
