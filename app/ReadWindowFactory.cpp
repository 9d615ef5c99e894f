#include "ReadWindowFactory.h"

CReadWindowFactory::PFNOPENREADWINDOW CReadWindowFactory::s_pfnOpen = CReadWindowFactory::NewReadWindow;

CWnd* CReadWindowFactory::NewReadWindow(ISMSMessage2*) {
    // The read window joins with its own work; until then nothing is opened.
    return nullptr;
}
