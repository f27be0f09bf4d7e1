#include "ui/HyperlinkControl_win.h"

#include <commctrl.h>

#include "ui/LinkColour.h"
#include "ui/LinkLayout.h"
#include "ui/SystemLibraries_win.h"
#include "util/AsciiText.h"
#include "util/Registry_win.h"
#include "util/UniqueHandle_win.h"

namespace {

constexpr UINT_PTR kToolId = 1;
// TOOLINFOW as systems before Windows Vista know it.
constexpr UINT kEarlyToolInfoSize = 64;

// The TOOLINFOW size the running system's tooltips expect.
UINT toolInfoSize()
{
    const UINT size = [] {
        OSVERSIONINFOEXW version{};
        version.dwOSVersionInfoSize = sizeof version;
        version.dwMajorVersion = 6;
        version.dwMinorVersion = 0;
        version.wServicePackMajor = 0;
        ULONGLONG condition = 0;
        condition = ::VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
        condition = ::VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
        condition = ::VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
        const bool vistaOrLater =
            ::VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, condition) !=
            FALSE;
        return vistaOrLater ? static_cast<UINT>(sizeof(TOOLINFOW)) : kEarlyToolInfoSize;
    }();
    return size;
}

// A stored colour replaces `colour` only when it passes every check.
void readColour(const RegistryFunctions& registry, HKEY key, const wchar_t* name, COLORREF& colour)
{
    unsigned char data[kMaxLinkColourBytes] = {};
    DWORD type = 0;
    DWORD size = sizeof data;
    if (registry.queryValue(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) {
        return;
    }
    if (const std::optional<LinkColour> stored =
            linkColourFromStoredValue(type == REG_SZ || type == REG_EXPAND_SZ, data, size)) {
        colour = RGB(stored->red, stored->green, stored->blue);
    }
}

std::wstring windowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

// The tooltip shows and hides itself on the mouse messages of the window it
// describes, which reach the window only.
void relayToTooltip(HWND tooltip, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG relayed{};
    relayed.hwnd = window;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    ::SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

} // namespace

HyperlinkControl::~HyperlinkControl()
{
    if (window_ != nullptr && ::IsWindow(window_)) {
        ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacedProc_));
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    }
}

void HyperlinkControl::setColours(COLORREF link, COLORREF visited)
{
    linkColour_ = link;
    visitedColour_ = visited;
}

void HyperlinkControl::attach(HWND window)
{
    window_ = window;
    wchar_t className[8] = {};
    ::GetClassNameW(window, className, 8);
    if (equalsIgnoringAsciiCase(className, L"static")) {
        const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
        if ((style & SS_NOTIFY) == 0) {
            ::SetWindowLongPtrW(window, GWL_STYLE, style | SS_NOTIFY);
        }
        // Icons, rectangles, frames, owner-drawn statics, bitmaps and
        // metafiles keep their own painting.
        const LONG_PTR kind = style & 0xFF;
        paintsLabel_ = !((kind >= 3 && kind <= 9) || (kind >= 13 && kind <= 15));
    }
    if (normalFont_ == nullptr) {
        normalFont_ = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    }
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    replacedProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperlinkControl::windowProc)));

    handCursor_ = ::LoadCursorW(nullptr, IDC_HAND);
    if (paintsLabel_) {
        if (normalFont_ == nullptr) {
            LOGFONTW iconTitle{};
            if (gdiFunctions() != nullptr &&
                ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0)) {
                ownedNormalFont_.reset(gdiFunctions()->createFontIndirect(&iconTitle));
                normalFont_ = ownedNormalFont_.get();
            }
        }
        if (!linkFont_) {
            createLinkFont();
        }
    }
    createTooltip();
    if (label_.empty()) {
        label_ = windowText(window);
    }
    computeLinkRect();
    if (address_.empty()) {
        address_ = label_;
    }
    if (tooltip_) {
        ::SendMessageW(tooltip_.get(), TTM_ACTIVATE, TRUE, 0);
        TOOLINFOW tool{};
        tool.cbSize = toolInfoSize();
        tool.hwnd = window_;
        tool.uId = kToolId;
        tool.rect = linkRect_;
        tool.lpszText = address_.data();
        ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (paintsLabel_) {
        readUserColours();
    }
}

void HyperlinkControl::createLinkFont()
{
    const GdiFunctions* gdi = gdiFunctions();
    if (gdi == nullptr) {
        return;
    }
    LOGFONTW font{};
    const HGDIOBJ base = normalFont_ != nullptr ? static_cast<HGDIOBJ>(normalFont_) : gdi->getStockObject(SYSTEM_FONT);
    if (gdi->getObject(base, sizeof font, &font) == 0) {
        return;
    }
    font.lfUnderline = TRUE;
    linkFont_.reset(gdi->createFontIndirect(&font));
}

void HyperlinkControl::readUserColours()
{
    const RegistryFunctions* registry = registryFunctions();
    if (registry == nullptr) {
        return;
    }
    // Read access only: nothing is written, and restricted accounts may not
    // open the key for writing.
    HKEY opened = nullptr;
    if (registry->openKey(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Settings", 0, KEY_READ,
                          &opened) != ERROR_SUCCESS) {
        return;
    }
    const UniqueHKey key(opened);
    readColour(*registry, key.get(), L"Anchor Color", linkColour_);
    readColour(*registry, key.get(), L"Anchor Color Visited", visitedColour_);
}

void HyperlinkControl::createTooltip()
{
    initialiseCommonControls();
    tooltip_.reset(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                     CW_USEDEFAULT, window_, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

UINT HyperlinkControl::textFormat() const
{
    // The address is shown as written: an "&" in it is no mnemonic.
    UINT format = DT_WORDBREAK | DT_NOPREFIX;
    switch (::GetWindowLongPtrW(window_, GWL_STYLE) & SS_TYPEMASK) {
    case SS_CENTER:
        format |= DT_CENTER;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT;
        break;
    default:
        format |= DT_LEFT;
        break;
    }
    return format;
}

void HyperlinkControl::computeLinkRect()
{
    RECT client{};
    ::GetClientRect(window_, &client);
    HDC dc = ::GetDC(window_);
    if (dc == nullptr) {
        return;
    }
    const GdiFunctions* gdi = gdiFunctions();
    const HFONT font = linkFont_ ? linkFont_.get() : normalFont_;
    const HGDIOBJ previous = font != nullptr && gdi != nullptr ? gdi->selectObject(dc, font) : nullptr;
    RECT measured = client;
    ::DrawTextW(dc, label_.c_str(), -1, &measured, DT_CALCRECT | textFormat());
    if (previous != nullptr) {
        gdi->selectObject(dc, previous);
    }
    ::ReleaseDC(window_, dc);

    LinkAlignment alignment = LinkAlignment::Left;
    const UINT format = textFormat();
    if (format & DT_CENTER) {
        alignment = LinkAlignment::Centre;
    } else if (format & DT_RIGHT) {
        alignment = LinkAlignment::Right;
    }
    ::OffsetRect(&measured, linkShift(alignment, client.right, measured.right), 0);
    linkRect_ = measured;

    if (tooltip_) {
        TOOLINFOW tool{};
        tool.cbSize = toolInfoSize();
        tool.hwnd = window_;
        tool.uId = kToolId;
        tool.rect = linkRect_;
        ::SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

bool HyperlinkControl::cursorInLink() const
{
    POINT point{};
    ::GetCursorPos(&point);
    ::ScreenToClient(window_, &point);
    return ::PtInRect(&linkRect_, point) != FALSE;
}

bool HyperlinkControl::pointInLink(LPARAM lParam) const
{
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return ::PtInRect(&linkRect_, point) != FALSE;
}

void HyperlinkControl::navigate()
{
    const ShellFunctions& shell = shellFunctions();
    if (shell.execute == nullptr) {
        return;
    }
    const ComScope com;
    const HINSTANCE result = shell.execute(nullptr, L"open", address_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) > 32) {
        visited_ = true;
        ::InvalidateRect(window_, nullptr, TRUE);
    }
}

void HyperlinkControl::paint(HDC dc)
{
    RECT client{};
    ::GetClientRect(window_, &client);
    if (HWND parent = ::GetParent(window_)) {
        const auto brush = reinterpret_cast<HBRUSH>(
            ::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window_)));
        if (brush != nullptr) {
            ::FillRect(dc, &client, brush);
        }
    }
    const GdiFunctions* gdi = gdiFunctions();
    if (gdi == nullptr) {
        return;
    }
    gdi->setBkMode(dc, TRANSPARENT);
    const COLORREF colour = !::IsWindowEnabled(window_) ? ::GetSysColor(COLOR_GRAYTEXT)
                            : visited_                   ? visitedColour_
                                                         : linkColour_;
    const COLORREF previousColour = gdi->setTextColor(dc, colour);
    const HFONT font = linkFont_ ? linkFont_.get() : normalFont_;
    const HGDIOBJ previousFont = font != nullptr ? gdi->selectObject(dc, font) : nullptr;
    RECT text = linkRect_;
    ::DrawTextW(dc, label_.c_str(), -1, &text, textFormat());
    if (::GetFocus() == window_) {
        ::DrawFocusRect(dc, &linkRect_);
    }
    gdi->setTextColor(dc, previousColour);
    if (previousFont != nullptr) {
        gdi->selectObject(dc, previousFont);
    }
}

void HyperlinkControl::releaseResources()
{
    tooltip_.reset();
    linkFont_.reset();
    ownedNormalFont_.reset();
    normalFont_ = nullptr;
}

LRESULT HyperlinkControl::passOn(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(replacedProc_, window_, message, wParam, lParam);
}

LRESULT CALLBACK HyperlinkControl::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<HyperlinkControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT HyperlinkControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && tooltip_) {
        relayToTooltip(tooltip_.get(), window_, message, wParam, lParam);
    }
    std::optional<LRESULT> handled = handleInput(message, wParam, lParam);
    if (!handled) {
        handled = handlePainting(message, wParam);
    }
    if (!handled) {
        handled = handleLayout(message, wParam, lParam);
    }
    if (handled) {
        return *handled;
    }
    switch (message) {
    case WM_DESTROY:
        releaseResources();
        break;
    case WM_NCDESTROY: {
        // The window goes: nothing may reach this object through it again.
        HWND window = window_;
        const WNDPROC replaced = replacedProc_;
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replaced));
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return ::CallWindowProcW(replaced, window, message, wParam, lParam);
    }
    default:
        break;
    }
    return passOn(message, wParam, lParam);
}

std::optional<LRESULT> HyperlinkControl::handleInput(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (pointInLink(lParam)) {
            ::SetCursor(handCursor_);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (cursorInLink()) {
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if (pointInLink(lParam)) {
            ::SetFocus(window_);
            ::SetCapture(window_);
        }
        return 0;
    case WM_LBUTTONUP:
        if (::GetCapture() == window_) {
            ::ReleaseCapture();
            if (pointInLink(lParam)) {
                navigate();
            }
        }
        return 0;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == L' ') {
            navigate();
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<LRESULT> HyperlinkControl::handlePainting(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (paintsLabel_) {
            ::InvalidateRect(window_, nullptr, TRUE);
            return 0;
        }
        break;
    case WM_PAINT:
        if (paintsLabel_) {
            if (wParam != 0) {
                paint(reinterpret_cast<HDC>(wParam));
            } else {
                PAINTSTRUCT paintState{};
                HDC dc = ::BeginPaint(window_, &paintState);
                if (dc != nullptr) {
                    paint(dc);
                }
                ::EndPaint(window_, &paintState);
            }
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (paintsLabel_) {
            paint(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_ENABLE:
        ::InvalidateRect(window_, nullptr, TRUE);
        ::UpdateWindow(window_);
        return 0;
    case WM_UPDATEUISTATE:
        return 0;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<LRESULT> HyperlinkControl::handleLayout(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        computeLinkRect();
        ::InvalidateRect(window_, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        ownedNormalFont_.reset();
        normalFont_ = reinterpret_cast<HFONT>(wParam);
        if (linkFont_) {
            linkFont_.reset();
            createLinkFont();
        }
        computeLinkRect();
        if (LOWORD(lParam) != 0) {
            ::InvalidateRect(window_, nullptr, TRUE);
            ::UpdateWindow(window_);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(normalFont_);
    default:
        break;
    }
    return std::nullopt;
}
