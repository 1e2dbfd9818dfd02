// The entry point of every program built on the framework: it hands control
// to the program's one application object.
#include "WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CWinApp *app = AfxGetApp();
    return app ? app->Start(instance, ::GetCommandLineW()) : 1;
}
