#include "win32/ThreadedPreparer.h"

#include <objbase.h>

namespace glimra::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"GlimraPreparer";
constexpr UINT kArrived = WM_APP + 1;

}  // namespace

ThreadedPreparer::ThreadedPreparer(LoaderMaker makeLoader, KeptNotice kept)
    : makeLoader_(std::move(makeLoader)), kept_(std::move(kept)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const ATOM registered = [&] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &ThreadedPreparer::WindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass);
    }();
    if (registered) {
        messages_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, nullptr);
    }
    if (messages_) SetWindowLongPtrW(messages_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ThreadedPreparer::~ThreadedPreparer() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
    if (messages_) DestroyWindow(messages_);
}

void ThreadedPreparer::Prepare(const std::wstring& path) {
    {
        std::lock_guard lock(mutex_);
        preparing_ = path;
        if (prepared_ && prepared_->path == path) return;  // judged afresh when taken
        prepared_.reset();
        ahead_ = path;
    }
    Wake();
}

void ThreadedPreparer::Take(const std::wstring& path, Delivery deliver) {
    std::optional<Read> ready;
    {
        std::lock_guard lock(mutex_);
        waitingFor_.reset();
        arrived_.reset();
        if (prepared_ && prepared_->path == path) ready = std::move(prepared_);
        prepared_.reset();
        preparing_.reset();
    }
    waiting_ = nullptr;
    // A file changed or gone since it was read is judged afresh: read again, off this thread.
    if (ready && ready->stamp && StampOf(path) == ready->stamp) {
        deliver(std::move(ready->picture));
        return;
    }
    ready.reset();
    waiting_ = std::move(deliver);
    Want(path);
}

void ThreadedPreparer::Want(const std::wstring& path) {
    {
        std::lock_guard lock(mutex_);
        waitingFor_ = path;
        if (reading_ != path) wanted_ = path;  // else the read under way will do
        if (ahead_ == path) ahead_.reset();
    }
    Wake();
}

// The worker starts with the first picture asked for: a start that shows none makes none.
void ThreadedPreparer::Wake() {
    if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
    wake_.notify_all();
}

void ThreadedPreparer::Work() {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    {
        std::unique_ptr<PictureLoader> loader;
        try {
            loader = makeLoader_(stopping_);
        } catch (...) {
            // Without a loader every picture fails to load, as an unreadable file does.
        }
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return stop_ || wanted_ || ahead_; });
            if (stop_) break;
            std::optional<std::wstring>& next = wanted_ ? wanted_ : ahead_;
            reading_ = std::move(next);
            next.reset();
            lock.unlock();
            Read read{*reading_, StampOf(*reading_), nullptr};
            try {
                read.picture = loader ? loader->Load(read.path) : nullptr;
            } catch (...) {
                // A picture that cannot be read, like any other that fails.
            }
            lock.lock();
            reading_.reset();
            if (waitingFor_ == read.path) {
                arrived_ = std::move(read);
                PostMessageW(messages_, kArrived, 0, 0);
            } else if (preparing_ == read.path) {
                prepared_ = std::move(read);
                if (kept_) kept_();
            }
        }
        reading_.reset();
    }
    if (com) CoUninitialize();
}

void ThreadedPreparer::DeliverArrived() {
    std::optional<Read> read;
    {
        std::lock_guard lock(mutex_);
        if (!arrived_ || arrived_->path != waitingFor_) return;
        read = std::move(arrived_);
        arrived_.reset();
        waitingFor_.reset();
    }
    Delivery deliver = std::move(waiting_);
    waiting_ = nullptr;
    if (deliver) deliver(std::move(read->picture));
}

LRESULT CALLBACK ThreadedPreparer::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message != kArrived) return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* self = reinterpret_cast<ThreadedPreparer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    try {
        if (self) self->DeliverArrived();
    } catch (...) {
        // A handler's failure ends that handler only; it never crosses the window procedure.
    }
    return 0;
}

}  // namespace glimra::win32
