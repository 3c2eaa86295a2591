#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/PictureLoader.h"
#include "platform/PicturePreparer.h"
#include "win32/FileStamp.h"
#include "win32/Windows.h"

namespace glimra::win32 {

// Reads pictures on a worker thread with a loader of its own, made on that thread once COM
// is started there (the loader's codecs and its cache of the last picture belong to one
// thread). Finished pictures reach the window's thread through a message-only window, so
// the window's thread never waits for a decode. It keeps at most one prepared picture.
class ThreadedPreparer : public PicturePreparer {
  public:
    // Makes the worker's loader, which gives up a read in progress once `stop` is set.
    using LoaderMaker =
        std::function<std::unique_ptr<PictureLoader>(const std::atomic<bool>& stop)>;

    // Told on the worker's thread, with the preparer's lock held, each time a picture read
    // ahead is kept for its Take: whoever waits for a preparation waits on this, not on time.
    using KeptNotice = std::function<void()>;

    explicit ThreadedPreparer(LoaderMaker makeLoader, KeptNotice kept = {});
    ThreadedPreparer(const ThreadedPreparer&) = delete;
    ThreadedPreparer& operator=(const ThreadedPreparer&) = delete;
    // Stops the worker: a read in progress is abandoned at its next chance, then joined.
    ~ThreadedPreparer() override;

    void Prepare(const std::wstring& path) override;
    void Take(const std::wstring& path, Delivery deliver) override;

  private:
    struct Read {
        std::wstring path;
        std::optional<FileStamp> stamp;  // as it was just before the file was read
        PicturePtr picture;
    };

    void Work();
    void Want(const std::wstring& path);
    void Wake();
    void DeliverArrived();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    LoaderMaker makeLoader_;
    KeptNotice kept_;
    HWND messages_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    // Shared with the worker, under mutex_.
    std::optional<std::wstring> wanted_;     // read next: a change waits for it
    std::optional<std::wstring> ahead_;      // read when nothing is wanted
    std::optional<std::wstring> preparing_;  // the last path given to Prepare, until taken
    std::optional<std::wstring> reading_;
    std::optional<std::wstring> waitingFor_;
    std::optional<Read> prepared_;  // read ahead, not yet taken
    std::optional<Read> arrived_;   // read for the change waiting for it
    bool stop_ = false;
    std::atomic<bool> stopping_{false};  // read by the loader without the lock
    // The window's thread only.
    Delivery waiting_;
    std::thread worker_;
};

}  // namespace glimra::win32
