#include "win32/decoder/DecoderService.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <thread>

#include "win32/decoder/DecoderChannel.h"
#include "win32/pictures/WicPictureLoader.h"

namespace glimra::win32 {
namespace {

HANDLE HandleOf(std::uint64_t value) {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
}

// A fault in a codec ends the decoder at once: no report, no debugger, and the program sees
// it gone.
LONG WINAPI EndAtFault(EXCEPTION_POINTERS*) {
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A section the program gave, mapped while the decoder holds its handle.
struct View {
    std::uint8_t* data = nullptr;
    size_t bytes = 0;
};

class Views {
  public:
    ~Views() {
        for (auto& [handle, view] : views_)
            Close(handle, view);
    }
    // The view of the section `handle`, mapped at its first use; none when it cannot be.
    View Of(std::uint64_t handle, DWORD access) {
        if (auto found = views_.find(handle); found != views_.end()) return found->second;
        View view;
        view.data = static_cast<std::uint8_t*>(MapViewOfFile(HandleOf(handle), access, 0, 0, 0));
        MEMORY_BASIC_INFORMATION region{};
        if (!view.data || !VirtualQuery(view.data, &region, sizeof(region))) {
            if (view.data) UnmapViewOfFile(view.data);
            return {};
        }
        view.bytes = region.RegionSize;
        views_[handle] = view;
        return view;
    }
    void Retire(std::uint64_t handle) {
        if (auto found = views_.find(handle); found != views_.end()) {
            Close(handle, found->second);
            views_.erase(found);
        } else if (handle) {
            CloseHandle(HandleOf(handle));
        }
    }

  private:
    static void Close(std::uint64_t handle, const View& view) {
        UnmapViewOfFile(view.data);
        CloseHandle(HandleOf(handle));
    }
    std::map<std::uint64_t, View> views_;
};

DecoderReply Serve(const DecoderRequest& request, Views& views, const DecodeInto& decode) {
    DecoderReply reply{request.sequence, 0, 0, 0, 0, 0};
    for (const std::uint64_t handle : request.retired)
        if (handle) views.Retire(handle);
    const View input = views.Of(request.input, FILE_MAP_READ);
    const View output = views.Of(request.output, FILE_MAP_READ | FILE_MAP_WRITE);
    if (!input.data || !output.data || request.inputBytes == 0 ||
        request.inputBytes > input.bytes || request.outputPixels > output.bytes / 4) {
        return reply;
    }
    const PixelTarget into{reinterpret_cast<std::uint32_t*>(output.data),
                           static_cast<size_t>(request.outputPixels), HandleOf(request.output)};
    PicturePtr picture;
    try {
        ShowTarget::Size at{request.width, request.height, request.dpi};
        std::copy(std::begin(request.monitor), std::end(request.monitor) - 1,
                  at.monitor.begin());  // the last stays the terminating zero
        picture = decode(input.data, static_cast<size_t>(request.inputBytes), into, at);
    } catch (...) {
        // A picture that cannot be loaded.
    }
    const auto* kept = dynamic_cast<const KeptPixelsPicture*>(picture.get());
    if (!kept || kept->Pixels() != into.pixels) return reply;
    reply.decoded = 1;
    reply.naturalWidth = kept->Width();
    reply.naturalHeight = kept->Height();
    reply.pixelWidth = kept->PixelWidth();
    reply.pixelHeight = kept->PixelHeight();
    return reply;
}

}  // namespace

DecodeInto CodecDecoder(HINSTANCE resources) {
    auto target = std::make_shared<ShowTarget>(ShowTarget::Size{1, 1, 96});
    auto codecs = std::make_shared<WicPictureLoader>(resources, target);
    return [target, codecs](const std::uint8_t* data, size_t size, const PixelTarget& into,
                            ShowTarget::Size at) {
        target->Set(at);
        return codecs->DecodeInto(data, size, into);
    };
}

std::optional<int> ServeIfDecoder(const std::function<DecodeInto()>& makeDecode) {
    wchar_t value[32] = {};
    const DWORD length = GetEnvironmentVariableW(kDecoderVariable, value, 32);
    if (length == 0 || length >= 32) return std::nullopt;
    SetEnvironmentVariableW(kDecoderVariable, nullptr);
    // Anything but the block the program made for us is no channel: the process is the
    // program, started by someone who set the variable.
    const HANDLE control = HandleOf(std::wcstoull(value, nullptr, 10));
    auto* block = static_cast<DecoderControl*>(
        control ? MapViewOfFile(control, FILE_MAP_WRITE, 0, 0, sizeof(DecoderControl)) : nullptr);
    if (!block) return std::nullopt;
    if (block->magic != kDecoderMagic) {
        UnmapViewOfFile(block);
        return std::nullopt;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&EndAtFault);
    const HANDLE program = HandleOf(block->program);
    const HANDLE requestReady = HandleOf(block->requestReady);
    const HANDLE replyReady = HandleOf(block->replyReady);
    // Whatever a decode is doing, the decoder does not outlive the program.
    std::thread([program] {
        WaitForSingleObject(program, INFINITE);
        TerminateProcess(GetCurrentProcess(), 0);
    }).detach();
    // COM stays up to the end: the process ends right after, and its codecs with it.
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
        const DecodeInto decode = makeDecode();
        Views views;
        const HANDLE waits[] = {requestReady, program};
        while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
            DecoderRequest request;
            std::memcpy(&request, &block->request, sizeof(request));
            const DecoderReply reply = Serve(request, views, decode);
            std::memcpy(&block->reply, &reply, sizeof(reply));
            SetEvent(replyReady);
        }
    }
    return 0;
}

}  // namespace glimra::win32
