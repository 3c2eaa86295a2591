#pragma once

#include "controls/Control.h"
#include "platform/Picture.h"

namespace glimra {

// A borderless area that other controls sit on and that may hold a picture at its natural
// size. The dialog's pages are picture boxes; the slide show keeps its current picture in an
// invisible one that is never drawn.
struct PictureBoxState {
    PicturePtr picture;
    Color backColor = kButtonFace;
};

class PictureBox : public ControlWith<PictureBoxState, ContainerControl> {
  public:
    explicit PictureBox(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::PictureBox, std::move(name)) {}

    const PicturePtr& Picture() const { return s_.picture; }
    // The picture is not part of the look of a hidden holder, so it changes nothing on screen.
    void SetPicture(PicturePtr picture) {
        if (Visible()) {
            Assign(s_.picture, picture);
        } else {
            s_.picture = std::move(picture);
        }
    }
    Color BackColor() const { return s_.backColor; }
};

}  // namespace glimra
