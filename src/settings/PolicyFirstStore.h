#pragma once

#include <optional>
#include <string>

#include "settings/PolicySource.h"
#include "settings/SettingsStore.h"

namespace glimra {

// The settings as the program uses them: for each setting the options dialog sets, the
// machine's policy first, then the user's policy, then the user's own value. The values the
// program keeps for itself (the first-run flag, the forced-dialog flag, the start counter) are
// the user's own only. Writes always go to the user's own store; whoever writes asks
// SetByPolicy first when the write must not look as if it took effect.
class PolicyFirstStore : public SettingsStore {
  public:
    PolicyFirstStore(PolicySource& machine, PolicySource& user, SettingsStore& own)
        : machine_(machine), user_(user), own_(own) {}

    // Whether policy may set the value of this key at all.
    static bool PolicyCanSet(const std::wstring& key);

    std::wstring Read(const std::wstring& key) override;
    bool Write(const std::wstring& key, const std::wstring& value) override;
    bool SetByPolicy(const std::wstring& key) override { return Policy(key).has_value(); }

  private:
    std::optional<std::wstring> Policy(const std::wstring& key);

    PolicySource& machine_;
    PolicySource& user_;
    SettingsStore& own_;
};

}  // namespace glimra
