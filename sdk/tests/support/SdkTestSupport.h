// Helpers of the SDK's tests: texts of the English satellite library and the HRESULT a linked-in
// class raised.
#pragma once

#include <windows.h>

#include <string>

#include "Errors.h"

namespace sdktest {

// Text id of TarvockSDK_en.dll beside the program ("<no satellite>", "<no text>" when missing),
// with %1 replaced by insert1 when there is one.
std::wstring SdkText(UINT id, const wchar_t* insert1 = nullptr);

// The HRESULT a call raised, S_OK when it raised nothing.
template <class Call>
HRESULT Raised(Call&& call) {
    try {
        call();
        return S_OK;
    } catch (const CRaisedError& e) {
        return e.Result();
    }
}

}  // namespace sdktest
