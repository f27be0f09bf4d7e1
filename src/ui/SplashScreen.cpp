#include "ui/SplashScreen.h"

#include "util/PathText.h"

#include <climits>
#include <cstdint>

namespace {

int centredOrigin(int screen, int image)
{
    // In 64 bits: the difference of two ints does not fit an int.
    const std::int64_t origin = (static_cast<std::int64_t>(screen) - image) / 2;
    return static_cast<int>(origin < INT_MIN ? INT_MIN : origin > INT_MAX ? INT_MAX : origin);
}

} // namespace

SplashPlacement centredSplashPlacement(int screenWidth, int screenHeight, int imageWidth, int imageHeight)
{
    return SplashPlacement{centredOrigin(screenWidth, imageWidth), centredOrigin(screenHeight, imageHeight)};
}

std::wstring nativeSplashLibraryPath(const std::wstring& jvmLibraryPath)
{
    std::wstring bin = parentPath(parentPath(jvmLibraryPath));
    if (bin.empty() || (bin.back() != L'\\' && bin.back() != L'/')) {
        bin += L'\\';
    }
    return bin + L"splashscreen.dll";
}

void NativeSplashClose::invoke()
{
    if (function_ != nullptr) {
        const Function function = function_;
        function_ = nullptr;
        function();
    }
}

void NativeSplashClose::store(Function function)
{
    if (function != function_) {
        invoke();
        function_ = function;
    }
}
