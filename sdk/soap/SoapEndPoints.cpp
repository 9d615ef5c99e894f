#include "SoapEndPoints.h"

#include "SrwLock.h"

namespace {

SRWLOCK g_lock = SRWLOCK_INIT;
std::wstring g_override;
std::wstring g_mock;

}  // namespace

void CSoapEndPoints::Set(const wchar_t* uri, const wchar_t* mockUri) {
    std::wstring override(uri ? uri : L"");
    std::wstring mock(mockUri ? mockUri : L"");
    CWriteLock lock(g_lock);
    g_override.swap(override);
    g_mock.swap(mock);
}

std::wstring CSoapEndPoints::Override() {
    CReadLock lock(g_lock);
    return g_override;
}

std::wstring CSoapEndPoints::Mock() {
    CReadLock lock(g_lock);
    return g_mock;
}
