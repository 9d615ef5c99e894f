#include "TestApp.h"

namespace {
const bool g_privateDesktop = UsePrivateDesktop(L"TarvockAfxWindowTests");
}
