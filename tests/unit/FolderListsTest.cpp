#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <random>

#include "controls/Application.h"
#include "controls/FolderLists.h"
#include "fakes/FakePlatform.h"

namespace glimra {
namespace {

// The order the file list has always had, written the plain way: each name kept once, then
// sorted with both names lower-cased at every comparison, ties broken by the exact name.
std::vector<std::wstring> ReferenceOrder(const std::vector<std::vector<std::wstring>>& groups) {
    const auto lower = [](std::wstring text) {
        for (wchar_t& c : text)
            c = static_cast<wchar_t>(std::towlower(c));
        return text;
    };
    std::vector<std::wstring> files;
    for (const auto& group : groups) {
        for (const std::wstring& name : group) {
            if (std::find(files.begin(), files.end(), name) == files.end()) files.push_back(name);
        }
    }
    std::sort(files.begin(), files.end(), [&](const std::wstring& a, const std::wstring& b) {
        const std::wstring la = lower(a), lb = lower(b);
        return la != lb ? la < lb : a < b;
    });
    return files;
}

class FileListOrder : public ::testing::Test {
  protected:
    FileListOrder() : form(app, {}), list(form, L"FilePath", files) {}
    std::vector<std::wstring> Listed(const std::vector<std::wstring>& names,
                                     const std::wstring& pattern) {
        files.folders.clear();
        files.AddFiles(L"C:\\P\\", names);
        list.SetPath(L"C:\\P");
        list.SetPattern(pattern);
        return list.Files();
    }

    fakes::FakeFileSystem files;
    Application app;
    Form form;
    FileListBox list;
};

TEST_F(FileListOrder, IsByNameIgnoringCaseWithEachFileOnce) {
    // Mixed case, names that differ only in case, a file matched by three patterns, and
    // names beyond ASCII.
    const std::vector<std::wstring> names = {L"b.JPG",    L"B.jpg",  L"a.gif",  L"É.jpg",
                                             L"é.jpg",    L"z.Jpg",  L"Ä1.bmp", L"фото.jpg",
                                             L"Фото.gif", L"_x.ico", L"10.jpg", L"9.jpg"};
    const std::vector<std::wstring> listed = Listed(names, L"*.jpg; *.JPG ;*.j*;*.gif;*.bmp;*.ico");
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"10.jpg", L"9.jpg", L"_x.ico", L"a.gif", L"B.jpg",
                                                 L"b.JPG", L"z.Jpg", L"Ä1.bmp", L"É.jpg", L"é.jpg",
                                                 L"Фото.gif", L"фото.jpg"}));
    EXPECT_EQ(listed,
              ReferenceOrder(files.FilesMatching(
                  L"C:\\P\\", {L"*.jpg", L"*.JPG", L"*.j*", L"*.gif", L"*.bmp", L"*.ico"})));
}

TEST_F(FileListOrder, MatchesTheReferenceOverRandomFolders) {
    std::mt19937 random(7);
    const std::wstring letters = L"aAbBzZ_09éÉäÄжЖ .";
    const std::vector<std::wstring> endings = {L".jpg", L".JPG", L".jpeg", L".gif", L".Bmp"};
    const std::vector<std::wstring> patterns = {L"*.jpg", L"*.jpeg", L"*.j*", L"*.gif", L"*.bmp"};
    for (int folder = 0; folder < 20; ++folder) {
        std::vector<std::wstring> names;
        for (int i = 0; i < 300; ++i) {
            std::wstring name;
            for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n)
                name += letters[random() % letters.size()];
            names.push_back(name + endings[random() % endings.size()]);
        }
        const std::vector<std::wstring> listed = Listed(names, L"*.jpg;*.jpeg;*.j*;*.gif;*.bmp");
        ASSERT_EQ(listed, ReferenceOrder(files.FilesMatching(L"C:\\P\\", patterns))) << folder;
    }
}

TEST_F(FileListOrder, ReadsTheFolderOnceAChangeWhenRead) {
    files.AddFiles(L"C:\\P\\", {L"a.jpg", L"b.gif"});
    list.SetPath(L"C:\\P");
    list.SetPattern(L"*.jpg");
    list.SetPath(L"C:\\P");
    EXPECT_EQ(files.enumerations, 0) << "nothing read before the list is";
    EXPECT_EQ(list.ListCount(), 1);
    EXPECT_EQ(list.Files(), std::vector<std::wstring>{L"a.jpg"});
    EXPECT_EQ(files.enumerations, 1);
    files.AddFiles(L"C:\\P\\", {L"c.jpg"});
    list.SetPath(L"C:\\P");  // assigning the folder again reads it afresh
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(files.enumerations, 2);
}

}  // namespace
}  // namespace glimra
