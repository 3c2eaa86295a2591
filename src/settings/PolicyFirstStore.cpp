#include "settings/PolicyFirstStore.h"

#include <algorithm>
#include <iterator>

#include "settings/SettingKeys.h"

namespace glimra {

bool PolicyFirstStore::PolicyCanSet(const std::wstring& key) {
    const wchar_t* const settable[] = {
        keys::kPath,
        keys::kSecondsToDisplay,
        keys::kAlwaysOnTop,
        keys::kHideMousePointer,
        keys::kDisplayInRandomOrder,
        keys::kDisplayImageNumber,
        keys::kDisplayImageFileName,
    };
    return std::find(std::begin(settable), std::end(settable), key) != std::end(settable);
}

std::optional<std::wstring> PolicyFirstStore::Policy(const std::wstring& key) {
    if (!PolicyCanSet(key)) return std::nullopt;
    if (auto machine = machine_.Read(key)) return machine;
    return user_.Read(key);
}

std::wstring PolicyFirstStore::Read(const std::wstring& key) {
    if (auto policy = Policy(key)) return *policy;
    // A folder chosen by the administrator makes the program configured: the machines it is
    // deployed to show their pictures without anyone opening the options dialog first.
    if (key == keys::kInitialized) {
        std::wstring own = own_.Read(key);
        if (own.empty() && Policy(keys::kPath)) return keys::kTrue;
        return own;
    }
    return own_.Read(key);
}

bool PolicyFirstStore::Write(const std::wstring& key, const std::wstring& value) {
    return own_.Write(key, value);
}

}  // namespace glimra
