// The OfficeModel type library, loaded unregistered from OfficeModel.tlb beside the running program.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace officehost {
namespace detail {

HRESULT LoadModelTypeLibrary(ITypeLib** library);

}  // namespace detail
}  // namespace officehost
