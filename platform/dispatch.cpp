// The one place where handlers run and their failures are caught and told to the user.
#include "dispatch.h"

#include "exceptions.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>

#include <unistd.h>

#include <memory>
#include <new>
#include <string>

DispatchRecord& TheDispatchRecord()
{
    static DispatchRecord record;
    return record;
}

namespace {

// Memory set aside for telling the user that memory ran out: freed before the report is
// built, taken again once memory is back. Not touched, so it costs address space only.
constexpr std::size_t kEmergencyReserveBytes = 16u << 20;
std::unique_ptr<char[]> g_emergencyReserve;

void KeepEmergencyReserve()
{
    if (!g_emergencyReserve)
        g_emergencyReserve.reset(new (std::nothrow) char[kEmergencyReserveBytes]);
}

// One box at a time: a failure that repeats on every tick updates the box already shown
// instead of opening a thousand more.
QPointer<QMessageBox> g_failureBox;

void ShowFailure(QWidget* parent, const std::string& text)
{
    TheDispatchRecord().lastFailure = text;
    if (g_failureBox) {
        g_failureBox->setText(QString::fromStdString(text));
        return;
    }
    g_failureBox = new QMessageBox(QMessageBox::Warning, QStringLiteral("Puzzle Solver"), QString::fromStdString(text),
                                   QMessageBox::Ok, parent);
    g_failureBox->setAttribute(Qt::WA_DeleteOnClose);
    g_failureBox->setModal(false);
    g_failureBox->show();
}

// Tells the user of a failure; where even that fails (memory is short), the fixed
// `fallback` line goes to standard error, which needs no memory.
template <typename MakeText>
void ReportFailure(QWidget* parent, MakeText makeText, std::string_view fallback) noexcept
{
    ++TheDispatchRecord().failureCount;
    try {
        ShowFailure(parent, makeText());
        return;
    } catch (...) {
        // Nothing more can be done in a window; fall through to standard error.
    }
    const std::string_view prefix = "Puzzle Solver: ";
    (void)!::write(STDERR_FILENO, prefix.data(), prefix.size());
    (void)!::write(STDERR_FILENO, fallback.data(), fallback.size());
    (void)!::write(STDERR_FILENO, "\n", 1);
}

constexpr std::string_view kActionFailed = "The last action failed. The program goes on.";
constexpr std::string_view kOutOfMemory =
    "The computer ran out of memory, so the last action was not finished. The program goes on.";

} // namespace

bool RunHandler(QWidget* dialogParent, MessageKind kind, const std::function<void()>& handler)
{
    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    try {
        KeepEmergencyReserve();
        handler();
        finished = true;
    } catch (const CException& failure) {
        ReportFailure(dialogParent, [&] { return failure.Description() + " The program goes on."; }, kActionFailed);
    } catch (const std::bad_alloc&) {
        g_emergencyReserve.reset();
        ReportFailure(dialogParent, [] { return std::string(kOutOfMemory); }, kOutOfMemory);
    } catch (const std::exception& failure) {
        ReportFailure(dialogParent, [&] { return std::string("The last action failed: ") + failure.what() + ". The program goes on."; },
                      kActionFailed);
    } catch (...) {
        ReportFailure(dialogParent, [] { return std::string(kActionFailed); }, kActionFailed);
    }
    if (TheDispatchRecord().timingHook)
        TheDispatchRecord().timingHook(kind, clock.nsecsElapsed());
    return finished;
}

