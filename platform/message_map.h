// Routing of window messages and commands to handlers through a declarative table
// per class, each table chained to its base class's.
#pragma once

#include "gdi.h"

#include <cstdint>
#include <functional>
#include <vector>

using UINT_PTR = std::uintptr_t;
using HMENU = void*;

enum class MessageKind { MenuSelect, Paint, Command, UpdateCommandUI, LButtonDown, RButtonDown, Timer };

// Item-update object: a handler sets the menu item's state through it.
class CCmdUI {
public:
    CCmdUI(UINT id, std::function<void(bool)> setEnabled) : m_nID(id), m_setEnabled(std::move(setEnabled)) {}
    void Enable(BOOL on = 1) { m_setEnabled(on != 0); }
    UINT m_nID;

private:
    std::function<void(bool)> m_setEnabled;
};

struct MessageArgs {
    UINT id = 0; // command id, timer id or menu item id
    UINT flags = 0;
    CPoint point{};
    HMENU menu = nullptr;
    CCmdUI* cmdUI = nullptr;
};

class CCmdTarget;

struct MessageMapEntry {
    MessageKind kind;
    UINT id; // command id for Command and UpdateCommandUI entries, else 0
    std::function<void(CCmdTarget&, const MessageArgs&)> call;
};

struct MessageMap {
    const MessageMap* base;
    std::vector<MessageMapEntry> entries;

    // The first entry for the message in this table or its bases.
    const MessageMapEntry* Find(MessageKind kind, UINT id) const;
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // Runs this target's handler for the message; false when it has none.
    bool Dispatch(MessageKind kind, const MessageArgs& args = {});
    bool Handles(MessageKind kind, UINT id = 0) const { return GetMessageMap().Find(kind, id) != nullptr; }

protected:
    virtual const MessageMap& GetMessageMap() const;
};

// Table entries, one maker per kind of handler.
namespace on {

template <class T>
MessageMapEntry MenuSelect(void (T::*handler)(UINT, UINT, HMENU))
{
    return {MessageKind::MenuSelect, 0,
            [handler](CCmdTarget& t, const MessageArgs& a) { (static_cast<T&>(t).*handler)(a.id, a.flags, a.menu); }};
}

template <class T>
MessageMapEntry Paint(void (T::*handler)())
{
    return {MessageKind::Paint, 0, [handler](CCmdTarget& t, const MessageArgs&) { (static_cast<T&>(t).*handler)(); }};
}

template <class T>
MessageMapEntry Command(UINT id, void (T::*handler)())
{
    return {MessageKind::Command, id, [handler](CCmdTarget& t, const MessageArgs&) { (static_cast<T&>(t).*handler)(); }};
}

template <class T>
MessageMapEntry UpdateCommandUI(UINT id, void (T::*handler)(CCmdUI*))
{
    return {MessageKind::UpdateCommandUI, id,
            [handler](CCmdTarget& t, const MessageArgs& a) { (static_cast<T&>(t).*handler)(a.cmdUI); }};
}

template <class T>
MessageMapEntry LButtonDown(void (T::*handler)(UINT, CPoint))
{
    return {MessageKind::LButtonDown, 0,
            [handler](CCmdTarget& t, const MessageArgs& a) { (static_cast<T&>(t).*handler)(a.flags, a.point); }};
}

template <class T>
MessageMapEntry RButtonDown(void (T::*handler)(UINT, CPoint))
{
    return {MessageKind::RButtonDown, 0,
            [handler](CCmdTarget& t, const MessageArgs& a) { (static_cast<T&>(t).*handler)(a.flags, a.point); }};
}

template <class T>
MessageMapEntry Timer(void (T::*handler)(UINT_PTR))
{
    return {MessageKind::Timer, 0, [handler](CCmdTarget& t, const MessageArgs& a) { (static_cast<T&>(t).*handler)(a.id); }};
}

} // namespace on
