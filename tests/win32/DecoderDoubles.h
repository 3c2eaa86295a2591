#pragma once

#include <tlhelp32.h>

#include <cstdint>
#include <string>

#include "win32/pictures/Pictures.h"
#include "win32/system/Win32ProgramDetails.h"

namespace glimra::win32::testing {

// The decoder double (DecoderDouble.cpp), built beside the tests.
inline std::wstring DoubleFile() {
    return ModuleFolder(nullptr) + L"\\decoder_double.exe";
}

// How many decoder doubles this test process started are running.
inline int DoublesRunning() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, L"decoder_double.exe") == 0 &&
            entry.th32ParentProcessID == GetCurrentProcessId()) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
}

// The colour at the centre of a picture the decoder made; 0 for none.
inline std::uint32_t CentreOf(const PicturePtr& picture) {
    if (const auto* raster = dynamic_cast<const RasterPicture*>(picture.get())) {
        const PixelBuffer& p = raster->Pixels();
        return p.pixels[static_cast<size_t>(p.height / 2) * p.width + p.width / 2] & 0xFFFFFF;
    }
    const auto* kept = dynamic_cast<const KeptPixelsPicture*>(picture.get());
    if (!kept) return 0;
    const int x = kept->PixelWidth() / 2, y = kept->PixelHeight() / 2;
    return kept->Pixels()[static_cast<size_t>(y) * kept->PixelWidth() + x] & 0xFFFFFF;
}

}  // namespace glimra::win32::testing
