#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/PictureLister.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// Lists the picture folder on a thread of its own, with a file system of its own, and hands
// the list to the window's thread through a message-only window. The window's thread never
// waits for the listing: a folder of 100,000 pictures, or one on a share that has gone away,
// holds only that thread, which is left to end on its own when the program ends first.
class ThreadedLister : public PictureLister {
  public:
    // Makes the listing thread's file system (the platform's outside tests).
    using FilesMaker = std::function<std::unique_ptr<FileSystem>()>;

    explicit ThreadedLister(FilesMaker makeFiles);
    ThreadedLister(const ThreadedLister&) = delete;
    ThreadedLister& operator=(const ThreadedLister&) = delete;
    ~ThreadedLister() override;

    void List(const std::wstring& folder, Delivery deliver) override;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    FilesMaker makeFiles_;
    HWND messages_ = nullptr;
    std::uint64_t listing_ = 0;  // the last listing asked for; an earlier one is dropped
    Delivery waiting_;
};

}  // namespace glimra::win32
