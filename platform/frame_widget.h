// The Qt window behind a frame: menu bar, client area and timers.
#pragma once

#include "message_map.h"

#include <QMainWindow>

#include <map>
#include <memory>
#include <vector>

class CFrameWnd;
class ClientArea;
class PeriodicTimer;
class QMenu;
struct MenuResource;
struct MenuItemTemplate;

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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void Tick(UINT_PTR id);
    void OpenFirstPopup();
    void BuildMenu(const MenuResource& menu);
    void AddItems(QMenu* popup, const std::vector<MenuItemTemplate>& items);
    void MenuUsed(UINT itemId, UINT flags);
    void UpdateItems(QMenu* popup);

    CFrameWnd* m_owner;
    ClientArea* m_client;
    std::map<UINT_PTR, std::unique_ptr<PeriodicTimer>> m_timers;
    bool m_altAlone = false; // Alt is down and nothing else came since
};
