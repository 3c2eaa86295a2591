#pragma once

#include <algorithm>
#include <cwctype>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controls/Form.h"
#include "controls/Peers.h"
#include "controls/Timer.h"
#include "fakes/FakeDialogPorts.h"
#include "platform/Ports.h"
#include "platform/Wildcard.h"
#include "settings/PolicyFirstStore.h"

namespace glimra::fakes {

class FakeSettingsStore : public SettingsStore {
  public:
    std::wstring Read(const std::wstring& key) override {
        ++reads;
        auto it = values.find(key);
        return it == values.end() ? std::wstring() : it->second;
    }
    bool Write(const std::wstring& key, const std::wstring& value) override {
        writes.emplace_back(key, value);
        if (failWrites || failAfter == 0) return false;
        if (failAfter > 0) --failAfter;
        values[key] = value;
        if (written) written(key);
        return true;
    }
    // The values written under `key`, oldest first.
    std::vector<std::wstring> WritesOf(const std::wstring& key) const {
        std::vector<std::wstring> found;
        for (const auto& [k, v] : writes) {
            if (k == key) found.push_back(v);
        }
        return found;
    }

    std::map<std::wstring, std::wstring> values;
    std::vector<std::pair<std::wstring, std::wstring>> writes;
    std::function<void(const std::wstring& key)> written;  // after each value stored
    int reads = 0;
    bool failWrites = false;
    int failAfter = -1;  // this many more writes succeed, then every one fails; -1: never
};

// Policies an administrator set, by key.
class FakePolicySource : public PolicySource {
  public:
    std::optional<std::wstring> Read(const std::wstring& key) override {
        auto it = values.find(key);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    std::map<std::wstring, std::wstring> values;
};

class FakeProgramInfo : public ProgramInfo {
  public:
    std::wstring ArgumentText() override { return arguments; }
    bool AnotherInstanceRunning() override { return anotherInstance; }
    ProgramDetails Details() override { return details; }

    std::wstring arguments;
    ProgramDetails details{L"C:\\Program Files\\Glimra", 1, 0, 203, L"Glimra ScreenSaver",
                           L"A free screen saver."};
    bool anotherInstance = false;
};

struct FakeFile {
    std::wstring name;
    bool hidden = false;
    bool system = false;
    bool folder = false;
};

// Folders by their path with a trailing backslash; letter case is ignored, as on Windows.
// Drives are the drive letters of the folders added, unless a test lists them; a drive in
// `unavailable` reports its device unavailable.
// A drive as a test lists it: its letter and what the drive list shows beside it.
struct FakeDrive {
    wchar_t letter = L'C';
    std::wstring label;
};

class FakeFileSystem : public FileSystem {
  public:
    std::vector<wchar_t> DriveLetters() override {
        std::vector<wchar_t> letters;
        for (const FakeDrive& drive : Drives()) {
            if (letters.empty() || letters.back() != drive.letter) letters.push_back(drive.letter);
        }
        return letters;
    }
    std::wstring DriveLabel(wchar_t letter) override {
        ++labelReads[letter];
        for (const FakeDrive& drive : Drives()) {
            if (drive.letter == letter) return drive.label;
        }
        return {};
    }
    FolderError CheckFolder(const std::wstring& folder) override {
        ++checks;
        Touch(folder);
        if (unavailable.find(static_cast<wchar_t>(std::towupper(folder[0]))) != std::wstring::npos)
            return FolderError::DeviceUnavailable;
        return Find(folder.back() == L'\\' ? folder : folder + L"\\") ? FolderError::None
                                                                      : FolderError::NotFound;
    }
    FolderError SubFolders(const std::wstring& folder, std::vector<std::wstring>& names) override {
        ++folderReads;
        const FolderError error = CheckFolder(folder);
        if (error != FolderError::None) return error;
        const std::wstring key = folder.back() == L'\\' ? folder : folder + L"\\";
        names.clear();
        for (const auto& [path, files] : folders) {
            if (path.size() > key.size() && Upper(path.substr(0, key.size())) == Upper(key) &&
                path.find(L'\\', key.size()) == path.size() - 1)
                names.push_back(path.substr(key.size(), path.size() - key.size() - 1));
        }
        return FolderError::None;
    }
    std::wstring CurrentFolderOf(wchar_t letter) override {
        auto it = driveFolders.find(letter);
        return it != driveFolders.end() ? it->second : std::wstring(1, letter) + L":\\";
    }
    std::wstring CurrentFolder() override { return currentFolder; }

    std::vector<std::vector<std::wstring>> FilesMatching(
        const std::wstring& folder, const std::vector<std::wstring>& patterns) override {
        ++enumerations;
        Touch(folder);
        std::vector<std::vector<std::wstring>> groups(patterns.size());
        const std::vector<FakeFile>* files = Find(folder);
        if (!files) return groups;
        for (const FakeFile& file : *files) {
            if (file.hidden || file.system || file.folder) continue;
            for (size_t i = 0; i < patterns.size(); ++i) {
                if (MatchesPattern(file.name, patterns[i])) groups[i].push_back(file.name);
            }
        }
        return groups;
    }

    void AddFiles(const std::wstring& folder, const std::vector<std::wstring>& names) {
        for (const std::wstring& name : names)
            folders[folder].push_back({name});
    }

    // Adds a folder, and the folders above it, without files.
    void AddFolder(std::wstring folder) {
        while (folder.size() > 3) {
            folders[folder];
            folder = folder.substr(0, folder.rfind(L'\\', folder.size() - 2) + 1);
        }
        folders[folder];
    }

    std::map<std::wstring, std::vector<FakeFile>> folders;
    std::vector<FakeDrive> drives;
    std::map<wchar_t, std::wstring> driveFolders;
    std::wstring unavailable;  // drive letters whose device is unavailable
    std::wstring currentFolder = L"C:\\";
    int enumerations = 0;
    int folderReads = 0;
    std::map<wchar_t, int> labelReads;  // drive letter: labels asked for
    int checks = 0;                     // folders checked
    std::wstring touched;               // the letters of the drives any folder was read on

  private:
    // The drives a test listed, or else one for each letter of the folders added.
    std::vector<FakeDrive> Drives() const {
        if (!drives.empty()) return drives;
        std::vector<FakeDrive> found;
        for (const auto& [path, files] : folders) {
            const wchar_t letter = static_cast<wchar_t>(std::towupper(path[0]));
            if (found.empty() || found.back().letter != letter) found.push_back({letter, L""});
        }
        return found;
    }
    void Touch(const std::wstring& folder) {
        const wchar_t letter = static_cast<wchar_t>(std::towupper(folder[0]));
        if (touched.find(letter) == std::wstring::npos) touched += letter;
    }
    static std::wstring Upper(std::wstring s) {
        for (wchar_t& c : s)
            c = static_cast<wchar_t>(std::towupper(c));
        return s;
    }
    const std::vector<FakeFile>* Find(const std::wstring& folder) const {
        for (const auto& [path, files] : folders) {
            if (Upper(path) == Upper(folder)) return &files;
        }
        return nullptr;
    }
};

class FakePicture : public Picture {
  public:
    FakePicture(int width, int height, std::wstring source = {})
        : width_(width), height_(height), source_(std::move(source)) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    const std::wstring& Source() const { return source_; }

  private:
    int width_;
    int height_;
    std::wstring source_;
};

// Pictures by path; a path without an entry cannot be loaded.
class FakePictureLoader : public PictureLoader {
  public:
    PicturePtr Load(const std::wstring& path) override {
        loads.push_back(path);
        auto it = sizes.find(path);
        if (it == sizes.end()) return nullptr;
        return std::make_shared<FakePicture>(it->second.first, it->second.second, path);
    }
    PicturePtr StartPicture() override { return start; }
    PicturePtr BlankPicture() override { return blank; }

    std::map<std::wstring, std::pair<int, int>> sizes;
    std::vector<std::wstring> loads;
    PicturePtr start = std::make_shared<FakePicture>(640, 480, L"<start>");
    PicturePtr blank = std::make_shared<FakePicture>(1, 1, L"<blank>");
};

// A screen of 800 x 600 pixels at 15 twips per pixel unless a test says otherwise.
class FakeScreen : public Screen {
  public:
    float TwipsPerPixelX() override { return twipsPerPixel; }
    float TwipsPerPixelY() override { return twipsPerPixel; }
    float Width() override { return static_cast<float>(widthPx) * twipsPerPixel; }
    float Height() override { return static_cast<float>(heightPx) * twipsPerPixel; }

    int widthPx = 800;
    int heightPx = 600;
    float twipsPerPixel = 15;  // 96 dots per inch
};

class FakePointer : public Pointer {
  public:
    void ShowCursor(bool show) override {
        displayCount += show ? 1 : -1;
        ++calls;
    }
    int displayCount = 0;  // below 0: hidden
    int calls = 0;
};

// Returns the given numbers in turn, then repeats the last one.
class FakeRandom : public Random {
  public:
    double Next() override {
        if (numbers.empty()) return 0;
        const double value = numbers[std::min(next, numbers.size() - 1)];
        ++next;
        return value;
    }
    std::vector<double> numbers;
    size_t next = 0;
};

class FakeLocale : public Locale {
  public:
    wchar_t DecimalSeparator() override { return separator; }
    wchar_t separator = L'.';
};

// A form peer that records what the model asked of the platform window, and where the window
// stands among the others: a window shown or raised comes in front of those shown before it,
// and one made topmost stays in front of every other.
class RecordingFormPeer : public FormPeer {
  public:
    RecordingFormPeer(Form& form, const FakeScreen& screen, int& raises)
        : form_(form), screen_(screen), raises_(raises) {}
    void Create() override { ++creates; }
    void Destroy() override { ++destroys; }
    void VisibleChanged() override {
        if (form_.Visible()) raisedAt = ++raises_;
        if (visibleChanged) visibleChanged();
    }
    void WindowStateChanged() override {
        // A maximized borderless window covers the screen, as on the platform.
        if (form_.GetWindowState() == WindowState::Maximized) {
            const float w = static_cast<float>(screen_.widthPx) * screen_.twipsPerPixel;
            const float h = static_cast<float>(screen_.heightPx) * screen_.twipsPerPixel;
            form_.PlatformResized(w, h, w, h);
        }
    }
    void PositionChanged() override {}
    void SurfaceChanged() override { ++surfaceChanges; }
    void ControlChanged(Control&) override { ++controlChanges; }
    void MakeTopmost() override {
        ++topmostCalls;
        topmost = true;
        raisedAt = ++raises_;
    }

    int creates = 0;
    int destroys = 0;
    int surfaceChanges = 0;
    int controlChanges = 0;
    int topmostCalls = 0;
    bool topmost = false;
    int raisedAt = 0;  // when it was last shown or raised
    std::function<void()> visibleChanged;

  private:
    Form& form_;
    const FakeScreen& screen_;
    int& raises_;
};

class FakePeerFactory : public PeerFactory {
  public:
    explicit FakePeerFactory(const FakeScreen& screen) : screen_(screen) {}
    std::unique_ptr<FormPeer> CreateFormPeer(Form& form) override {
        auto peer = std::make_unique<RecordingFormPeer>(form, screen_, raises_);
        formPeers[&form] = peer.get();
        return peer;
    }
    std::unique_ptr<TimerPeer> CreateTimerPeer(Timer&) override { return nullptr; }
    void Quit() override { ++quits; }

    RecordingFormPeer& PeerOf(const Form& form) { return *formPeers.at(&form); }

    // The shown form in front of all others, which the user's input over the screen reaches;
    // null when none is shown.
    Form* FormInFront() const {
        Form* front = nullptr;
        std::pair<bool, int> frontRank{false, 0};
        for (const auto& [form, peer] : formPeers) {
            const std::pair<bool, int> rank{peer->topmost, peer->raisedAt};
            if (form->Loaded() && form->Visible() && (!front || rank > frontRank)) {
                front = const_cast<Form*>(form);
                frontRank = rank;
            }
        }
        return front;
    }

    std::map<const Form*, RecordingFormPeer*> formPeers;
    int quits = 0;

  private:
    const FakeScreen& screen_;
    int raises_ = 0;
};

// Every port faked, ready to hand to the program.
struct FakePlatform {
    FakeProgramInfo program;
    FakeSettingsStore settings;  // the user's own values
    FakePolicySource machinePolicy;
    FakePolicySource userPolicy;
    PolicyFirstStore policyFirst{machinePolicy, userPolicy, settings};
    FakeFileSystem files;
    FakePictureLoader pictures;
    FakeScreen screen;
    FakePointer pointer;
    FakeRandom random;
    FakeMessageBoxes messages;
    FakeShell shell;
    FakeLocale locale;
    FakePeerFactory peers{screen};
    Ports ports{program, policyFirst, files,    pictures, screen,
                pointer, random,      messages, shell,    locale};
};

}  // namespace glimra::fakes
