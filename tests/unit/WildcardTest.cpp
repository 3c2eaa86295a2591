#include <gtest/gtest.h>

#include "platform/Wildcard.h"

namespace glimra {
namespace {

TEST(MatchesPattern, ExtensionPatternsIgnoreCaseAndDoNotOverlap) {
    EXPECT_TRUE(MatchesPattern(L"photo.jpg", L"*.jpg"));
    EXPECT_TRUE(MatchesPattern(L"PHOTO.JPG", L"*.jpg"));
    EXPECT_TRUE(MatchesPattern(L"a.b.Jpg", L"*.jpg"));
    EXPECT_TRUE(MatchesPattern(L".jpg", L"*.jpg"));
    // Unlike the platform's own matcher, no short-name leftovers: x.jpeg is not a "*.jpg".
    EXPECT_FALSE(MatchesPattern(L"x.jpeg", L"*.jpg"));
    EXPECT_FALSE(MatchesPattern(L"x.jpgx", L"*.jpg"));
    EXPECT_FALSE(MatchesPattern(L"jpg", L"*.jpg"));
    EXPECT_FALSE(MatchesPattern(L"x.png", L"*.jpg"));
    EXPECT_TRUE(MatchesPattern(L"C.JPEG", L"*.jpeg"));
}

TEST(MatchesPattern, StarsAndQuestionMarks) {
    EXPECT_TRUE(MatchesPattern(L"", L"*"));
    EXPECT_TRUE(MatchesPattern(L"anything", L"*"));
    EXPECT_TRUE(MatchesPattern(L"abc", L"a?c"));
    EXPECT_FALSE(MatchesPattern(L"ac", L"a?c"));
    EXPECT_TRUE(MatchesPattern(L"aXbXc", L"a*b*c"));
    EXPECT_TRUE(MatchesPattern(L"abcbc", L"*bc"));
    EXPECT_FALSE(MatchesPattern(L"abcb", L"*bc"));
    EXPECT_TRUE(MatchesPattern(L"Ünïcödé.gif", L"*.GIF"));
}

}  // namespace
}  // namespace glimra
