// The application object and the program's entry into the message loop.
#include "application.h"

#include "frame_widget.h"
#include "window.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWinApp::CWinApp(const char*) { g_app = this; }

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

const MessageMap& CWinApp::GetMessageMap() const
{
    static const MessageMap map{&CCmdTarget::GetMessageMap(), {on::Command(ID_APP_EXIT, &CWinApp::OnAppExit)}};
    return map;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendCloseRequest();
}

namespace {

// Qt aborts when it cannot reach a display; say so plainly instead.
bool DisplayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int CWinApp::Run()
{
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "Puzzle Solver needs a graphical display, and none was found (DISPLAY is not set).\n");
        return 1;
    }
    int argc = 1;
    char name[] = "puzzle-solver";
    char* argv[] = {name, nullptr};
    // Past a file-size limit a write should fail and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication toolkit(argc, argv);
    // The loop ends with the main window, not with the last window of any kind.
    QApplication::setQuitOnLastWindowClosed(false);
    InitInstance();
    if (m_pMainWnd == nullptr || m_pMainWnd->Widget() == nullptr)
        return 0;
    QObject::connect(m_pMainWnd->Widget(), &QObject::destroyed, &toolkit, &QCoreApplication::quit);
    return QApplication::exec();
}
