#include <gtest/gtest.h>

#include "win32/base/Windows.h"
#include "win32/system/RegistryPolicySource.h"
#include "win32/system/RegistrySettingsStore.h"
#include "win32/system/RegistryText.h"

namespace glimra::win32 {
namespace {

// A store of its own under the real per-user area, emptied before and after each test.
class RegistryStore : public ::testing::Test {
  protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    void Clear() {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\GlimraTest");
    }
    // Stores a raw value of any type next to the store's own values.
    void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, store.KeyPath().c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
        RegCloseKey(key);
    }

    RegistrySettingsStore store{L"GlimraTest", L"Settings"};
};

TEST_F(RegistryStore, WritesReadableRegSzValuesWhereEarlierReleasesKeptThem) {
    EXPECT_EQ(store.KeyPath(), L"Software\\VB and VBA Program Settings\\GlimraTest\\Settings");
    ASSERT_TRUE(store.Write(L"Path", L"C:\\Pictures"));
    wchar_t raw[64] = {};
    DWORD bytes = sizeof(raw), type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, store.KeyPath().c_str(), L"Path", RRF_RT_ANY, &type,
                           raw, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(raw, L"C:\\Pictures");
    EXPECT_EQ(store.Read(L"Path"), L"C:\\Pictures");
}

TEST_F(RegistryStore, RoundTripsUnicodeAndEmptyTextAndKeepsKeyCase) {
    const std::wstring folder = L"D:\\Bilder – Ünïcødé 日本語 \U0001F600";
    ASSERT_TRUE(store.Write(L"Path", folder));
    ASSERT_TRUE(store.Write(L"displayImageNumber", L""));
    ASSERT_TRUE(store.Write(L"SecondsToDisplay", L"5"));
    ASSERT_TRUE(store.Write(L"SecondsToDisplay", L"12"));
    EXPECT_EQ(store.Read(L"Path"), folder);
    EXPECT_EQ(store.Read(L"displayImageNumber"), L"");
    EXPECT_EQ(store.Read(L"SecondsToDisplay"), L"12");
}

TEST_F(RegistryStore, MissingValuesAndKeysReadAsEmptyText) {
    EXPECT_EQ(store.Read(L"Path"), L"") << "no key at all";
    ASSERT_TRUE(store.Write(L"Path", L"x"));
    EXPECT_EQ(store.Read(L"Initialized"), L"") << "key without this value";
}

TEST_F(RegistryStore, ValuesThatAreNotPlainStringsReadAsEmptyText) {
    const DWORD number = 1;
    PutRaw(L"AlwaysOnTop", REG_DWORD, &number, sizeof(number));
    const BYTE binary[] = {'1', 0, 0, 0};
    PutRaw(L"HideMousePointer", REG_BINARY, binary, sizeof(binary));
    const wchar_t expandable[] = L"%TEMP%";
    PutRaw(L"Path", REG_EXPAND_SZ, expandable, sizeof(expandable));
    const wchar_t multi[] = L"1\0two\0";
    PutRaw(L"Initialized", REG_MULTI_SZ, multi, sizeof(multi));
    for (const wchar_t* key : {L"AlwaysOnTop", L"HideMousePointer", L"Path", L"Initialized"}) {
        EXPECT_EQ(store.Read(key), L"") << key;
    }
}

TEST_F(RegistryStore, OddlyStoredStringsReadSafely) {
    const wchar_t unterminated[] = {L'4', L'2'};
    PutRaw(L"ShowSplashScreen", REG_SZ, unterminated, sizeof(unterminated));
    EXPECT_EQ(store.Read(L"ShowSplashScreen"), L"42") << "no terminating zero";

    const wchar_t inner[] = L"5\0garbage";
    PutRaw(L"SecondsToDisplay", REG_SZ, inner, sizeof(inner));
    EXPECT_EQ(store.Read(L"SecondsToDisplay"), L"5") << "text ends at the first zero";

    const BYTE oddBytes[] = {'7', 0, 'x'};
    PutRaw(L"AlwaysOnTop", REG_SZ, oddBytes, sizeof(oddBytes));
    EXPECT_EQ(store.Read(L"AlwaysOnTop"), L"7") << "half a character at the end";

    const std::wstring huge(kMaxRegistryTextChars + 1, L'a');
    ASSERT_TRUE(store.Write(L"Path", huge));
    EXPECT_EQ(store.Read(L"Path"), L"") << "too long to be a setting of ours";
    const std::wstring longest(kMaxRegistryTextChars, L'b');
    ASSERT_TRUE(store.Write(L"Path", longest));
    EXPECT_EQ(store.Read(L"Path"), longest);
}

// A policy is there or not; one that is there but is no text reads as the empty text, as the
// user's own values do.
TEST(RegistryPolicy, AbsentIsNothingAndAValueThatIsNoTextIsEmpty) {
    const wchar_t* const path = L"Software\\Policies\\GlimraTest";
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegDeleteTreeW(root, path);
        RegistryPolicySource policy(root, path);
        EXPECT_EQ(policy.Read(L"Path"), std::nullopt) << "no key";
        HKEY key;
        ASSERT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const wchar_t folder[] = L"C:\\Lobby";
        RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                       sizeof(folder));
        const DWORD number = 1;
        RegSetValueExW(key, L"AlwaysOnTop", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof(number));
        RegCloseKey(key);
        EXPECT_EQ(policy.Read(L"Path"), L"C:\\Lobby");
        EXPECT_EQ(policy.Read(L"AlwaysOnTop"), L"");
        EXPECT_EQ(policy.Read(L"HideMousePointer"), std::nullopt) << "key without this value";
        RegDeleteTreeW(root, path);
    }
    EXPECT_EQ(std::wstring(RegistryPolicySource::kKeyPath),
              L"Software\\Policies\\Glimra\\ScreenSaver");
}

}  // namespace
}  // namespace glimra::win32
