// Frame windows on Qt Widgets: showing, placing, timers, command routing, self-deletion.
#include "window.h"

#include "application.h"
#include "client_area.h"
#include "frame_widget.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

BOOL CWnd::ShowWindow(int)
{
    if (m_widget == nullptr)
        return 0;
    const bool wasVisible = m_widget->isVisible();
    m_widget->show();
    // Only a shown window knows its frame: make the outer size the one asked for.
    const QSize frameExtra = m_widget->frameGeometry().size() - m_widget->geometry().size();
    if (!wasVisible && m_outerSize.cx > 0)
        m_widget->resize(m_outerSize.cx - frameExtra.width(), m_outerSize.cy - frameExtra.height());
    return wasVisible ? 1 : 0;
}

void CWnd::UpdateWindow()
{
    if (m_widget != nullptr)
        m_widget->Client()->PaintIfPending();
}

void CWnd::CenterWindow()
{
    if (m_widget == nullptr)
        return;
    const QScreen* screen = m_widget->screen() ? m_widget->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = m_widget->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    m_widget->move(frame.topLeft());
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void*)
{
    if (m_widget == nullptr)
        return 0;
    m_widget->StartTimer(id, static_cast<int>(elapseMs));
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id) { return m_widget != nullptr && m_widget->StopTimer(id) ? 1 : 0; }

void CWnd::SendCloseRequest()
{
    if (m_widget != nullptr)
        m_widget->close();
}

CFrameWnd::~CFrameWnd()
{
    // Deleted while its window still stands (not through closing): take the window down
    // without letting it call back into a frame that is going.
    if (m_widget != nullptr) {
        m_widget->DetachOwner();
        delete m_widget;
        m_widget = nullptr;
    }
}

BOOL CFrameWnd::Create(const char*, const char* title, UINT, const CRect& rect, CWnd*, const MenuResource& menu)
{
    m_widget = new FrameWidget(this, menu);
    m_widget->setWindowTitle(QString::fromUtf8(title));
    m_widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    m_outerSize = {rect.Width(), rect.Height()};
    return 1;
}

const MessageMap& CFrameWnd::GetMessageMap() const { return CCmdTarget::GetMessageMap(); }

void CFrameWnd::OnCommand(UINT id)
{
    MessageArgs args;
    args.id = id;
    if (Dispatch(MessageKind::Command, args))
        return;
    if (CWinApp* app = AfxGetApp())
        app->Dispatch(MessageKind::Command, args);
}

void CFrameWnd::UpdateMenuItem(UINT id, CCmdUI& ui)
{
    MessageArgs args;
    args.id = id;
    args.cmdUI = &ui;
    if (Dispatch(MessageKind::UpdateCommandUI, args))
        return;
    const CWinApp* app = AfxGetApp();
    ui.Enable(Handles(MessageKind::Command, id) || (app != nullptr && app->Handles(MessageKind::Command, id)));
}

void CFrameWnd::OnWindowDestroyed()
{
    m_widget = nullptr;
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    PostNcDestroy();
}
