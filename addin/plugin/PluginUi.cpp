#include "PluginUi.h"

#include "PluginModule.h"
#include "resource.h"

std::wstring LoadPluginText(UINT id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(PluginResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, length) : std::wstring();
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string result(length > 0 ? length : 0, '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &result[0], length, nullptr,
                              nullptr);
    return result;
}

HRESULT ReportAddinComError(const _com_error& error) {
    const std::string caption = ToAnsi(LoadPluginText(IDS_PLUGIN_NAME));
    const _bstr_t description = error.Description();
    const std::string text =
        description.length() > 0 ? ToAnsi(static_cast<const wchar_t*>(description)) : ToAnsi(LoadPluginText(IDS_UNEXPECTED_ERROR));
    ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR);
    return error.Error();
}

void ShowCommandFailed() {
    const std::string text = ToAnsi(LoadPluginText(IDS_COMMAND_FAILED));
    const std::string caption = ToAnsi(LoadPluginText(IDS_PLUGIN_NAME));
    ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_ICONWARNING);
}
