// A decoder process that breaks on the files that ask for it, as a codec breaks on a file
// other programs wrote, or as code a crafted file took over would: it faults, never returns,
// allocates without end, takes memory as sections, answers out of turn for ever, or writes
// over a picture after it answered; or it tries every act a sandbox forbids, and writes what
// happened where the pixels go. Every other file it decodes as the program's decoder does,
// but on the rungs of the ladder a test tells it to fail on (GLIMRA_DOUBLE_FAILS_RUNGS: it
// fails on every rung above that number), as a codec that cannot work there would.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#include "win32/DecoderProbe.h"
#include "win32/base/Windows.h"
#include "win32/decoder/DecoderChannel.h"
#include "win32/decoder/DecoderService.h"

using namespace glimra;
using namespace glimra::win32;

namespace {

// The channel's block, as code running in the decoder finds it: the handle named in the
// environment.
DecoderControl* ChannelBlock() {
    wchar_t value[32] = {};
    if (!GetEnvironmentVariableW(kDecoderVariable, value, 32)) return nullptr;
    const auto handle = reinterpret_cast<HANDLE>(std::wcstoull(value, nullptr, 10));
    return static_cast<DecoderControl*>(
        MapViewOfFile(handle, FILE_MAP_WRITE, 0, 0, sizeof(DecoderControl)));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    DecoderControl* const block = ChannelBlock();
    wchar_t failing[16] = {};
    const unsigned failsBelow = GetEnvironmentVariableW(L"GLIMRA_DOUBLE_FAILS_RUNGS", failing, 16)
                                    ? static_cast<unsigned>(std::wcstoul(failing, nullptr, 10))
                                    : 0;
    const auto served = ServeIfDecoder([instance, block, failsBelow]() -> DecodeInto {
        return [block, failsBelow, codecs = CodecDecoder(instance)](
                   const std::uint8_t* data, size_t size, const PixelTarget& into,
                   ShowTarget::Size at) -> PicturePtr {
            if (block && block->rung < failsBelow) return nullptr;
            const std::string_view head(reinterpret_cast<const char*>(data),
                                        std::min<size_t>(size, 8));
            if (head.starts_with("PROBE\n")) {
                const std::string report = ProbeForbiddenActs(
                    std::string(reinterpret_cast<const char*>(data) + 6, size - 6), block);
                std::memcpy(into.pixels, report.c_str(),
                            std::min(report.size() + 1, into.capacity * 4));
                return nullptr;
            }
            if (head.starts_with("FAULT")) {
                volatile int* nowhere = nullptr;
                *nowhere = 1;
            }
            if (head.starts_with("HANG")) {
                for (;;)
                    Sleep(INFINITE);
            }
            if (head.starts_with("HOG")) {
                std::vector<std::unique_ptr<char[]>> held;
                for (;;) {
                    held.push_back(std::make_unique<char[]>(16u << 20));
                    std::memset(held.back().get(), 1, 16u << 20);
                }
            }
            if (head.starts_with("SECTIONS")) {
                // Memory of the paging file, as a codec could take it: 8 x 64 MiB, written.
                for (int i = 0; i < 8; ++i) {
                    const HANDLE section = CreateFileMappingW(
                        INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64u << 20, nullptr);
                    if (void* view = MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, 0))
                        std::memset(view, 1, 64u << 20);
                }
                for (;;)
                    Sleep(INFINITE);
            }
            if (head.starts_with("LIAR") && block) {
                // An answer to another request, over and over.
                const auto replyReady = reinterpret_cast<HANDLE>(block->replyReady);
                for (;;) {
                    block->reply.sequence = block->request.sequence + 1;
                    SetEvent(replyReady);
                }
            }
            PicturePtr picture = codecs(data, size, into, at);
            if (size >= 8 &&
                std::string_view(reinterpret_cast<const char*>(data) + size - 8, 8) == "SCRIBBLE") {
                // The picture is answered, and then written over, for ever.
                std::thread([into] {
                    Sleep(100);
                    for (;;) {
                        std::fill_n(into.pixels, into.capacity, 0xFFFFFFFFu);
                        Sleep(10);
                    }
                }).detach();
            }
            return picture;
        };
    });
    return served.value_or(2);
}
