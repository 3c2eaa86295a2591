#pragma once

#include <string>

#include "controls/Style.h"
#include "controls/WindowlessControl.h"

namespace glimra {

// A text drawn by its container. With a transparent background only the text itself covers
// what lies beneath. A label is as large as its caption.
class Label : public WindowlessControl {
  public:
    using WindowlessControl::WindowlessControl;

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption) { Assign(caption_, caption); }
    Color ForeColor() const { return foreColor_; }
    void SetForeColor(Color color) { Assign(foreColor_, color); }
    const glimra::Font& Font() const { return font_; }
    void SetFont(const glimra::Font& font) { Assign(font_, font); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { Assign(transparent_, transparent); }
    // With mnemonics an ampersand marks the access key and "&&" shows one ampersand; texts
    // such as file paths are shown as they are.
    bool UseMnemonic() const { return useMnemonic_; }
    void SetUseMnemonic(bool useMnemonic) { Assign(useMnemonic_, useMnemonic); }

  private:
    std::wstring caption_;
    Color foreColor_ = 0;
    glimra::Font font_;
    bool transparent_ = false;
    bool useMnemonic_ = true;
};

}  // namespace glimra
