#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wincodec.h>
#include <wrl/client.h>

#include "platform/PictureLoader.h"
#include "win32/base/Windows.h"
#include "win32/pictures/ColourConversion.h"
#include "win32/pictures/DisplayColours.h"
#include "win32/pictures/FileContents.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/ShowTarget.h"

namespace glimra::win32 {

// Reads pictures: JPEG, BMP, GIF (first frame) and ICO (largest image) through the platform's
// imaging codecs, WMF and EMF through GDI. Raster pictures are decoded straight to the size
// the screen shows them at (never more than the file holds), smoothly reduced by our own
// area-averaging scaler, which averages light, turned upright after their EXIF orientation,
// and turned into the display's colours from those their embedded profile describes. Loading the
// file that was loaded last again, unchanged, gives the same picture without decoding it again (a
// folder of one picture changes to itself every few seconds).
class WicPictureLoader : public PictureLoader {
  public:
    // Each raster picture's decoded frame is read through what this makes of it; the program
    // reads the frame itself (no wrapper), a test may put in a decoder that reduces while it
    // decodes, which Wine's JPEG decoder cannot.
    using FrameWrapper = std::function<Microsoft::WRL::ComPtr<IWICBitmapSource>(IWICBitmapSource*)>;

    // `screenWidth` x `screenHeight` pixels at `dpi` is where the pictures will be shown; raster
    // pictures are kept at the size of the rectangle the window draws them into there.
    WicPictureLoader(HINSTANCE resources, int screenWidth, int screenHeight, float dpi,
                     FrameWrapper wrapFrame = nullptr);
    // The pictures are shown where `target` says at the time each is loaded.
    WicPictureLoader(HINSTANCE resources, std::shared_ptr<const ShowTarget> target);

    PicturePtr Load(const std::wstring& path) override;
    PicturePtr StartPicture() override;
    PicturePtr BlankPicture() override;

    // The picture in a file's contents, or nullptr.
    PicturePtr Decode(const std::uint8_t* data, size_t size);
    // The picture in a file's contents, written into `into` at the size the screen shows it:
    // a picture over that memory, or nullptr when it cannot be decoded or does not fit.
    PicturePtr DecodeInto(const std::uint8_t* data, size_t size, const PixelTarget& into);
    // A picture built into the program as a raw resource, or nullptr.
    PicturePtr FromResource(int id);

    // Once `stop` is set, a raster decode in progress fails at its next read of the file's
    // contents: the program need not wait for a large picture when it ends.
    void StopWhen(const std::atomic<bool>& stop) { stop_ = &stop; }
    // Where the display profile of the monitor the show is on comes from: the system's, unless
    // a test names another.
    void DisplayProfilesFrom(DisplayProfiles::Lookup lookup) {
        displayProfiles_ = DisplayProfiles(std::move(lookup));
    }

    // Files larger than this are refused rather than read into memory.
    static constexpr std::uint64_t kMaxFileBytes = 512ull << 20;

  private:
    PicturePtr DecodeRaster(const std::uint8_t* data, size_t size, const PixelTarget* into);
    PicturePtr PlayMetafileInto(const std::uint8_t* data, size_t size, const PixelTarget& into);

    HINSTANCE resources_;
    LastLoaded last_;
    std::shared_ptr<const ShowTarget> target_;
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
    const std::atomic<bool>* stop_ = nullptr;
    FrameWrapper wrapFrame_;
    ColourConversion colours_;
    DisplayProfiles displayProfiles_;
};

}  // namespace glimra::win32
