#pragma once

#include "platform/Locale.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// The decimal separator of the user's own locale settings.
class Win32Locale : public Locale {
  public:
    wchar_t DecimalSeparator() override {
        wchar_t separator[8] = {};
        if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2)
            return L'.';
        return separator[0];
    }
};

}  // namespace glimra::win32
