#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/BuiltProgram.h"
#include "win32/base/Windows.h"
#include "win32/pictures/ProgramPointer.h"
#include "win32/resources/resource.h"

namespace glimra::win32 {
namespace {

using testing::BuiltProgram;

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) {
        return {};
    }
    return std::wstring(text, length ? length - 1 : 0);
}

TEST(Resources, VersionInformationNamesTheProductAndRelease) {
    const std::wstring program = BuiltProgram::Path();
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), nullptr);
    ASSERT_GT(size, 0u) << "no version information in Glimra.scr";
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1)) << "1.0";
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(203, 0)) << "0.203";
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Glimra ScreenSaver");
    const std::wstring description = VersionString(info, L"Comments");
    EXPECT_NE(description.find(L"free Windows screen saver"), std::wstring::npos);
    EXPECT_NE(description.find(L".bmp .gif .jpg .jpeg .wmf .emf .ico"), std::wstring::npos);
}

TEST(Resources, ManifestIconAndPicturesAreBuiltIn) {
    HMODULE program = LoadLibraryExW(BuiltProgram::Path().c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    auto resourceText = [&](LPCWSTR type, int id) {
        HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(id), type);
        if (!found) return std::string();
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
        return std::string(bytes, SizeofResource(program, found));
    };
    const std::string manifest = resourceText(MAKEINTRESOURCEW(24), 1);
    for (const char* needle : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
                               "PerMonitorV2", "<longPathAware", "8e0f7a12-bfb3-4fe8-b9a5"}) {
        EXPECT_NE(manifest.find(needle), std::string::npos) << needle;
    }
    EXPECT_GT(resourceText(MAKEINTRESOURCEW(10), IDR_START_PICTURE).size(), 1000u);
    EXPECT_GT(resourceText(MAKEINTRESOURCEW(10), IDR_BLANK_PICTURE).size(), 0u);

    // One 32 x 32 image of 256 colours.
    const std::string group = resourceText(MAKEINTRESOURCEW(14), IDI_GLIMRA);
    ASSERT_EQ(group.size(), 6u + 14u);
    EXPECT_EQ(static_cast<unsigned char>(group[6]), 32) << "width";
    EXPECT_EQ(static_cast<unsigned char>(group[7]), 32) << "height";
    EXPECT_EQ(static_cast<unsigned char>(group[12]), 8) << "bits per pixel";
    FreeLibrary(program);
}

TEST(Resources, ThePointerOverTheSlideShowIsTheProgramIcon) {
    HMODULE program = LoadLibraryExW(BuiltProgram::Path().c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const auto icon = static_cast<HICON>(
        LoadImageW(program, MAKEINTRESOURCEW(IDI_GLIMRA), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    const ScopedCursor pointer = CursorFromIcon(icon);
    ASSERT_TRUE(pointer);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(pointer.Get(), &info));
    EXPECT_FALSE(info.fIcon) << "a pointer, not an icon";
    EXPECT_EQ(info.xHotspot, 16u);
    EXPECT_EQ(info.yHotspot, 16u);
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(icon);
    FreeLibrary(program);
}

}  // namespace
}  // namespace glimra::win32
