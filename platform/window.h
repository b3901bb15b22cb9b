// Windows: the frame window with its menu and timers. Implemented on Qt Widgets; this
// header holds no Qt.
#pragma once

#include "gdi.h"
#include "menu_resource.h"
#include "message_map.h"

constexpr UINT WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr int SW_SHOW = 5;

class FrameWidget; // the Qt window behind a CFrameWnd

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    BOOL ShowWindow(int showCommand);
    // Runs a pending paint now rather than when the event loop gets to it.
    void UpdateWindow();
    void CenterWindow();
    // Starts timer `id` (or restarts it with the new period) on this window.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* callback);
    BOOL KillTimer(UINT_PTR id);
    // Asks the window to close, as the close box does.
    void SendCloseRequest();

    FrameWidget* Widget() const { return m_widget; }

protected:
    FrameWidget* m_widget = nullptr;
    CSize m_outerSize{}; // the size asked for, frame included
};

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Window class name and parent are accepted for their shape only: there is one
    // kind of frame and it has no parent.
    BOOL Create(const char* className, const char* title, UINT style, const CRect& rect, CWnd* parent,
                const MenuResource& menu);

    // Routing of a menu command: the frame's table, then the application's.
    void OnCommand(UINT id);
    // Sets a menu item's state before its pop-up shows.
    void UpdateMenuItem(UINT id, CCmdUI& ui);

    // Called by the Qt window as it goes: a frame deletes itself after its window.
    void OnWindowDestroyed();

protected:
    const MessageMap& GetMessageMap() const override;
    virtual void PostNcDestroy() { delete this; }
};
