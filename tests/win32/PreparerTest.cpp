#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/pictures/WicPictureLoader.h"
#include "win32/readahead/ThreadedPreparer.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

// What the worker reports to the test. The worker holds it too: a worker held by the disk at
// the end is left to finish on its own, after the test that made it may have gone.
struct WorkerReports {
    WorkerReports() = default;
    WorkerReports(const WorkerReports&) = delete;
    WorkerReports& operator=(const WorkerReports&) = delete;
    ~WorkerReports() {
        CloseHandle(started);
        CloseHandle(kept);
    }

    std::atomic<int> loads{0};
    std::atomic<DWORD> thread{0};
    std::atomic<bool> loaded{false};
    HANDLE started = CreateEventW(nullptr, FALSE, FALSE, nullptr);  // a load began
    HANDLE kept = CreateEventW(nullptr, FALSE, FALSE, nullptr);     // a picture waits for Take
};

// The real loader, reporting each finished load and the thread it ran on.
class ReportingLoader : public PictureLoader {
  public:
    ReportingLoader(std::shared_ptr<WorkerReports> reports, const std::atomic<bool>& stop)
        : reports_(std::move(reports)) {
        real_.StopWhen(stop);
    }
    PicturePtr Load(const std::wstring& path) override {
        reports_->thread = GetCurrentThreadId();
        SetEvent(reports_->started);
        PicturePtr picture = real_.Load(path);
        reports_->loaded = picture != nullptr;
        ++reports_->loads;
        return picture;
    }
    PicturePtr StartPicture() override { return nullptr; }
    PicturePtr BlankPicture() override { return nullptr; }

  private:
    WicPictureLoader real_{GetModuleHandleW(nullptr), 800, 600, 96.0f};
    std::shared_ptr<WorkerReports> reports_;
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
            [reports = reports](const std::atomic<bool>& stop) {
                return std::make_unique<ReportingLoader>(reports, stop);
            },
            std::move(stampOf), [reports = reports] { SetEvent(reports->kept); });
    }
    void TearDown() override { preparer.reset(); }

    std::wstring Write(const wchar_t* name, int width, int height) {
        const std::wstring path = folder.Path() + name;
        EXPECT_TRUE(WriteBytes(path, EncodeBmp(Solid(width, height, kRed))));
        return path;
    }
    // Handles the messages already queued for this thread.
    static void PumpQueued() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    // Handles this thread's messages as they arrive until `done`, for at most ten seconds.
    static bool PumpUntil(const std::function<bool()>& done) {
        const ULONGLONG end = GetTickCount64() + 10000;
        for (ULONGLONG now = GetTickCount64(); !done() && now < end; now = GetTickCount64()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now),
                                      QS_ALLINPUT);
            PumpQueued();
        }
        return done();
    }
    // Prepares `path` and waits until the worker has kept it for its Take.
    void PrepareAndWait(const std::wstring& path) {
        preparer->Prepare(path);
        ASSERT_EQ(WaitForSingleObject(kept, 10000), WAIT_OBJECT_0);
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
    std::shared_ptr<WorkerReports> reports = std::make_shared<WorkerReports>();
    std::atomic<int>& loads = reports->loads;
    std::atomic<DWORD>& thread = reports->thread;
    std::atomic<bool>& loaded = reports->loaded;
    const HANDLE started = reports->started;
    const HANDLE kept = reports->kept;
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
    // The one worker reads in turn: once it has kept a later preparation, whatever it sent
    // for `a` is queued.
    PrepareAndWait(Write(L"c.bmp", 10, 10));
    PumpQueued();
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
    PumpQueued();  // the worker is joined: all it ever sent is queued by now
    EXPECT_EQ(got.count, 0);
}

// A stamp that holds the worker until the test lets it go, as a file on a share that has gone
// away holds whoever opens it.
class HeldStamp {
  public:
    // The disk answers once released, or after `holdMs`.
    ThreadedPreparer::StampReader Reader(DWORD holdMs = 5000) {
        return [gate = gate_, called = called_, answered = answered_, calls = calls_,
                holdMs](const std::wstring& path) {
            ++*calls;
            SetEvent(called.get());
            WaitForSingleObject(gate.get(), holdMs);
            SetEvent(answered.get());
            return StampOf(path);
        };
    }
    bool WaitCalled() { return WaitForSingleObject(called_.get(), 10000) == WAIT_OBJECT_0; }
    bool Answered() const { return WaitForSingleObject(answered_.get(), 0) == WAIT_OBJECT_0; }
    void Release() { SetEvent(gate_.get()); }
    int Calls() const { return *calls_; }

  private:
    std::shared_ptr<void> gate_{CreateEventW(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
    std::shared_ptr<void> called_{CreateEventW(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
    std::shared_ptr<void> answered_{CreateEventW(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
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
    ASSERT_EQ(WaitForSingleObject(kept, 10000), WAIT_OBJECT_0);
    Delivered got;
    Take(path, got);
    ASSERT_TRUE(PumpUntil([&] { return got.count > 0; }));
    ASSERT_TRUE(got.picture);
    EXPECT_EQ(loads, 1);
}

// The window's thread neither waits for a file's stamp when it takes a picture nor, at the
// end, for a worker that waits for one: the show goes on and ends on time. The disk holds the
// worker for a minute: whatever the machine's load, a Take or an end that waited for it would
// return only after the disk had answered.
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
        held.Reader(60000));
    preparer->Prepare(path);
    ASSERT_TRUE(held.WaitCalled());
    preparer->Take(path, [](PicturePtr) {});
    EXPECT_FALSE(held.Answered()) << "Take waited for the disk";
    const ULONGLONG start = GetTickCount64();
    preparer.reset();
    EXPECT_FALSE(held.Answered()) << "the end waited for the disk";
    // What the end may wait is bounded by the preparer's own wait, whatever the machine does.
    EXPECT_LT(GetTickCount64() - start, ThreadedPreparer::kStopWaitMs + 10000u);
    EXPECT_EQ(held.Calls(), 1) << "the worker is still held";
    held.Release();
}

}  // namespace
}  // namespace glimra::win32
