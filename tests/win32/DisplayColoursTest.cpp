#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "imaging/ColourProfile.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/TestPictures.h"
#include "win32/pictures/ColourConversion.h"
#include "win32/pictures/DisplayColours.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/WicPictureLoader.h"

namespace glimra::win32 {
namespace {

using testing::Bytes;

// A 4 x 4 bitmap of one colour (0xRRGGBB) with a version 5 header of colour-space type `type`
// and the given profile data after the pixels.
Bytes BitmapWithProfile(std::uint32_t colour, std::uint32_t type, const Bytes& profile) {
    constexpr std::uint32_t kInfo = 124, kPixels = 4 * 4 * 4;
    Bytes file(14 + kInfo + kPixels + profile.size(), 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&file[at], &v, 4); };
    const auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&file[at], &v, 2); };
    file[0] = 'B', file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 14 + kInfo);
    put32(14, kInfo);
    put32(18, 4);
    put32(22, 4);
    put16(26, 1);
    put16(28, 32);
    put32(14 + 56, type);
    put32(14 + 108, 4);  // LCS_GM_IMAGES
    put32(14 + 112, kInfo + kPixels);
    put32(14 + 116, static_cast<std::uint32_t>(profile.size()));
    for (std::uint32_t i = 0; i < 16; ++i)
        put32(14 + kInfo + 4 * i, colour | 0xFF000000);
    if (!profile.empty()) std::memcpy(&file[14 + kInfo + kPixels], profile.data(), profile.size());
    return file;
}

std::uint32_t ShownColour(const Bytes& file, const std::wstring& displayProfile) {
    ShowTarget::Size at{1920, 1080, 96};
    const std::wstring monitor = L"\\\\.\\DISPLAY7";
    monitor.copy(at.monitor.data(), at.monitor.size() - 1);
    WicPictureLoader loader(GetModuleHandleW(nullptr), std::make_shared<ShowTarget>(at));
    loader.DisplayProfilesFrom([&](const std::wstring& device) {
        EXPECT_EQ(device, monitor);
        return displayProfile;
    });
    const auto picture =
        std::dynamic_pointer_cast<const RasterPicture>(loader.Decode(file.data(), file.size()));
    return picture ? picture->Pixels().pixels[5] & 0xFFFFFF : 0xDEAD;
}

TEST(DisplayColours, BitmapProfilesAreConvertedIntoTheDisplaysColours) {
    constexpr std::uint32_t kMbed = 0x4D424544, kLink = 0x4C494E4B;
    const Bytes adobe = AdobeRgbProfile();
    const testing::TempFolder folder(L"glimra-display-colours");
    const std::wstring adobeDisplay =
        folder.AddFile(L"adobe.icc", std::string(adobe.begin(), adobe.end()));
    static constexpr char kLinkedPath[] = "C:\\nowhere\\never-opened.icc";
    const Bytes linked(kLinkedPath, kLinkedPath + sizeof(kLinkedPath));
    struct Case {
        const char* what;
        Bytes file;
        std::wstring display;
        std::uint32_t expected;  // Pillow's Little CMS, from Debian's AdobeRGB1998.icc
    } cases[] = {
        {"Adobe RGB on an sRGB display", BitmapWithProfile(0xC86432, kMbed, adobe), L"", 0xE3642A},
        {"another Adobe RGB colour", BitmapWithProfile(0x3C8CC8, kMbed, adobe), L"", 0x008DCB},
        {"Adobe RGB on an Adobe RGB display: the numbers as stored",
         BitmapWithProfile(0xC86432, kMbed, adobe), adobeDisplay, 0xC86432},
        {"a linked profile is never opened: sRGB", BitmapWithProfile(0xC86432, kLink, linked), L"",
         0xC86432},
        {"a damaged profile: as stored",
         BitmapWithProfile(0xC86432, kMbed, Bytes(adobe.begin(), adobe.begin() + 200)), L"",
         0xC86432},
    };
    for (const Case& c : cases)
        EXPECT_LE(testing::ColorDistance(ShownColour(c.file, c.display), c.expected), 2)
            << c.what << ": " << std::hex << ShownColour(c.file, c.display);
}

// The lookup costs tens of milliseconds: not at all for untagged pictures, once per monitor.
TEST(DisplayColours, TheDisplayProfileIsAskedOnlyForPicturesWithAProfileAndOncePerMonitor) {
    constexpr std::uint32_t kMbed = 0x4D424544, kSrgb = 0x73524742;
    const Bytes tagged = BitmapWithProfile(0xC86432, kMbed, AdobeRgbProfile());
    const Bytes untagged = BitmapWithProfile(0xC86432, kSrgb, {});
    auto target = std::make_shared<ShowTarget>(ShowTarget::Size{1920, 1080, 96});
    WicPictureLoader loader(GetModuleHandleW(nullptr), target);
    std::vector<std::wstring> asked;
    loader.DisplayProfilesFrom([&](const std::wstring& device) {
        asked.push_back(device);
        return std::wstring();
    });
    const auto onMonitor = [&](const wchar_t* device) {
        ShowTarget::Size at = target->Get();
        at.monitor = {};
        std::wstring(device).copy(at.monitor.data(), at.monitor.size() - 1);
        target->Set(at);
    };
    onMonitor(L"\\\\.\\DISPLAY1");
    ASSERT_TRUE(loader.Decode(untagged.data(), untagged.size()));
    EXPECT_TRUE(asked.empty()) << "asked for a picture without a profile";
    for (const wchar_t* device : {L"\\\\.\\DISPLAY1", L"\\\\.\\DISPLAY1", L"\\\\.\\DISPLAY2"}) {
        onMonitor(device);
        ASSERT_TRUE(loader.Decode(tagged.data(), tagged.size()));
    }
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"\\\\.\\DISPLAY1", L"\\\\.\\DISPLAY2"}));
}

TEST(DisplayColours, TheSystemsSrgbProfileIsNoProfile) {
    EXPECT_NE(GetFileAttributesW(SrgbProfilePath().c_str()), INVALID_FILE_ATTRIBUTES);
    // Wine, like an unmanaged Windows, associates its sRGB profile with every monitor.
    const HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    const std::wstring device = MonitorDeviceOf(primary);
    EXPECT_EQ(device.rfind(L"\\\\.\\DISPLAY", 0), 0u) << "the primary monitor's device name";
    EXPECT_EQ(DisplayProfileOf(L"\\\\.\\NO-SUCH-DISPLAY"), L"");
    const std::wstring profile = DisplayProfileOf(device);
    if (!profile.empty()) {
        EXPECT_NE(GetFileAttributesW(profile.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

}  // namespace
}  // namespace glimra::win32
