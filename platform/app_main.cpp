// The program's entry point: the one application object, made at static
// initialisation, runs.
#include "application.h"

int main()
{
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->Run() : 1;
}
