#pragma once

#include <cstdint>

namespace glimra::win32 {

// How the program and its decoder process talk. The program starts the decoder as another
// process of its own file, naming in one environment variable the control block it inherits
// (never a command-line switch, which anyone could pass). The block names the other handles
// the decoder inherits: the program's process, which it serves only while it lives, and the
// two events that pass a request and its answer. Files and pixels go through sections the
// program shares with it, named by the handle the decoder holds for each.
inline constexpr wchar_t kDecoderVariable[] = L"GLIMRA_DECODER_CHANNEL";
inline constexpr std::uint64_t kDecoderMagic = 0x31726564'6F636544ull;  // "Decoder1"

// What the decoder is to do: decode `inputBytes` of the input section into the output
// section, at the size a window of `width` x `height` pixels at `dpi` shows it, in the colours
// of the monitor of that device name.
struct DecoderRequest {
    std::uint32_t sequence;
    std::uint64_t input;  // section handles, as the decoder holds them
    std::uint64_t inputBytes;
    std::uint64_t output;
    std::uint64_t outputPixels;  // room in the output section
    std::int32_t width;
    std::int32_t height;
    float dpi;
    std::uint64_t retired[4];  // section handles the decoder may close; 0 for none
    wchar_t monitor[32];
};

// The decoder's answer to the request of the same sequence: `decoded`, or the picture cannot
// be loaded. The pixels are `pixelWidth` x `pixelHeight`, rows top-down, in the output section.
struct DecoderReply {
    std::uint32_t sequence;
    std::int32_t decoded;
    std::int32_t naturalWidth;
    std::int32_t naturalHeight;
    std::int32_t pixelWidth;
    std::int32_t pixelHeight;
};

struct DecoderControl {
    std::uint64_t magic;
    std::uint64_t program;  // handles both processes hold by the same values
    std::uint64_t requestReady;
    std::uint64_t replyReady;
    std::uint32_t rung;    // the decoder's rung of the ladder, and the levels that hold it
    std::uint32_t levels;  // (DecoderLadder.h): told, for the tests' doubles to see
    DecoderRequest request;
    DecoderReply reply;
};

}  // namespace glimra::win32
