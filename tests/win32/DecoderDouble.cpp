// A decoder process that breaks on the files that ask for it, as a codec breaks on a file
// other programs wrote: it faults, never returns, or allocates without end. Every other file
// it decodes as the program's decoder does.
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "win32/base/Windows.h"
#include "win32/decoder/DecoderService.h"

using namespace glimra;
using namespace glimra::win32;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const auto served = ServeIfDecoder([instance]() -> DecodeInto {
        return [codecs = CodecDecoder(instance)](const std::uint8_t* data, size_t size,
                                                 const PixelTarget& into, ShowTarget::Size at) {
            const std::string_view head(reinterpret_cast<const char*>(data),
                                        std::min<size_t>(size, 8));
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
            return codecs(data, size, into, at);
        };
    });
    return served.value_or(2);
}
