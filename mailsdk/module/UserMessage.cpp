#include "UserMessage.h"

namespace {

MessageBoxFunction g_messageBox = &::MessageBoxA;

}  // namespace

int ShowMessageBox(const char* text, const char* caption, UINT type) {
    return g_messageBox(nullptr, text, caption, type);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function) {
    MessageBoxFunction previous = g_messageBox;
    g_messageBox = function ? function : &::MessageBoxA;
    return previous;
}
