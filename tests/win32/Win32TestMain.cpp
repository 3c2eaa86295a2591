#include <gtest/gtest.h>
#include <objbase.h>

#include "win32/base/Windows.h"

// The Win32 tests run under Wine, or on Windows, against the real platform services.
int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
