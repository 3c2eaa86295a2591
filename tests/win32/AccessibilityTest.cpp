#include <gtest/gtest.h>

// clang-format off
#include "win32/Windows.h"
// clang-format on
#include <oleacc.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "win32/DialogFixture.h"

namespace glimra::win32 {
namespace {

using Microsoft::WRL::ComPtr;

// The import library's IID_IAccessible is a thunk, not the interface id.
constexpr IID kAccessibleId = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

VARIANT Child(LONG id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::wstring Taken(BSTR text) {
    std::wstring value = text ? text : L"";
    SysFreeString(text);
    return value;
}

// What a screen reader reads of an object or of one of its simple elements.
struct Reading {
    HWND window = nullptr;  // a child that is a window of its own
    LONG id = 0;            // a simple element of the object
    std::wstring name;
    LONG role = 0;
    LONG state = 0;
    std::wstring description;
    bool operator==(const Reading&) const = default;
};

Reading Read(IAccessible& object, LONG id = CHILDID_SELF) {
    Reading reading;
    reading.id = id;
    BSTR text = nullptr;
    object.get_accName(Child(id), &text);
    reading.name = Taken(text);
    text = nullptr;
    object.get_accDescription(Child(id), &text);
    reading.description = Taken(text);
    VARIANT value;
    VariantInit(&value);
    if (object.get_accRole(Child(id), &value) == S_OK && value.vt == VT_I4)
        reading.role = value.lVal;
    VariantInit(&value);
    if (object.get_accState(Child(id), &value) == S_OK && value.vt == VT_I4)
        reading.state = value.lVal;
    return reading;
}

std::ostream& operator<<(std::ostream& out, const Reading& reading) {
    const std::string name(reading.name.begin(), reading.name.end());
    return out << "{window " << reading.window << ", id " << reading.id << ", \"" << name
               << "\", role " << reading.role << ", state 0x" << std::hex << reading.state
               << std::dec << "}";
}

ComPtr<IAccessible> ObjectOf(HWND hwnd) {
    ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kAccessibleId,
                               reinterpret_cast<void**>(object.GetAddressOf()));
    return object;
}

class DialogAccessibility : public DialogWindow {};

TEST_F(DialogAccessibility, EachFocusableControlIsNamedAsASightedUserReadsIt) {
    frmGlimraOptions& d = Dialog();
    SendMessageW(Of(d.cmdBrowse), BM_CLICK, 0, 0);  // shows the lists and their label
    Pump();
    const std::wstring folderFrame = L"Choose folder from which images should be displayed";
    const std::pair<const Control*, std::wstring> names[] = {
        {&d.txtPathLocation, folderFrame},
        {&d.cmdBrowse, L"Browse"},
        {&d.DrivePath, folderFrame},
        {&d.DirPath, folderFrame},
        {&d.FilePath, L"Images that will be displayed"},
        {&d.txtSecondsToDisplay, L"Display each image for \u2026 seconds"},
        {&d.chkMousePointer, L"Hide mouse pointer"},
        {&d.chkAlwaysOnTop, L"Screen saver always on top"},
        {&d.chkRandomImages, L"Display images in random order"},
        {&d.chkDisplayImageNumber, L"Image number in sequence of images"},
        {&d.chkImageFileName, L"Image file path & file name"},
        {&d.cmdPreview, L"Preview"},
        {&d.cmdOK, L"OK"},
        {&d.cmdCancel, L"Cancel"},
        {&d.cmdApply, L"Apply"},
    };
    for (const auto& [control, name] : names) {
        SCOPED_TRACE(std::string(control->Name().begin(), control->Name().end()));
        ComPtr<IAccessible> object = ObjectOf(Of(*control));
        ASSERT_TRUE(object);
        // Role and state are the platform's own; name and description are the dialog's.
        ComPtr<IAccessible> standard;
        CreateStdAccessibleObject(Of(*control), static_cast<DWORD>(OBJID_CLIENT), kAccessibleId,
                                  reinterpret_cast<void**>(standard.GetAddressOf()));
        Reading expected = Read(*standard.Get());
        expected.name = name;
        if (!control->ToolTipText().empty()) expected.description = control->ToolTipText();
        EXPECT_EQ(Read(*object.Get()), expected);
    }
}

}  // namespace
}  // namespace glimra::win32
