#include <gtest/gtest.h>

#include <algorithm>

#include "screensaver/ImageList.h"
#include "win32/TempFolder.h"
#include "win32/system/Win32FileSystem.h"

namespace glimra::win32 {
namespace {

using testing::TempFolder;
using Names = std::vector<std::wstring>;

Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

// The folder's own order, as the bare enumeration yields it.
Names EnumerationOrder(const std::wstring& folder) {
    Names names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

TEST(Win32FileSystem, ListsOrdinaryFilesPerPatternIgnoringCaseAndShortNames) {
    TempFolder folder(L"glimra-files");
    for (const wchar_t* name : {L"PHOTO.JPG", L"x.jpeg", L"a.jpg", L"b.Gif", L"e.txt", L"x.png",
                                L"y.jpgx", L"long name with blanks.bmp"}) {
        folder.AddFile(name);
    }
    folder.AddFile(L"hidden.jpg", "x", FILE_ATTRIBUTE_HIDDEN);
    folder.AddFile(L"system.jpg", "x", FILE_ATTRIBUTE_SYSTEM);
    folder.AddFile(L"readonly.jpg", "x", FILE_ATTRIBUTE_READONLY);
    folder.AddFolder(L"folder.jpg");
    folder.AddFolder(L"sub");
    folder.AddFile(L"sub\\inner.jpg");

    Win32FileSystem files;
    const auto groups =
        files.FilesMatching(folder.Path(), {L"*.jpg", L"*.jpeg", L"*.bmp", L"*.gif"});
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(Sorted(groups[0]), (Names{L"PHOTO.JPG", L"a.jpg", L"readonly.jpg"}));
    EXPECT_EQ(groups[1], Names{L"x.jpeg"});
    EXPECT_EQ(groups[2], Names{L"long name with blanks.bmp"});
    EXPECT_EQ(groups[3], Names{L"b.Gif"});

    // Within a pattern, the folder's own order is kept.
    Names expected;
    for (const std::wstring& name : EnumerationOrder(folder.Path())) {
        if (std::find(groups[0].begin(), groups[0].end(), name) != groups[0].end()) {
            expected.push_back(name);
        }
    }
    EXPECT_EQ(groups[0], expected);
}

TEST(Win32FileSystem, UnreadableFoldersGiveEmptyLists) {
    Win32FileSystem files;
    for (const wchar_t* folder :
         {L"C:\\no such folder here\\", L"Q:\\", L"\\\\?\\bad\\", L"C:\\inva|id\\"}) {
        const auto groups = files.FilesMatching(folder, {L"*.jpg", L"*.gif"});
        ASSERT_EQ(groups.size(), 2u);
        EXPECT_TRUE(groups[0].empty() && groups[1].empty()) << folder;
    }
}

// A folder's check and its listing give the same answer, each on its own.
TEST(Win32FileSystem, AFolderIsCheckedWithoutListingItAndDrivesWithoutAskingThem) {
    TempFolder folder(L"glimra-check");
    folder.AddFolder(L"empty");
    folder.AddFolder(L"sub");
    folder.AddFile(L"file.jpg");
    folder.AddFile(L"sub\\inner.jpg");
    Win32FileSystem files;
    const struct {
        std::wstring path;
        FolderError expected;
        Names subfolders;
    } cases[] = {
        {folder.Path(), FolderError::None, {L"empty", L"sub"}},
        {folder.Path() + L"empty", FolderError::None, {}},
        {folder.Path() + L"sub\\", FolderError::None, {}},
        {L"C:\\", FolderError::None, {}},
        {folder.Path() + L"file.jpg", FolderError::NotFound, {}},
        {folder.Path() + L"missing", FolderError::NotFound, {}},
        {folder.Path() + L"missing\\deeper", FolderError::NotFound, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.CheckFolder(c.path), c.expected) << c.path;
        Names names{L"left from before"};
        EXPECT_EQ(files.SubFolders(c.path, names), c.expected) << c.path;
        if (c.path != L"C:\\") {
            EXPECT_EQ(Sorted(names), c.subfolders) << c.path;
        }
    }
    const std::vector<wchar_t> letters = files.DriveLetters();
    EXPECT_NE(std::find(letters.begin(), letters.end(), L'C'), letters.end());
    EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end()));
}

TEST(Win32FileSystem, UnicodeAndLongPathsWork) {
    TempFolder folder(L"glimra-ünïcødé-日本");
    folder.AddFile(L"фото – 写真.jpg");
    std::wstring deep = folder.Path();
    while (deep.size() < 300) {
        deep += L"a-rather-long-folder-name-to-pass-the-old-limit\\";
        CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    }
    HANDLE file = CreateFileW((L"\\\\?\\" + deep + L"deep.gif").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    Win32FileSystem files;
    EXPECT_EQ(ListImageFiles(files, folder.Path()), Names{folder.Path() + L"фото – 写真.jpg"});
    EXPECT_EQ(ListImageFiles(files, deep), Names{deep + L"deep.gif"});
}

}  // namespace
}  // namespace glimra::win32
