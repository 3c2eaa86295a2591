// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "screensaver/ScreenSaverProgram.h"
#include "settings/SettingKeys.h"
#include "imaging/PictureFit.h"
#include "win32/BuiltProgram.h"
#include "win32/DecoderDoubles.h"
#include "win32/PumpUntil.h"
#include "win32/RealPorts.h"
#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/decoder/DecoderProcessLoader.h"
#include "win32/forms/FormWindow.h"
#include "win32/pictures/Canvas.h"
#include "win32/readahead/ThreadedPreparer.h"
#include "win32/system/Win32ProgramDetails.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

// Short limits, so a decoder that breaks costs the test little.
constexpr DecoderProcess::Limits kTestLimits{std::chrono::seconds(1), std::chrono::seconds(0),
                                             std::chrono::seconds(1), 256u << 20};

// Limits a fault or a hog reaches long before its deadline.
constexpr DecoderProcess::Limits kLongDeadline{std::chrono::seconds(60), std::chrono::seconds(0),
                                               std::chrono::seconds(60), 256u << 20};

std::string Breaking(const char* how) {
    return std::string(how) + std::string(4096, '.');
}

// What a picture draws where the window draws it, on a black width x height canvas.
PixelBuffer Shown(const PicturePtr& picture, int width, int height) {
    if (!picture) return {};
    const PixelRect r = ShownRect(picture->Width(), picture->Height(), width, height, 15.0f, 15.0f);
    return Drawn(width, height, [&](Canvas& canvas) {
        static_cast<const Win32Picture&>(*picture).Draw(canvas, {r.left, r.top, r.right, r.bottom});
    });
}

// How many of this process's handles another process it starts would inherit.
int InheritableHandles() {
    int count = 0;
    for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) &&
            (flags & HANDLE_FLAG_INHERIT)) {
            ++count;
        }
    }
    return count;
}

// The program itself as the decoder: every kind of picture comes back as the loader in the
// program makes it, the same size and, where it is drawn, the same pixels.
TEST(DecoderProcess, TheProgramDecodesEveryKindOfPictureAsTheLoaderDoesInProcess) {
    TempFolder folder{L"glimra-decoder-kinds"};
    const struct {
        const wchar_t* name;
        Bytes bytes;
    } files[] = {
        {L"a.bmp", EncodeBmp(Quadrants(300, 200))},
        {L"a.jpg", EncodeJpeg(Quadrants(640, 480))},
        {L"upright.jpg", WithExifOrientation(EncodeJpeg(Quadrants(300, 200)), 6)},
        {L"a.gif", EncodeGif({Quadrants(120, 90)})},
        {L"a.ico", MakeIcon({{32, kRed}, {64, kBlue}})},
        {L"a.wmf", MakeWmf(2880, 1440, true)},
        {L"b.wmf", MakeWmf(1440, 2880, false)},
        {L"a.emf", MakeEmf({0, 0, 5080, 2540})},
    };
    constexpr int kWidth = 200, kHeight = 150;
    auto target = std::make_shared<ShowTarget>(ShowTarget::Size{kWidth, kHeight, 96});
    WicPictureLoader inProcess(GetModuleHandleW(nullptr), target);
    std::atomic<bool> stop{false};
    const int inheritable = InheritableHandles();
    DecoderProcessLoader loader(GetModuleHandleW(nullptr), target, BuiltProgram::Path(),
                                DecoderProcessLoader::kLimits, &stop);
    for (const auto& file : files) {
        SCOPED_TRACE(std::string(file.name, file.name + std::wcslen(file.name)));
        const std::wstring path = folder.Path() + file.name;
        ASSERT_TRUE(WriteBytes(path, file.bytes));
        const PicturePtr expected = inProcess.Load(path);
        const PicturePtr decoded = loader.Load(path);
        ASSERT_TRUE(expected && decoded);
        EXPECT_EQ(decoded->Width(), expected->Width());
        EXPECT_EQ(decoded->Height(), expected->Height());
        EXPECT_TRUE(Shown(decoded, kWidth, kHeight).pixels ==
                    Shown(expected, kWidth, kHeight).pixels);
    }
    EXPECT_EQ(loader.Decoder().Starts(), 1u) << "one decoder served them all";
    EXPECT_EQ(InheritableHandles(), inheritable) << "the channel's handles stay inheritable";
}

// A file that makes the decoder fault, never answer, or allocate without end costs that
// picture only: the decoder is ended within its limits, started again for the next picture,
// and the file is not tried again; pictures it made before stay drawable.
TEST(DecoderProcess, AFileThatBreaksTheDecoderCostsOnePictureAndTheDecoderStartsAgain) {
    // A fault and the hogs are seen long before the deadline: the decoder's end, its memory.
    const struct {
        const char* how;
        DecoderProcess::Limits limits;
        ULONGLONG endedWithinMs;
    } cases[] = {
        {"FAULT", kLongDeadline, 10000}, {"HANG", kTestLimits, 6000},
        {"HOG", kLongDeadline, 10000},   {"SECTIONS", kLongDeadline, 10000},
        {"LIAR", kTestLimits, 6000},
    };
    for (const auto& [how, limits, endedWithinMs] : cases) {
        SCOPED_TRACE(how);
        TempFolder folder{L"glimra-decoder"};
        const std::wstring red = folder.Path() + L"red.bmp", blue = folder.Path() + L"blue.bmp";
        ASSERT_TRUE(WriteBytes(red, EncodeBmp(Solid(40, 30, kRed))));
        ASSERT_TRUE(WriteBytes(blue, EncodeBmp(Solid(40, 30, kBlue))));
        const std::wstring broken = folder.AddFile(L"broken.bmp", Breaking(how));
        std::atomic<bool> stop{false};
        auto target = std::make_shared<ShowTarget>(ShowTarget::Size{80, 60, 96});
        {
            DecoderProcessLoader loader(GetModuleHandleW(nullptr), target, DoubleFile(), limits,
                                        &stop);
            const PicturePtr first = loader.Load(red);
            ASSERT_EQ(CentreOf(first), kRed);
            ASSERT_EQ(loader.Decoder().Starts(), 1u);
            const HANDLE firstDecoder = loader.Decoder().Process();
            const DWORD firstId = GetProcessId(firstDecoder);
            const ULONGLONG start = GetTickCount64();
            EXPECT_EQ(loader.Load(broken), nullptr);
            EXPECT_LT(GetTickCount64() - start, endedWithinMs) << "ended within its limits";
            EXPECT_EQ(loader.Decoder().Process(), nullptr) << "the broken decoder was ended";
            ScopedHandle gone(OpenProcess(SYNCHRONIZE, FALSE, firstId));
            EXPECT_TRUE(!gone || WaitForSingleObject(gone.Get(), 0) == WAIT_OBJECT_0);

            EXPECT_EQ(loader.Load(broken), nullptr);
            EXPECT_EQ(loader.Decoder().Starts(), 1u) << "the file was tried again";
            EXPECT_EQ(CentreOf(loader.Load(blue)), kBlue) << "the next picture is decoded";
            EXPECT_EQ(loader.Decoder().Starts(), 2u);
            EXPECT_EQ(CentreOf(first), kRed) << "a picture made before is still whole";
        }
        EXPECT_TRUE(PumpUntil([] { return DoublesRunning() == 0; }, 3000))
            << "a decoder outlived its loader";
    }
}

// The CPU time this thread has used, in milliseconds.
ULONGLONG ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ms = [](FILETIME t) {
        return ((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
}

// A decoder that answers every request with another request's number, as fast as it can and
// for ever, holds the loader's thread no longer than the deadline, or the program's end when
// that comes first, and does not keep it busy meanwhile.
TEST(DecoderProcess, ADecoderAnsweringOutOfTurnIsEndedAtTheDeadlineOrTheStop) {
    const struct {
        const char* why;
        DecoderProcess::Limits limits;
        ULONGLONG stopAfterMs;  // 0: never
        ULONGLONG endedFromMs, endedToMs;
    } cases[] = {
        {"the deadline", kTestLimits, 0, 950, 2000},
        {"the stop", kLongDeadline, 300, 280, 1200},
    };
    for (const auto& [why, limits, stopAfterMs, endedFromMs, endedToMs] : cases) {
        SCOPED_TRACE(why);
        TempFolder folder{L"glimra-decoder-liar"};
        const std::wstring liar = folder.AddFile(L"liar.bmp", Breaking("LIAR"));
        std::atomic<bool> stop{false};
        auto target = std::make_shared<ShowTarget>(ShowTarget::Size{80, 60, 96});
        DecoderProcessLoader loader(GetModuleHandleW(nullptr), target, DoubleFile(), limits, &stop);
        std::thread stopper;
        if (stopAfterMs) {
            stopper = std::thread([&stop, stopAfterMs] {
                Sleep(static_cast<DWORD>(stopAfterMs));
                stop = true;
            });
        }
        const ULONGLONG start = GetTickCount64(), cpuBefore = ThreadCpuMs();
        EXPECT_EQ(loader.Load(liar), nullptr);
        const ULONGLONG took = GetTickCount64() - start, cpu = ThreadCpuMs() - cpuBefore;
        if (stopper.joinable()) stopper.join();
        EXPECT_GE(took, endedFromMs);
        EXPECT_LE(took, endedToMs);
        EXPECT_LT(cpu, took / 4) << "the wait kept its thread busy";
        EXPECT_EQ(loader.Decoder().Process(), nullptr) << "the decoder was ended";
    }
    EXPECT_TRUE(PumpUntil([] { return DoublesRunning() == 0; }, 3000));
}

// A decoder that writes over the picture once it has answered changes nothing the show has.
TEST(DecoderProcess, ThePixelsShownAreThoseTheDecoderCanNoLongerChange) {
    TempFolder folder{L"glimra-decoder-scribble"};
    Bytes red = EncodeBmp(Solid(40, 30, kRed));
    for (const char c : std::string_view("SCRIBBLE"))
        red.push_back(static_cast<std::uint8_t>(c));
    const std::wstring path = folder.Path() + L"red.bmp";
    ASSERT_TRUE(WriteBytes(path, red));
    std::atomic<bool> stop{false};
    auto target = std::make_shared<ShowTarget>(ShowTarget::Size{80, 60, 96});
    DecoderProcessLoader loader(GetModuleHandleW(nullptr), target, DoubleFile(), kTestLimits,
                                &stop);
    const PicturePtr picture = loader.Load(path);
    ASSERT_EQ(CentreOf(picture), kRed);
    Sleep(300);
    EXPECT_EQ(CentreOf(picture), kRed) << "the decoder changed the picture after its answer";
}

BOOL WINAPI RefuseHandleList(LPPROC_THREAD_ATTRIBUTE_LIST, DWORD, DWORD_PTR, PVOID, SIZE_T, PVOID,
                             PSIZE_T) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}
BOOL WINAPI RefuseJob(HANDLE, HANDLE) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}
// A system that says the process is in the job when it is not.
BOOL WINAPI PretendJob(HANDLE, HANDLE) {
    return TRUE;
}

// Where the system refuses what bounds the decoder, the handle list or the job, no decoder
// runs: none is started, or the one started is ended before it ran, and the show's pictures
// are decoded in the program, as where no process can be started.
TEST(DecoderProcess, NoDecoderRunsWithoutItsHandleListAndItsJob) {
    const struct {
        const char* why;
        StartCalls calls;
    } cases[] = {
        {"the handle list refused", {&RefuseHandleList, &AssignProcessToJobObject}},
        {"the job refused", {&UpdateProcThreadAttribute, &RefuseJob}},
        {"the job said but not made", {&UpdateProcThreadAttribute, &PretendJob}},
    };
    TempFolder folder{L"glimra-decoder-refused"};
    const std::wstring red = folder.Path() + L"red.bmp", blue = folder.Path() + L"blue.bmp";
    ASSERT_TRUE(WriteBytes(red, EncodeBmp(Solid(40, 30, kRed))));
    ASSERT_TRUE(WriteBytes(blue, EncodeBmp(Solid(40, 30, kBlue))));
    for (const auto& [why, calls] : cases) {
        SCOPED_TRACE(why);
        std::atomic<bool> stop{false};
        auto target = std::make_shared<ShowTarget>(ShowTarget::Size{80, 60, 96});
        DecoderProcessLoader loader(GetModuleHandleW(nullptr), target, DoubleFile(), kTestLimits,
                                    &stop, calls);
        EXPECT_EQ(CentreOf(loader.Load(red)), kRed);
        EXPECT_EQ(CentreOf(loader.Load(blue)), kBlue);
        EXPECT_EQ(loader.Decoder().Starts(), 0u);
        EXPECT_EQ(DoublesRunning(), 0);
    }
}

// The whole show over a folder where every other picture breaks the decoder: each tick
// that reaches a sound picture shows it, the ones between leave the picture before, and a
// key ends the show with no decoder left behind.
TEST(DecoderProcess, TheShowChangesPastEveryFileThatBreaksItsDecoderAndEndsOnAKey) {
    TempFolder folder{L"glimra-decoder-show"};
    ASSERT_TRUE(WriteBytes(folder.Path() + L"1.bmp", EncodeBmp(Solid(40, 30, kRed))));
    folder.AddFile(L"2.bmp", Breaking("FAULT"));
    ASSERT_TRUE(WriteBytes(folder.Path() + L"3.bmp", EncodeBmp(Solid(40, 30, kGreen))));
    folder.AddFile(L"4.bmp", Breaking("HANG"));
    ASSERT_TRUE(WriteBytes(folder.Path() + L"5.bmp", EncodeBmp(Solid(40, 30, kBlue))));
    folder.AddFile(L"6.bmp", Breaking("HOG"));
    RealPorts real{L"Glimra.DecoderTest"};
    real.ShowFolder(folder.Path());
    real.settings.Write(keys::kSecondsToDisplay, L"1");
    auto target = std::make_shared<ShowTarget>(ShowTarget::Size{800, 600, 96});
    {
        ThreadedPreparer preparer([target](const std::atomic<bool>& stop) {
            return std::make_unique<DecoderProcessLoader>(GetModuleHandleW(nullptr), target,
                                                          DoubleFile(), kTestLimits, &stop);
        });
        ScreenSaverProgram saver(real.ports, &real.peers, &preparer, nullptr);
        saver.Start();
        const auto shown = [&] {
            const auto& surface = saver.lumivue.Surface();
            return surface.size() == 1 ? CentreOf(surface[0].picture) : 0;
        };
        // Each tick, and what the show then shows: the sound pictures at their ticks, the
        // picture before at the ticks of the broken ones, and round again.
        const std::uint32_t expected[] = {kRed, kRed, kGreen, kGreen, kBlue, kBlue, kRed};
        for (const std::uint32_t colour : expected) {
            saver.lumivue.timTimer.Fire();
            EXPECT_TRUE(PumpUntil([&] { return shown() == colour; }))
                << std::hex << "shows " << shown() << " instead of " << colour;
        }
        EXPECT_GE(DoublesRunning(), 1) << "the show decodes in its decoder";
        const auto* window = static_cast<FormWindow*>(saver.lumivue.Peer());
        ASSERT_TRUE(window);
        SendMessageW(window->Handle(), WM_KEYDOWN, VK_SPACE, 0);
        saver.lumivue.timCheckScreen.Fire();
        EXPECT_FALSE(saver.lumivue.Loaded()) << "the key ended the show";
    }
    EXPECT_TRUE(PumpUntil([] { return DoublesRunning() == 0; }, 3000))
        << "a decoder outlived the show";
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace
}  // namespace glimra::win32
