#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "win32/decoder/DecoderProcess.h"
#include "win32/decoder/SharedSection.h"
#include "win32/pictures/FileContents.h"
#include "win32/pictures/ShowTarget.h"
#include "win32/pictures/WicPictureLoader.h"

namespace glimra::win32 {

// Loads the slide show's pictures through the decoder process: the file is read here, into a
// section the decoder reads, and the decoder writes the picture, at the size the screen shows
// it, into a section the picture's pixels are then copied from. A file the decoder died on, overran
// its time or memory on, is not tried again while this loader lives; the decoder starts again at
// the next picture. Loading the file loaded last again, unchanged, gives the same picture.
// One thread uses it; the pictures it gives may go on any thread.
class DecoderProcessLoader : public PictureLoader {
  public:
    // The longest wait is that of a 30 MiB file: about three times what a 100 MP photograph
    // takes under Wine (see docs/ARCHITECTURE.md).
    static constexpr DecoderProcess::Limits kLimits{std::chrono::seconds(5),
                                                    std::chrono::milliseconds(500),
                                                    std::chrono::seconds(20), 1536u << 20};

    // `decoder` is the program file to start as the decoder; `stop`, once set, ends a decode
    // under way (the program is ending).
    DecoderProcessLoader(HINSTANCE resources, std::shared_ptr<const ShowTarget> target,
                         std::wstring decoder, DecoderProcess::Limits limits,
                         const std::atomic<bool>* stop, StartCalls calls = {});
    ~DecoderProcessLoader() override;

    PicturePtr Load(const std::wstring& path) override;
    PicturePtr StartPicture() override { return inProcess_.StartPicture(); }
    PicturePtr BlankPicture() override { return inProcess_.BlankPicture(); }

    const DecoderProcess& Decoder() const { return decoder_; }

  private:
    std::uint8_t* InputFor(size_t bytes);
    SharedSection* OutputFor(size_t pixels);

    std::shared_ptr<const ShowTarget> target_;
    // The program's own pictures, and every picture where no decoder process can be started.
    WicPictureLoader inProcess_;
    DecoderProcess decoder_;
    std::unique_ptr<SharedSection> input_;
    std::unique_ptr<SharedSection> output_;
    std::set<std::wstring> refused_;

    LastLoaded last_;
};

}  // namespace glimra::win32
