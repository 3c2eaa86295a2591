#include "win32/decoder/DecoderDesktop.h"

#include <aclapi.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace glimra::win32 {
namespace {

std::wstring NameOf(HANDLE object) {
    wchar_t name[256] = {};
    DWORD bytes = 0;
    return GetUserObjectInformationW(object, UOI_NAME, name, sizeof(name) - sizeof(wchar_t), &bytes)
               ? std::wstring(name)
               : std::wstring();
}

// A decoder below medium integrity can write to no object above its own: the desktop is
// labelled down to it.
void LabelDown(HDESK desktop, DecoderLevels levels) {
    const DWORD rid = (levels & kUntrustedIntegrity) ? SECURITY_MANDATORY_UNTRUSTED_RID
                      : (levels & kLowIntegrity)     ? SECURITY_MANDATORY_LOW_RID
                                                     : SECURITY_MANDATORY_MEDIUM_RID;
    if (rid == SECURITY_MANDATORY_MEDIUM_RID) return;
    std::vector<std::uint8_t> sid(GetSidLengthRequired(1));
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_MANDATORY_LABEL_AUTHORITY;
    if (!InitializeSid(sid.data(), &authority, 1)) return;
    *GetSidSubAuthority(sid.data(), 0) = rid;
    const DWORD sidBytes = GetLengthSid(sid.data());
    const DWORD aclBytes = sizeof(ACL) + sizeof(SYSTEM_MANDATORY_LABEL_ACE) + sidBytes;
    std::vector<std::uint8_t> acl(aclBytes);
    auto* sacl = reinterpret_cast<ACL*>(acl.data());
    if (InitializeAcl(sacl, aclBytes, ACL_REVISION) &&
        AddMandatoryAce(sacl, ACL_REVISION, 0, SYSTEM_MANDATORY_LABEL_NO_WRITE_UP, sid.data())) {
        SetSecurityInfo(desktop, SE_WINDOW_OBJECT, LABEL_SECURITY_INFORMATION, nullptr, nullptr,
                        nullptr, sacl);
    }
}

}  // namespace

DecoderDesktop MakeDecoderDesktop(DecoderLevels levels) {
    static std::atomic<unsigned> made{0};
    const std::wstring station = NameOf(GetProcessWindowStation());
    if (station.empty()) return {};
    // Each decoder a desktop of its own name: no other program's decoder shares it.
    const std::wstring name = L"Glimra-Decoder-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++made);
    // The program only holds it, and labels it; the decoder is given its own access.
    ScopedDesktop desktop(CreateDesktopW(
        name.c_str(), nullptr, nullptr, 0,
        DESKTOP_CREATEWINDOW | DESKTOP_READOBJECTS | READ_CONTROL | WRITE_DAC | WRITE_OWNER,
        nullptr));
    if (!desktop) return {};
    LabelDown(desktop.Get(), levels);
    return {std::move(desktop), station + L"\\" + name};
}

}  // namespace glimra::win32
