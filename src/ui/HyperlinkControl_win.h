#pragma once
#include <windows.h>

#include "ui/SystemLibraries_win.h"

#include <optional>
#include <string>

#include "util/UniqueHandle_win.h"

struct FontTraits {
    using Pointer = HFONT;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer font) noexcept { gdiFunctions()->deleteObject(font); }
};
using UniqueFont = UniqueAny<FontTraits>;

struct WindowTraits {
    using Pointer = HWND;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer window) noexcept { ::DestroyWindow(window); }
};
using UniqueWindow = UniqueAny<WindowTraits>;

// Turns a static text control of a dialog into a link: the text drawn
// underlined in link colours, the hand cursor and a tooltip with the address
// over it, and the address opened by the shell on a click, Enter or Space.
// The object must outlive the window it is attached to.
class HyperlinkControl {
public:
    HyperlinkControl() = default;
    ~HyperlinkControl();
    HyperlinkControl(const HyperlinkControl&) = delete;
    HyperlinkControl& operator=(const HyperlinkControl&) = delete;

    // Colours used unless the user's browser settings name others; set
    // before attaching.
    void setColours(COLORREF link, COLORREF visited);
    // The font the text is drawn in (underlined); not owned. Set before
    // attaching, or the control's own font is taken.
    void setNormalFont(HFONT font) { normalFont_ = font; }
    bool hasNormalFont() const { return normalFont_ != nullptr; }

    // Subclasses the window and prepares the link: label and address from the
    // window's text unless set, fonts, colours, tooltip, link rectangle.
    void attach(HWND window);

    // Opens the address with the shell; once that worked the link is drawn
    // in the visited colour. A failure changes nothing.
    void navigate();

    // The part of the client area the label occupies: the only part that
    // acts as the link.
    RECT linkRect() const { return linkRect_; }
    COLORREF linkColour() const { return linkColour_; }
    COLORREF visitedColour() const { return visitedColour_; }
    bool visited() const { return visited_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The messages of each kind the link answers itself; nothing for those
    // the replaced window procedure gets.
    std::optional<LRESULT> handleInput(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> handlePainting(UINT message, WPARAM wParam);
    std::optional<LRESULT> handleLayout(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT passOn(UINT message, WPARAM wParam, LPARAM lParam);

    void createLinkFont();
    void readUserColours();
    void createTooltip();
    void computeLinkRect();
    UINT textFormat() const;
    bool cursorInLink() const;
    bool pointInLink(LPARAM lParam) const;
    void paint(HDC dc);
    void releaseResources();

    HWND window_ = nullptr;
    WNDPROC replacedProc_ = nullptr;
    std::wstring label_;
    std::wstring address_;
    HCURSOR handCursor_ = nullptr;
    HFONT normalFont_ = nullptr;
    UniqueFont ownedNormalFont_;
    UniqueFont linkFont_;
    UniqueWindow tooltip_;
    RECT linkRect_{};
    COLORREF linkColour_ = RGB(0, 0, 255);
    COLORREF visitedColour_ = RGB(128, 0, 128);
    bool paintsLabel_ = true;
    bool visited_ = false;
};
