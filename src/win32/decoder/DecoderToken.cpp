#include "win32/decoder/DecoderToken.h"

#include <aclapi.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace glimra::win32 {
namespace {

constexpr DecoderLevels kIntegrity = kUntrustedIntegrity | kLowIntegrity;

std::vector<std::uint8_t> WellKnownSid(WELL_KNOWN_SID_TYPE type) {
    std::vector<std::uint8_t> sid(SECURITY_MAX_SID_SIZE);
    DWORD bytes = static_cast<DWORD>(sid.size());
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &bytes)) return {};
    sid.resize(bytes);
    return sid;
}

// The integrity level `rid` (S-1-16-rid): made by hand, for not every system knows the
// untrusted level by its well-known name.
std::vector<std::uint8_t> IntegritySid(DWORD rid) {
    std::vector<std::uint8_t> sid(GetSidLengthRequired(1));
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_MANDATORY_LABEL_AUTHORITY;
    if (!InitializeSid(sid.data(), &authority, 1)) return {};
    *GetSidSubAuthority(sid.data(), 0) = rid;
    return sid;
}

// Whatever the decoder makes (its threads, its sections) only the user and the system open.
bool LockDefaultDacl(HANDLE token) {
    DWORD bytes = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &bytes);
    std::vector<std::uint8_t> user(bytes);
    if (!bytes || !GetTokenInformation(token, TokenUser, user.data(), bytes, &bytes)) return false;
    const PSID userSid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    std::vector<std::uint8_t> system = WellKnownSid(WinLocalSystemSid);
    if (system.empty()) return false;
    const DWORD aclBytes = sizeof(ACL) + 2 * sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(userSid) +
                           GetLengthSid(system.data());
    std::vector<std::uint8_t> acl(aclBytes);
    auto* dacl = reinterpret_cast<ACL*>(acl.data());
    if (!InitializeAcl(dacl, aclBytes, ACL_REVISION) ||
        !AddAccessAllowedAce(dacl, ACL_REVISION, GENERIC_ALL, userSid) ||
        !AddAccessAllowedAce(dacl, ACL_REVISION, GENERIC_ALL, system.data())) {
        return false;
    }
    TOKEN_DEFAULT_DACL value{dacl};
    return SetTokenInformation(token, TokenDefaultDacl, &value, sizeof(value));
}

bool LowerIntegrity(HANDLE token, DWORD rid) {
    std::vector<std::uint8_t> sid = IntegritySid(rid);
    if (sid.empty()) return false;
    TOKEN_MANDATORY_LABEL label{{sid.data(), SE_GROUP_INTEGRITY}};
    return SetTokenInformation(token, TokenIntegrityLevel, &label,
                               static_cast<DWORD>(sizeof(label) + sid.size()));
}

}  // namespace

ScopedHandle DecoderToken(DecoderLevels& levels) {
    if (!(levels & (kRestrictedToken | kIntegrity))) return {};
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY,
                          &own)) {
        levels &= ~(kRestrictedToken | kIntegrity);
        return {};
    }
    ScopedHandle program(own);
    HANDLE made = nullptr;
    if (levels & kRestrictedToken) {
        std::vector<std::uint8_t> admins = WellKnownSid(WinBuiltinAdministratorsSid);
        SID_AND_ATTRIBUTES denied{admins.data(), 0};
        HANDLE restricted = nullptr;
        if (!admins.empty() && CreateRestrictedToken(own, DISABLE_MAX_PRIVILEGE, 1, &denied, 0,
                                                     nullptr, 0, nullptr, &restricted)) {
            // A handle of every access to it: some systems give the first one too little to
            // set its default DACL.
            if (!DuplicateTokenEx(restricted, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation,
                                  TokenPrimary, &made)) {
                made = nullptr;
            }
            CloseHandle(restricted);
        }
    }
    if (!made) {
        levels &= ~kRestrictedToken;
        // The integrity alone is lowered on a copy of the program's token.
        if (!(levels & kIntegrity) ||
            !DuplicateTokenEx(own, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary,
                              &made)) {
            levels &= ~kIntegrity;
            return {};
        }
    }
    ScopedHandle token(made);
    if ((levels & kRestrictedToken) && !LockDefaultDacl(token.Get())) levels &= ~kRestrictedToken;
    if ((levels & kUntrustedIntegrity) &&
        !LowerIntegrity(token.Get(), SECURITY_MANDATORY_UNTRUSTED_RID))
        levels &= ~kUntrustedIntegrity;
    if ((levels & kLowIntegrity) && !(levels & kUntrustedIntegrity) &&
        !LowerIntegrity(token.Get(), SECURITY_MANDATORY_LOW_RID)) {
        levels &= ~kLowIntegrity;
    }
    if (!(levels & (kRestrictedToken | kIntegrity))) return {};
    return token;
}

}  // namespace glimra::win32
