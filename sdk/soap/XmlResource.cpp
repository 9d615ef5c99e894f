#include "XmlResource.h"

#include <log4cpp/Category.hh>

#include "Errors.h"
#include "SdkModule.h"
#include "resource.h"

void CXmlResource::Load(UINT id, const wchar_t* type) {
    // Every service loads its templates through here; the trace keeps the send service's name.
    log4cpp::Category::getInstance("CSendService").debug("Entering %s::%s", "CSendService", "Load");
    const HINSTANCE source = SdkResourceInstance();
    HRSRC resource = ::FindResourceW(source, MAKEINTRESOURCEW(id), type);
    if (!resource) RaiseErrorById(IDS_TEMPLATE_NOT_LOADED, E_FAIL);
    HGLOBAL loaded = ::LoadResource(source, resource);
    if (!loaded) RaiseErrorById(IDS_TEMPLATE_NOT_LOADED, E_FAIL);
    const void* bytes = ::LockResource(loaded);
    if (!bytes) RaiseErrorById(IDS_TEMPLATE_NOT_LOADED, E_FAIL);
    m_resource = resource;
    m_bytes = static_cast<const char*>(bytes);
    m_size = ::SizeofResource(source, resource);
}

std::wstring CXmlResource::Text() const {
    if (!m_bytes || m_size == 0) return std::wstring();
    const int size = static_cast<int>(m_size);
    const int length = ::MultiByteToWideChar(CP_ACP, 0, m_bytes, size, nullptr, 0);
    std::wstring text(length, L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, m_bytes, size, &text[0], length);
    return text;
}
