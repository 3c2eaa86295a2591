#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/Style.h"

namespace glimra {

class Form;
class Control;

// The pointer shown over a control: the container's, the standard arrow, or the control's
// own pointer picture.
enum class MousePointer { Default = 0, Arrow = 1, Custom = 99 };

// The pointer pictures the program carries.
enum class PointerPicture { None, PointingHand, ProgramIcon };

// Something controls sit on: a form, a picture box or a frame. Positions of the controls on
// it are in twips from its top-left corner.
class Container {
  public:
    virtual ~Container() = default;
    const std::vector<Control*>& Children() const { return children_; }
    virtual Form& OwnerForm() = 0;
    // False when this container, or one it sits on, is disabled: then so is everything on it.
    virtual bool ContentsEnabled() const = 0;

  private:
    friend class Control;
    std::vector<Control*> children_;
};

enum class ControlKind {
    Label,
    Image,
    Line,
    TextBox,
    CheckBox,
    CommandButton,
    Frame,
    PictureBox,
    TabStrip,
    DriveList,
    DirList,
    FileList,
};

// What every control has: a container, a place, visibility, enabled state, a tip, a font, a
// tab-order position, a pointer and mouse events. Assigning a property that changes the look
// tells the form, whose peer shows it; the events are raised synchronously.
class Control {
  public:
    Control(Container& parent, ControlKind kind, std::wstring name);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    ControlKind Kind() const { return kind_; }
    // Labels, images and lines have no window: their container draws and hit-tests them.
    bool Windowless() const;
    const std::wstring& Name() const { return name_; }
    Container& Parent() const { return parent_; }
    Form& OwnerForm() const { return parent_.OwnerForm(); }

    float Left() const { return s_.left; }
    float Top() const { return s_.top; }
    float Width() const { return s_.width; }
    float Height() const { return s_.height; }
    void Move(float left, float top, float width, float height);
    void SetLeft(float left) { Move(left, s_.top, s_.width, s_.height); }

    bool Visible() const { return s_.visible; }
    void SetVisible(bool visible) { Assign(s_.visible, visible); }
    bool Enabled() const { return s_.enabled; }
    void SetEnabled(bool enabled) { Assign(s_.enabled, enabled); }
    // Enabled, and on a container whose contents are enabled.
    bool EffectiveEnabled() const { return s_.enabled && parent_.ContentsEnabled(); }

    const std::wstring& ToolTipText() const { return s_.toolTip; }
    void SetToolTipText(const std::wstring& tip) { Assign(s_.toolTip, tip); }
    // What assistive technology calls a control that no caption or label beside it names;
    // empty when its caption or labels do.
    const std::wstring& AccessibleName() const { return s_.accessibleName; }
    void SetAccessibleName(const std::wstring& name) { s_.accessibleName = name; }
    const glimra::Font& Font() const { return s_.font; }
    void SetFont(const glimra::Font& font) { Assign(s_.font, font); }
    int TabIndex() const { return s_.tabIndex; }
    void SetTabIndex(int index) { s_.tabIndex = index; }
    MousePointer Pointer() const { return s_.pointer; }
    void SetMousePointer(MousePointer pointer) { Assign(s_.pointer, pointer); }
    PointerPicture MouseIcon() const { return s_.mouseIcon; }
    void SetMouseIcon(PointerPicture picture) { Assign(s_.mouseIcon, picture); }
    // A windowless control that lets the mouse through to its container, as the slide show's
    // captions do: input over them is input over the window.
    bool MouseTransparent() const { return s_.mouseTransparent; }
    void SetMouseTransparent(bool transparent) { s_.mouseTransparent = transparent; }

    // Events: button (1 left, 2 right, 4 middle), shift (1 Shift, 2 Ctrl, 4 Alt), position in
    // twips on the control.
    std::function<void(int, int, float, float)> MouseMove;
    std::function<void(int, int, float, float)> MouseUp;
    std::function<void()> Click;
    std::function<void()> DblClick;

    // Reports from the platform: a disabled control raises nothing.
    void PlatformMouseMove(int button, int shift, float x, float y);
    void PlatformMouseUp(int button, int shift, float x, float y);
    void PlatformClick();
    void PlatformDblClick();

    // The values the control has before any code of the form runs, kept at the form's first
    // load and put back when it is unloaded, so every load starts afresh.
    virtual void KeepDesign() { design_ = s_; }
    virtual void RestoreDesign() { s_ = design_; }
    // The form is being loaded: controls that show the machine's state read it now.
    virtual void FormLoading() {}

  protected:
    template <typename T>
    void Assign(T& member, const T& value) {
        if (member == value) return;
        member = value;
        Changed();
    }
    void Changed();
    void Raise(const std::function<void()>& event) const {
        if (event) event();
    }

  private:
    struct State {
        float left = 0, top = 0, width = 0, height = 0;
        bool visible = true;
        bool enabled = true;
        std::wstring toolTip;
        std::wstring accessibleName;
        glimra::Font font;
        int tabIndex = 0;
        MousePointer pointer = MousePointer::Default;
        PointerPicture mouseIcon = PointerPicture::None;
        bool mouseTransparent = false;
    };

    Container& parent_;
    ControlKind kind_;
    std::wstring name_;
    State s_, design_;
};

// A control with properties of its own kind, kept in `s_` so that its design values can be
// kept and put back with the common ones.
template <typename State, typename Base = Control>
class ControlWith : public Base {
  public:
    using Base::Base;
    void KeepDesign() override {
        Base::KeepDesign();
        design_ = s_;
    }
    void RestoreDesign() override {
        Base::RestoreDesign();
        s_ = design_;
    }

  protected:
    State s_{};

  private:
    State design_{};
};

// A control that other controls sit on (picture box, frame).
class ContainerControl : public Control, public Container {
  public:
    ContainerControl(Container& parent, ControlKind kind, std::wstring name)
        : Control(parent, kind, std::move(name)) {}
    Form& OwnerForm() override { return Control::OwnerForm(); }
    bool ContentsEnabled() const override { return EffectiveEnabled(); }
};

}  // namespace glimra
