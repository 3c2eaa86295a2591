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
#include "win32/base/Windows.h"
#include "win32/readahead/FileStamp.h"

namespace glimra::win32 {

// Reads pictures on a worker thread with a loader of its own, made on that thread once COM
// is started there (the loader's codecs and its cache of the last picture belong to one
// thread). Finished pictures reach the window's thread through a message-only window. The
// window's thread never touches the disk here: whether a prepared picture is still current is
// judged on the worker too, so a folder on a share that has gone away cannot freeze the show.
// It keeps at most one prepared picture.
class ThreadedPreparer : public PicturePreparer {
  public:
    // Makes the worker's loader, which gives up a read in progress once `stop` is set.
    using LoaderMaker =
        std::function<std::unique_ptr<PictureLoader>(const std::atomic<bool>& stop)>;
    // Tells one state of a file from another (the platform's `StampOf` outside tests).
    using StampReader = std::function<std::optional<FileStamp>(const std::wstring& path)>;

    // Told on the worker's thread, with the preparer's lock held, each time a picture read
    // ahead is kept for its Take: whoever waits for a preparation waits on this, not on time.
    using KeptNotice = std::function<void()>;

    explicit ThreadedPreparer(LoaderMaker makeLoader, StampReader stampOf = &StampOf,
                              KeptNotice kept = {});
    ThreadedPreparer(const ThreadedPreparer&) = delete;
    ThreadedPreparer& operator=(const ThreadedPreparer&) = delete;
    // Stops the worker: a read in progress is abandoned at its next chance. A worker held up
    // by the disk for longer than kStopWaitMs is left to end on its own, so the program ends.
    ~ThreadedPreparer() override;

    void Prepare(const std::wstring& path) override;
    void Take(const std::wstring& path, Delivery deliver) override;

    static constexpr int kStopWaitMs = 300;

  private:
    struct Read {
        std::wstring path;
        std::optional<FileStamp> stamp;  // as it was just before the file was read
        PicturePtr picture;
    };
    // What the window's thread and the worker share, under `mutex`. A worker left behind at
    // the end keeps it alive on its own.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::optional<std::wstring> wanted;     // read next: a change waits for it
        std::optional<Read> candidate;          // the prepared read of `wanted`, to check
        std::optional<std::wstring> ahead;      // read when nothing is wanted
        std::optional<std::wstring> preparing;  // the last path given to Prepare, until taken
        std::optional<std::wstring> reading;
        std::optional<std::wstring> waitingFor;
        std::optional<Read> prepared;  // read ahead, not yet taken
        std::optional<Read> arrived;   // read for the change waiting for it
        bool stop = false;
        bool finished = false;
        std::atomic<bool> stopping{false};  // read by the loader without the lock
        HWND messages = nullptr;
    };

    static void Work(std::shared_ptr<Shared> shared, LoaderMaker makeLoader, StampReader stampOf,
                     KeptNotice kept);
    static Read ReadNext(const std::wstring& path, PictureLoader* loader,
                         const StampReader& stampOf, std::optional<Read> candidate);
    void Wake();
    void DeliverArrived();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    LoaderMaker makeLoader_;
    StampReader stampOf_;
    KeptNotice kept_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    HWND messages_ = nullptr;
    // The window's thread only.
    Delivery waiting_;
    std::thread worker_;
};

}  // namespace glimra::win32
