#include <gtest/gtest.h>

#include <limits>

#include "settings/ValueRules.h"

namespace glimra {
namespace {

TEST(OptionIsOn, OnlyTheNumberOneOrTextThatIsNoNumberIsOn) {
    const struct {
        const wchar_t* text;
        bool on;
    } cases[] = {
        {L"1", true},    {L"0", false},   {L"2", false},  {L"-1", false}, {L"", true},
        {L"abc", true},  {L"True", true}, {L" 1 ", true}, {L"1.0", true}, {L"+1", true},
        {L"0.5", false}, {L"1x", true},   {L"  ", true},  {L".", true},   {L"10", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OptionIsOn(c.text), c.on) << '"' << c.text << '"';
}

TEST(ReadWholeNumber, ReadsDecimalWholeNumbersAndRefusesEverythingElse) {
    EXPECT_EQ(ReadWholeNumber(L"5"), 5);
    EXPECT_EQ(ReadWholeNumber(L" 12 "), 12);
    EXPECT_EQ(ReadWholeNumber(L"-3"), -3);
    EXPECT_EQ(ReadWholeNumber(L"0"), 0);
    EXPECT_EQ(ReadWholeNumber(L"2147483647"), 2147483647);
    EXPECT_EQ(ReadWholeNumber(L"-2147483648"), std::numeric_limits<std::int32_t>::min());
    // A fraction is rounded, a half to the even neighbour.
    EXPECT_EQ(ReadWholeNumber(L"7.5"), 8);
    EXPECT_EQ(ReadWholeNumber(L"6.5"), 6);
    EXPECT_EQ(ReadWholeNumber(L"6.51"), 7);

    for (const wchar_t* bad : {L"", L"abc", L"1 2", L"12a", L"--1", L"2147483648", L" ", L"."}) {
        EXPECT_EQ(ReadWholeNumber(bad), std::nullopt) << '"' << bad << '"';
    }
}

TEST(NextStartCount, CountsUpAndStopsAtTheLargest32BitNumber) {
    EXPECT_EQ(NextStartCount(0), 1);
    EXPECT_EQ(NextStartCount(-7), -6);
    EXPECT_EQ(NextStartCount(2147483646), 2147483647);
    EXPECT_EQ(NextStartCount(2147483647), 2147483647);
}

}  // namespace
}  // namespace glimra
