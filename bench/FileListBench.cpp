// Times the file list's reading of a folder (the seven picture patterns matched, the names
// sorted with letter case ignored, repeats dropped) against a bare sort of the same names.
// Portable: run on the build machine by bench/run, built without sanitizers.
//
//   bench_file_list <runs> <count>...   for each count, both alternately <runs> times after a
//                                        warm-up; prints the medians in milliseconds
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "controls/Application.h"
#include "controls/FolderLists.h"
#include "controls/Form.h"
#include "platform/Wildcard.h"

namespace {

using namespace glimra;

// A folder of the given names, matched once and then handed out at once: what is timed is
// the list's own work on what the file system gives it.
class NamesOnly : public FileSystem {
  public:
    explicit NamesOnly(std::vector<std::wstring> names) : names_(std::move(names)) {}
    std::vector<std::vector<std::wstring>> FilesMatching(
        const std::wstring&, const std::vector<std::wstring>& patterns) override {
        if (matched_.size() != patterns.size()) {
            matched_.assign(patterns.size(), {});
            for (const std::wstring& name : names_) {
                for (size_t i = 0; i < patterns.size(); ++i) {
                    if (MatchesPattern(name, patterns[i])) matched_[i].push_back(name);
                }
            }
        }
        return matched_;
    }
    std::vector<wchar_t> DriveLetters() override { return {L'C'}; }
    std::wstring DriveLabel(wchar_t) override { return {}; }
    FolderError CheckFolder(const std::wstring&) override { return FolderError::None; }
    FolderError SubFolders(const std::wstring&, std::vector<std::wstring>& names) override {
        names.clear();
        return FolderError::None;
    }
    std::wstring CurrentFolderOf(wchar_t) override { return L"C:\\"; }
    std::wstring CurrentFolder() override { return L"C:\\"; }

  private:
    std::vector<std::wstring> names_;
    std::vector<std::vector<std::wstring>> matched_;
};

// Camera-roll names in mixed case, over the seven picture kinds, in no order.
std::vector<std::wstring> PictureNames(size_t count) {
    const std::vector<std::wstring> kinds = {L".JPG", L".jpg", L".jpeg", L".bmp",
                                             L".Gif", L".ico", L".wmf",  L".emf"};
    std::vector<std::wstring> names;
    for (size_t i = 0; i < count; ++i) {
        names.push_back((i % 3 ? L"IMG_" : L"img_") + std::to_wstring(100000 + i * 7919 % count) +
                        kinds[i % kinds.size()]);
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    return names;
}

double Ms(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_file_list <runs> <count>...\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    for (int a = 2; a < argc; ++a) {
        const size_t count = static_cast<size_t>(std::atol(argv[a]));
        const std::vector<std::wstring> names = PictureNames(count);
        NamesOnly files(names);
        Application app;
        Form form(app, {});
        FileListBox list(form, L"FilePath", files);
        list.SetPattern(L"*.bmp;*.jpg;*.gif;*.jpeg;*.wmf;*.emf;*.ico");
        std::vector<double> ours, bare;
        size_t listed = 0;
        for (int i = 0; i <= runs; ++i) {  // the first of each is a warm-up
            auto start = std::chrono::steady_clock::now();
            list.SetPath(L"C:\\Pictures");
            listed = list.Files().size();
            const double oursMs = Ms(start);
            start = std::chrono::steady_clock::now();
            std::vector<std::wstring> sorted = names;
            std::sort(sorted.begin(), sorted.end());
            const double bareMs = Ms(start);
            if (i == 0) continue;
            ours.push_back(oursMs);
            bare.push_back(bareMs);
        }
        std::printf("count %zu ours_ms %.2f bare_ms %.2f listed %zu runs %d\n", count, Median(ours),
                    Median(bare), listed, runs);
    }
    return 0;
}
