#include <gtest/gtest.h>

#include "win32/system/Win32ProgramInfo.h"

namespace glimra::win32 {
namespace {

TEST(Win32ProgramInfo, ArgumentTextIsTheCommandLineAfterTheProgramsName) {
    const struct {
        const wchar_t* commandLine;
        const wchar_t* arguments;
    } cases[] = {
        {L"\"C:\\Program Files\\Glimra.scr\" /s", L"/s"},
        {L"\"C:\\Program Files\\Glimra.scr\"/c:1234", L"/c:1234"},
        {L"C:\\Windows\\Glimra.scr /p 4242", L"/p 4242"},
        {L"Glimra.scr\t  /S", L"/S"},
        {L"Glimra.scr", L""},
        {L"\"C:\\unclosed quote /s", L""},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArgumentsOf(c.commandLine), c.arguments) << c.commandLine;
}

TEST(Win32ProgramInfo, OnlyTheFirstInstanceFindsNoOtherRunning) {
    Win32ProgramInfo first, second;
    EXPECT_FALSE(first.AnotherInstanceRunning());
    EXPECT_TRUE(second.AnotherInstanceRunning());
}

}  // namespace
}  // namespace glimra::win32
