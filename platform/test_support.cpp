// The seams that only tests and benchmarks use.
#include "test_support.h"

#include "client_area.h"
#include "dispatch.h"
#include "frame_widget.h"
#include "window.h"

#include <QApplication>
#include <QMessageBox>

QMainWindow* FrameWindowOf(CWnd* window) { return window->Widget(); }
QWidget* ClientWidgetOf(CWnd* window) { return window->Widget() ? window->Widget()->Client() : nullptr; }
QImage ClientImageOf(CWnd* window) { return window->Widget() ? window->Widget()->Client()->Image().copy() : QImage(); }

void SetTextHook(CWnd* window, std::function<void(int, int, std::string_view)> hook)
{
    PlatformTestAccess::SetTextHook(window, std::move(hook));
}

void PlatformTestAccess::SetTextHook(CWnd* window, std::function<void(int, int, std::string_view)> hook)
{
    window->Widget()->Client()->m_textHook = std::move(hook);
}

const std::string& LastReportedFailure() { return TheDispatchRecord().lastFailure; }
void ClearReportedFailure() { TheDispatchRecord().lastFailure.clear(); }
int ReportedFailureCount() { return TheDispatchRecord().failureCount; }
int VisibleFailureBoxes()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) ? 1 : 0;
    return count;
}
void SetHandlerTimingHook(std::function<void(MessageKind, std::int64_t)> hook)
{
    TheDispatchRecord().timingHook = std::move(hook);
}

COLORREF SelectedBrushColourOf(const CDC& dc) { return PlatformTestAccess::SelectedBrushColour(dc); }
COLORREF PlatformTestAccess::SelectedBrushColour(const CDC& dc) { return dc.m_selected->Colour(); }
