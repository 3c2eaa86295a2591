#include <gtest/gtest.h>

#include <optional>

#include "win32/base/Windows.h"
#include "win32/system/TextScale.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Accessibility";
constexpr wchar_t kValue[] = L"TextScaleFactor";

// The user's text size as stored, or none; what was there is put back.
class StoredTextScale {
  public:
    StoredTextScale() {
        DWORD value = 0, size = sizeof(value);
        if (RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &value,
                         &size) == ERROR_SUCCESS)
            before_ = value;
    }
    ~StoredTextScale() {
        if (before_)
            Set(*before_);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }
    StoredTextScale(const StoredTextScale&) = delete;
    StoredTextScale& operator=(const StoredTextScale&) = delete;

    static void Set(DWORD percent) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &percent, sizeof(percent));
    }
    static void SetText(const wchar_t* text) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_SZ, text,
                        static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    }

  private:
    std::optional<DWORD> before_;
};

TEST(TextScale, IsTheUsersSettingWithinItsRangeAndOtherwiseTheDesigns) {
    const StoredTextScale stored;
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    EXPECT_EQ(SystemTextScale(), 100) << "not set";
    const struct {
        DWORD stored;
        int taken;
    } numbers[] = {{100, 100}, {150, 150}, {225, 225},       {0, 100},
                   {99, 100},  {226, 225}, {0xFFFFFFFF, 225}};
    for (const auto& n : numbers) {
        StoredTextScale::Set(n.stored);
        EXPECT_EQ(SystemTextScale(), n.taken) << n.stored;
    }
    StoredTextScale::SetText(L"150");
    EXPECT_EQ(SystemTextScale(), 100) << "a text";
}

}  // namespace
}  // namespace glimra::win32
