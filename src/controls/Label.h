#pragma once

#include <string>

#include "controls/Control.h"

namespace glimra {

enum class Alignment { Left, Right, Center };

// A text drawn by its container inside its rectangle, wrapped at word boundaries. A label
// without a width is as large as its one line of text. With a transparent background only
// the text covers what lies beneath.
struct LabelState {
    std::wstring caption;
    Color foreColor = kButtonText;
    Color backColor = kButtonFace;
    bool transparent = false;
    Alignment alignment = Alignment::Left;
    bool wordWrap = true;
    bool useMnemonic = true;
    bool tabStop = false;
    const Control* linkIcon = nullptr;
};

class Label : public ControlWith<LabelState> {
  public:
    explicit Label(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::Label, std::move(name)) {}

    const std::wstring& Caption() const { return s_.caption; }
    void SetCaption(const std::wstring& caption) { Assign(s_.caption, caption); }
    Color ForeColor() const { return s_.foreColor; }
    void SetForeColor(Color color) { Assign(s_.foreColor, color); }
    Color BackColor() const { return s_.backColor; }
    void SetBackColor(Color color) { Assign(s_.backColor, color); }
    bool Transparent() const { return s_.transparent; }
    void SetTransparent(bool transparent) { Assign(s_.transparent, transparent); }
    Alignment GetAlignment() const { return s_.alignment; }
    void SetAlignment(Alignment alignment) { Assign(s_.alignment, alignment); }
    bool WordWrap() const { return s_.wordWrap; }
    void SetWordWrap(bool wrap) { Assign(s_.wordWrap, wrap); }
    // With mnemonics an ampersand marks the access key and "&&" shows one ampersand; texts
    // such as file paths are shown as they are.
    bool UseMnemonic() const { return s_.useMnemonic; }
    void SetUseMnemonic(bool useMnemonic) { Assign(s_.useMnemonic, useMnemonic); }
    // A link the keyboard reaches too: the label takes its place in the tab order, Enter and
    // Space on it raise Click, and its focus is shown round it and its icon, the picture that
    // is part of the same link. Read when the form's windows are made.
    bool TabStop() const { return s_.tabStop; }
    void SetTabStop(bool tabStop) { s_.tabStop = tabStop; }
    const Control* LinkIcon() const { return s_.linkIcon; }
    void SetLinkIcon(const Control* icon) { s_.linkIcon = icon; }
    // The label's text underlined or not, the rest of its font unchanged.
    void SetUnderline(bool underline) {
        glimra::Font font = Font();
        font.underline = underline;
        SetFont(font);
    }
};

}  // namespace glimra
