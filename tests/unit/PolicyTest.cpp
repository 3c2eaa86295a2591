#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <tuple>

#include "options/OptionsTexts.h"
#include "unit/ProgramFixture.h"

namespace glimra {
namespace {

// Where a value is put: the user's own store, the user's policy or the machine's policy.
enum class Source { Own, UserPolicy, MachinePolicy };

const char* SourceName(Source source) {
    switch (source) {
        case Source::Own:
            return "own";
        case Source::UserPolicy:
            return "user policy";
        default:
            return "machine policy";
    }
}

class PolicyTest : public ProgramTest {
  protected:
    std::map<std::wstring, std::wstring>& ValuesOf(Source source) {
        switch (source) {
            case Source::Own:
                return settings().values;
            case Source::UserPolicy:
                return platform.userPolicy.values;
            default:
                return platform.machinePolicy.values;
        }
    }
};

TEST_F(PolicyTest, MachinePolicyWinsOverUserPolicyWhichWinsOverTheUsersOwnValue) {
    const wchar_t* const settable[] = {L"Path",
                                       L"SecondsToDisplay",
                                       L"AlwaysOnTop",
                                       L"HideMousePointer",
                                       L"DisplayInRandomOrder",
                                       L"displayImageNumber",
                                       L"DisplayImageFileName"};
    SettingsStore& store = platform.policyFirst;
    for (const wchar_t* key : settable) {
        SCOPED_TRACE(std::string(key, key + std::wcslen(key)));
        settings().values[key] = L"own";
        EXPECT_EQ(store.Read(key), L"own");
        EXPECT_FALSE(store.SetByPolicy(key));
        platform.userPolicy.values[key] = L"user";
        EXPECT_EQ(store.Read(key), L"user");
        EXPECT_TRUE(store.SetByPolicy(key));
        platform.machinePolicy.values[key] = L"";
        EXPECT_EQ(store.Read(key), L"") << "an empty machine policy is still the machine's";
        EXPECT_TRUE(store.SetByPolicy(key));
        EXPECT_TRUE(store.Write(key, L"written"));
        EXPECT_EQ(settings().values[key], L"written") << "writes go to the user's own store";
        EXPECT_EQ(store.Read(key), L"");
    }
    // What the program keeps for itself is never a policy's, and a policy of another name is
    // not read.
    for (const wchar_t* key : {L"ShowSplashScreen", L"OptionsDialogForced", L"path", L"Other"}) {
        platform.machinePolicy.values[key] = L"7";
        platform.userPolicy.values[key] = L"7";
        EXPECT_EQ(store.Read(key), L"");
        EXPECT_FALSE(store.SetByPolicy(key));
    }
}

TEST_F(PolicyTest, AFolderSetByPolicyMakesTheProgramConfigured) {
    platform.files.AddFiles(L"C:\\Lobby\\", {L"a.jpg"});
    platform.machinePolicy.values[L"Path"] = L"C:\\Lobby";
    Start(L"/s");
    EXPECT_EQ(ModeName(CurrentMode()), std::string("slide show"));
    EXPECT_EQ(window().strPath, L"C:\\Lobby");
    EXPECT_TRUE(settings().WritesOf(L"Initialized").empty()) << "nothing of it is stored";

    settings().values[L"Initialized"] = L"False";
    Start(L"/s");
    EXPECT_EQ(window().strInitialized, L"False") << "a stored value is read as it is";
}

// OK and Apply store what the user may set and leave the policy's settings unwritten, even
// a bad one the user could not correct; nothing asks the user to fix what is not theirs.
TEST_F(PolicyTest, OkAndApplyNeverWriteWhatPolicySets) {
    platform.files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    platform.files.AddFiles(L"C:\\Lobby\\", {L"notes.txt"});
    platform.files.currentFolder = L"C:\\Pictures";
    Configure();
    platform.machinePolicy.values[L"Path"] = L"C:\\Lobby";
    platform.userPolicy.values[L"SecondsToDisplay"] = L"abc";
    platform.machinePolicy.values[L"AlwaysOnTop"] = L"0";
    for (const wchar_t* button : {L"Apply", L"OK"}) {
        SCOPED_TRACE(::testing::Message() << button);
        Start(L"/c");
        frmGlimraOptions& d = program->options;
        EXPECT_EQ(d.txtPathLocation.Text(), L"C:\\Lobby");
        EXPECT_FALSE(d.txtPathLocation.Enabled() || d.cmdBrowse.Enabled());
        EXPECT_EQ(d.txtSecondsToDisplay.Text(), L"abc");
        EXPECT_EQ(d.chkAlwaysOnTop.Value(), 0);
        d.chkRandomImages.PlatformClick();
        settings().writes.clear();
        settings().values[L"OptionsDialogForced"] = L"True";
        (std::wstring(button) == L"OK" ? d.cmdOK : d.cmdApply).PlatformClick();
        EXPECT_TRUE(platform.messages.shown.empty());
        std::vector<std::wstring> written;
        for (const auto& [key, value] : settings().writes) {
            if (key != L"ShowSplashScreen") written.push_back(key);  // the show's start count
        }
        EXPECT_EQ(written, (std::vector<std::wstring>{L"HideMousePointer", L"DisplayInRandomOrder",
                                                      L"displayImageNumber",
                                                      L"DisplayImageFileName", L"Initialized"}));
        EXPECT_EQ(d.txtPathLocation.ToolTipText(), texts::kSetByAdministrator);
    }
    EXPECT_TRUE(window().Visible() && window().timTimer.Enabled()) << "OK handed over";
    EXPECT_EQ(window().strPath, L"C:\\Lobby");
}

// A bad value has the same effect wherever it comes from: every row is run with the value in
// the user's own store, in the user's policy and in the machine's policy.
struct BadValue {
    const wchar_t* key;
    const wchar_t* text;
    const char* mode;
    std::function<std::wstring(frmLumivue&)> read;  // what the window made of it
    const wchar_t* read_as;
};

std::wstring Seconds(frmLumivue& w) {
    return std::to_wstring(w.lngSecondsToDisplay);
}

const BadValue kBadValues[] = {
    {L"SecondsToDisplay", L"abc", "slide show", Seconds, L"0"},
    {L"SecondsToDisplay", L"", "slide show", Seconds, L"0"},
    {L"SecondsToDisplay", L"99999999999", "slide show", Seconds, L"0"},
    {L"SecondsToDisplay", L" 7.5 ", "slide show", Seconds, L"8"},
    {L"HideMousePointer", L"abc", "slide show", [](frmLumivue& w) { return w.strHideMousePointer; },
     L"abc"},
    {L"DisplayInRandomOrder", L"", "slide show",
     [](frmLumivue& w) { return w.strDisplayInRandomOrder; }, L"1"},
    {L"displayImageNumber", L"2", "slide show",
     [](frmLumivue& w) { return w.strDisplayImageNumber; }, L"2"},
    {L"DisplayImageFileName", L"-", "slide show",
     [](frmLumivue& w) { return w.strDisplayImageFileName; }, L"-"},
    {L"AlwaysOnTop", L"", "slide show", [](frmLumivue& w) { return w.strAlwaysOnTop; }, L""},
    {L"Path", L"", "options dialog", [](frmLumivue& w) { return w.strPath; }, L""},
    {L"Path", L"C:\\Nowhere", "slide show",
     [](frmLumivue& w) { return std::to_wstring(w.lngImageCount); }, L"0"},
};

void PrintTo(const std::tuple<BadValue, Source>& c, std::ostream* out) {
    const auto& [bad, source] = c;
    const std::wstring key = bad.key, text = bad.text;
    *out << std::string(key.begin(), key.end()) << " = \"" << std::string(text.begin(), text.end())
         << "\" in " << SourceName(source);
}

class BadValues : public PolicyTest,
                  public ::testing::WithParamInterface<std::tuple<BadValue, Source>> {};

TEST_P(BadValues, ReadTheSameFromTheUserAndFromPolicy) {
    const auto& [bad, source] = GetParam();
    platform.files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    Configure();
    // Good values of the user's own, which a bad policy value overrides all the same.
    for (const wchar_t* key : {L"AlwaysOnTop", L"HideMousePointer", L"DisplayInRandomOrder",
                               L"displayImageNumber", L"DisplayImageFileName"})
        settings().values[key] = L"0";
    settings().values[L"SecondsToDisplay"] = L"3";
    ValuesOf(source)[bad.key] = bad.text;
    Start(L"/s");
    EXPECT_EQ(ModeName(CurrentMode()), std::string(bad.mode));
    EXPECT_EQ(bad.read(window()), bad.read_as);
}

INSTANTIATE_TEST_SUITE_P(Policy, BadValues,
                         ::testing::Combine(::testing::ValuesIn(kBadValues),
                                            ::testing::Values(Source::Own, Source::UserPolicy,
                                                              Source::MachinePolicy)));

}  // namespace
}  // namespace glimra
