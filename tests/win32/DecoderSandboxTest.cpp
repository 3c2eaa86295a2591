// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <atomic>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "win32/PumpUntil.h"
#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/decoder/DecoderProcessLoader.h"
#include "win32/system/Win32ProgramDetails.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

constexpr DecoderProcess::Limits kLimits{std::chrono::seconds(5), std::chrono::seconds(0),
                                         std::chrono::seconds(5), 256u << 20};
constexpr UINT kProbeMessage = WM_APP + 7;

std::wstring DoubleFile() {
    return ModuleFolder(nullptr) + L"\\decoder_double.exe";
}

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
    EXPECT_EQ(decoder.Rung(), 0u) << "the probe runs on the strongest rung";
    const std::string report(reinterpret_cast<const char*>(output->Data()));
    std::cout << "The probe in the decoder:\n" << report;
    PumpUntil([] { return false; }, 300);
    const bool posted = probesReceived > 0;

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

}  // namespace
}  // namespace glimra::win32
