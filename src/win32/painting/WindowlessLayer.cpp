#include "win32/painting/WindowlessLayer.h"

#include "controls/Frame.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/Line.h"
#include "controls/PictureBox.h"
#include "win32/base/Containers.h"
#include "win32/base/InputState.h"
#include "win32/base/WindowBinding.h"
#include "win32/painting/ColorRef.h"
#include "win32/pictures/Pictures.h"

namespace glimra::win32 {
namespace {

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

// The back colour of a container: the form's, a picture box's, or a frame's face.
Color BackOf(const Control* container, const Form& form) {
    if (!container) return form.Design().backColor;
    if (container->Kind() == ControlKind::PictureBox)
        return static_cast<const PictureBox*>(container)->BackColor();
    return kButtonFace;
}

}  // namespace

RECT WindowlessLayer::RectOf(const Control& control) const {
    const int left = dpi_.Px(control.Left()), top = dpi_.Px(control.Top());
    return {left, top, left + dpi_.Px(control.Width()), top + dpi_.Px(control.Height())};
}

Color WindowlessLayer::GroundOf(const Control& control) const {
    const auto* label = dynamic_cast<const Label*>(&control);
    if (label && !label->Transparent() && control.Width() > 0) return label->BackColor();
    return BackOf(ParentControlOf(control), form_);
}

COLORREF WindowlessLayer::InkOf(const Control& control, Color design) const {
    return ColorRefOf(scheme_.InkOf(control, design, GroundOf(control)));
}

// ---- painting

void WindowlessLayer::PaintContainer(HWND hwnd, HDC dc, Canvas& buffer, const Container& container,
                                     const Control& self) {
    RECT client;
    GetClientRect(hwnd, &client);
    if (!buffer.Resize(client.right, client.bottom)) return;
    HDC paint = buffer.Dc();
    const Color back = BackOf(&self, form_);
    ScopedBrush brush(CreateSolidBrush(ColorRefOf(back)));
    FillRect(paint, &client, brush.Get());
    if (self.Kind() == ControlKind::Frame) {
        // A group box: an etched line round the area, broken by the caption at its top.
        const std::wstring& caption = static_cast<const Frame&>(self).Caption();
        SelectIn font(paint, fonts_.Get(self.Font(), dpi_.dpi));
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
    Paint(paint, buffer, container);
    BitBlt(dc, 0, 0, client.right, client.bottom, paint, 0, 0, SRCCOPY);
}

void WindowlessLayer::Paint(HDC dc, Canvas& canvas, const Container& container) {
    // Lines are rules drawn over the texts and pictures they separate: a second pass.
    for (const bool lines : {false, true}) {
        for (const Control* control : container.Children()) {
            if (!control->Windowless() || !control->Visible()) continue;
            if ((control->Kind() == ControlKind::Line) != lines) continue;
            PaintControl(dc, canvas, *control);
        }
    }
    PaintFocus(dc, container);
}

RECT WindowlessLayer::FocusRectOf(const Control& link) const {
    RECT area = RectOf(link);
    const auto* label = dynamic_cast<const Label*>(&link);
    if (label && label->LinkIcon()) {
        const RECT icon = RectOf(*label->LinkIcon());
        UnionRect(&area, &area, &icon);
    }
    return area;
}

// A link the keyboard reaches has the focus when the window standing in for it has: the
// dotted rectangle round it, unless the window's keyboard cues are hidden (the system's setting,
// until the keyboard is used).
void WindowlessLayer::PaintFocus(HDC dc, const Container& container) const {
    const HWND focus = GetFocus();
    const WindowBinding* binding = BindingOf(focus);
    const Control* link = binding ? binding->control : nullptr;
    if (!link || !link->Windowless() || &link->Parent() != &container || !link->Visible()) return;
    if (SendMessageW(focus, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
    const RECT area = FocusRectOf(*link);
    // The rectangle inverts what it crosses: its pattern is drawn in black and white.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &area);
}

void WindowlessLayer::PaintControl(HDC dc, Canvas& canvas, const Control& control) {
    const RECT place = RectOf(control);
    if (const auto* label = dynamic_cast<const Label*>(&control)) {
        SelectIn font(dc, fonts_.Get(label->Font(), dpi_.dpi));
        const Color ground = GroundOf(*label), own = scheme_.TextGroundOf(*label, ground);
        SetTextColor(dc, ColorRefOf(scheme_.InkOf(*label, label->ForeColor(), own)));
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
            if (!label->Transparent() || own != ground) {
                ScopedBrush brush(CreateSolidBrush(ColorRefOf(own)));
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
                                 : pictures_.NaturalSize(image->BuiltInPicture());
        if (!image->Stretch()) {
            dest.right = dest.left + MulDiv(natural.cx, dpi_.dpi, 96);
            dest.bottom = dest.top + MulDiv(natural.cy, dpi_.dpi, 96);
        }
        if (HICON icon = pictures_.Icon(image->BuiltInPicture(), dest.right - dest.left)) {
            DrawIconEx(dc, dest.left, dest.top, icon, dest.right - dest.left,
                       dest.bottom - dest.top, 0, nullptr, DI_NORMAL);
        } else {
            PicturePtr picture =
                image->Picture() ? image->Picture() : pictures_.Picture(image->BuiltInPicture());
            if (const auto* drawable = dynamic_cast<const Win32Picture*>(picture.get())) {
                GdiFlush();
                drawable->Draw(canvas, dest);
            }
        }
        if (image->Border()) {
            SetDCBrushColor(dc, InkOf(*image, Rgb(0, 0, 0)));
            FrameRect(dc, &dest, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
    } else if (const auto* line = dynamic_cast<const Line*>(&control)) {
        ScopedPen pen(CreatePen(PS_SOLID, 1, InkOf(*line, line->BorderColor())));
        SelectIn selected(dc, pen.Get());
        MoveToEx(dc, dpi_.Px(line->X1()), dpi_.Px(line->Y1()), nullptr);
        LineTo(dc, dpi_.Px(line->X2()), dpi_.Px(line->Y2()));
    }
}

// ---- hit-testing: the mouse and the pointer

Control* WindowlessLayer::ControlAt(const Container& container, POINT point) const {
    const auto& children = container.Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Control* control = *it;
        if (!control->Windowless() || !control->Visible() || control->MouseTransparent()) continue;
        const RECT place = RectOf(*control);
        if (PtInRect(&place, point)) return control;
    }
    return nullptr;
}

void WindowlessLayer::Mouse(const Container& container, Control* self, UINT message, WPARAM wParam,
                            LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    Control* target = ControlAt(container, point);
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

HCURSOR WindowlessLayer::PointerOf(const Control& control) const {
    switch (control.Pointer()) {
        case MousePointer::Custom:
            return pictures_.Pointer(control.MouseIcon());
        case MousePointer::Arrow:
            return LoadCursorW(nullptr, IDC_ARROW);
        default:
            return nullptr;
    }
}

void WindowlessLayer::SetPointer(HWND hwnd, const Container& container, const Control* self) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(hwnd, &point);
    HCURSOR pointer = nullptr;
    if (const Control* target = ControlAt(container, point)) pointer = PointerOf(*target);
    // A control that leaves the pointer to its container shows the container's.
    for (const Control* area = self; !pointer && area;) {
        pointer = PointerOf(*area);
        area = ParentControlOf(*area);
    }
    if (!pointer && form_.Design().programIconPointer) pointer = formPointer_;
    if (!pointer) pointer = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(pointer);
}

}  // namespace glimra::win32
