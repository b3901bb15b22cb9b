// The application: creates, shows and paints the main window.
#pragma once

#include "application.h"

class CSolverApp : public CWinApp {
public:
    CSolverApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
};
