// The Qt window behind a frame: menu bar, client area with its backing image,
// timers, and the one place where handlers run (and their failures are caught).
#pragma once

#include "message_map.h"

#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string_view>

class CFrameWnd;
struct MenuResource;
struct MenuItemTemplate;
class QMenu;
class QSocketNotifier;
class FrameWidget;

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

// Runs one handler; a failure that leaves it ends only that handler and is told to the
// user. Nothing escapes. True when the handler ran to its end.
bool RunHandler(QWidget* dialogParent, MessageKind kind, const std::function<void()>& handler);

// The client area: keeps what was drawn on it in an image until the next repaint.
class ClientArea : public QWidget {
public:
    explicit ClientArea(FrameWidget* frame);

    QImage& Image() { return m_image; }
    // Shows the given part of the image on the screen at the next frame.
    void MarkDirty(const QRect& rect);
    void PaintIfPending();

    std::function<void(int, int, std::string_view)> textHook; // tests watch texts here

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    FrameWidget* m_frame;
    QImage m_image;
    bool m_paintPending = false;
    QRect m_dirty;
    QTimer m_frameTimer; // paces screen updates, so drawing never waits for the screen
};

class FrameWidget : public QMainWindow {
public:
    FrameWidget(CFrameWnd* owner, const MenuResource& menu);
    ~FrameWidget() override;

    ClientArea* Client() const { return m_client; }
    void DetachOwner() { m_owner = nullptr; }
    // Runs the frame's handler for a message, if the frame is still there; false when it failed.
    bool Deliver(MessageKind kind, const MessageArgs& args);

    void StartTimer(UINT_PTR id, int periodMs);
    bool StopTimer(UINT_PTR id);

private:
    void Tick(UINT_PTR id);
    void BuildMenu(const MenuResource& menu);
    void AddItems(QMenu* popup, const std::vector<MenuItemTemplate>& items);
    void MenuUsed(UINT itemId, UINT flags);
    void UpdateItems(QMenu* popup);

    CFrameWnd* m_owner;
    ClientArea* m_client;
    std::map<UINT_PTR, std::unique_ptr<PeriodicTimer>> m_timers;
};
