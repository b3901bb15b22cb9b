// The seams that only tests and benchmarks use: a window's Qt widgets, its client
// image, the texts written on it, the failures reported, the time each handler takes,
// and the brush a surface holds.
#pragma once

#include "gdi.h"
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
// How many failure boxes are on the screen.
int VisibleFailureBoxes();

// Called after each handler with its kind and how long it ran, in nanoseconds.
void SetHandlerTimingHook(std::function<void(MessageKind, std::int64_t)> hook);

// The colour of the brush a surface has selected.
COLORREF SelectedBrushColourOf(const CDC& dc);

// The one friend of the platform classes whose insides the functions above read.
class PlatformTestAccess {
public:
    static COLORREF SelectedBrushColour(const CDC& dc);
    static void SetTextHook(CWnd* window, std::function<void(int, int, std::string_view)> hook);
};
