#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>

#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/ThreadedPreparer.h"
#include "win32/WicPictureLoader.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

// The real loader, reporting each finished load and the thread it ran on.
class ReportingLoader : public PictureLoader {
  public:
    ReportingLoader(std::atomic<int>& loads, std::atomic<DWORD>& thread, HANDLE started,
                    std::atomic<bool>& loaded, const std::atomic<bool>& stop)
        : loads_(loads), thread_(thread), started_(started), loaded_(loaded) {
        real_.StopWhen(stop);
    }
    PicturePtr Load(const std::wstring& path) override {
        thread_ = GetCurrentThreadId();
        SetEvent(started_);
        PicturePtr picture = real_.Load(path);
        loaded_ = picture != nullptr;
        ++loads_;
        return picture;
    }
    PicturePtr StartPicture() override { return nullptr; }
    PicturePtr BlankPicture() override { return nullptr; }

  private:
    WicPictureLoader real_{GetModuleHandleW(nullptr), 800, 600, 96.0f};
    std::atomic<int>& loads_;
    std::atomic<DWORD>& thread_;
    HANDLE started_;
    std::atomic<bool>& loaded_;
};

struct Delivered {
    int count = 0;
    bool beforeTakeReturned = false;
    PicturePtr picture;
};

class Preparer : public ::testing::Test {
  protected:
    void SetUp() override { MakePreparer(&StampOf); }
    void MakePreparer(ThreadedPreparer::StampReader stampOf) {
        preparer = std::make_unique<ThreadedPreparer>(
            [this](const std::atomic<bool>& stop) {
                return std::make_unique<ReportingLoader>(loads, thread, started, loaded, stop);
            },
            std::move(stampOf));
    }
    void TearDown() override { CloseHandle(started); }

    std::wstring Write(const wchar_t* name, int width, int height) {
        const std::wstring path = folder.Path() + name;
        EXPECT_TRUE(WriteBytes(path, EncodeBmp(Solid(width, height, kRed))));
        return path;
    }
    // Waits, pumping this thread's messages, until `done` or `limitMs` have passed.
    bool PumpUntil(const std::function<bool()>& done, int limitMs = 10000) {
        for (int i = 0; i < limitMs / 10 && !done(); ++i) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            Sleep(10);
        }
        return done();
    }
    // Prepares `path` and waits until the worker has finished with it.
    void PrepareAndWait(const std::wstring& path) {
        const int before = loads;
        preparer->Prepare(path);
        ASSERT_TRUE(PumpUntil([&] { return loads > before; }));
        Sleep(50);  // the worker files the picture just after its load returns
    }
    void Take(const std::wstring& path, Delivered& into) {
        bool returned = false;
        preparer->Take(path, [&into, &returned](PicturePtr picture) {
            ++into.count;
            into.beforeTakeReturned = !returned;
            into.picture = std::move(picture);
        });
        returned = true;
    }

    TempFolder folder{L"glimra-preparer"};
    std::atomic<int> loads{0};
    std::atomic<DWORD> thread{0};
    std::atomic<bool> loaded{false};
    HANDLE started = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::unique_ptr<ThreadedPreparer> preparer;
};

TEST_F(Preparer, APreparedPictureIsReadOnAnotherThreadAndHandedOverWithoutReadingItAgain) {
    const std::wstring path = Write(L"a.bmp", 40, 30);
    PrepareAndWait(path);
    EXPECT_NE(thread, GetCurrentThreadId());
    Delivered got;
    Take(path, got);
    ASSERT_TRUE(PumpUntil([&] { return got.count > 0; }));
    EXPECT_EQ(got.count, 1);
    ASSERT_TRUE(got.picture);
    EXPECT_EQ(got.picture->Width(), 40);
    EXPECT_EQ(loads, 1) << "read once";
}

TEST_F(Preparer, AFileChangedOrGoneSinceItWasPreparedIsReadAgain) {
    const struct {
        const char* name;
        std::function<void(const std::wstring&)> change;
        int width;  // 0: cannot be loaded
    } cases[] = {
        {"rewritten",
         [&](const std::wstring& p) { Write(p.substr(folder.Path().size()).c_str(), 50, 20); }, 50},
        {"deleted", [](const std::wstring& p) { DeleteFileW(p.c_str()); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = Write(L"b.bmp", 40, 30);
        PrepareAndWait(path);
        c.change(path);
        Delivered got;
        Take(path, got);
        EXPECT_FALSE(got.beforeTakeReturned && got.count) << "the change is not handed over";
        ASSERT_TRUE(PumpUntil([&] { return got.count > 0; }));
        EXPECT_EQ(got.count, 1);
        EXPECT_EQ(got.picture ? got.picture->Width() : 0, c.width);
    }
}

TEST_F(Preparer, APictureNotPreparedArrivesLaterAndALaterTakeReplacesIt) {
    const std::wstring a = Write(L"a.bmp", 40, 30), b = Write(L"b.bmp", 60, 30);
    Delivered forA, forB;
    Take(a, forA);
    Take(b, forB);
    EXPECT_EQ(forB.count, 0) << "not read yet: never waited for";
    ASSERT_TRUE(PumpUntil([&] { return forB.count > 0; }));
    PumpUntil([] { return false; }, 300);  // anything still on its way for `a` comes now
    EXPECT_EQ(forA.count, 0);
    ASSERT_TRUE(forB.picture);
    EXPECT_EQ(forB.picture->Width(), 60);
}

TEST_F(Preparer, EndingWhileAPictureIsBeingReadAbandonsItAndDeliversNothing) {
    const std::wstring path = folder.Path() + L"big.jpg";
    ASSERT_TRUE(WriteBytes(path, EncodeJpeg(Quadrants(3000, 2000))));
    Delivered got;
    Take(path, got);
    ASSERT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
    preparer.reset();
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(loaded) << "the decode ran to its end";
    PumpUntil([&] { return got.count > 0; }, 300);
    EXPECT_EQ(got.count, 0);
}

// A stamp that holds the worker until the test lets it go, as a file on a share that has gone
// away holds whoever opens it.
class HeldStamp {
  public:
    ThreadedPreparer::StampReader Reader() {
        return [gate = gate_, called = called_, calls = calls_](const std::wstring& path) {
            ++*calls;
            SetEvent(called.get());
            WaitForSingleObject(gate.get(), 5000);
            return StampOf(path);
        };
    }
    bool WaitCalled() { return WaitForSingleObject(called_.get(), 10000) == WAIT_OBJECT_0; }
    void Release() { SetEvent(gate_.get()); }
    int Calls() const { return *calls_; }

  private:
    std::shared_ptr<void> gate_{CreateEventW(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
    std::shared_ptr<void> called_{CreateEventW(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
    std::shared_ptr<std::atomic<int>> calls_ = std::make_shared<std::atomic<int>>(0);
};

TEST_F(Preparer, APictureBeingReadIsNotReadAgainWhenPreparedAgain) {
    HeldStamp held;
    MakePreparer(held.Reader());
    const std::wstring path = Write(L"a.bmp", 40, 30);
    preparer->Prepare(path);
    ASSERT_TRUE(held.WaitCalled());
    preparer->Prepare(path);
    held.Release();
    Delivered got;
    ASSERT_TRUE(PumpUntil([&] { return loads > 0; }));
    Take(path, got);
    ASSERT_TRUE(PumpUntil([&] { return got.count > 0; }));
    ASSERT_TRUE(got.picture);
    EXPECT_EQ(loads, 1);
}

// The window's thread neither waits for a file's stamp when it takes a picture nor, at the
// end, for a worker that waits for one: the show goes on and ends on time.
TEST(PreparerOnAShareThatWentAway, NeitherTheShowNorItsEndWaitsForTheDisk) {
    TempFolder folder{L"glimra-preparer-held"};
    const std::wstring path = folder.Path() + L"a.bmp";
    ASSERT_TRUE(WriteBytes(path, EncodeBmp(Solid(8, 8, kRed))));
    HeldStamp held;
    auto preparer = std::make_unique<ThreadedPreparer>(
        [](const std::atomic<bool>& stop) {
            auto loader =
                std::make_unique<WicPictureLoader>(GetModuleHandleW(nullptr), 80, 60, 96.0f);
            loader->StopWhen(stop);
            return loader;
        },
        held.Reader());
    preparer->Prepare(path);
    ASSERT_TRUE(held.WaitCalled());
    const ULONGLONG start = GetTickCount64();
    preparer->Take(path, [](PicturePtr) {});
    EXPECT_LT(GetTickCount64() - start, 200u) << "within the show's 200 ms input check";
    preparer.reset();
    EXPECT_LT(GetTickCount64() - start, 200u + ThreadedPreparer::kStopWaitMs);
    EXPECT_EQ(held.Calls(), 1) << "the worker is still held";
    held.Release();
}

}  // namespace
}  // namespace glimra::win32
