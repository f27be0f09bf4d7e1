#include "support/WorkFolder.h"

#include <gtest/gtest.h>

namespace {

// UTF-8 text (paths of the build tree, test names) as wide text.
std::wstring widen(const char* text)
{
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring result(size > 0 ? static_cast<std::size_t>(size) : 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), size);
    result.resize(result.size() - 1);
    return result;
}

} // namespace

void removeTree(const std::wstring& folder)
{
    const std::wstring prefixed = folder.rfind(L"\\\\?\\", 0) == 0 ? folder : L"\\\\?\\" + folder;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((prefixed + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = prefixed + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(prefixed.c_str());
}

WorkFolder::WorkFolder()
{
    std::wstring root = widen(TEST_WORK_DIR);
    for (wchar_t& c : root) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    ::CreateDirectoryW(root.c_str(), nullptr);
    folder_ = root + L"\\" + widen(info->test_suite_name()) + L"_" + widen(info->name());
    removeTree(folder_);
    ::CreateDirectoryW(folder_.c_str(), nullptr);
}

WorkFolder::~WorkFolder()
{
    removeTree(folder_);
}

void WorkFolder::writeFile(const std::wstring& relative, const std::string& bytes) const
{
    HANDLE file = ::CreateFileW(path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

void WorkFolder::createFolder(const std::wstring& relative) const
{
    ::CreateDirectoryW(path(relative).c_str(), nullptr);
}

std::wstring WorkFolder::enter() const
{
    wchar_t previous[MAX_PATH * 4] = {};
    ::GetCurrentDirectoryW(MAX_PATH * 4, previous);
    ::SetCurrentDirectoryW(folder_.c_str());
    return previous;
}
