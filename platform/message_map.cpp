// Lookup in the message tables and routing to the handler found.
#include "message_map.h"

#include <algorithm>

const MessageMapEntry* MessageMap::Find(MessageKind kind, UINT id) const
{
    for (const MessageMap* map = this; map != nullptr; map = map->base) {
        const auto found = std::find_if(map->entries.begin(), map->entries.end(),
                                        [&](const MessageMapEntry& e) { return e.kind == kind && e.id == id; });
        if (found != map->entries.end())
            return &*found;
    }
    return nullptr;
}

const MessageMap& CCmdTarget::GetMessageMap() const
{
    static const MessageMap empty{nullptr, {}};
    return empty;
}

bool CCmdTarget::Dispatch(MessageKind kind, const MessageArgs& args)
{
    const bool byId = kind == MessageKind::Command || kind == MessageKind::UpdateCommandUI;
    const MessageMapEntry* entry = GetMessageMap().Find(kind, byId ? args.id : 0);
    if (entry == nullptr)
        return false;
    entry->call(*this, args);
    return true;
}
