// The one place where handlers run: a failure that leaves a handler (a file error,
// memory running out) ends only that handler and is told to the user in plain words.
#pragma once

#include "message_map.h"

#include <cstdint>
#include <functional>
#include <string>

class QWidget;

// Runs one handler; nothing escapes. True when the handler ran to its end. Failure
// boxes are shown over `dialogParent`.
bool RunHandler(QWidget* dialogParent, MessageKind kind, const std::function<void()>& handler);

// What the dispatch has told, and who watches it run: read through test_support.h.
struct DispatchRecord {
    std::string lastFailure;
    int failureCount = 0; // counted without allocating, even when memory is out
    std::function<void(MessageKind, std::int64_t)> timingHook;
};
DispatchRecord& TheDispatchRecord();
