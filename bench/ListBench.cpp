// Times the slide show's listing of a picture folder against a bare enumeration of the same
// folder. Run under Wine by bench/run.
//
//   bench_list <folder> <runs>   both, alternately, <runs> times each after one warm-up;
//                                prints the medians in milliseconds and what each found
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "screensaver/ImageList.h"
#include "win32/base/Windows.h"
#include "win32/system/Win32FileSystem.h"

namespace {

using glimra::bench::Median;
using glimra::bench::NowMs;

// Every name in the folder, counted and nothing else, with the same kind of search.
size_t CountNames(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return 0;
    size_t count = 0;
    do {
        ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_list <folder> <runs>\n");
        return 2;
    }
    const std::wstring folder = glimra::WithTrailingBackslash(argv[1]);
    const int runs = std::max(1, _wtoi(argv[2]));
    glimra::win32::Win32FileSystem files;
    std::vector<double> ours, bare;
    size_t listed = 0, names = 0;
    for (int i = 0; i <= runs; ++i) {  // the first of each is a warm-up
        double start = NowMs();
        listed = glimra::ListImageFiles(files, folder).size();
        const double oursMs = NowMs() - start;
        start = NowMs();
        names = CountNames(folder);
        const double bareMs = NowMs() - start;
        if (i == 0) continue;
        ours.push_back(oursMs);
        bare.push_back(bareMs);
    }
    std::printf("ours_ms %.2f bare_ms %.2f listed %zu names %zu runs %d\n", Median(ours),
                Median(bare), listed, names, runs);
    return listed > 0 ? 0 : 1;
}
