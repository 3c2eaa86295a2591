#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "screensaver/ScreenSaverProgram.h"
#include "win32/PumpUntil.h"
#include "win32/RealPorts.h"
#include "win32/TempFolder.h"
#include "win32/forms/FormWindow.h"
#include "win32/readahead/ThreadedLister.h"
#include "win32/system/Win32FileSystem.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

// The disk: it lists only once the test opens the gate, as a large folder or a sleeping disk
// keeps whoever lists it waiting. What it shares with the test outlives the lister's threads.
struct Gate {
    std::shared_ptr<void> open{CreateEventW(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
    std::shared_ptr<std::atomic<int>> listings = std::make_shared<std::atomic<int>>(0);

    ThreadedLister::FilesMaker Files() const {
        struct HeldFiles : Win32FileSystem {
            HeldFiles(std::shared_ptr<void> open, std::shared_ptr<std::atomic<int>> listings)
                : open_(std::move(open)), listings_(std::move(listings)) {}
            std::vector<std::vector<std::wstring>> FilesMatching(
                const std::wstring& folder, const std::vector<std::wstring>& patterns) override {
                WaitForSingleObject(open_.get(), 60000);
                auto found = Win32FileSystem::FilesMatching(folder, patterns);
                ++*listings_;
                return found;
            }
            std::shared_ptr<void> open_;
            std::shared_ptr<std::atomic<int>> listings_;
        };
        return [open = open, listings = listings] {
            return std::make_unique<HeldFiles>(open, listings);
        };
    }
    void Open() const { SetEvent(open.get()); }
    // Whether every listing thread has ended: each holds a share of the count until then,
    // besides the test's own and the lister's.
    bool ThreadsEnded(long others) const { return listings.use_count() == 1 + others; }
};

TEST(Lister, ListsBehindTheWindowsThreadAndHandsOverOnlyTheLastListing) {
    TempFolder folder{L"glimra-lister"};
    folder.AddFile(L"b.bmp");
    folder.AddFile(L"a.jpg");
    folder.AddFile(L"notes.txt");
    Gate gate;
    ThreadedLister lister(gate.Files());
    int deliveries = 0;
    std::vector<std::wstring> listed;
    const auto keep = [&](std::vector<std::wstring> pictures) {
        ++deliveries;
        listed = std::move(pictures);
    };
    lister.List(folder.Path(), keep);
    lister.List(folder.Path(), keep);  // a second start replaces the first
    EXPECT_EQ(deliveries, 0) << "the disk holds the listing, not List";
    gate.Open();
    ASSERT_TRUE(PumpUntil([&] { return gate.ThreadsEnded(1) && deliveries > 0; }));
    EXPECT_EQ(*gate.listings, 2);
    EXPECT_EQ(deliveries, 1);
    EXPECT_EQ(listed,
              (std::vector<std::wstring>{folder.Path() + L"a.jpg", folder.Path() + L"b.bmp"}));
}

TEST(Lister, EndingWhileTheDiskHoldsTheListingWaitsForNothingAndDeliversNothing) {
    TempFolder folder{L"glimra-lister-held"};
    folder.AddFile(L"a.jpg");
    Gate gate;
    int deliveries = 0;
    {
        ThreadedLister lister(gate.Files());
        lister.List(folder.Path(), [&](std::vector<std::wstring>) { ++deliveries; });
    }
    EXPECT_EQ(*gate.listings, 0) << "the lister ended while the disk still held its thread";
    gate.Open();
    ASSERT_TRUE(PumpUntil([&] { return gate.ThreadsEnded(0); }));
    EXPECT_EQ(*gate.listings, 1);
    EXPECT_EQ(deliveries, 0);
}

// The whole program over a disk that never answers the slide show's listing: its window
// covers the screen at once and a key ends it; the dialog, whose load would check the folder
// on the window's thread, waits for the list and so is never loaded.
TEST(Lister, TheShowCoversTheScreenAndEndsOnAKeyWhileItsDiskNeverAnswers) {
    TempFolder folder{L"glimra-lister-show"};
    RealPorts real{L"Glimra.ListerTest"};
    real.ShowFolder(folder.Path());
    Gate gate;
    {
        ThreadedLister lister(gate.Files());
        ScreenSaverProgram saver(real.ports, &real.peers, nullptr, &lister);
        saver.Start();
        PumpUntil([] { return true; });
        const auto* window = static_cast<FormWindow*>(saver.lumivue.Peer());
        ASSERT_TRUE(window && IsWindowVisible(window->Handle())) << "the screen is covered";
        EXPECT_FALSE(saver.options.Loaded()) << "nothing checks the folder on the window's thread";
        SendMessageW(window->Handle(), WM_KEYDOWN, VK_SPACE, 0);
        saver.lumivue.timCheckScreen.Fire();
        EXPECT_FALSE(saver.lumivue.Loaded()) << "the key ended the show";
    }
    gate.Open();
    ASSERT_TRUE(PumpUntil([&] { return gate.ThreadsEnded(0); }));
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace
}  // namespace glimra::win32
