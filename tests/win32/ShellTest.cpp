#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/DialogProbe.h"
#include "win32/TempFolder.h"
#include "win32/system/Win32Shell.h"

namespace glimra::win32 {
namespace {

using testing::DialogProbe;
using testing::TempFolder;

struct ShellCall {
    HWND owner;
    std::wstring verb;
    std::wstring file;
    const wchar_t* parameters;
    std::wstring folder;
    int show;
};

TEST(Win32Shell, OpensTheTargetWithTheVerbOpenInTheProgramsFolderOwnedByTheDialog) {
    std::vector<ShellCall> calls;
    HWND owner = nullptr;
    Win32Shell shell([&] { return owner; }, L"C:\\Program Files\\Glimra",
                     [&](HWND window, const wchar_t* verb, const wchar_t* file,
                         const wchar_t* parameters, const wchar_t* folder, int show) {
                         calls.push_back({window, verb, file, parameters, folder, show});
                         return reinterpret_cast<HINSTANCE>(42);
                     });
    // The dialog's window exists only once the dialog is loaded, after the ports are made.
    owner = reinterpret_cast<HWND>(0x1234);
    const std::wstring targets[] = {L"C:\\Program Files\\Glimra\\help\\glimrascreensaver.htm",
                                    L"https://glimra.example.org/download/Glimra.zip"};
    for (const std::wstring& target : targets)
        shell.Open(target);

    ASSERT_EQ(calls.size(), 2u);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].owner, owner);
        EXPECT_EQ(calls[i].verb, L"Open");
        EXPECT_EQ(calls[i].file, targets[i]);
        ASSERT_NE(calls[i].parameters, nullptr) << "an empty text, not an absent one";
        EXPECT_STREQ(calls[i].parameters, L"");
        EXPECT_EQ(calls[i].folder, L"C:\\Program Files\\Glimra\\");
        EXPECT_EQ(calls[i].show, SW_SHOWNORMAL);
    }
}

// The real shell runs a command script from a folder outside any 8-bit code page; the script
// writes its marker into its working folder, which must be the program's folder.
TEST(Win32Shell, TheShellOpensAFileWithTheProgramsFolderAsWorkingFolder) {
    const TempFolder program(L"glimra-shell-\u65E5\u672C-\u03A9");
    const std::wstring script = program.AddFolder(L"scripts") + L"open \u00E9t\u00E9.cmd";
    program.AddFile(L"scripts\\open \u00E9t\u00E9.cmd", "@echo opened> opened.txt\r\n");
    std::wstring folder = program.Path();
    folder.pop_back();

    INT_PTR result = 0;
    Win32Shell shell([] { return static_cast<HWND>(nullptr); }, folder,
                     [&](HWND window, const wchar_t* verb, const wchar_t* file,
                         const wchar_t* parameters, const wchar_t* directory, int show) {
                         const HINSTANCE code =
                             ShellExecuteW(window, verb, file, parameters, directory, show);
                         result = reinterpret_cast<INT_PTR>(code);
                         return code;
                     });
    shell.Open(script);
    EXPECT_GT(result, 32) << "the shell refused to open the script";

    const std::wstring marker = program.Path() + L"opened.txt";
    for (int wait = 0; wait < 200 && GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES;
         ++wait)
        Sleep(50);
    EXPECT_NE(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the script did not run in the program's folder";

    // The script's process holds its working folder until it ends: once the folder can be
    // removed, nothing the shell started is left running.
    bool removed = false;
    for (int wait = 0; wait < 200 && !removed; ++wait) {
        TempFolder::RemoveTree(program.Path());
        removed = GetFileAttributesW(program.Path().c_str()) == INVALID_FILE_ATTRIBUTES;
        if (!removed) Sleep(50);
    }
    EXPECT_TRUE(removed) << "the script's process did not end";
}

TEST(Win32Shell, AMissingHelpPageIsNotReported) {
    const TempFolder program(L"glimra-shell-missing");
    std::wstring folder = program.Path();
    folder.pop_back();
    INT_PTR result = 0;
    Win32Shell shell([] { return static_cast<HWND>(nullptr); }, folder,
                     [&](HWND window, const wchar_t* verb, const wchar_t* file,
                         const wchar_t* parameters, const wchar_t* directory, int show) {
                         const HINSTANCE code =
                             ShellExecuteW(window, verb, file, parameters, directory, show);
                         result = reinterpret_cast<INT_PTR>(code);
                         return code;
                     });
    DialogProbe probe(IDOK);
    shell.Open(program.Path() + L"help\\glimrascreensaver.htm");
    EXPECT_LE(result, 32);
    EXPECT_FALSE(probe.seen) << "the shell showed a message";
}

}  // namespace
}  // namespace glimra::win32
