#include <gtest/gtest.h>

#include <string>

#include "win32/TempFolder.h"
#include "win32/base/LongPath.h"
#include "win32/system/Win32ProgramDetails.h"

namespace glimra::win32 {
namespace {

using testing::TempFolder;

// Glimra.scr is built next to the test program.
TEST(Win32ProgramDetails, TheProgramsFolderHoldsItsFileAndEndsWithoutABackslash) {
    const std::wstring folder = ModuleFolder(nullptr);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
    EXPECT_NE(GetFileAttributesW((folder + L"\\Glimra.scr").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the program's folder plus its file name names the built program";
}

// A program unpacked deep in a folder tree: its path is longer than the classic 260 characters.
TEST(Win32ProgramDetails, TheFolderOfAProgramInALongPathIsWhole) {
    const TempFolder root(L"glimra-long-path");
    std::wstring folder = root.Path();
    folder.pop_back();
    while (folder.size() < 400) {
        folder += L"\\a folder with a long name for the test";
        CreateDirectoryW(LongPath(folder).c_str(), nullptr);
    }
    const std::wstring copy = folder + L"\\Glimra.scr";
    ASSERT_TRUE(CopyFileW((ModuleFolder(nullptr) + L"\\Glimra.scr").c_str(), LongPath(copy).c_str(),
                          FALSE));
    // Mapped as a module, not as data, so the system knows its file name.
    const HMODULE module =
        LoadLibraryExW(LongPath(copy).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(module, nullptr);
    std::wstring found = ModuleFolder(module);
    FreeLibrary(module);
    if (found.starts_with(L"\\\\?\\")) found.erase(0, 4);
    EXPECT_EQ(found, folder);
}

TEST(Win32ProgramDetails, TheBuiltProgramIsVersion1_0_203OfGlimraScreenSaver) {
    const std::wstring program = ModuleFolder(nullptr) + L"\\Glimra.scr";
    const HMODULE module = LoadLibraryExW(
        program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    const ProgramDetails details = VersionDetails(module);
    FreeLibrary(module);

    EXPECT_EQ(details.major, 1);
    EXPECT_EQ(details.minor, 0);
    EXPECT_EQ(details.revision, 203) << "the fourth number of file version 1,0,0,203";
    EXPECT_EQ(details.productName, L"Glimra ScreenSaver");
    EXPECT_TRUE(
        details.description.starts_with(L"Glimra ScreenSaver is a free Windows screen saver"))
        << details.description.c_str();
    EXPECT_TRUE(details.description.ends_with(L".bmp .gif .jpg .jpeg .wmf .emf .ico"))
        << "the whole comment, without its terminating null";
    EXPECT_TRUE(details.folder.empty()) << "a module's resources say nothing of where it runs";
}

TEST(Win32ProgramDetails, AModuleWithoutVersionInformationGivesNothing) {
    const ProgramDetails details = VersionDetails(GetModuleHandleW(nullptr));  // the test program
    EXPECT_EQ(details.major + details.minor + details.revision, 0);
    EXPECT_TRUE(details.productName.empty());
    EXPECT_TRUE(details.description.empty());
}

}  // namespace
}  // namespace glimra::win32
