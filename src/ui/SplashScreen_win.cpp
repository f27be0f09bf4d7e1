#include "ui/SplashScreen_win.h"

#include <climits>

#include "ui/SystemLibraries_win.h"
#include "util/FileFinder_win.h"
#include "util/OnceInit_win.h"
#include "util/Path_win.h"
#include "util/ScopeExit.h"
#include "util/SystemLibrary_win.h"
#include "util/TextConversion_win.h"

namespace {

const GdiFunctions* gdi()
{
    return gdiFunctions();
}

struct MemoryDcTraits {
    using Pointer = HDC;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer dc) noexcept { gdi()->deleteDc(dc); }
};
using UniqueMemoryDc = UniqueAny<MemoryDcTraits>;

// GDI+ through its flat interface, with the standard layouts and values.
using GpStatus = int;
constexpr GpStatus kGpOk = 0;
constexpr int kInterpolationHighQualityBicubic = 7;
constexpr int kWrapModeTileFlipXY = 3;
constexpr DWORD kClampColourOpaqueBlack = 0xFF000000;
constexpr int kUnitPixel = 2;

struct GdiplusStartupInput {
    UINT32 gdiplusVersion = 1;
    void* debugEventCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};

struct GdiPlusApi {
    GpStatus(WINAPI* startup)(ULONG_PTR*, const GdiplusStartupInput*, void*) = nullptr;
    GpStatus(WINAPI* createBitmapFromFile)(const WCHAR*, void**) = nullptr;
    GpStatus(WINAPI* getImageWidth)(void*, UINT*) = nullptr;
    GpStatus(WINAPI* getImageHeight)(void*, UINT*) = nullptr;
    GpStatus(WINAPI* disposeImage)(void*) = nullptr;
    GpStatus(WINAPI* createFromHdc)(HDC, void**) = nullptr;
    GpStatus(WINAPI* setInterpolationMode)(void*, int) = nullptr;
    GpStatus(WINAPI* deleteGraphics)(void*) = nullptr;
    GpStatus(WINAPI* createImageAttributes)(void**) = nullptr;
    GpStatus(WINAPI* setImageAttributesWrapMode)(void*, int, DWORD, BOOL) = nullptr;
    GpStatus(WINAPI* disposeImageAttributes)(void*) = nullptr;
    GpStatus(WINAPI* drawImageRectRectI)(void*, void*, INT, INT, INT, INT, INT, INT, INT, INT, int, const void*, void*,
                                         void*) = nullptr;
};

// Loaded and started once per process (never shut down: it serves until the
// process ends); null when that fails. GDI+ and GDI are not imported: a start
// without a splash never loads GDI+, and the launcher imports only what every
// start needs.
const GdiPlusApi* gdiPlus()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return loadOnce<const GdiPlusApi>(once, []() -> const GdiPlusApi* {
        static GdiPlusApi loaded;
        const HMODULE library = loadSystemLibrary(L"gdiplus.dll");  // stays loaded
        const bool complete = findFunction(library, "GdiplusStartup", loaded.startup)
                              && findFunction(library, "GdipCreateBitmapFromFile", loaded.createBitmapFromFile)
                              && findFunction(library, "GdipGetImageWidth", loaded.getImageWidth)
                              && findFunction(library, "GdipGetImageHeight", loaded.getImageHeight)
                              && findFunction(library, "GdipDisposeImage", loaded.disposeImage)
                              && findFunction(library, "GdipCreateFromHDC", loaded.createFromHdc)
                              && findFunction(library, "GdipSetInterpolationMode", loaded.setInterpolationMode)
                              && findFunction(library, "GdipDeleteGraphics", loaded.deleteGraphics)
                              && findFunction(library, "GdipCreateImageAttributes", loaded.createImageAttributes)
                              && findFunction(library, "GdipSetImageAttributesWrapMode", loaded.setImageAttributesWrapMode)
                              && findFunction(library, "GdipDisposeImageAttributes", loaded.disposeImageAttributes)
                              && findFunction(library, "GdipDrawImageRectRectI", loaded.drawImageRectRectI);
        if (!complete) {
            return nullptr;
        }
        ULONG_PTR token = 0;
        const GdiplusStartupInput input;
        return loaded.startup(&token, &input, nullptr) == kGpOk ? &loaded : nullptr;
    });
}

struct GpImageTraits {
    using Pointer = void*;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer image) noexcept { gdiPlus()->disposeImage(image); }
};
struct GpGraphicsTraits {
    using Pointer = void*;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer graphics) noexcept { gdiPlus()->deleteGraphics(graphics); }
};
struct GpImageAttributesTraits {
    using Pointer = void*;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer attributes) noexcept { gdiPlus()->disposeImageAttributes(attributes); }
};

// Draws the whole image scaled to width by height at (0, 0) of the bitmap.
void drawImage(const GdiPlusApi& gdiPlusApi, void* image, HBITMAP bitmap, HDC screen, int width, int height)
{
    const GdiFunctions& gdiApi = *gdi();
    UniqueMemoryDc memory(gdiApi.createCompatibleDc(screen));
    if (!memory) {
        return;
    }
    const HGDIOBJ previous = gdiApi.selectObject(memory.get(), bitmap);
    {
        UniqueAny<GpGraphicsTraits> graphics;
        UniqueAny<GpImageAttributesTraits> attributes;
        if (gdiPlusApi.createFromHdc(memory.get(), graphics.put()) == kGpOk
            && gdiPlusApi.createImageAttributes(attributes.put()) == kGpOk) {
            gdiPlusApi.setInterpolationMode(graphics.get(), kInterpolationHighQualityBicubic);
            gdiPlusApi.setImageAttributesWrapMode(attributes.get(), kWrapModeTileFlipXY, kClampColourOpaqueBlack,
                                                  FALSE);
            gdiPlusApi.drawImageRectRectI(graphics.get(), image, 0, 0, width, height, 0, 0, width, height, kUnitPixel,
                                          attributes.get(), nullptr, nullptr);
        }
    }
    gdiApi.selectObject(memory.get(), previous);
}

// Decodes the image and renders it once into a bitmap compatible with the
// screen. The size stays 0 by 0 when the image cannot be loaded; the bitmap is
// null then, or when it cannot be made. It is not cleared before drawing.
UniqueSplashBitmap renderImage(const std::wstring& path, int& width, int& height)
{
    width = 0;
    height = 0;
    const GdiPlusApi* gdiPlusApi = gdiPlus();
    if (gdiPlusApi == nullptr) {
        return UniqueSplashBitmap();
    }
    UniqueAny<GpImageTraits> image;
    if (gdiPlusApi->createBitmapFromFile(path.c_str(), image.put()) != kGpOk || !image) {
        return UniqueSplashBitmap();
    }
    UINT imageWidth = 0;
    UINT imageHeight = 0;
    gdiPlusApi->getImageWidth(image.get(), &imageWidth);
    gdiPlusApi->getImageHeight(image.get(), &imageHeight);
    if (imageWidth > INT_MAX || imageHeight > INT_MAX) {
        return UniqueSplashBitmap();
    }
    width = static_cast<int>(imageWidth);
    height = static_cast<int>(imageHeight);
    const GdiFunctions* gdiApi = gdi();
    if (gdiApi == nullptr || width == 0 || height == 0) {
        return UniqueSplashBitmap();
    }
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) {
        return UniqueSplashBitmap();
    }
    ScopeExit releaseScreen([screen] { ::ReleaseDC(nullptr, screen); });
    UniqueSplashBitmap bitmap(gdiApi->createCompatibleBitmap(screen, width, height));
    if (bitmap) {
        drawImage(*gdiPlusApi, image.get(), bitmap.get(), screen, width, height);
    }
    return bitmap;
}

// One block transfer of the rendered bitmap, at its own size.
void paintBitmap(HWND window, HBITMAP bitmap)
{
    PAINTSTRUCT paint{};
    const HDC target = ::BeginPaint(window, &paint);
    const GdiFunctions* gdiApi = gdi();
    if (target != nullptr && bitmap != nullptr && gdiApi != nullptr) {
        UniqueMemoryDc memory(gdiApi->createCompatibleDc(target));
        BITMAP size{};
        if (memory && gdiApi->getObject(bitmap, sizeof size, &size) != 0) {
            const HGDIOBJ previous = gdiApi->selectObject(memory.get(), bitmap);
            gdiApi->bitBlt(target, 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
            gdiApi->selectObject(memory.get(), previous);
        }
    }
    ::EndPaint(window, &paint);
}

// The window keeps its bitmap in its user data, handed over at creation.
LRESULT CALLBACK splashWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_ERASEBKGND:
        return 1;  // the bitmap covers the whole window
    case WM_PAINT:
        paintBitmap(window, reinterpret_cast<HBITMAP>(::GetWindowLongPtrW(window, GWLP_USERDATA)));
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

constexpr wchar_t kSplashClassName[] = L"SplashScreenWindow";

// Registers the splash window class unless it is registered. The drop shadow
// is left out when it is not wanted, or when the system refuses it, and stays
// out of the class description for the rest of the process.
bool registerSplashClass(HINSTANCE instance, bool shadow)
{
    static UINT classStyle = CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW;
    if (!shadow) {
        classStyle &= ~static_cast<UINT>(CS_DROPSHADOW);
    }
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    if (::GetClassInfoExW(instance, kSplashClassName, &registered)) {
        return true;
    }
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.style = classStyle;
    description.lpfnWndProc = splashWindowProcedure;
    description.hInstance = instance;
    description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    description.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    description.lpszClassName = kSplashClassName;
    if (::RegisterClassExW(&description) != 0) {
        return true;
    }
    if ((classStyle & CS_DROPSHADOW) == 0) {
        return false;
    }
    classStyle &= ~static_cast<UINT>(CS_DROPSHADOW);
    description.style = classStyle;
    return ::RegisterClassExW(&description) != 0;
}

} // namespace

void SplashBitmapTraits::close(Pointer bitmap) noexcept
{
    gdi()->deleteObject(bitmap);
}

SplashWindow::SplashWindow(std::wstring image, bool shadow, std::atomic<HWND>& published)
    : image_(std::move(image)), shadow_(shadow), published_(published)
{
}

std::unique_ptr<SplashWindow> SplashWindow::start(std::wstring image, bool shadow, std::atomic<HWND>& published)
{
    std::unique_ptr<SplashWindow> splash(new SplashWindow(std::move(image), shadow, published));
    splash->thread_.reset(::CreateThread(nullptr, 0, threadMain, splash.get(), 0, &splash->threadId_));
    if (!splash->thread_) {
        return nullptr;
    }
    return splash;
}

SplashWindow::~SplashWindow()
{
    // Posted again on every turn because the thread may not have a message
    // queue yet; a short wait between the posts leaves the core to it.
    do {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    } while (::WaitForSingleObject(thread_.get(), 1) == WAIT_TIMEOUT);
}

HWND SplashWindow::createWindow()
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!registerSplashClass(instance, shadow_)) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    bitmap_ = renderImage(image_, width, height);
    const SplashPlacement placement =
        centredSplashPlacement(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), width, height);
    return ::CreateWindowExW(WS_EX_TOOLWINDOW, kSplashClassName, L"", WS_POPUP, placement.x, placement.y, width, height,
                             nullptr, nullptr, instance, bitmap_.get());
}

DWORD WINAPI SplashWindow::threadMain(void* parameter)
{
    SplashWindow& splash = *static_cast<SplashWindow*>(parameter);
    const HWND window = splash.createWindow();
    if (window != nullptr) {
        splash.published_.store(window);
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::UpdateWindow(window);
    }
    // Without a window the loop still runs, until the launcher asks it to end.
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (window != nullptr) {
        splash.published_.store(nullptr);
        ::DestroyWindow(window);
    }
    return 0;
}

bool startNativeSplash(const std::wstring& jvmLibraryPath, const std::wstring& image, NativeSplashClose& close)
{
    const std::wstring path = nativeSplashLibraryPath(jvmLibraryPath);
    if (!pathExists(path)) {
        return false;
    }
    // The library takes the image's name as narrow text: a name that does not
    // convert goes in its short form, else the launcher draws the splash.
    std::optional<std::string> narrowImage = toThreadAnsiExact(image);
    if (!narrowImage) {
        narrowImage = toThreadAnsiExact(shortPathOf(image));
    }
    if (!narrowImage || narrowImage->empty()) {
        return false;
    }
    // Stays loaded for the life of the process, also when it is incomplete.
    // What it imports comes from the runtime's bin folder, where it lies, and
    // the system folder only.
    const HMODULE library = loadLibraryWithImportsFrom(path, std::wstring());
    if (library == nullptr) {
        return false;
    }
    void (*splashInit)() = nullptr;
    int (*splashLoadFile)(const char*) = nullptr;
    void (*splashSetFileJarName)(const char*, const char*) = nullptr;
    NativeSplashClose::Function splashClose = nullptr;
    findFunction(library, "SplashClose", splashClose);
    close.store(splashClose);
    if (!findFunction(library, "SplashInit", splashInit) || !findFunction(library, "SplashLoadFile", splashLoadFile)
        || !findFunction(library, "SplashSetFileJarName", splashSetFileJarName)) {
        return false;
    }
    splashInit();
    splashLoadFile(narrowImage->c_str());
    splashSetFileJarName(narrowImage->c_str(), "");
    return true;
}
