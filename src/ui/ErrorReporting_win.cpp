#include "ui/ErrorReporting_win.h"

#include "util/PathText.h"
#include "util/Path_win.h"

std::wstring loadMessage(int id)
{
    // With a zero buffer size LoadStringW hands out a read-only pointer to the
    // resource text itself and its length (the text is not NUL-terminated).
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(id),
                                     reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return std::wstring();
    }
    return std::wstring(text, static_cast<std::size_t>(length));
}

void showError(HWND owner, const std::wstring& text)
{
    ::MessageBoxW(owner, text.c_str(), nullptr, MB_ICONERROR);
}

void showErrorFormatted(HWND owner, int formatId, const std::wstring& argument)
{
    showErrorMessage(owner, formatId, {argument});
}

void showErrorMessage(HWND owner, int formatId, const std::vector<MessageArgument>& arguments)
{
    showError(owner, formatMessage(loadMessage(formatId), arguments));
}

void showWindowsError(HWND owner, int detailId, DWORD errorCode)
{
    const std::wstring format = loadMessage(IDS_WINDOWS_EXCEPTION);
    const std::wstring detail = loadMessage(detailId);
    showError(owner, formatMessage(format, {detail, static_cast<std::int32_t>(errorCode)}));
}

bool executablePath(HWND owner, std::wstring& path)
{
    DWORD error = ERROR_SUCCESS;
    if (!readExecutablePath(path, error)) {
        showWindowsError(owner, IDS_MODULE_PATH_FAILED, error);
        return false;
    }
    return true;
}

bool executableFolder(HWND owner, std::wstring& folder)
{
    std::wstring path;
    if (!executablePath(owner, path)) {
        return false;
    }
    const std::wstring withSeparator = folderWithSeparator(path);
    if (!withSeparator.empty()) {
        folder = withSeparator;
    }
    return true;
}
