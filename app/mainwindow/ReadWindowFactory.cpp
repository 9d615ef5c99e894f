#include "mainwindow/ReadWindowFactory.h"

#include "messages/ReadMessageFrame.h"

CReadWindowFactory::PFNOPENREADWINDOW CReadWindowFactory::s_pfnOpen = CReadWindowFactory::NewReadWindow;

CWnd* CReadWindowFactory::NewReadWindow(ISMSMessage2* message) {
    CReadMessageFrame* frame = static_cast<CReadMessageFrame*>(RUNTIME_CLASS(CReadMessageFrame)->CreateObject());
    if (!frame) return nullptr;
    if (!frame->Create(nullptr)) {
        delete frame;
        return nullptr;
    }
    // A message that cannot be read has been reported; the window stays, empty.
    frame->SetMessage(message);
    return frame;
}
