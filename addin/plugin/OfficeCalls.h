// Calls on the mail client's objects through IDispatch, by member name. Every call that fails
// throws _com_error carrying the object's description of the failure, when it gave one.
#pragma once

#include <atlbase.h>
#include <comdef.h>

#include <initializer_list>

namespace office {

// A property's value (also answers a method without arguments).
CComVariant Get(IDispatch* object, const wchar_t* name);
// A property's value that must be an object.
CComPtr<IDispatch> GetObject(IDispatch* object, const wchar_t* name);
void Put(IDispatch* object, const wchar_t* name, const VARIANT& value);
// A method's result; the arguments in the order the method declares them.
CComVariant Call(IDispatch* object, const wchar_t* name, std::initializer_list<CComVariant> arguments);

// An optional argument left out.
CComVariant Missing();
CComVariant Short(short value);
CComVariant Object(IDispatch* value);

// Throws _com_error(hr) with an error info holding the description (none when empty).
[[noreturn]] void Raise(HRESULT hr, const wchar_t* description = nullptr);

}  // namespace office
