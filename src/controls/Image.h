#pragma once

#include "controls/Control.h"
#include "platform/Picture.h"

namespace glimra {

// The pictures built into the program that the dialog's images show.
enum class DesignPicture {
    None,
    PreviewMiniature,
    AboutMiniature,
    Portrait,
    HelpIcon,
    DownloadIcon
};

// A picture drawn by its container: at its natural size from the top-left corner, or
// stretched to the control; with or without a thin border. The picture is either one the
// program loaded or one built into the program, which the platform reads when it first
// draws it.
struct ImageState {
    PicturePtr picture;
    DesignPicture design = DesignPicture::None;
    bool stretch = false;
    bool border = false;
};

class Image : public ControlWith<ImageState> {
  public:
    explicit Image(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::Image, std::move(name)) {}

    const PicturePtr& Picture() const { return s_.picture; }
    void SetPicture(PicturePtr picture) { Assign(s_.picture, picture); }
    DesignPicture BuiltInPicture() const { return s_.design; }
    void SetBuiltInPicture(DesignPicture picture) { Assign(s_.design, picture); }
    bool Stretch() const { return s_.stretch; }
    void SetStretch(bool stretch) { Assign(s_.stretch, stretch); }
    bool Border() const { return s_.border; }
    void SetBorder(bool border) { Assign(s_.border, border); }
};

}  // namespace glimra
