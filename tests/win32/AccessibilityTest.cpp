#include <gtest/gtest.h>

// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <oleacc.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/DialogFixture.h"

namespace glimra::win32 {
namespace {

using Microsoft::WRL::ComPtr;
using testing::DialogWindow;

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

// The children as AccessibleChildren hands them out: windows, or simple elements read in full.
std::vector<Reading> ChildrenOf(IAccessible& object) {
    LONG count = 0;
    object.get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG got = 0;
    AccessibleChildren(&object, 0, count, children.data(), &got);
    std::vector<Reading> readings;
    for (LONG i = 0; i < got; ++i) {
        VARIANT& child = children[static_cast<size_t>(i)];
        if (child.vt == VT_DISPATCH) {
            Reading window;
            ComPtr<IAccessible> inner;
            child.pdispVal->QueryInterface(kAccessibleId,
                                           reinterpret_cast<void**>(inner.GetAddressOf()));
            if (inner) WindowFromAccessibleObject(inner.Get(), &window.window);
            readings.push_back(window);
        } else if (child.vt == VT_I4) {
            readings.push_back(Read(object, child.lVal));
        }
        VariantClear(&child);
    }
    return readings;
}

LONG IdOfChildNamed(IAccessible& object, const std::wstring& name) {
    for (const Reading& child : ChildrenOf(object))
        if (child.id && child.name == name) return child.id;
    return 0;
}

class DialogAccessibility : public DialogWindow {
  protected:
    void SetUp() override {
        SetCursorPos(0, 0);  // away from the dialog, whose pages clear the hint under it
        DialogWindow::SetUp();
    }
    Reading WindowChild(const Control& control) {
        Reading reading;
        reading.window = Of(control);
        return reading;
    }
    Reading Text(const std::wstring& name, const std::wstring& tip = {}) {
        return {nullptr, 0, name, ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, tip};
    }
    Reading Graphic(const std::wstring& name) {
        return {nullptr, 0, name, ROLE_SYSTEM_GRAPHIC, STATE_SYSTEM_READONLY, {}};
    }
    Reading Link(const std::wstring& name, const std::wstring& tip = {}) {
        return {nullptr, 0, name, ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED, tip};
    }
    // The children with the ids left out, which only have to be distinct.
    std::vector<Reading> ChildrenWithoutIds(const Control& container) {
        std::vector<Reading> children = ChildrenOf(*ObjectOf(Of(container)).Get());
        for (Reading& child : children)
            child.id = 0;
        return children;
    }
};

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

class FirstStart : public DialogAccessibility {
  protected:
    void SetUp() override {
        freshStore = true;
        DialogAccessibility::SetUp();
    }
};

TEST_F(FirstStart, TheDialogIsADialogAndItsWelcomeIsReadWithThePage) {
    frmGlimraOptions& d = Dialog();
    EXPECT_EQ(Read(*ObjectOf(Window().Handle()).Get()).role, ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(ChildrenWithoutIds(d.fraSample1),
              (std::vector<Reading>{
                  WindowChild(d.txtPathLocation), WindowChild(d.cmdBrowse),
                  Text(L"Welcome! Please configure your options now. Choose a path from which to "
                       L"display pictures.")}));
}

TEST_F(DialogAccessibility, EachPageHoldsItsLabelsPicturesAndLinksInTabOrder) {
    frmGlimraOptions& d = Dialog();
    const std::wstring secondsTip = L"Amount of time to display each image";
    struct Page {
        const Control* frame;
        std::wstring name;
        std::vector<Reading> children;
    };
    const Page pages[] = {
        {&d.fraSample1,
         L"Choose folder from which images should be displayed",
         {WindowChild(d.txtPathLocation), WindowChild(d.cmdBrowse),
          Text(L"")}},  // the hint line, cleared when the dialog went to the stored folder
        {&d.fraSample3,
         L"Choose screen saver preferences",
         {Text(L"Display each image for", secondsTip), WindowChild(d.txtSecondsToDisplay),
          Text(L"seconds", secondsTip), WindowChild(d.chkMousePointer),
          WindowChild(d.chkAlwaysOnTop), WindowChild(d.chkRandomImages),
          WindowChild(d.chkDisplayImageNumber),
          Text(L"Image stats to display in upper left corner"), WindowChild(d.chkImageFileName)}},
        {&d.fraSample4,
         L"Preview the screen saver",
         {Graphic(L""), WindowChild(d.cmdPreview), Text(d.lblPreview.Caption())}},
        {&d.fraSample2,
         L"",
         {Graphic(L"Glimra ScreenSaver by the Glimra ScreenSaver developers"),
          Text(L"Glimra ScreenSaver"),                                  // its tip says the same
          Text(L"Free software by the Glimra ScreenSaver developers"),  // on two lines
          Text(L"Version 1.0.203"), Text(d.lblDistribution.Caption())}},
        {&d.fraSample5,
         L"Help using this screen saver",
         {Graphic(L"the Glimra ScreenSaver developers"), Link(L"Click here for Help"),
          Link(L"Click here to download latest version of Glimra ScreenSaver"),
          Text(d.lblComments.Caption()), Link(L"Glimra ScreenSaver Help", L"Click here for Help"),
          Text(L"Developer, the Glimra ScreenSaver developers"), Text(d.lblComments2.Caption()),
          Link(L"Download Latest Version",
               L"Click here to download the latest version of Glimra ScreenSaver")}},
    };
    for (int tab = 1; tab <= 5; ++tab) {
        const Page& page = pages[tab - 1];
        SCOPED_TRACE(tab);
        d.tbsOptions.SetSelectedItem(tab);
        const Reading frame = Read(*ObjectOf(Of(*page.frame)).Get());
        EXPECT_EQ(frame.name, page.name);
        EXPECT_EQ(frame.role, ROLE_SYSTEM_GROUPING);
        EXPECT_EQ(ChildrenWithoutIds(*page.frame), page.children);
    }
    Reading label = Text(L"Display each image for", secondsTip);
    label.state |= STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_OFFSCREEN;
    EXPECT_EQ(ChildrenWithoutIds(d.fraSample3).front(), label) << "on a page out of view";
}

TEST_F(DialogAccessibility, WhatIsHiddenIsAbsentUntilItIsShown) {
    frmGlimraOptions& d = Dialog();
    SendMessageW(Of(d.cmdBrowse), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(ChildrenWithoutIds(d.fraSample1),
              (std::vector<Reading>{WindowChild(d.txtPathLocation), WindowChild(d.cmdBrowse),
                                    WindowChild(d.DrivePath), WindowChild(d.DirPath),
                                    WindowChild(d.FilePath), Text(L""),
                                    Text(L"Images that will be displayed")}));
}

TEST_F(DialogAccessibility, AWindowlessChildIsWhereItIsDrawn) {
    frmGlimraOptions& d = Dialog();
    d.tbsOptions.SetSelectedItem(5);
    ComPtr<IAccessible> frame = ObjectOf(Of(d.fraSample5));
    const LONG id = IdOfChildNamed(*frame.Get(), L"Glimra ScreenSaver Help");
    const int dpi = Window().CurrentDpi();
    POINT corner{MulDiv(1920, dpi, 1440), MulDiv(2520, dpi, 1440)};
    ClientToScreen(Of(d.fraSample5), &corner);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(frame->accLocation(&left, &top, &width, &height, Child(id)), S_OK);
    EXPECT_EQ(
        std::vector<long>({left, top, width, height}),
        std::vector<long>({corner.x, corner.y, MulDiv(3015, dpi, 1440), MulDiv(255, dpi, 1440)}));
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(frame->accHitTest(left + width / 2, top + height / 2, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, id);
}

TEST_F(DialogAccessibility, ALinksDefaultActionOpensItsTargetOnceTheCallReturned) {
    frmGlimraOptions& d = Dialog();
    d.tbsOptions.SetSelectedItem(5);
    ComPtr<IAccessible> frame = ObjectOf(Of(d.fraSample5));
    const std::pair<std::wstring, std::wstring> links[] = {
        {L"Glimra ScreenSaver Help", d.strHelpPagePath},
        {L"Click here for Help", d.strHelpPagePath},
        {L"Download Latest Version", d.strDownloadAddress},
        {L"Click here to download latest version of Glimra ScreenSaver", d.strDownloadAddress},
    };
    for (const auto& [name, target] : links) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        const LONG id = IdOfChildNamed(*frame.Get(), name);
        BSTR action = nullptr;
        frame->get_accDefaultAction(Child(id), &action);
        EXPECT_EQ(Taken(action), L"Jump");
        shell.opened.clear();
        EXPECT_EQ(frame->accDoDefaultAction(Child(id)), S_OK);
        EXPECT_TRUE(shell.opened.empty()) << "the caller is not kept waiting";
        Pump();
        EXPECT_EQ(shell.opened, std::vector<std::wstring>{target});
    }
    shell.opened.clear();
    const LONG text = IdOfChildNamed(*frame.Get(), d.lblComments2.Caption());
    EXPECT_EQ(frame->accDoDefaultAction(Child(text)), DISP_E_MEMBERNOTFOUND) << "no link";
    const LONG help = IdOfChildNamed(*frame.Get(), L"Glimra ScreenSaver Help");
    d.tbsOptions.SetSelectedItem(1);
    frame->accDoDefaultAction(Child(help));
    Pump();
    EXPECT_TRUE(shell.opened.empty()) << "a link out of view opens nothing, as for a click";
}

// The events raised on this thread's windows for simple elements, as a screen reader gets them.
struct RaisedEvent {
    DWORD event;
    HWND window;
    LONG child;
    bool operator==(const RaisedEvent&) const = default;
};
std::vector<RaisedEvent> raised;

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                     DWORD) {
    if (object == OBJID_CLIENT && child != CHILDID_SELF) raised.push_back({event, window, child});
}

TEST_F(DialogAccessibility, TheHintLineTellsEachNewTextAsAChangeOfItsName) {
    frmGlimraOptions& d = Dialog();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE, nullptr, Record,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    const HWND page = Of(d.fraSample1);
    const LONG hint = IdOfChildNamed(*ObjectOf(page).Get(), L"");
    ASSERT_NE(hint, 0) << "the hint line, empty";
    SendMessageW(Of(d.cmdBrowse), BM_CLICK, 0, 0);
    Pump();
    auto click = [&](const Control& list) {
        SendMessageW(Of(list), LB_SETCURSEL, 0, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Of(list)), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Of(list)));
    };
    const std::pair<std::function<void()>, std::wstring> changes[] = {
        {[&] { click(d.DirPath); },
         L"Double click to select a folder from which images will be displayed"},
        {[&] { click(d.FilePath); }, L"All images listed will be displayed"},
        {[&] { SendMessageW(Of(d.cmdApply), BM_CLICK, 0, 0); },
         L"Images will be displayed from " + d.txtPathLocation.Text()},
        {[&] { d.ClearHint(); }, L""},
    };
    for (const auto& [change, text] : changes) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        raised.clear();
        change();
        Pump();
        EXPECT_EQ(raised, (std::vector<RaisedEvent>{{EVENT_OBJECT_NAMECHANGE, page, hint}}));
        ComPtr<IAccessible> object;
        VARIANT child;
        VariantInit(&child);
        AccessibleObjectFromEvent(page, static_cast<DWORD>(OBJID_CLIENT), hint,
                                  object.GetAddressOf(), &child);
        ASSERT_TRUE(object);
        EXPECT_EQ(Read(*object.Get(), child.lVal).name, text);
    }
    const LONG listLabel = IdOfChildNamed(*ObjectOf(page).Get(), L"Images that will be displayed");
    raised.clear();
    d.tbsOptions.SetSelectedItem(5);
    d.HighlightHelpLink();
    d.lblImagesToDisplay.SetVisible(false);
    Pump();
    EXPECT_EQ(raised, (std::vector<RaisedEvent>{{EVENT_OBJECT_HIDE, page, listLabel}}))
        << "a link's new look is no news; a hidden label is";
    UnhookWinEvent(hook);
}

TEST_F(DialogAccessibility, AnObjectKeptPastItsWindowAnswersAsDisconnected) {
    frmGlimraOptions& d = Dialog();
    ComPtr<IAccessible> page = ObjectOf(Of(d.fraSample1));
    ComPtr<IAccessible> box = ObjectOf(Of(d.txtPathLocation));
    ASSERT_TRUE(page && box);
    d.cmdCancel_Click();
    Pump();
    BSTR name = nullptr;
    EXPECT_EQ(box->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
    LONG count = 0;
    EXPECT_EQ(page->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(page->accDoDefaultAction(Child(1)), CO_E_OBJNOTCONNECTED);
}

}  // namespace
}  // namespace glimra::win32
