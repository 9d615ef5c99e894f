// What the mingw headers declare for _bstr_t, _variant_t and _com_error but leave undefined,
// and HR_CHECK, which turns a failed HRESULT into a _com_error carrying the object's error info.
#pragma once

#include <comdef.h>

namespace comsupp {

// Throws _com_error(hr) with the thread's current error info, when the object that failed
// (unk, for interface iid) says it supports error info; without it, a bare _com_error(hr).
[[noreturn]] void ThrowComError(HRESULT hr, IUnknown* unk = nullptr, REFIID iid = IID_NULL);

}  // namespace comsupp

// Evaluates a call returning HRESULT; throws _com_error when it failed.
#define HR_CHECK(expr)                                          \
    do {                                                        \
        HRESULT hr_check_result_ = (expr);                      \
        if (FAILED(hr_check_result_)) comsupp::ThrowComError(hr_check_result_); \
    } while (0)

// As HR_CHECK for a call on an interface pointer: the error info is taken when the object
// supports it for that interface.
#define HR_CHECK_ON(ptr, iid, expr)                                           \
    do {                                                                      \
        HRESULT hr_check_result_ = (expr);                                    \
        if (FAILED(hr_check_result_)) comsupp::ThrowComError(hr_check_result_, (ptr), (iid)); \
    } while (0)
