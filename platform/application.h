// The application object: one per program, it runs the message loop until the
// main window is gone and handles the Exit command.
#pragma once

#include "message_map.h"

class CWnd;

constexpr UINT ID_APP_EXIT = 57665;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return 1; }
    // Starts the toolkit, runs InitInstance and the message loop; the program's exit code.
    int Run();

    CWnd* m_pMainWnd = nullptr;

protected:
    const MessageMap& GetMessageMap() const override;
    void OnAppExit();
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
