#include "win32/system/RegistryPolicySource.h"

#include "win32/system/RegistryText.h"

namespace glimra::win32 {

std::optional<std::wstring> RegistryPolicySource::Read(const std::wstring& key) {
    return ReadRegistryText(root_, keyPath_, key);
}

}  // namespace glimra::win32
