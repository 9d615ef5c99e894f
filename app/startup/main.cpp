// TarvockVelko.exe: the desktop program's one application object and its entry point.
#include "startup/MessengerApp.h"

CMessengerApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int showCmd) {
    return AfxWinMain(instance, previous, cmdLine, showCmd);
}
