#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "ui/SplashScreen.h"
#include "util/UniqueHandle_win.h"

// A GDI bitmap, deleted through the GDI library loaded on first use.
struct SplashBitmapTraits {
    using Pointer = HBITMAP;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer bitmap) noexcept;
};
using UniqueSplashBitmap = UniqueAny<SplashBitmapTraits>;

// The splash the launcher draws itself: a borderless window of the image's
// size, centred on the screen, created and owned by a thread of its own that
// runs the window's message loop. The image is decoded and rendered once, by
// GDI+, which is loaded from the system folder on first use.
class SplashWindow {
public:
    // Starts the splash thread and returns at once, without waiting for the
    // window, so that the runtime loads while the image is decoded. `image` is
    // used as configured (a relative path is relative to the current folder);
    // `shadow` asks for a drop shadow. The thread stores the window's handle in
    // `published` once the window exists, and null again before it destroys
    // it. Null when the thread cannot be started (not reported).
    static std::unique_ptr<SplashWindow> start(std::wstring image, bool shadow, std::atomic<HWND>& published);

    // Ends the splash thread, which destroys the window, and waits for it.
    ~SplashWindow();

    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

private:
    SplashWindow(std::wstring image, bool shadow, std::atomic<HWND>& published);

    static DWORD WINAPI threadMain(void* parameter);
    HWND createWindow();

    const std::wstring image_;
    const bool shadow_;
    std::atomic<HWND>& published_;
    UniqueHandle thread_;
    DWORD threadId_ = 0;
    // The rendered image; the splash thread writes it before the window
    // exists, and it lives until this object goes.
    UniqueSplashBitmap bitmap_;
};

// Starts the runtime's native splash library (splashscreen.dll beside the JVM
// library at `jvmLibraryPath`, see nativeSplashLibraryPath) with the image:
// SplashInit, SplashLoadFile and SplashSetFileJarName, the image's path in the
// thread's ANSI code page. The library stays loaded; its SplashClose goes to
// `close`. False when the library is missing, cannot be loaded or lacks one of
// the three: the launcher then draws the splash itself.
bool startNativeSplash(const std::wstring& jvmLibraryPath, const std::wstring& image, NativeSplashClose& close);
