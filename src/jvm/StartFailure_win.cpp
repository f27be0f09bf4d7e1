#include "jvm/StartFailure_win.h"

#include "jvm/ErrorCapture_win.h"
#include "ui/ErrorReporting_win.h"
#include "util/TextConversion_win.h"
#include "util/UniqueHandle_win.h"

namespace {

void appendToFile(const std::wstring& path, const std::string& bytes)
{
    if (path.empty() || bytes.empty()) {
        return;
    }
    const UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) {
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

std::wstring dotted(std::wstring name)
{
    for (wchar_t& c : name) {
        if (c == L'/') {
            c = L'.';
        }
    }
    return name;
}

} // namespace

void reportStartFailure(const VmLaunch& launch, const VmState& vm, const std::wstring& designed)
{
    const std::string bytes = launch.errorCapture != nullptr ? launch.errorCapture->kept() : std::string();
    appendToFile(vm.errorFile, bytes);
    const std::wstring words = fromProgramOutput(bytes);
    launch.trace.line({L"start failed before main; the runtime wrote: ", words.empty() ? L"nothing" : words});
    if (!designed.empty()) {
        showError(ownerWindow(launch), words.empty() ? designed : designed + L"\n" + words);
    } else if (!launch.isService) {
        showErrorMessage(ownerWindow(launch), IDS_START_FAILED, {dotted(launch.mainClass), launch.runtimeFolder, words});
    }
}
