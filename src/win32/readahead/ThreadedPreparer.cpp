#include "win32/readahead/ThreadedPreparer.h"

#include <objbase.h>

#include <chrono>

#include "platform/EntryGuard.h"
#include "win32/readahead/MessageWindow.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"GlimraPreparer";
constexpr UINT kArrived = WM_APP + 1;

}  // namespace

ThreadedPreparer::ThreadedPreparer(LoaderMaker makeLoader, StampReader stampOf, KeptNotice kept)
    : makeLoader_(std::move(makeLoader)), stampOf_(std::move(stampOf)), kept_(std::move(kept)) {
    messages_ = MakeMessageWindow(kWindowClass, &ThreadedPreparer::WindowProc, this);
    shared_->messages = messages_;
}

ThreadedPreparer::~ThreadedPreparer() {
    Shared& s = *shared_;
    bool ended = true;
    {
        std::unique_lock lock(s.mutex);
        s.stop = true;
        s.stopping = true;
        s.messages = nullptr;
        s.wake.notify_all();
        if (worker_.joinable()) {
            ended = s.wake.wait_for(lock, std::chrono::milliseconds(kStopWaitMs),
                                    [&] { return s.finished; });
        }
    }
    if (worker_.joinable()) {
        if (ended) {
            worker_.join();
        } else {
            worker_.detach();  // it holds what it shares; nothing it does reaches us any more
        }
    }
    if (messages_) DestroyWindow(messages_);
}

void ThreadedPreparer::Prepare(const std::wstring& path) {
    {
        Shared& s = *shared_;
        std::lock_guard lock(s.mutex);
        s.preparing = path;
        if (s.prepared && s.prepared->path == path) return;  // judged afresh when taken
        s.prepared.reset();
        if (s.reading == path) {
            s.ahead.reset();  // the read under way will do
            return;
        }
        s.ahead = path;
    }
    Wake();
}

void ThreadedPreparer::Take(const std::wstring& path, Delivery deliver) {
    {
        Shared& s = *shared_;
        std::lock_guard lock(s.mutex);
        s.waitingFor = path;
        s.arrived.reset();
        s.candidate.reset();
        if (s.prepared && s.prepared->path == path) s.candidate = std::move(s.prepared);
        s.prepared.reset();
        s.preparing.reset();
        if (s.ahead == path) s.ahead.reset();
        // A prepared picture goes to the worker too, which hands it over when its file has
        // not changed since it was read; a read of the path under way will do as it is.
        if (s.candidate || s.reading != path) {
            s.wanted = path;
        } else {
            s.wanted.reset();
        }
    }
    waiting_ = std::move(deliver);
    Wake();
}

// The worker starts with the first picture asked for: a start that shows none makes none.
void ThreadedPreparer::Wake() {
    if (!worker_.joinable())
        worker_ = std::thread(&ThreadedPreparer::Work, shared_, makeLoader_, stampOf_, kept_);
    shared_->wake.notify_all();
}

void ThreadedPreparer::Work(std::shared_ptr<Shared> shared, LoaderMaker makeLoader,
                            StampReader stampOf, KeptNotice kept) {
    Shared& s = *shared;
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    {
        std::unique_ptr<PictureLoader> loader;
        try {
            loader = makeLoader(s.stopping);
        } catch (...) {
            // Without a loader every picture fails to load, as an unreadable file does.
        }
        // The last picture read: a folder of one picture, or a file read again unchanged,
        // costs a stamp instead of reading its bytes once more.
        Read last;
        std::unique_lock lock(s.mutex);
        for (;;) {
            s.wake.wait(lock, [&] { return s.stop || s.wanted || s.ahead; });
            if (s.stop) break;
            const bool forChange = s.wanted.has_value();
            std::optional<std::wstring>& next = forChange ? s.wanted : s.ahead;
            s.reading = std::move(next);
            next.reset();
            std::optional<Read> candidate;
            if (forChange && s.candidate && s.candidate->path == *s.reading)
                candidate = std::move(s.candidate);
            s.candidate.reset();
            const std::wstring path = *s.reading;
            lock.unlock();
            if (!candidate && last.picture && last.path == path) candidate = last;
            Read read = ReadNext(path, loader.get(), stampOf, std::move(candidate));
            last = read.picture ? read : Read{};
            lock.lock();
            s.reading.reset();
            if (s.waitingFor == read.path) {
                s.arrived = std::move(read);
                if (s.messages) PostMessageW(s.messages, kArrived, 0, 0);
            } else if (s.preparing == read.path) {
                s.prepared = std::move(read);
                if (kept) kept();
            }
        }
        s.reading.reset();
    }
    if (com) CoUninitialize();
    std::lock_guard lock(s.mutex);
    s.finished = true;
    s.wake.notify_all();
}

// A picture read before is handed over as it is when its file has not changed since.
ThreadedPreparer::Read ThreadedPreparer::ReadNext(const std::wstring& path, PictureLoader* loader,
                                                  const StampReader& stampOf,
                                                  std::optional<Read> candidate) {
    Read read{path, std::nullopt, nullptr};
    try {
        read.stamp = stampOf(path);
        if (candidate && candidate->stamp && read.stamp == candidate->stamp) return *candidate;
        read.picture = loader ? loader->Load(path) : nullptr;
    } catch (...) {
        // A picture that cannot be read, like any other that fails.
    }
    return read;
}

void ThreadedPreparer::DeliverArrived() {
    std::optional<Read> read;
    {
        Shared& s = *shared_;
        std::lock_guard lock(s.mutex);
        if (!s.arrived || s.arrived->path != s.waitingFor) return;
        read = std::move(s.arrived);
        s.arrived.reset();
        s.waitingFor.reset();
    }
    Delivery deliver = std::move(waiting_);
    waiting_ = nullptr;
    if (deliver) deliver(std::move(read->picture));
}

LRESULT CALLBACK ThreadedPreparer::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message != kArrived) return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* self = reinterpret_cast<ThreadedPreparer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) Contained([&] { self->DeliverArrived(); });
    return 0;
}

}  // namespace glimra::win32
