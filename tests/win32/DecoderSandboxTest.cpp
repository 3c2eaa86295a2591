// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "win32/DecoderDoubles.h"
#include "win32/PumpUntil.h"
#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/decoder/DecoderProcessLoader.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

constexpr DecoderProcess::Limits kLimits{std::chrono::seconds(5), std::chrono::seconds(0),
                                         std::chrono::seconds(5), 256u << 20};
constexpr UINT kProbeMessage = WM_APP + 7;

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// A window of the show's kind on the user's desktop that counts the probe's messages.
std::atomic<int> probesReceived{0};
LRESULT CALLBACK CountProbes(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == kProbeMessage) ++probesReceived;
    return DefWindowProcW(window, message, w, l);
}

// The lines "<act>: <outcome>" of the probe's report.
std::map<std::string, std::string> ActsOf(const std::string& report) {
    std::map<std::string, std::string> acts;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos && !line.starts_with("levels"))
            acts[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return acts;
}

// Code that took the codec over, run as the decoder in the program's sandbox, tries every act
// the sandbox forbids. Windows must refuse each; Wine enforces the desktops only, and what it
// lets through is said out loud, never passed over.
TEST(DecoderSandbox, AProbeInTheDecoderIsRefusedWhatThePlatformEnforces) {
    const std::wstring caption = L"Glimra Probe Show " + std::to_wstring(GetCurrentProcessId());
    WNDCLASSW type{};
    type.lpfnWndProc = &CountProbes;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"GlimraProbeShow";
    RegisterClassW(&type);
    const HWND show = CreateWindowExW(0, type.lpszClassName, caption.c_str(), WS_POPUP, 0, 0, 10,
                                      10, nullptr, nullptr, type.hInstance, nullptr);
    ASSERT_TRUE(show);
    const std::string order = "PROBE\n" + std::to_string(GetCurrentProcessId()) + "\n" +
                              std::to_string(reinterpret_cast<std::uintptr_t>(show)) + "\n" +
                              std::string(caption.begin(), caption.end()) + "\n";
    auto input = SharedSection::Create(order.size());
    auto output = SharedSection::Create(64 * 1024);
    ASSERT_TRUE(input && output);
    std::copy(order.begin(), order.end(), input->Data());
    std::atomic<bool> stop{false};
    DecoderProcess decoder(DoubleFile(), kLimits, &stop);
    const DecoderProcess::Answer answer =
        decoder.Decode(*input, order.size(), *output, {64, 64, 96});
    ASSERT_EQ(answer.outcome, DecoderProcess::Outcome::Refused);
    // Under Wine the strongest rung; Windows' codecs may need low integrity, the next.
    EXPECT_LE(decoder.Rung(), 1u) << "the probe runs below the program's integrity";
    const std::string report(reinterpret_cast<const char*>(output->Data()));
    std::cout << "The probe in the decoder:\n" << report;
    PumpUntil([] { return false; }, 300);
    const bool posted = probesReceived > 0;

    EXPECT_NE(report.find("desktop Glimra-Decoder-"), std::string::npos)
        << "the decoder runs on the show's desktop";
    const std::map<std::string, std::string> acts = ActsOf(report);
    ASSERT_EQ(acts.size(), 7u) << report;
    // What Wine enforces: the desktop of the decoder's own hides the show's window.
    const char* enforcedByWine[] = {"find the show's window"};
    for (const auto& [act, outcome] : acts) {
        const bool refused = outcome.starts_with("refused");
        const bool wineEnforces =
            std::find_if(std::begin(enforcedByWine), std::end(enforcedByWine),
                         [&](const char* e) { return act == e; }) != std::end(enforcedByWine);
        if (!UnderWine() || wineEnforces) {
            EXPECT_TRUE(refused) << act << ": " << outcome;
        } else if (!refused) {
            std::cout << act << ": not enforced by this platform\n";
        }
    }
    if (!UnderWine()) {
        EXPECT_FALSE(posted) << "the show's window received the decoder's message";
    } else if (posted) {
        std::cout << "the show's window received the decoder's message: not enforced by this "
                     "platform\n";
    }
    DestroyWindow(show);
}

// Where no decoder decodes on a rung, as where a codec needs what the rung forbids, the next
// weaker rung serves, and below the last the program decodes: the show goes on at each. A rung
// where none decoded is not tried again.
TEST(DecoderSandbox, EachRungServesWhereTheRungsAboveItCannotDecode) {
    TempFolder folder{L"glimra-decoder-rungs"};
    const std::wstring red = folder.Path() + L"red.bmp", blue = folder.Path() + L"blue.bmp";
    ASSERT_TRUE(WriteBytes(red, EncodeBmp(Solid(40, 30, kRed))));
    ASSERT_TRUE(WriteBytes(blue, EncodeBmp(Solid(40, 30, kBlue))));
    const auto rungs = DecoderRungs();
    for (size_t failing = 0; failing <= rungs.size(); ++failing) {
        SCOPED_TRACE("the double fails on the rungs above " + std::to_string(failing));
        SetEnvironmentVariableW(L"GLIMRA_DOUBLE_FAILS_RUNGS", std::to_wstring(failing).c_str());
        std::atomic<bool> stop{false};
        auto target = std::make_shared<ShowTarget>(ShowTarget::Size{80, 60, 96});
        {
            DecoderProcessLoader loader(GetModuleHandleW(nullptr), target, DoubleFile(), kLimits,
                                        &stop);
            EXPECT_EQ(CentreOf(loader.Load(red)), kRed);
            EXPECT_EQ(CentreOf(loader.Load(blue)), kBlue);
            const DecoderProcess& decoder = loader.Decoder();
            EXPECT_EQ(decoder.Rung(), failing);
            const bool served = failing < rungs.size();
            EXPECT_EQ(decoder.Starts(), served ? failing + 1 : rungs.size())
                << "a rung was tried twice";
            EXPECT_EQ(decoder.Process() != nullptr, served);
            if (served) {
                EXPECT_EQ(decoder.Levels() & ~rungs[failing], 0u) << "a level of a rung above";
            }
            EXPECT_LE(DoublesRunning(), 1);
        }
        EXPECT_TRUE(PumpUntil([] { return DoublesRunning() == 0; }, 3000));
    }
    SetEnvironmentVariableW(L"GLIMRA_DOUBLE_FAILS_RUNGS", nullptr);
}

// A system that refuses the mitigation policies and the child process policy: those levels
// alone go, and the decoder serves on the strongest rung with the rest.
BOOL WINAPI RefusePolicies(LPPROC_THREAD_ATTRIBUTE_LIST list, DWORD flags, DWORD_PTR attribute,
                           PVOID value, SIZE_T size, PVOID previous, PSIZE_T returned) {
    if (attribute == PROC_THREAD_ATTRIBUTE_MITIGATION_POLICY ||
        attribute == PROC_THREAD_ATTRIBUTE_CHILD_PROCESS_POLICY) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    return UpdateProcThreadAttribute(list, flags, attribute, value, size, previous, returned);
}

TEST(DecoderSandbox, ALevelTheSystemRefusesGoesAlone) {
    TempFolder folder{L"glimra-decoder-level"};
    const std::wstring red = folder.Path() + L"red.bmp";
    ASSERT_TRUE(WriteBytes(red, EncodeBmp(Solid(40, 30, kRed))));
    std::atomic<bool> stop{false};
    auto target = std::make_shared<ShowTarget>(ShowTarget::Size{80, 60, 96});
    DecoderProcessLoader loader(GetModuleHandleW(nullptr), target, DoubleFile(), kLimits, &stop,
                                {&RefusePolicies, &AssignProcessToJobObject});
    EXPECT_EQ(CentreOf(loader.Load(red)), kRed);
    EXPECT_EQ(loader.Decoder().Rung(), 0u);
    EXPECT_EQ(loader.Decoder().Levels() & (kMitigations | kNoChildren), 0u);
    // What Wine accepts of the rest; a system that refuses more shows less here.
    EXPECT_EQ(loader.Decoder().Levels() & (kRestrictedToken | kOwnDesktop | kJobLimits),
              kRestrictedToken | kOwnDesktop | kJobLimits);
}

}  // namespace
}  // namespace glimra::win32
