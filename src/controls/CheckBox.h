#pragma once

#include <string>

#include "controls/Control.h"

namespace glimra {

// A check box: 0 unchecked, 1 checked, 2 grayed. Other values are refused.
struct CheckBoxState {
    std::wstring caption;
    int value = 0;
};

class CheckBox : public ControlWith<CheckBoxState> {
  public:
    explicit CheckBox(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::CheckBox, std::move(name)) {}

    const std::wstring& Caption() const { return s_.caption; }
    void SetCaption(const std::wstring& caption) { Assign(s_.caption, caption); }
    int Value() const { return s_.value; }
    // False, and nothing changes, when the value is not 0, 1 or 2.
    bool SetValue(int value) {
        if (value < 0 || value > 2) return false;
        if (value != s_.value) {
            Assign(s_.value, value);
            Raise(Click);
        }
        return true;
    }
    // The user clicked: a checked box is cleared, any other is checked.
    void PlatformToggle() {
        if (EffectiveEnabled()) SetValue(s_.value == 1 ? 0 : 1);
    }
};

}  // namespace glimra
