#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "screensaver/ImageList.h"

namespace glimra {
namespace {

using fakes::FakeFile;
using fakes::FakeFileSystem;
using Names = std::vector<std::wstring>;

TEST(WithTrailingBackslash, AddsOneOnlyWhenMissing) {
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Pictures"), L"C:\\Pictures\\");
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Pictures\\"), L"C:\\Pictures\\");
    EXPECT_EQ(WithTrailingBackslash(L"D:"), L"D:\\");
    EXPECT_EQ(WithTrailingBackslash(L""), L"\\");
}

TEST(ListImageFiles, GroupsByPatternInTheirOrderKeepingTheFolderOrderWithin) {
    FakeFileSystem files;
    files.AddFiles(L"C:\\P\\", {L"b.gif", L"a.jpg", L"C.JPEG", L"d.bmp", L"e.txt", L"z.emf",
                                L"y.WMF", L"x.ico", L"B.Jpg", L"x.png", L"w.jpeg"});
    EXPECT_EQ(ListImageFiles(files, L"C:\\P\\"),
              (Names{L"C:\\P\\a.jpg", L"C:\\P\\B.Jpg", L"C:\\P\\C.JPEG", L"C:\\P\\w.jpeg",
                     L"C:\\P\\d.bmp", L"C:\\P\\b.gif", L"C:\\P\\x.ico", L"C:\\P\\y.WMF",
                     L"C:\\P\\z.emf"}));
    EXPECT_EQ(files.enumerations, 1) << "one pass over the folder for all seven patterns";
}

TEST(ListImageFiles, LeavesOutHiddenAndSystemFilesAndFolders) {
    FakeFileSystem files;
    files.folders[L"C:\\P\\"] = {{L"hidden.jpg", true},
                                 {L"system.jpg", false, true},
                                 {L"folder.jpg", false, false, true},
                                 {L"shown.jpg"}};
    files.AddFiles(L"C:\\P\\sub\\", {L"inner.jpg"});
    EXPECT_EQ(ListImageFiles(files, L"C:\\P\\"), (Names{L"C:\\P\\shown.jpg"}));
}

TEST(ListImageFiles, MissingOrEmptyFolderGivesNothing) {
    FakeFileSystem files;
    files.folders[L"C:\\Empty\\"] = {};
    EXPECT_TRUE(ListImageFiles(files, L"C:\\Empty\\").empty());
    EXPECT_TRUE(ListImageFiles(files, L"C:\\Missing\\").empty());
    EXPECT_TRUE(ListImageFiles(files, L"\\").empty());
}

TEST(ListImageFiles, EntriesLoseBlanksAtBothEnds) {
    FakeFileSystem files;
    files.AddFiles(L" C:\\P\\", {L"a.jpg"});
    EXPECT_EQ(ListImageFiles(files, L" C:\\P\\"), (Names{L"C:\\P\\a.jpg"}));
}

}  // namespace
}  // namespace glimra
