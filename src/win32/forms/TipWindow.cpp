#include "win32/forms/TipWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "win32/base/WindowBinding.h"

namespace glimra::win32 {

void TipWindow::Create(HWND owner, int dpi) {
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetDpi(dpi);
}

void TipWindow::SetDpi(int dpi) {
    if (!hwnd_) return;
    SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, MulDiv(600, dpi, 96));
    // The tip window takes the system's font at the system's resolution, which need not be
    // that of the monitor the form is on.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                    static_cast<UINT>(dpi)))
        return;
    ScopedFont font(CreateFontIndirectW(&metrics.lfStatusFont));
    if (!font) return;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    font_ = std::move(font);  // the old font only once the window no longer holds it
}

void TipWindow::FollowScheme() {
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SYSCOLORCHANGE, 0, 0);
    SendMessageW(hwnd_, WM_THEMECHANGED, 0, 0);
    SendMessageW(hwnd_, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
    SendMessageW(hwnd_, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
}

void TipWindow::AddTool(TTTOOLINFOW& tool) {
    if (!hwnd_) return;
    tool.cbSize = sizeof(tool);
    tool.uFlags |= TTF_SUBCLASS;
    SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TipWindow::AddWindowless(HWND host, const Control& control, const RECT& place) {
    TTTOOLINFOW tool{};
    tool.hwnd = host;
    tool.uId = reinterpret_cast<UINT_PTR>(&control);
    tool.rect = place;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    AddTool(tool);
}

void TipWindow::MoveWindowless(HWND host, const Control& control, const RECT& place) {
    if (!hwnd_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = host;
    tool.uId = reinterpret_cast<UINT_PTR>(&control);
    tool.rect = place;
    SendMessageW(hwnd_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TipWindow::AddWindow(HWND control) {
    TTTOOLINFOW tool{};
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    AddTool(tool);
}

void TipWindow::AddTabs(HWND tabs, const TabStrip& strip) {
    for (size_t i = 0; i < strip.Tabs().size(); ++i) {
        TTTOOLINFOW tool{};
        tool.hwnd = tabs;
        tool.uId = i;
        tool.lpszText = const_cast<wchar_t*>(strip.Tabs()[i].toolTipText.c_str());
        AddTool(tool);
    }
}

void TipWindow::MoveTabs(HWND tabs, size_t count) {
    for (size_t i = 0; hwnd_ && i < count; ++i) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = tabs;
        tool.uId = i;
        SendMessageW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tool.rect));
        SendMessageW(hwnd_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TipWindow::ProvideText(NMTTDISPINFOW& info, const Form& form) {
    const Control* control = nullptr;
    if (info.uFlags & TTF_IDISHWND) {
        const WindowBinding* binding = BindingOf(reinterpret_cast<HWND>(info.hdr.idFrom));
        control = binding ? binding->control : nullptr;
    } else {
        // A windowless control's tool is the control itself, if it is still one of the form's.
        const auto& all = form.AllControls();
        auto found = std::find(all.begin(), all.end(), reinterpret_cast<Control*>(info.hdr.idFrom));
        if (found != all.end()) control = *found;
    }
    text_ = control && control->Visible() ? control->ToolTipText() : std::wstring();
    info.lpszText = text_.data();
}

}  // namespace glimra::win32
