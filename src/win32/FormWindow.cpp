#include "win32/FormWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>

#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/FolderLists.h"
#include "controls/Frame.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/Line.h"
#include "controls/PictureBox.h"
#include "controls/TabStrip.h"
#include "controls/TextBox.h"
#include "win32/ControlIds.h"
#include "win32/InputState.h"
#include "win32/PaintScope.h"
#include "imaging/PictureFit.h"
#include "win32/Pictures.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"GlimraForm";
constexpr wchar_t kContainerClass[] = L"GlimraContainer";

bool IsDialog(const Form& form) {
    return form.Design().border == BorderStyle::FixedDialog;
}

DWORD StyleOf(BorderStyle border) {
    return border == BorderStyle::None ? WS_POPUP | WS_CLIPCHILDREN
                                       : WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD ExStyleOf(BorderStyle border, bool owned) {
    if (border == BorderStyle::None) return 0;
    return WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | (owned ? 0 : WS_EX_APPWINDOW);
}

// The picture box or frame a control sits on; null for a control on the form itself.
Control* ParentControlOf(const Control& control) {
    return dynamic_cast<Control*>(&control.Parent());
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A lone carriage return in a caption starts a new line, as a line feed does.
std::wstring LinesOf(const std::wstring& caption) {
    std::wstring text;
    for (size_t i = 0; i < caption.size(); ++i) {
        text += caption[i];
        if (caption[i] == L'\r' && (i + 1 == caption.size() || caption[i + 1] != L'\n'))
            text += L'\n';
    }
    return text;
}

wchar_t Upper(wchar_t c) {
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

// The access key of a caption: the letter after a single ampersand, upper case, or 0.
wchar_t AccessKeyOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return Upper(caption[i + 1]);
        ++i;
    }
    return 0;
}

bool IsContainer(const Control& control) {
    return control.Kind() == ControlKind::Frame || control.Kind() == ControlKind::PictureBox;
}

Container* AsContainer(Control& control) {
    return IsContainer(control) ? dynamic_cast<Container*>(&control) : nullptr;
}

// Windowed controls in tab order: the platform's tab order is the windows' creation order.
std::vector<Control*> InTabOrder(const Container& container) {
    std::vector<Control*> children = container.Children();
    std::stable_sort(children.begin(), children.end(), [](const Control* a, const Control* b) {
        return a->TabIndex() < b->TabIndex();
    });
    return children;
}

std::vector<std::wstring> ItemsOf(const Control& control) {
    switch (control.Kind()) {
        case ControlKind::DriveList:
            return static_cast<const DriveListBox&>(control).List();
        case ControlKind::DirList: {
            std::vector<std::wstring> items;
            for (const FolderEntry& entry : static_cast<const DirListBox&>(control).Entries())
                items.push_back(entry.text);
            return items;
        }
        case ControlKind::FileList:
            return static_cast<const FileListBox&>(control).Files();
        default:
            return {};
    }
}

}  // namespace

COLORREF ColorRefOf(Color color) {
    if (color & kSystemColorFlag) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

FormWindow::FormWindow(Form& form, Screen& screen, Resources resources)
    : form_(form),
      screen_(screen),
      resources_(resources),
      covers_(form, screen, resources.formPointer, resources.monitors) {}

FormWindow::~FormWindow() {
    Destroy();
}

HWND FormWindow::HostWindowOf(const Control& control) const {
    const Control* parent = ParentControlOf(control);
    return parent ? WindowOf(*parent) : hwnd_;
}

HWND FormWindow::WindowOf(const Control& control) const {
    auto found = windows_.find(&control);
    return found == windows_.end() ? nullptr : found->second;
}

// Each control's window carries its control; a window of this form is one the map knows.
Control* FormWindow::ControlOfWindow(HWND hwnd) const {
    auto* control =
        hwnd ? reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
    auto found = windows_.find(control);
    return found != windows_.end() && found->second == hwnd ? control : nullptr;
}

void FormWindow::Create() {
    if (hwnd_) return;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = [&] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &FormWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = resources_.icon;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        WNDCLASSEXW containerClass = windowClass;
        containerClass.lpfnWndProc = &FormWindow::ContainerProc;
        containerClass.hIcon = nullptr;
        containerClass.lpszClassName = kContainerClass;
        return RegisterClassExW(&windowClass) && RegisterClassExW(&containerClass);
    }();
    if (!registered) return;
    const FormDesign& design = form_.Design();
    const HWND owner = IsDialog(form_) ? resources_.dialogOwner : nullptr;
    dpi_.dpi = static_cast<int>(GetDpiForSystem());
    RECT bounds{0, 0, dpi_.Px(design.width), dpi_.Px(design.height)};
    AdjustWindowRectExForDpi(&bounds, StyleOf(design.border), FALSE,
                             ExStyleOf(design.border, owner), static_cast<UINT>(dpi_.dpi));
    CreateWindowExW(ExStyleOf(design.border, owner), kWindowClass, design.caption.c_str(),
                    StyleOf(design.border), 0, 0, bounds.right - bounds.left,
                    bounds.bottom - bounds.top, owner, nullptr, instance, this);
    if (!hwnd_) return;
    if (!form_.AllControls().empty()) {
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, hwnd_,
                                   nullptr, instance, nullptr);
        SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
        syncing_ = true;
        CreateChildren(form_, hwnd_);
        syncing_ = false;
    }
    const int windowDpi = static_cast<int>(GetDpiForWindow(hwnd_));
    if (windowDpi > 0 && windowDpi != dpi_.dpi) ChangeDpi(windowDpi, nullptr);
    ReportSize();
}

void FormWindow::Destroy() {
    covers_.Update(nullptr, false);
    if (hwnd_) DestroyWindow(hwnd_);  // its controls and its tip window go with it
    hwnd_ = nullptr;
    tooltip_ = nullptr;
    lastFocus_ = nullptr;
    windows_.clear();
    shownItems_.clear();
    surface_.Release();
    frame_.Release();
    buffer_.Release();
    rendered_.clear();
    renderedOnce_ = false;
}

// ---- the windows of the controls

void FormWindow::CreateChildren(Container& container, HWND parent) {
    for (Control* control : InTabOrder(container)) {
        if (control->Windowless()) {
            AddTool(*control);
            continue;
        }
        CreateChild(*control, parent);
        if (Container* inner = AsContainer(*control)) CreateChildren(*inner, WindowOf(*control));
    }
}

void FormWindow::CreateChild(Control& control, HWND parent) {
    const wchar_t* windowClass = kContainerClass;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS, exStyle = 0;
    switch (control.Kind()) {
        case ControlKind::TextBox:
            windowClass = WC_EDITW;
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::CheckBox:
            windowClass = WC_BUTTONW;
            style |= WS_TABSTOP | BS_3STATE;
            break;
        case ControlKind::CommandButton:
            windowClass = WC_BUTTONW;
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::TabStrip:
            windowClass = WC_TABCONTROLW;
            style |= WS_TABSTOP | TCS_FOCUSONBUTTONDOWN;
            break;
        case ControlKind::DriveList:
            windowClass = WC_COMBOBOXW;
            style |=
                WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
            break;
        case ControlKind::DirList:
            windowClass = WC_LISTBOXW;
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                     LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::FileList:
            windowClass = WC_LISTBOXW;
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        default:  // picture boxes and frames hold other controls
            style = (style & ~WS_CLIPSIBLINGS) | WS_CLIPCHILDREN;
            exStyle = WS_EX_CONTROLPARENT;
            break;
    }
    // The tab strip lies behind the pages: it never paints over them, and the pages get the
    // mouse where it shows no tab.
    const HWND hwnd =
        CreateWindowExW(exStyle, windowClass, L"", style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdOf(control.Name()))),
                        GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
    windows_[&control] = hwnd;
    // Standard controls keep their mouse to themselves: their moves and releases are passed on
    // to the model as well, for the controls that handle them.
    if (!IsContainer(control)) SetWindowSubclass(hwnd, &FormWindow::StandardControlProc, 1, 0);
    if (control.Kind() == ControlKind::TabStrip) {
        // Narrow margins, so that all five captions fit in the strip's width.
        SendMessageW(hwnd, TCM_SETPADDING, 0,
                     MAKELPARAM(MulDiv(4, dpi_.dpi, 96), MulDiv(3, dpi_.dpi, 96)));
        const auto& tabs = static_cast<const TabStrip&>(control).Tabs();
        for (size_t i = 0; i < tabs.size(); ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(tabs[i].caption.c_str());
            SendMessageW(hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
            // Each tab's tip is a tool of the form's tip window over the tab's rectangle.
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.uFlags = TTF_SUBCLASS;
            tool.hwnd = hwnd;
            tool.uId = i;
            tool.lpszText = const_cast<wchar_t*>(tabs[i].toolTipText.c_str());
            if (tooltip_) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    } else if (!IsContainer(control)) {
        AddTool(control);
    }
    Sync(control);
}

void FormWindow::AddTool(Control& control) {
    if (!tooltip_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    if (control.Windowless()) {
        tool.hwnd = HostWindowOf(control);
        tool.uId = reinterpret_cast<UINT_PTR>(&control);
        tool.rect = RectOf(control);
    } else {
        tool.uFlags |= TTF_IDISHWND;
        tool.hwnd = GetParent(WindowOf(control));
        tool.uId = reinterpret_cast<UINT_PTR>(WindowOf(control));
    }
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

RECT FormWindow::RectOf(const Control& control) const {
    const int left = dpi_.Px(control.Left()), top = dpi_.Px(control.Top());
    return {left, top, left + dpi_.Px(control.Width()), top + dpi_.Px(control.Height())};
}

void FormWindow::ControlChanged(Control& control) {
    if (!hwnd_) return;
    Sync(control);
}

void FormWindow::SyncAll() {
    for (Control* control : form_.AllControls())
        Sync(*control);
}

void FormWindow::Sync(Control& control) {
    if (control.Windowless()) {
        const HWND container = HostWindowOf(control);
        if (!container) return;
        InvalidateRect(container, nullptr, FALSE);
        if (tooltip_) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.hwnd = container;
            tool.uId = reinterpret_cast<UINT_PTR>(&control);
            tool.rect = RectOf(control);
            SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        return;
    }
    const HWND hwnd = WindowOf(control);
    if (!hwnd) return;
    const bool wasSyncing = syncing_;
    syncing_ = true;
    RECT place = RectOf(control);
    if (control.Kind() == ControlKind::DriveList) {
        // A drop-down list's height includes its open list.
        place.bottom = place.top + dpi_.Px(control.Height()) * 8;
    }
    SetWindowPos(hwnd, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(control.Font(), dpi_.dpi)),
                 FALSE);
    SyncContents(control);
    const bool enabled = control.EffectiveEnabled();
    if ((IsWindowEnabled(hwnd) != FALSE) != enabled) EnableWindow(hwnd, enabled);
    if (((GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) != control.Visible())
        ShowWindow(hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
    InvalidateRect(hwnd, nullptr, TRUE);
    syncing_ = wasSyncing;
    // What is on a container moves and hides with its window; only its enabled state is
    // its own to follow.
    if (Container* inner = AsContainer(control)) SyncEnabled(*inner);
}

void FormWindow::SyncEnabled(const Container& container) {
    for (Control* child : container.Children()) {
        const HWND hwnd = WindowOf(*child);
        if (!hwnd) continue;
        const bool enabled = child->EffectiveEnabled();
        if ((IsWindowEnabled(hwnd) != FALSE) != enabled) EnableWindow(hwnd, enabled);
        if (const Container* inner = AsContainer(*child)) SyncEnabled(*inner);
    }
}

void FormWindow::SyncContents(Control& control) {
    const HWND hwnd = WindowOf(control);
    auto setText = [hwnd](const std::wstring& text) {
        if (WindowText(hwnd) != text) SetWindowTextW(hwnd, text.c_str());
    };
    switch (control.Kind()) {
        case ControlKind::TextBox:
            setText(static_cast<TextBox&>(control).Text());
            break;
        case ControlKind::CommandButton:
            setText(static_cast<CommandButton&>(control).Caption());
            break;
        case ControlKind::CheckBox: {
            auto& box = static_cast<CheckBox&>(control);
            setText(box.Caption());
            const int states[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
            SendMessageW(hwnd, BM_SETCHECK, static_cast<WPARAM>(states[box.Value()]), 0);
            break;
        }
        case ControlKind::TabStrip: {
            const auto& strip = static_cast<TabStrip&>(control);
            SendMessageW(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(strip.SelectedItem() - 1), 0);
            for (size_t i = 0; tooltip_ && i < strip.Tabs().size(); ++i) {
                TTTOOLINFOW tool{};
                tool.cbSize = sizeof(tool);
                tool.hwnd = hwnd;
                tool.uId = i;
                SendMessageW(hwnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tool.rect));
                SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
            }
            break;
        }
        case ControlKind::DriveList:
        case ControlKind::DirList:
        case ControlKind::FileList: {
            const bool combo = control.Kind() == ControlKind::DriveList;
            std::vector<std::wstring> items = ItemsOf(control);
            if (shownItems_[&control] != items) {
                SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
                SendMessageW(hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
                for (const std::wstring& item : items)
                    SendMessageW(hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                 reinterpret_cast<LPARAM>(item.c_str()));
                SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
                shownItems_[&control] = std::move(items);
            }
            int index = -1;
            if (combo) index = static_cast<DriveListBox&>(control).ListIndex();
            if (control.Kind() == ControlKind::DirList)
                index = static_cast<DirListBox&>(control).ListIndex();
            if (control.Kind() == ControlKind::FileList)
                index = static_cast<FileListBox&>(control).ListIndex();
            SendMessageW(hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
            break;
        }
        default:
            break;
    }
}

// ---- the form's window

void FormWindow::FocusFirst() {
    HWND first = lastFocus_ && IsChild(hwnd_, lastFocus_) ? lastFocus_ : nullptr;
    if (!first) first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first) SetFocus(first);
}

void FormWindow::VisibleChanged() {
    if (!hwnd_) return;
    if (!form_.Visible()) {
        ShowWindow(hwnd_, SW_HIDE);
        UpdateCovers();
        return;
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    if (IsDialog(form_)) FocusFirst();
    UpdateCovers();
}

void FormWindow::WindowStateChanged() {
    if (!hwnd_) return;
    // Without a border, the maximized window is the whole primary monitor, taskbar included.
    if (form_.GetWindowState() == WindowState::Maximized)
        FitToPrimary(hwnd_, resources_.monitors());
    UpdateCovers();
}

// A full-screen window (borderless, maximized, visible) has the other monitors covered.
void FormWindow::UpdateCovers() {
    covers_.Update(hwnd_, form_.Visible() && form_.GetWindowState() == WindowState::Maximized &&
                              form_.Design().border == BorderStyle::None);
}

void FormWindow::PositionChanged() {
    if (!hwnd_) return;
    const float tx = screen_.TwipsPerPixelX(), ty = screen_.TwipsPerPixelY();
    SetWindowPos(hwnd_, nullptr, static_cast<int>(std::lround(form_.Left() / tx)),
                 static_cast<int>(std::lround(form_.Top() / ty)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::SurfaceChanged() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormWindow::MakeTopmost() {
    if (!hwnd_) return;
    // A hidden window is raised without being activated, so it takes no focus from the
    // dialog that stands in front of it.
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | (form_.Visible() ? 0 : SWP_NOACTIVATE);
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, keep);
    UpdateCovers();
}

void FormWindow::ReportSize() {
    RECT outer, inner;
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &inner);
    const float tx = screen_.TwipsPerPixelX(), ty = screen_.TwipsPerPixelY();
    form_.PlatformResized(static_cast<float>(outer.right - outer.left) * tx,
                          static_cast<float>(outer.bottom - outer.top) * ty,
                          dpi_.Twips(inner.right), dpi_.Twips(inner.bottom));
}

void FormWindow::ChangeDpi(int dpi, const RECT* suggested) {
    dpi_.dpi = dpi;
    fonts_.Clear();
    if (suggested) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const FormDesign& design = form_.Design();
        RECT bounds{0, 0, dpi_.Px(design.width), dpi_.Px(design.height)};
        AdjustWindowRectExForDpi(&bounds, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                                 FALSE, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)),
                                 static_cast<UINT>(dpi));
        SetWindowPos(hwnd_, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
    SyncAll();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

void FormWindow::RenderSurface() {
    RECT client;
    GetClientRect(hwnd_, &client);
    const bool sameSize = surface_.Width() == client.right && surface_.Height() == client.bottom;
    if (renderedOnce_ && sameSize && rendered_ == form_.Surface()) return;
    if (!surface_.Resize(client.right, client.bottom)) return;
    ScopedBrush back(CreateSolidBrush(ColorRefOf(form_.Design().backColor)));
    FillRect(surface_.Dc(), &client, back.Get());
    for (const DrawnPicture& drawn : form_.Surface()) {
        const float twipsPerPixel = 1440.0f / static_cast<float>(dpi_.dpi);
        const PixelRect to = PixelsOf({drawn.left, drawn.top, drawn.width, drawn.height},
                                      twipsPerPixel, twipsPerPixel);
        const RECT dest{to.left, to.top, to.right, to.bottom};
        // Only pictures of this platform can be drawn here; anything else is left out.
        if (const auto* picture = dynamic_cast<const Win32Picture*>(drawn.picture.get()))
            picture->Draw(surface_, dest);
    }
    GdiFlush();
    rendered_ = form_.Surface();
    renderedOnce_ = true;
}

void FormWindow::Paint(HDC dc, const RECT& area) {
    RenderSurface();
    if (!frame_.Resize(surface_.Width(), surface_.Height())) return;
    const int width = area.right - area.left, height = area.bottom - area.top;
    BitBlt(frame_.Dc(), area.left, area.top, width, height, surface_.Dc(), area.left, area.top,
           SRCCOPY);
    PaintWindowless(frame_.Dc(), frame_, form_);
    BitBlt(dc, area.left, area.top, width, height, frame_.Dc(), area.left, area.top, SRCCOPY);
}

// ---- windowless controls: drawn, hit-tested and given pointers by their container

void FormWindow::PaintContainer(HWND hwnd, HDC dc, Container& container, Control* self) {
    RECT client;
    GetClientRect(hwnd, &client);
    if (!buffer_.Resize(client.right, client.bottom)) return;
    HDC paint = buffer_.Dc();
    Color back = kButtonFace;
    if (self && self->Kind() == ControlKind::PictureBox)
        back = static_cast<PictureBox*>(self)->BackColor();
    ScopedBrush brush(CreateSolidBrush(ColorRefOf(back)));
    FillRect(paint, &client, brush.Get());
    if (self && self->Kind() == ControlKind::Frame) {
        // A group box: an etched line round the area, broken by the caption at its top.
        const std::wstring& caption = static_cast<Frame*>(self)->Caption();
        SelectIn font(paint, fonts_.Get(self->Font(), dpi_.dpi));
        TEXTMETRICW metrics{};
        GetTextMetricsW(paint, &metrics);
        RECT edge = client;
        edge.top += metrics.tmHeight / 2;
        DrawEdge(paint, &edge, EDGE_ETCHED, BF_RECT);
        if (!caption.empty()) {
            RECT text{dpi_.Px(120) - 2, 0, client.right - dpi_.Px(120), metrics.tmHeight};
            SetBkColor(paint, ColorRefOf(back));
            SetBkMode(paint, OPAQUE);
            SetTextColor(paint, GetSysColor(COLOR_BTNTEXT));
            const std::wstring padded = L" " + caption + L" ";
            DrawTextW(paint, padded.c_str(), static_cast<int>(padded.size()), &text,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    PaintWindowless(paint, buffer_, container);
    BitBlt(dc, 0, 0, client.right, client.bottom, paint, 0, 0, SRCCOPY);
}

void FormWindow::PaintWindowless(HDC dc, Canvas& canvas, const Container& container) {
    // Lines are rules drawn over the texts and pictures they separate: a second pass.
    for (const bool lines : {false, true}) {
        for (const Control* control : container.Children()) {
            if (!control->Windowless() || !control->Visible()) continue;
            if ((control->Kind() == ControlKind::Line) != lines) continue;
            PaintWindowlessControl(dc, canvas, *control);
        }
    }
}

void FormWindow::PaintWindowlessControl(HDC dc, Canvas& canvas, const Control& control) {
    const RECT place = RectOf(control);
    if (const auto* label = dynamic_cast<const Label*>(&control)) {
        SelectIn font(dc, fonts_.Get(label->Font(), dpi_.dpi));
        SetTextColor(dc, ColorRefOf(label->ForeColor()));
        SetBkMode(dc, TRANSPARENT);
        const std::wstring text = LinesOf(label->Caption());
        UINT format = label->UseMnemonic() ? 0 : DT_NOPREFIX;
        RECT box = place;
        if (control.Width() <= 0) {
            // As large as its one line of text.
            format |= DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP;
            box.right = box.left + 1;
            box.bottom = box.top + 1;
        } else {
            if (!label->Transparent()) {
                ScopedBrush brush(CreateSolidBrush(ColorRefOf(label->BackColor())));
                FillRect(dc, &place, brush.Get());
            }
            format |= DT_TOP | (label->WordWrap() ? DT_WORDBREAK : 0) |
                      (label->GetAlignment() == Alignment::Right    ? DT_RIGHT
                       : label->GetAlignment() == Alignment::Center ? DT_CENTER
                                                                    : DT_LEFT);
        }
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    } else if (const auto* image = dynamic_cast<const Image*>(&control)) {
        RECT dest = place;
        const SIZE natural = image->Picture()
                                 ? SIZE{image->Picture()->Width(), image->Picture()->Height()}
                                 : resources_.pictures.NaturalSize(image->BuiltInPicture());
        if (!image->Stretch()) {
            dest.right = dest.left + MulDiv(natural.cx, dpi_.dpi, 96);
            dest.bottom = dest.top + MulDiv(natural.cy, dpi_.dpi, 96);
        }
        if (HICON icon =
                resources_.pictures.Icon(image->BuiltInPicture(), dest.right - dest.left)) {
            DrawIconEx(dc, dest.left, dest.top, icon, dest.right - dest.left,
                       dest.bottom - dest.top, 0, nullptr, DI_NORMAL);
        } else {
            PicturePtr picture = image->Picture()
                                     ? image->Picture()
                                     : resources_.pictures.Picture(image->BuiltInPicture());
            if (const auto* drawable = dynamic_cast<const Win32Picture*>(picture.get())) {
                GdiFlush();
                drawable->Draw(canvas, dest);
            }
        }
        if (image->Border()) FrameRect(dc, &dest, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else if (const auto* line = dynamic_cast<const Line*>(&control)) {
        ScopedPen pen(CreatePen(PS_SOLID, 1, ColorRefOf(line->BorderColor())));
        SelectIn selected(dc, pen.Get());
        MoveToEx(dc, dpi_.Px(line->X1()), dpi_.Px(line->Y1()), nullptr);
        LineTo(dc, dpi_.Px(line->X2()), dpi_.Px(line->Y2()));
    }
}

Control* FormWindow::WindowlessAt(const Container& container, POINT point) const {
    const auto& children = container.Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Control* control = *it;
        if (!control->Windowless() || !control->Visible() || control->MouseTransparent()) continue;
        const RECT place = RectOf(*control);
        if (PtInRect(&place, point)) return control;
    }
    return nullptr;
}

void FormWindow::Mouse(HWND hwnd, Container& container, Control* self, UINT message, WPARAM wParam,
                       LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    Control* target = WindowlessAt(container, point);
    const int button = message == WM_MOUSEMOVE ? ButtonState(wParam) : ReleasedButton(message);
    const float x = dpi_.Twips(point.x), y = dpi_.Twips(point.y);
    if (message == WM_MOUSEMOVE) {
        if (target) {
            target->PlatformMouseMove(button, ShiftState(), x - target->Left(), y - target->Top());
        } else if (self) {
            self->PlatformMouseMove(button, ShiftState(), x, y);
        } else {
            form_.PlatformMouseMove(button, ShiftState(), x, y);
        }
        return;
    }
    (void)hwnd;
    // A release is the end of a click: MouseUp, then Click.
    if (target) {
        target->PlatformMouseUp(button, ShiftState(), x - target->Left(), y - target->Top());
        target->PlatformClick();
    } else if (self) {
        self->PlatformMouseUp(button, ShiftState(), x, y);
        self->PlatformClick();
    } else {
        form_.PlatformClick();
    }
}

HCURSOR FormWindow::PointerOf(const Control& control) const {
    switch (control.Pointer()) {
        case MousePointer::Custom:
            return resources_.pictures.Pointer(control.MouseIcon());
        case MousePointer::Arrow:
            return LoadCursorW(nullptr, IDC_ARROW);
        default:
            return nullptr;
    }
}

bool FormWindow::SetPointer(HWND hwnd, const Container& container, Control* self) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(hwnd, &point);
    HCURSOR pointer = nullptr;
    if (const Control* target = WindowlessAt(container, point)) pointer = PointerOf(*target);
    // A control that leaves the pointer to its container shows the container's.
    for (Control* area = self; !pointer && area;) {
        pointer = PointerOf(*area);
        area = ParentControlOf(*area);
    }
    if (!pointer && form_.Design().programIconPointer) pointer = resources_.formPointer;
    if (!pointer) pointer = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(pointer);
    return true;
}

// ---- what the controls report

void FormWindow::Command(HWND child, WPARAM wParam) {
    const int code = HIWORD(wParam);
    if (!child && LOWORD(wParam) == IDCANCEL) {
        // Esc anywhere on the form presses its cancel button.
        for (Control* control : form_.AllControls()) {
            auto* button = dynamic_cast<CommandButton*>(control);
            if (button && button->Cancel() && button->EffectiveEnabled()) {
                button->PlatformClick();
                return;
            }
        }
        return;
    }
    Control* control = ControlOfWindow(child);
    if (!control || syncing_) return;
    switch (control->Kind()) {
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) control->PlatformClick();
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) static_cast<CheckBox*>(control)->PlatformToggle();
            break;
        case ControlKind::TextBox:
            if (code == EN_CHANGE)
                static_cast<TextBox*>(control)->PlatformTextChanged(WindowText(child));
            break;
        case ControlKind::DriveList:
            if (code == CBN_SELCHANGE) {
                const auto index = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
                static_cast<DriveListBox*>(control)->PlatformSelect(index);
            }
            break;
        case ControlKind::DirList:
        case ControlKind::FileList: {
            const auto index = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
            const bool folders = control->Kind() == ControlKind::DirList;
            if (code == LBN_SELCHANGE) {
                if (folders)
                    static_cast<DirListBox*>(control)->PlatformClick(index);
                else
                    static_cast<FileListBox*>(control)->PlatformClick(index);
            } else if (code == LBN_DBLCLK) {
                if (folders)
                    static_cast<DirListBox*>(control)->PlatformDblClick(index);
                else
                    static_cast<FileListBox*>(control)->PlatformDblClick(index);
            }
            break;
        }
        default:
            break;
    }
    // The model may have refused the user's choice: show what it holds. A text box's text is
    // the user's own and is never pushed back while it is being typed.
    const bool choice =
        code == BN_CLICKED || code == CBN_SELCHANGE || code == LBN_SELCHANGE || code == LBN_DBLCLK;
    if (choice && control->Kind() != ControlKind::TextBox && hwnd_ && WindowOf(*control))
        Sync(*control);
}

bool FormWindow::Notify(NMHDR& header, LRESULT& result) {
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
        tipText_.clear();
        Control* control = nullptr;
        if (info.uFlags & TTF_IDISHWND) {
            control = ControlOfWindow(reinterpret_cast<HWND>(header.idFrom));
        } else {
            const auto& all = form_.AllControls();
            auto found =
                std::find(all.begin(), all.end(), reinterpret_cast<Control*>(header.idFrom));
            if (found != all.end()) control = *found;
        }
        if (control && control->Visible()) tipText_ = control->ToolTipText();
        info.lpszText = tipText_.data();
        return true;
    }
    if (header.code == TCN_SELCHANGE) {
        if (auto* tabs = dynamic_cast<TabStrip*>(ControlOfWindow(header.hwndFrom))) {
            const auto index = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
            tabs->PlatformSelect(index + 1);
            if (hwnd_) Sync(*tabs);
        }
        result = 0;
        return true;
    }
    return false;
}

void FormWindow::DrawListItem(const DRAWITEMSTRUCT& item) {
    const Control* control = ControlOfWindow(item.hwndItem);
    if (!control || item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = item.itemState & ODS_SELECTED;
    const bool editArea = item.itemState & ODS_COMBOBOXEDIT;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(item.hDC, TRANSPARENT);
    std::wstring text, iconOf;
    DWORD attributes = 0;
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    int indent = 0;
    if (control->Kind() == ControlKind::DriveList) {
        const auto& list = static_cast<const DriveListBox*>(control)->List();
        if (item.itemID >= list.size()) return;
        text = list[item.itemID];
        iconOf = std::wstring(1, text[0]) + L":\\";
    } else {
        const auto& entries = static_cast<const DirListBox*>(control)->Entries();
        if (item.itemID >= entries.size()) return;
        const FolderEntry& entry = entries[item.itemID];
        text = entry.text;
        iconOf = L"folder";
        attributes = FILE_ATTRIBUTE_DIRECTORY;
        flags |= SHGFI_USEFILEATTRIBUTES | (entry.open ? SHGFI_OPENICON : 0);
        indent = editArea ? 0 : entry.level * MulDiv(8, dpi_.dpi, 96);
    }
    SHFILEINFOW info{};
    const auto icons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(iconOf.c_str(), attributes, &info, sizeof(info), flags));
    const int size = GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi_.dpi));
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int x = item.rcItem.left + 2 + indent;
    if (icons) {
        ImageList_DrawEx(icons, info.iIcon, item.hDC, x, item.rcItem.top + (height - size) / 2,
                         size, size, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    }
    RECT textBox = item.rcItem;
    textBox.left = x + size + 4;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textBox,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

bool FormWindow::HandleShared(HWND hwnd, Container& container, Control* self, UINT message,
                              WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_COMMAND:
            Command(reinterpret_cast<HWND>(lParam), wParam);
            return true;
        case WM_NOTIFY:
            return Notify(*reinterpret_cast<NMHDR*>(lParam), result);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        }
        case WM_MEASUREITEM: {
            auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            const int icon = GetSystemMetricsForDpi(SM_CYSMICON, static_cast<UINT>(dpi_.dpi));
            measure.itemHeight = static_cast<UINT>(std::max(icon + 2, dpi_.Px(255)));
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM:
            DrawListItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            result = TRUE;
            return true;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) != hwnd || LOWORD(lParam) != HTCLIENT) return false;
            result = SetPointer(hwnd, container, self);
            return true;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            Mouse(hwnd, container, self, message, wParam, lParam);
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK FormWindow::StandardControlProc(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_MOUSEMOVE || message == WM_LBUTTONUP || message == WM_RBUTTONUP ||
        message == WM_MBUTTONUP) {
        FormWindow* self = OwnerOf(hwnd);
        Control* control = self ? self->ControlOfWindow(hwnd) : nullptr;
        if (control) {
            const float x = self->dpi_.Twips(static_cast<short>(LOWORD(lParam)));
            const float y = self->dpi_.Twips(static_cast<short>(HIWORD(lParam)));
            try {
                if (message == WM_MOUSEMOVE) {
                    control->PlatformMouseMove(ButtonState(wParam), ShiftState(), x, y);
                } else {
                    control->PlatformMouseUp(ReleasedButton(message), ShiftState(), x, y);
                }
            } catch (...) {
                // A handler's failure ends that handler only.
            }
        }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &FormWindow::StandardControlProc, 1);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

FormWindow* FormWindow::OwnerOf(HWND hwnd) {
    const HWND root = GetAncestor(hwnd, GA_ROOT);
    wchar_t name[32] = {};
    GetClassNameW(root, name, 32);
    if (lstrcmpW(name, kWindowClass) != 0) return nullptr;
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

LRESULT CALLBACK FormWindow::ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* self = OwnerOf(hwnd);
    Control* control = self ? self->ControlOfWindow(hwnd) : nullptr;
    if (!control) return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return self->HandleContainerMessage(hwnd, *control, message, wParam, lParam);
    } catch (...) {
        // A handler's failure ends that handler only; it never crosses the window procedure.
        return 0;
    }
}

LRESULT FormWindow::HandleContainerMessage(HWND hwnd, Control& control, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    Container* container = AsContainer(control);
    LRESULT result = 0;
    if (container && HandleShared(hwnd, *container, &control, message, wParam, lParam, result))
        return result;
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            const PaintScope paint(hwnd);
            if (container) PaintContainer(hwnd, paint.Dc(), *container, &control);
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // A handler's failure ends that handler only; it never crosses the window procedure.
        return 0;
    }
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleShared(hwnd_, form_, nullptr, message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_CREATE:
            SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(resources_.icon));
            SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(resources_.icon));
            return 0;
        case WM_SIZE:
            ReportSize();
            return 0;
        case WM_MOVE: {
            RECT outer;
            GetWindowRect(hwnd_, &outer);
            form_.PlatformMoved(static_cast<float>(outer.left) * screen_.TwipsPerPixelX(),
                                static_cast<float>(outer.top) * screen_.TwipsPerPixelY());
            return 0;
        }
        case WM_DPICHANGED:
            ChangeDpi(HIWORD(wParam), reinterpret_cast<RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            if (!IsDialog(form_)) break;
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            } else {
                FocusFirst();
            }
            return 0;
        case WM_CLOSE:
            form_.PlatformClose();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_DISPLAYCHANGE:  // monitors added, removed or resized
            WindowStateChanged();
            return 0;
        case WM_PAINT: {
            const PaintScope paint(hwnd_);  // ended even when drawing fails
            Paint(paint.Dc(), paint.Area());
            return 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // The dialog's keys reach Form_KeyDown through its key preview.
            if (!form_.Design().keyPreview)
                form_.PlatformKeyDown(static_cast<int>(wParam), ShiftState());
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// ---- the dialog's keyboard

bool FormWindow::TranslateDialogKeys(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    FormWindow* self = OwnerOf(message.hwnd);
    if (!self || !IsDialog(self->form_)) return false;
    const HWND root = self->hwnd_;
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (keyDown && self->form_.Design().keyPreview) {
        self->form_.PlatformKeyDown(static_cast<int>(message.wParam), ShiftState());
        if (!IsWindow(root) || OwnerOf(root) != self) return true;  // the key closed the dialog
    }
    // Ctrl+Tab belongs to the key preview, not to the tab order.
    if (keyDown && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) return false;
    // Access keys of the tabs, unless a control in view has the same one.
    const bool alt = message.message == WM_SYSCHAR;
    bool plain = false;
    if (message.message == WM_CHAR) {
        const HWND focus = GetFocus();
        plain = !(SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_HASSETSEL));
    }
    if (alt || plain) {
        const wchar_t key = Upper(static_cast<wchar_t>(message.wParam));
        bool controlHasIt = false;
        TabStrip* tabs = nullptr;
        for (Control* control : self->form_.AllControls()) {
            if (auto* strip = dynamic_cast<TabStrip*>(control)) tabs = strip;
            std::wstring caption;
            if (auto* button = dynamic_cast<CommandButton*>(control)) caption = button->Caption();
            if (auto* box = dynamic_cast<CheckBox*>(control)) caption = box->Caption();
            if (control->EffectiveEnabled() && control->Visible() && AccessKeyOf(caption) == key)
                controlHasIt = true;
        }
        if (tabs && !controlHasIt && tabs->EffectiveEnabled()) {
            for (size_t i = 0; i < tabs->Tabs().size(); ++i) {
                if (AccessKeyOf(tabs->Tabs()[i].caption) != key) continue;
                tabs->PlatformSelect(static_cast<int>(i) + 1);
                if (OwnerOf(root) == self) {
                    self->Sync(*tabs);
                    SetFocus(self->WindowOf(*tabs));
                }
                return true;
            }
        }
    }
    return IsDialogMessageW(root, &message) != FALSE;
}

}  // namespace glimra::win32
