#include "win32/readahead/ThreadedLister.h"

#include <thread>
#include <utility>
#include <vector>

#include "platform/EntryGuard.h"
#include "win32/readahead/MessageWindow.h"
#include "screensaver/ImageList.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"GlimraLister";
constexpr UINT kListed = WM_APP + 1;

// A finished listing on its way to the window's thread.
struct Listed {
    std::uint64_t listing;
    std::vector<std::wstring> pictures;
};

}  // namespace

ThreadedLister::ThreadedLister(FilesMaker makeFiles) : makeFiles_(std::move(makeFiles)) {
    messages_ = MakeMessageWindow(kWindowClass, &ThreadedLister::WindowProc, this);
}

ThreadedLister::~ThreadedLister() {
    if (!messages_) return;
    SetWindowLongPtrW(messages_, GWLP_USERDATA, 0);
    MSG message;
    while (PeekMessageW(&message, messages_, kListed, kListed, PM_REMOVE))
        delete reinterpret_cast<Listed*>(message.lParam);
    DestroyWindow(messages_);
}

void ThreadedLister::List(const std::wstring& folder, Delivery deliver) {
    waiting_ = std::move(deliver);
    const std::uint64_t listing = ++listing_;
    if (!messages_) {  // no window to hear from the thread: list here
        Delivery now = std::move(waiting_);
        std::unique_ptr<FileSystem> files = makeFiles_();
        now(ListImageFiles(*files, folder));
        return;
    }
    // The thread owns all it uses: it may outlive the lister.
    std::thread([hwnd = messages_, listing, folder, makeFiles = makeFiles_] {
        auto listed = std::make_unique<Listed>(Listed{listing, {}});
        Contained([&] {
            std::unique_ptr<FileSystem> files = makeFiles();
            listed->pictures = ListImageFiles(*files, folder);
        });
        if (PostMessageW(hwnd, kListed, 0, reinterpret_cast<LPARAM>(listed.get())))
            listed.release();
    }).detach();
}

LRESULT CALLBACK ThreadedLister::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kListed) return DefWindowProcW(hwnd, message, wParam, lParam);
    const std::unique_ptr<Listed> listed(reinterpret_cast<Listed*>(lParam));
    auto* self = reinterpret_cast<ThreadedLister*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || listed->listing != self->listing_ || !self->waiting_) return 0;
    Delivery deliver = std::move(self->waiting_);
    self->waiting_ = nullptr;
    Contained([&] { deliver(std::move(listed->pictures)); });
    return 0;
}

}  // namespace glimra::win32
