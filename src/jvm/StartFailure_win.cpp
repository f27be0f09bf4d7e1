#include "jvm/StartFailure_win.h"

#include "jvm/ErrorCapture_win.h"
#include "jvm/JniSupport_win.h"
#include "util/MessageIds.h"
#include "util/Path_win.h"
#include "util/TextConversion_win.h"
#include "util/UniqueHandle_win.h"

namespace {

// What this start wrote to the error file (System.err goes there once the
// VM exists), up to its last 64 KB.
std::string errorFileText(const std::wstring& path, std::uint64_t start)
{
    constexpr std::uint64_t kLimit = 64 * 1024;
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) <= start) {
        return std::string();
    }
    const std::uint64_t end = static_cast<std::uint64_t>(size.QuadPart);
    const std::uint64_t from = end - start > kLimit ? end - kLimit : start;
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(from);
    std::string text(static_cast<std::size_t>(end - from), '\0');
    DWORD read = 0;
    if (!::SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN) ||
        !::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) {
        return std::string();
    }
    text.resize(read);
    return text;
}

} // namespace

void reportStartFailure(const VmLaunch& launch, const VmState& vm, const Failure& designed)
{
    const std::string bytes = launch.errorCapture != nullptr ? launch.errorCapture->kept() : std::string();
    // With an error file, the runtime's Java side has written there.
    const std::string written = vm.errorFile.empty() ? std::string() : errorFileText(vm.errorFile, vm.errorFileStart);
    appendToFile(vm.errorFile, bytes);
    const std::wstring words = fromProgramOutput(bytes + written);
    launch.trace.line({L"start failed before main; the runtime wrote: ", words.empty() ? L"nothing" : words});
    if (designed.messageId != 0) {
        Failure failure = designed;
        failure.runtimeWords = words;
        launch.reporter->reportFailure(failure);
    } else {
        launch.reporter->reportStartRefused(
            failureOf(IDS_START_FAILED, {dottedClassName(launch.mainClass), launch.runtimeFolder, words}));
    }
}
