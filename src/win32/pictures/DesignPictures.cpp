#include "win32/pictures/DesignPictures.h"

#include "win32/resources/resource.h"

namespace glimra::win32 {
namespace {

int ResourceOf(DesignPicture which) {
    switch (which) {
        case DesignPicture::PreviewMiniature:
            return IDR_PREVIEW_MINIATURE;
        case DesignPicture::AboutMiniature:
            return IDR_ABOUT_MINIATURE;
        case DesignPicture::Portrait:
            return IDR_PORTRAIT;
        case DesignPicture::HelpIcon:
            return IDI_HELP_LINK;
        case DesignPicture::DownloadIcon:
            return IDI_DOWNLOAD_LINK;
        default:
            return 0;
    }
}

bool IsIcon(DesignPicture which) {
    return which == DesignPicture::HelpIcon || which == DesignPicture::DownloadIcon;
}

}  // namespace

PicturePtr DesignPictures::Picture(DesignPicture which) {
    if (IsIcon(which) || which == DesignPicture::None) return nullptr;
    auto found = pictures_.find(which);
    if (found != pictures_.end()) return found->second;
    PicturePtr picture = loader_.FromResource(ResourceOf(which));
    pictures_[which] = picture;
    return picture;
}

HICON DesignPictures::Icon(DesignPicture which, int size) {
    if (!IsIcon(which)) return nullptr;
    ScopedIcon& icon = icons_[{which, size}];
    if (!icon) {
        icon.Reset(static_cast<HICON>(LoadImageW(resources_, MAKEINTRESOURCEW(ResourceOf(which)),
                                                 IMAGE_ICON, size, size, 0)));
    }
    return icon.Get();
}

SIZE DesignPictures::NaturalSize(DesignPicture which) {
    if (IsIcon(which)) return {32, 32};
    const PicturePtr picture = Picture(which);
    if (!picture) return {0, 0};
    return {picture->Width(), picture->Height()};
}

HCURSOR DesignPictures::Pointer(PointerPicture which) {
    if (which == PointerPicture::PointingHand) {
        if (!hand_) {
            hand_.Reset(static_cast<HCURSOR>(LoadImageW(
                resources_, MAKEINTRESOURCEW(IDC_POINTING_HAND), IMAGE_CURSOR, 0, 0, 0)));
        }
        return hand_.Get();
    }
    if (which == PointerPicture::ProgramIcon) return programPointer_;
    return nullptr;
}

}  // namespace glimra::win32
