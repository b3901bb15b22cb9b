// What tests and benchmarks may see of a window beyond what the program uses:
// its Qt widgets, its client image, the texts written on it, reported failures.
#pragma once

#include "message_map.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CWnd;
class QMainWindow;
class QWidget;

QMainWindow* FrameWindowOf(CWnd* window);
QWidget* ClientWidgetOf(CWnd* window);
QImage ClientImageOf(CWnd* window);
// Called with every text written on the window's client area, where it was written.
void SetTextHook(CWnd* window, std::function<void(int, int, std::string_view)> hook);

// The last failure told to the user, in the words they were shown.
const std::string& LastReportedFailure();
void ClearReportedFailure();
// How many failures were reported since start-up, counted without allocating.
int ReportedFailureCount();

// Called after each handler with its kind and how long it ran, in nanoseconds.
void SetHandlerTimingHook(std::function<void(MessageKind, std::int64_t)> hook);
