// The Qt window behind a frame: its menu bar built from the menu resource, its client
// area, and its timers; every message goes to the frame's handlers through the dispatch.
#include "frame_widget.h"

#include "client_area.h"
#include "dispatch.h"
#include "menu_resource.h"
#include "periodic_timer.h"
#include "window.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace {
// Windows reports a closed menu with these flags and no menu handle.
constexpr UINT kMenuClosedFlags = 0xFFFF;
}

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
        popup->setSeparatorsCollapsible(false); // a separator that ends a pop-up shows
        AddItems(popup, popupTemplate.items);
        connect(popup, &QMenu::aboutToShow, this, [this, popup] {
            MenuUsed(0, MF_POPUP);
            UpdateItems(popup);
        });
        connect(popup, &QMenu::hovered, this, [this](QAction* action) { MenuUsed(action->data().toUInt(), 0); });
        connect(popup, &QMenu::aboutToHide, this, [this] { MenuUsed(0, kMenuClosedFlags); });
    }
}

// F10 and a lone Alt open the first pop-up, as a window's menu bar does on the platform
// the program comes from; the menu then takes arrows, Enter and Escape itself.
void FrameWidget::keyPressEvent(QKeyEvent* event)
{
    m_altAlone = event->key() == Qt::Key_Alt && !event->isAutoRepeat();
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::NoModifier) {
        OpenFirstPopup();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void FrameWidget::keyReleaseEvent(QKeyEvent* event)
{
    const bool lone = m_altAlone && event->key() == Qt::Key_Alt;
    m_altAlone = false;
    if (lone) {
        OpenFirstPopup();
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

void FrameWidget::OpenFirstPopup()
{
    const QList<QAction*> popups = menuBar()->actions();
    if (!popups.isEmpty())
        menuBar()->setActiveAction(popups.front());
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
