#include "win32/decoder/DecoderProcessLoader.h"

#include <algorithm>

#include "imaging/PixelRecycler.h"
#include "win32/pictures/FileContents.h"
#include "win32/pictures/Pictures.h"

namespace glimra::win32 {
namespace {

constexpr size_t kInputStep = 4u << 20;   // the input section grows in steps of this
constexpr size_t kInputKept = 64u << 20;  // a larger one is given back after its picture

}  // namespace

DecoderProcessLoader::DecoderProcessLoader(HINSTANCE resources,
                                           std::shared_ptr<const ShowTarget> target,
                                           std::wstring decoder, DecoderProcess::Limits limits,
                                           const std::atomic<bool>* stop, StartCalls calls)
    : target_(target),
      inProcess_(resources, target),
      decoder_(std::move(decoder), limits, stop, calls) {
    if (stop) inProcess_.StopWhen(*stop);
}

DecoderProcessLoader::~DecoderProcessLoader() = default;

std::uint8_t* DecoderProcessLoader::InputFor(size_t bytes) {
    if (!input_ || input_->Bytes() < bytes) {
        if (input_) decoder_.Retire(*input_);
        input_ = SharedSection::Create((bytes + kInputStep - 1) / kInputStep * kInputStep);
    }
    return input_ ? input_->Data() : nullptr;
}

// The output section, with room for `pixels`; made larger when it has too little.
SharedSection* DecoderProcessLoader::OutputFor(size_t pixels) {
    const size_t bytes = std::max<size_t>(pixels, 1) * 4;
    if (!output_ || output_->Bytes() < bytes) {
        if (output_) decoder_.Retire(*output_);
        output_ = SharedSection::Create(bytes);
    }
    return output_.get();
}

PicturePtr DecoderProcessLoader::Load(const std::wstring& path) {
    if (refused_.contains(path)) return nullptr;
    size_t size = 0;
    if (!ReadWholeFile(path, WicPictureLoader::kMaxFileBytes, [&](size_t bytes) {
            size = bytes;
            return InputFor(bytes);
        })) {
        return nullptr;
    }
    const std::uint64_t digest = ContentDigest(input_->Data(), size);
    const ShowTarget::Size at = target_->Get();
    if (PicturePtr same = last_.Again(path, size, digest, at)) return same;
    // A picture is kept at most at the size of the window that shows it.
    SharedSection* const output = OutputFor(static_cast<size_t>(std::max(1, at.width)) *
                                            static_cast<size_t>(std::max(1, at.height)));
    if (!output) return nullptr;
    const DecoderProcess::Answer answer = decoder_.Decode(*input_, size, *output, at);
    PicturePtr picture;
    switch (answer.outcome) {
        case DecoderProcess::Outcome::Decoded: {
            // Copied out: the decoder can still write the section, and the pixels shown are
            // only those it can no longer change.
            const DecoderReply& r = answer.reply;
            const size_t count = static_cast<size_t>(r.pixelWidth) * r.pixelHeight;
            const auto* from = reinterpret_cast<const std::uint32_t*>(output->Data());
            std::vector<std::uint32_t> pixels = TakePixelStore(count);
            pixels.assign(from, from + count);
            picture = std::make_shared<RasterPicture>(
                r.naturalWidth, r.naturalHeight,
                PixelBuffer{r.pixelWidth, r.pixelHeight, std::move(pixels)});
            break;
        }
        case DecoderProcess::Outcome::Failed:
            refused_.insert(path);
            break;
        case DecoderProcess::Outcome::Unavailable:
            picture = inProcess_.Decode(input_->Data(), size);
            break;
        case DecoderProcess::Outcome::Refused:
        case DecoderProcess::Outcome::Stopped:
            break;
    }
    if (input_->Bytes() > kInputKept) {
        decoder_.Retire(*input_);
        input_.reset();
    }
    if (picture) last_ = {path, size, digest, at, picture};
    return picture;
}

}  // namespace glimra::win32
