#pragma once
#include <string>

// Where a splash window of the image's size lies on the screen.
struct SplashPlacement {
    int x = 0;
    int y = 0;
};

// Centres an image of `imageWidth` by `imageHeight` pixels on a screen of the
// given size. The halves truncate toward zero, so an image larger than the
// screen gets negative coordinates and is cut off on both sides.
SplashPlacement centredSplashPlacement(int screenWidth, int screenHeight, int imageWidth, int imageHeight);

// The runtime's native splash library beside a JVM library: the last two path
// elements are cut off (…\bin\server\jvm.dll gives …\bin) and
// "splashscreen.dll" is added after a backslash.
std::wstring nativeSplashLibraryPath(const std::wstring& jvmLibraryPath);

// The native splash library's SplashClose, called at most once: invoking it
// calls the function held and forgets it, and the destructor invokes what is
// still held.
class NativeSplashClose {
public:
    using Function = void (*)();

    NativeSplashClose() = default;
    ~NativeSplashClose() { invoke(); }
    NativeSplashClose(const NativeSplashClose&) = delete;
    NativeSplashClose& operator=(const NativeSplashClose&) = delete;

    // Calls the function held, if any, and forgets it.
    void invoke();

    // Holds `function` (null allowed); a different function held before is
    // invoked first, since its splash would otherwise never close.
    void store(Function function);

private:
    Function function_ = nullptr;
};
