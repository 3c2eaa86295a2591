// Every policy of the administrative templates is read by the program under exactly the key
// and value name the templates write: the names come from the ADMX beside the tests, not from
// a list of our own.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "settings/PolicyFirstStore.h"
#include "settings/SettingKeys.h"
#include "win32/base/Windows.h"
#include "win32/system/RegistryPolicySource.h"
#include "win32/system/RegistrySettingsStore.h"

namespace glimra::win32 {
namespace {

struct TemplatePolicy {
    std::string name, policyClass, key, valueName;
};

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::string BesideTests(const std::string& relative) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + relative;
}

std::string Attribute(const std::string& element, const std::string& name) {
    std::smatch found;
    const std::regex pattern("\\b" + name + "=\"([^\"]*)\"");
    return std::regex_search(element, found, pattern) ? found[1].str() : "";
}

// Each <policy> element's name, class, key and the value name it writes (on the policy
// itself, or on the one element inside it).
std::vector<TemplatePolicy> PoliciesOf(const std::string& admx) {
    std::vector<TemplatePolicy> policies;
    const std::regex policy("<policy\\s([^>]*)>([\\s\\S]*?)</policy>");
    for (std::sregex_iterator it(admx.begin(), admx.end(), policy), end; it != end; ++it) {
        const std::string head = (*it)[1], body = (*it)[2];
        std::string valueName = Attribute(head, "valueName");
        if (valueName.empty()) valueName = Attribute(body, "valueName");
        policies.push_back(
            {Attribute(head, "name"), Attribute(head, "class"), Attribute(head, "key"), valueName});
    }
    return policies;
}

void PutPolicy(HKEY root, const std::string& key, const std::string& name,
               const std::wstring& text) {
    HKEY opened;
    ASSERT_EQ(
        RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(opened, Wide(name).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
}

TEST(PolicyTemplates, EveryPolicyIsReadUnderItsKeyAndValueNameForMachineAndUser) {
    std::ifstream file(BesideTests("policy\\Glimra.admx"), std::ios::binary);
    ASSERT_TRUE(file) << "policy\\Glimra.admx beside the tests";
    std::stringstream admx;
    admx << file.rdbuf();
    const std::vector<TemplatePolicy> policies = PoliciesOf(admx.str());
    ASSERT_EQ(policies.size(), 7u) << "one policy for each setting of the options dialog";

    const std::wstring policyKey = RegistryPolicySource::kKeyPath;
    RegistryPolicySource machine(HKEY_LOCAL_MACHINE), user(HKEY_CURRENT_USER);
    RegistrySettingsStore own(L"GlimraTest", keys::kSection);
    PolicyFirstStore store(machine, user, own);
    for (const TemplatePolicy& policy : policies) {
        SCOPED_TRACE(policy.name);
        EXPECT_EQ(policy.policyClass, "Both") << "the machine's and the user's";
        EXPECT_EQ(policy.name, policy.valueName) << "a policy is named after its value";
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, policyKey.c_str());
            RegDeleteTreeW(HKEY_CURRENT_USER, policyKey.c_str());
            const std::wstring name = Wide(policy.valueName);
            EXPECT_FALSE(store.SetByPolicy(name));
            const std::wstring text = root == HKEY_LOCAL_MACHINE ? L"machine's" : L"user's";
            PutPolicy(root, policy.key, policy.valueName, text);
            EXPECT_TRUE(store.SetByPolicy(name));
            EXPECT_EQ(store.Read(name), text);
        }
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, policyKey.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, policyKey.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\GlimraTest");
}

}  // namespace
}  // namespace glimra::win32
