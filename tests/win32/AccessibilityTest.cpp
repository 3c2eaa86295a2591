#include <gtest/gtest.h>

// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <oleacc.h>
#include <wrl/client.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "settings/SettingKeys.h"
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

// No child, and an optional argument a late-bound client left out.
VARIANT Empty() {
    VARIANT child;
    VariantInit(&child);
    return child;
}
VARIANT Missing() {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_ERROR;
    child.scode = DISP_E_PARAMNOTFOUND;
    return child;
}

Reading ReadAs(IAccessible& object, const VARIANT& child) {
    Reading reading;
    BSTR text = nullptr;
    object.get_accName(child, &text);
    reading.name = Taken(text);
    text = nullptr;
    object.get_accDescription(child, &text);
    reading.description = Taken(text);
    VARIANT value;
    VariantInit(&value);
    if (object.get_accRole(child, &value) == S_OK && value.vt == VT_I4) reading.role = value.lVal;
    VariantInit(&value);
    if (object.get_accState(child, &value) == S_OK && value.vt == VT_I4) reading.state = value.lVal;
    return reading;
}

Reading Read(IAccessible& object, LONG id = CHILDID_SELF) {
    Reading reading = ReadAs(object, Child(id));
    reading.id = id;
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

// The children as AccessibleChildren hands them out, shown and hidden: windows (whose reading
// holds only whether they are invisible), or simple elements read in full.
std::vector<Reading> AllChildrenOf(IAccessible& object) {
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
            // As a reader reads it: the window's client area, which says whether it is shown.
            if (const ComPtr<IAccessible> client = ObjectOf(window.window))
                window.state = Read(*client.Get()).state & STATE_SYSTEM_INVISIBLE;
            readings.push_back(window);
        } else if (child.vt == VT_I4) {
            readings.push_back(Read(object, child.lVal));
        }
        VariantClear(&child);
    }
    return readings;
}

// What a screen reader reads: the children that are not invisible.
std::vector<Reading> ChildrenOf(IAccessible& object) {
    std::vector<Reading> readings = AllChildrenOf(object);
    std::erase_if(readings, [](const Reading& r) { return r.state & STATE_SYSTEM_INVISIBLE; });
    return readings;
}

// The id of the child in view of that name (and role, when one is given), window or simple
// element, or 0.
LONG IdOfChildNamed(IAccessible& object, const std::wstring& name, LONG role = 0) {
    LONG count = 0;
    object.get_accChildCount(&count);
    for (LONG id = 1; id <= count; ++id) {
        const Reading child = Read(object, id);
        if (!(child.state & STATE_SYSTEM_INVISIBLE) && child.name == name &&
            (role == 0 || child.role == role))
            return id;
    }
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
    // A link the keyboard reaches: the window that stands in for it.
    Reading LinkChild(const Control& link) {
        Reading reading;
        reading.window = Window().StandInOf(link);
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
    // A link the keyboard reaches too.
    Reading FocusableLink(const std::wstring& name, const std::wstring& tip) {
        return {nullptr, 0, name, ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE,
                tip};
    }
    static Reading Hidden(Reading reading, LONG more = 0) {
        reading.state |= STATE_SYSTEM_INVISIBLE | more;
        return reading;
    }
    // The children with the ids left out, which only have to be distinct.
    std::vector<Reading> ChildrenWithoutIds(const Control& container, bool hidden = false) {
        const ComPtr<IAccessible> object = ObjectOf(Of(container));
        std::vector<Reading> children =
            hidden ? AllChildrenOf(*object.Get()) : ChildrenOf(*object.Get());
        for (Reading& child : children)
            child.id = 0;
        return children;
    }
};

// Each in words of the dialog's own, none of them the frame's caption.
TEST_F(DialogAccessibility, EachFocusableControlIsNamedAsASightedUserReadsIt) {
    frmGlimraOptions& d = Dialog();
    SendMessageW(Of(d.cmdBrowse), BM_CLICK, 0, 0);  // shows the lists and their label
    Pump();
    const std::pair<const Control*, std::wstring> names[] = {
        {&d.txtPathLocation, L"Path from which to display pictures"},
        {&d.cmdBrowse, L"Browse"},
        {&d.DrivePath, L"Drive or disk"},
        {&d.DirPath, L"Folder from which images will be displayed"},
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

// In reading order, top to bottom and left to right, whatever the tab order: a heading before
// what it heads, the version before the copyright. Each link is one object, its icon read with
// it.
TEST_F(DialogAccessibility, EachPageHoldsItsLabelsPicturesAndLinksInReadingOrder) {
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
          Text(L"Image stats to display in upper left corner"),
          WindowChild(d.chkDisplayImageNumber), WindowChild(d.chkImageFileName)}},
        {&d.fraSample4,
         L"Preview the screen saver",
         {Graphic(L"Preview the screen saver"), WindowChild(d.cmdPreview),
          Text(d.lblPreview.Caption())}},
        {&d.fraSample2,
         L"",
         {Graphic(L"Glimra ScreenSaver by the Glimra ScreenSaver developers"),
          Text(L"Glimra ScreenSaver"),  // its tip says the same
          Text(L"Version 1.0.203"),
          Text(L"Free software by the Glimra ScreenSaver developers"),  // on two lines
          Text(d.lblDistribution.Caption())}},
        {&d.fraSample5,
         L"Help using this screen saver",
         {Graphic(L"the Glimra ScreenSaver developers"), Text(d.lblComments.Caption()),
          Text(L"Developer, the Glimra ScreenSaver developers"), Text(d.lblComments2.Caption()),
          LinkChild(d.lblHelpLink), LinkChild(d.lblDownloadLink)}},
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

// Hidden children keep their places, as invisible, so that child ids stay what they were.
TEST_F(DialogAccessibility, WhatIsHiddenIsThereAsInvisibleUntilItIsShown) {
    frmGlimraOptions& d = Dialog();
    const Reading notice = Hidden(Text(L""), STATE_SYSTEM_OFFSCREEN);  // never shown
    EXPECT_EQ(ChildrenWithoutIds(d.fraSample1, true),
              (std::vector<Reading>{
                  notice, WindowChild(d.txtPathLocation), WindowChild(d.cmdBrowse),
                  Hidden(WindowChild(d.DrivePath)), Hidden(Text(L"Images that will be displayed")),
                  Hidden(WindowChild(d.DirPath)), Hidden(WindowChild(d.FilePath)), Text(L"")}));
    SendMessageW(Of(d.cmdBrowse), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(
        ChildrenWithoutIds(d.fraSample1, true),
        (std::vector<Reading>{notice, WindowChild(d.txtPathLocation), WindowChild(d.cmdBrowse),
                              WindowChild(d.DrivePath), Text(L"Images that will be displayed"),
                              WindowChild(d.DirPath), WindowChild(d.FilePath), Text(L"")}));
}

// A child as an enumeration, a navigation or a hit test hands it out: a window's object, told
// by its window, or a simple element, by its id.
struct Handed {
    HWND window = nullptr;
    LONG id = 0;
    bool operator==(const Handed&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Handed& handed) {
    return out << "{window " << handed.window << ", id " << handed.id << "}";
}
Handed HandedOut(VARIANT& child) {
    Handed handed;
    if (child.vt == VT_I4) handed.id = child.lVal;
    ComPtr<IAccessible> inner;
    if (child.vt == VT_DISPATCH && child.pdispVal)
        child.pdispVal->QueryInterface(kAccessibleId,
                                       reinterpret_cast<void**>(inner.GetAddressOf()));
    if (inner) WindowFromAccessibleObject(inner.Get(), &handed.window);
    VariantClear(&child);
    return handed;
}

// Ids stay in tab order, whatever moves; the enumeration and the navigation hand each child out
// once, in reading order.
TEST_F(DialogAccessibility, ChildIdsRunFromOneToTheCountAndEachChildIsHandedOutOnce) {
    frmGlimraOptions& d = Dialog();
    std::vector<HWND> areas{Window().Handle()};
    for (const Control* control : d.AllControls()) {
        if (control->Kind() == ControlKind::Frame || control->Kind() == ControlKind::PictureBox)
            areas.push_back(Of(*control));
    }
    for (const HWND area : areas) {
        SCOPED_TRACE(area);
        ComPtr<IAccessible> object = ObjectOf(area);
        ASSERT_TRUE(object);
        LONG count = 0;
        ASSERT_EQ(object->get_accChildCount(&count), S_OK);
        std::vector<Handed> byId;
        for (LONG id = 1; id <= count; ++id) {
            VARIANT child;
            VariantInit(&child);
            IDispatch* window = nullptr;
            const HRESULT answer = object->get_accChild(Child(id), &window);
            EXPECT_TRUE(answer == S_OK || answer == S_FALSE) << id;
            child.vt = answer == S_OK ? VT_DISPATCH : VT_I4;
            if (answer == S_OK) child.pdispVal = window;
            if (answer != S_OK) child.lVal = id;
            byId.push_back(HandedOut(child));
        }
        IDispatch* none = nullptr;
        EXPECT_EQ(object->get_accChild(Child(count + 1), &none), E_INVALIDARG);

        ComPtr<IEnumVARIANT> items;
        ASSERT_EQ(object.As(&items), S_OK);
        items->Reset();
        std::vector<VARIANT> got(static_cast<size_t>(count) + 1);
        ULONG fetched = 0;
        items->Next(static_cast<ULONG>(got.size()), got.data(), &fetched);
        std::vector<Handed> enumerated;
        for (ULONG i = 0; i < fetched; ++i)
            enumerated.push_back(HandedOut(got[i]));
        const auto sorted = [](std::vector<Handed> handed) {
            std::sort(handed.begin(), handed.end(), [](const Handed& a, const Handed& b) {
                return std::pair{a.window, a.id} < std::pair{b.window, b.id};
            });
            return handed;
        };
        EXPECT_EQ(sorted(enumerated), sorted(byId)) << "the enumeration";

        std::vector<Handed> navigated;
        VARIANT at;
        VariantInit(&at);
        HRESULT step = object->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &at);
        for (LONG i = 0; step == S_OK && i <= count; ++i) {
            navigated.push_back(HandedOut(at));
            const auto from = std::find(byId.begin(), byId.end(), navigated.back());
            step = object->accNavigate(NAVDIR_NEXT, Child(LONG(from - byId.begin()) + 1), &at);
        }
        EXPECT_EQ(navigated, enumerated) << "the first child, then each next one";

        // What lies in the middle of a child in view is that child, unless another covers it.
        for (LONG id = 1; id <= count; ++id) {
            const Reading child = Read(*object.Get(), id);
            long left = 0, top = 0, width = 0, height = 0;
            if (child.state & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN) ||
                object->accLocation(&left, &top, &width, &height, Child(id)) != S_OK ||
                width <= 0 || height <= 0)
                continue;
            const POINT middle{left + width / 2, top + height / 2};
            const HWND under = WindowFromPoint(middle);
            if (under != area && under != byId[static_cast<size_t>(id) - 1].window) continue;
            VARIANT hit;
            VariantInit(&hit);
            ASSERT_EQ(object->accHitTest(middle.x, middle.y, &hit), S_OK) << id;
            EXPECT_EQ(HandedOut(hit), byId[static_cast<size_t>(id) - 1]) << id;
        }
    }
}

TEST_F(DialogAccessibility, NoChildAndAMissingArgumentStandForTheObjectItself) {
    frmGlimraOptions& d = Dialog();
    const HWND windows[] = {Window().Handle(), Of(d.picOptions[0]), Of(d.fraSample1),
                            Of(d.txtPathLocation), Of(d.cmdBrowse)};
    for (const HWND window : windows) {
        ComPtr<IAccessible> object = ObjectOf(window);
        ASSERT_TRUE(object);
        Reading self = Read(*object.Get());
        self.id = 0;
        long place[4] = {}, placeAs[4] = {};
        object->accLocation(&place[0], &place[1], &place[2], &place[3], Child(CHILDID_SELF));
        for (const VARIANT& as : {Empty(), Missing()}) {
            SCOPED_TRACE(::testing::Message()
                         << window << (as.vt == VT_EMPTY ? " empty" : " missing"));
            EXPECT_EQ(ReadAs(*object.Get(), as), self);
            EXPECT_EQ(object->accLocation(&placeAs[0], &placeAs[1], &placeAs[2], &placeAs[3], as),
                      S_OK);
            EXPECT_TRUE(std::equal(place, place + 4, placeAs));
        }
    }
}

// A property read through IDispatch, as late-bound clients read it, as text.
std::wstring LateBound(IAccessible& object, const wchar_t* property, std::optional<VARIANT> child) {
    std::wstring name = property;
    LPOLESTR names[] = {name.data()};
    DISPID member = 0;
    if (FAILED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member)))
        return L"no such property";
    VARIANT argument = child.value_or(Empty());
    DISPPARAMS params{&argument, nullptr, child ? 1u : 0u, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    UINT wrong = 0;
    const HRESULT answer =
        object.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, &result,
                      &exception, &wrong);
    if (FAILED(answer)) return L"failed";
    if (result.vt == VT_EMPTY) return L"";
    VariantChangeType(&result, &result, 0, VT_BSTR);
    std::wstring text = result.vt == VT_BSTR && result.bstrVal ? result.bstrVal : L"?";
    VariantClear(&result);
    return text;
}

TEST_F(DialogAccessibility, LateBoundClientsReadWhatEarlyBoundOnesRead) {
    frmGlimraOptions& d = Dialog();
    ComPtr<IAccessible> dialog = ObjectOf(Window().Handle());
    ComPtr<IAccessible> page = ObjectOf(Of(d.fraSample1));
    ComPtr<IAccessible> preferences = ObjectOf(Of(d.fraSample3));
    ComPtr<IAccessible> box = ObjectOf(Of(d.txtPathLocation));
    UINT types = 0;
    ASSERT_EQ(page->GetTypeInfoCount(&types), S_OK);
    ASSERT_EQ(types, 1u) << "IAccessible described by the platform's type library";
    const LONG label = IdOfChildNamed(*preferences.Get(), L"Display each image for");
    LONG count = 0;
    preferences->get_accChildCount(&count);
    const std::wstring folder = L"Choose folder from which images should be displayed";
    struct Question {
        IAccessible* object;
        const wchar_t* property;
        std::optional<VARIANT> child;  // none: left out
        std::wstring answer;
    };
    VARIANT shortLabel;  // as a script passes a small number
    VariantInit(&shortLabel);
    shortLabel.vt = VT_I2;
    shortLabel.iVal = static_cast<SHORT>(label);
    const Question questions[] = {
        {dialog.Get(), L"accRole", {}, std::to_wstring(ROLE_SYSTEM_DIALOG)},
        {dialog.Get(), L"accRole", Child(CHILDID_SELF), std::to_wstring(ROLE_SYSTEM_DIALOG)},
        {page.Get(), L"accName", {}, folder},
        {page.Get(), L"accRole", {}, std::to_wstring(ROLE_SYSTEM_GROUPING)},
        {box.Get(), L"accName", {}, L"Path from which to display pictures"},
        {preferences.Get(), L"accName", Child(label), L"Display each image for"},
        {preferences.Get(), L"accName", shortLabel, L"Display each image for"},
        {preferences.Get(), L"accDescription", Child(label),
         L"Amount of time to display each image"},
        {preferences.Get(), L"accRole", Child(label), std::to_wstring(ROLE_SYSTEM_STATICTEXT)},
        {preferences.Get(), L"accChildCount", {}, std::to_wstring(count)},
    };
    for (const Question& question : questions) {
        SCOPED_TRACE(::testing::Message() << "question " << &question - questions);
        EXPECT_EQ(LateBound(*question.object, question.property, question.child), question.answer);
    }
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
    // The link, over its text or its icon: the window that stands in for it.
    const HWND standIn = Window().StandInOf(d.lblHelpLink);
    POINT icon{MulDiv(1320 + 240, dpi, 1440), MulDiv(2520 + 240, dpi, 1440)};
    ClientToScreen(Of(d.fraSample5), &icon);
    for (const POINT at : {POINT{left + width / 2, top + height / 2}, icon}) {
        VARIANT hit;
        VariantInit(&hit);
        ASSERT_EQ(frame->accHitTest(at.x, at.y, &hit), S_OK);
        EXPECT_EQ(HandedOut(hit), (Handed{standIn, 0}));
    }
}

TEST_F(DialogAccessibility, ALinksDefaultActionOpensItsTargetOnceTheCallReturned) {
    frmGlimraOptions& d = Dialog();
    d.tbsOptions.SetSelectedItem(5);
    ComPtr<IAccessible> frame = ObjectOf(Of(d.fraSample5));
    const std::pair<std::wstring, std::wstring> links[] = {
        {L"Glimra ScreenSaver Help", d.strHelpPagePath},
        {L"Download Latest Version", d.strDownloadAddress},
    };
    EXPECT_EQ(IdOfChildNamed(*frame.Get(), L"Click here for Help"), 0) << "read with its link";
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

// The focus of a link the keyboard reaches is on the window that stands in for it: the link is
// focused, and the window itself is read as the link, whose default action it runs.
TEST_F(DialogAccessibility, AKeyboardLinkIsFocusedWhileItsStandInHasTheFocus) {
    frmGlimraOptions& d = Dialog();
    d.tbsOptions.SetSelectedItem(5);
    Pump();
    ComPtr<IAccessible> frame = ObjectOf(Of(d.fraSample5));
    const LONG id = IdOfChildNamed(*frame.Get(), L"Glimra ScreenSaver Help");
    const HWND standIn = Window().Controls().StandInOf(d.lblHelpLink);
    ASSERT_TRUE(standIn && id);
    Reading link = FocusableLink(L"Glimra ScreenSaver Help", L"Click here for Help");
    link.id = id;
    EXPECT_EQ(Read(*frame.Get(), id), link);
    SetFocus(standIn);
    link.state |= STATE_SYSTEM_FOCUSED;
    EXPECT_EQ(Read(*frame.Get(), id), link) << "the link on its page";
    VARIANT focus;
    VariantInit(&focus);
    ASSERT_EQ(frame->get_accFocus(&focus), S_OK);
    EXPECT_EQ(HandedOut(focus), (Handed{standIn, 0})) << "the page's focus is the link";
    ComPtr<IAccessible> own = ObjectOf(standIn);
    ASSERT_TRUE(own);
    link.id = CHILDID_SELF;
    EXPECT_EQ(Read(*own.Get()), link) << "the window standing in for it";
    long place[4] = {}, ownPlace[4] = {};
    frame->accLocation(&place[0], &place[1], &place[2], &place[3], Child(id));
    own->accLocation(&ownPlace[0], &ownPlace[1], &ownPlace[2], &ownPlace[3], Child(CHILDID_SELF));
    EXPECT_TRUE(std::equal(place, place + 4, ownPlace)) << "where the link is drawn";
    shell.opened.clear();
    EXPECT_EQ(own->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
    Pump();
    EXPECT_EQ(shell.opened, std::vector<std::wstring>{d.strHelpPagePath});
    SetFocus(Of(d.cmdOK));
    EXPECT_FALSE(Read(*frame.Get(), id).state & STATE_SYSTEM_FOCUSED);
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

TEST_F(DialogAccessibility, TheHintLineTellsEachNewTextAsAChangeOfItsNameAndOfALiveRegion) {
    frmGlimraOptions& d = Dialog();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE, nullptr, Record,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const HWINEVENTHOOK live =
        SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                        Record, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook && live);
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
        std::vector<RaisedEvent> expected{{EVENT_OBJECT_NAMECHANGE, page, hint}};
        // An emptied hint line has nothing to read out.
        if (!text.empty()) expected.push_back({EVENT_OBJECT_LIVEREGIONCHANGED, page, hint});
        EXPECT_EQ(raised, expected);
        ComPtr<IAccessible> object;
        VARIANT child;
        VariantInit(&child);
        AccessibleObjectFromEvent(page, static_cast<DWORD>(OBJID_CLIENT), hint,
                                  object.GetAddressOf(), &child);
        ASSERT_TRUE(object);
        EXPECT_EQ(Read(*object.Get(), child.lVal).name, text);
    }
    const LONG listLabel = IdOfChildNamed(*ObjectOf(page).Get(), L"Images that will be displayed",
                                          ROLE_SYSTEM_STATICTEXT);
    raised.clear();
    d.tbsOptions.SetSelectedItem(5);
    d.HighlightHelpLink();
    d.lblImagesToDisplay.SetVisible(false);
    Pump();
    EXPECT_EQ(raised, (std::vector<RaisedEvent>{{EVENT_OBJECT_HIDE, page, listLabel}}))
        << "a link's new look is no news; a hidden label is";
    UnhookWinEvent(hook);
    UnhookWinEvent(live);
}

// A client may keep an object past its window, and past the forms the window showed.
TEST_F(DialogAccessibility, AnObjectKeptPastItsWindowAnswersAsDisconnected) {
    frmGlimraOptions& d = Dialog();
    ComPtr<IAccessible> page = ObjectOf(Of(d.fraSample1));
    ComPtr<IEnumVARIANT> items, copy;
    ASSERT_EQ(page.As(&items), S_OK);
    ASSERT_EQ(items->Clone(&copy), S_OK);
    ComPtr<IAccessible> copied;
    ASSERT_EQ(copy.As(&copied), S_OK);
    const std::pair<const char*, ComPtr<IAccessible>> kept[] = {
        {"dialog", ObjectOf(Window().Handle())},
        {"page", ObjectOf(Of(d.picOptions[0]))},
        {"frame", page},
        {"copy of the frame", copied},
        {"text box", ObjectOf(Of(d.txtPathLocation))},
    };
    using Call = std::function<HRESULT(IAccessible&)>;
    const std::pair<const char*, Call> calls[] = {
        {"name",
         [](IAccessible& o) {
             BSTR t = nullptr;
             const HRESULT r = o.get_accName(Child(CHILDID_SELF), &t);
             SysFreeString(t);
             return r;
         }},
        {"role",
         [](IAccessible& o) {
             VARIANT v;
             VariantInit(&v);
             return o.get_accRole(Child(CHILDID_SELF), &v);
         }},
        {"state",
         [](IAccessible& o) {
             VARIANT v;
             VariantInit(&v);
             return o.get_accState(Empty(), &v);
         }},
        {"child count",
         [](IAccessible& o) {
             LONG n = 0;
             return o.get_accChildCount(&n);
         }},
        {"child",
         [](IAccessible& o) {
             IDispatch* c = nullptr;
             return o.get_accChild(Child(1), &c);
         }},
        {"navigation",
         [](IAccessible& o) {
             VARIANT v;
             VariantInit(&v);
             return o.accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &v);
         }},
        {"default action", [](IAccessible& o) { return o.accDoDefaultAction(Child(1)); }},
        {"parent",
         [](IAccessible& o) {
             IDispatch* p = nullptr;
             return o.get_accParent(&p);
         }},
        {"late-bound name",
         [](IAccessible& o) {
             DISPPARAMS none{};
             VARIANT v;
             VariantInit(&v);
             return o.Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr,
                             nullptr);
         }},
        {"window",
         [](IAccessible& o) {
             ComPtr<IOleWindow> w;
             HWND h = nullptr;
             return SUCCEEDED(o.QueryInterface(IID_IOleWindow,
                                               reinterpret_cast<void**>(w.GetAddressOf())))
                        ? w->GetWindow(&h)
                        : E_NOINTERFACE;
         }},
        {"enumeration",
         [](IAccessible& o) {
             ComPtr<IEnumVARIANT> e;
             VARIANT v;
             ULONG n = 0;
             return SUCCEEDED(o.QueryInterface(IID_IEnumVARIANT,
                                               reinterpret_cast<void**>(e.GetAddressOf())))
                        ? e->Next(1, &v, &n)
                        : CO_E_OBJNOTCONNECTED;
         }},
    };
    const auto expectDisconnected = [&](const char* when) {
        for (const auto& [what, object] : kept) {
            for (const auto& [call, ask] : calls) {
                SCOPED_TRACE(::testing::Message() << when << ": " << call << " of the " << what);
                EXPECT_EQ(ask(*object.Get()), CO_E_OBJNOTCONNECTED);
            }
        }
    };
    d.cmdCancel_Click();
    Pump();
    expectDisconnected("dialog unloaded");
    program.reset();  // the forms themselves are gone
    expectDisconnected("program gone");
    program = std::make_unique<ScreenSaverProgram>(ports, &peers);  // for the tear-down
}

TEST_F(DialogAccessibility, TipsAreWrittenInTheSystemsTipFontAtTheWindowsResolution) {
    const HWND tips = Window().Tips().Handle();
    const auto systemHeight = [](int dpi) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                   static_cast<UINT>(dpi));
        return metrics.lfStatusFont.lfHeight;
    };
    const auto tipHeight = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(tips, WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        return font.lfHeight;
    };
    ASSERT_EQ(Window().CurrentDpi(), 96);
    EXPECT_EQ(tipHeight(), systemHeight(96));
    RECT outer;
    GetWindowRect(Window().Handle(), &outer);
    RECT suggested{outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                   outer.top + (outer.bottom - outer.top) * 3 / 2};
    SendMessageW(Window().Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(tipHeight(), systemHeight(144));
    EXPECT_EQ(systemHeight(144), MulDiv(systemHeight(96), 144, 96)) << "half as large again";
}

// The system commands that reach the platform's default handling, which asks this hook first.
std::vector<WPARAM> defaultCommands;

LRESULT CALLBACK WatchDefaultCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HCBT_SYSCOMMAND) return CallNextHookEx(nullptr, code, wParam, lParam);
    defaultCommands.push_back(wParam & 0xFFF0);
    return 1;  // refused: nothing is started, no monitor is turned off
}

// The real slide-show window, full screen over the fake platform's pictures.
class FullScreenShow : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.program.arguments = L"/s";
        platform.settings.values = {{keys::kPath, L"C:\\Pictures"}, {keys::kInitialized, L"True"}};
        program.Start();
        Pump();
    }
    void TearDown() override {
        if (program.lumivue.Loaded()) program.lumivue.PlatformClose();
        Pump();
    }
    HWND Show() {
        const auto* peer = static_cast<FormWindow*>(program.lumivue.Peer());
        return peer ? peer->Handle() : nullptr;
    }
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageW(&message, nullptr, WM_TIMER + 1, UINT_MAX, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    fakes::FakePlatform platform;
    WicPictureLoader designLoader{GetModuleHandleW(nullptr), 1024, 768, 96};
    DesignPictures designPictures{GetModuleHandleW(nullptr), designLoader, nullptr};
    Win32PeerFactory peers{platform.screen, {nullptr, nullptr, designPictures, nullptr}};
    ScreenSaverProgram program{platform.ports, &peers};
};

// Every start loads the dialog hidden behind the show, without the windows of its controls.
TEST_F(FullScreenShow, TheDialogLoadedBehindItHasItsControlsAsInvisibleChildren) {
    ASSERT_TRUE(program.options.Loaded() && !program.options.Visible());
    const auto* peer = static_cast<FormWindow*>(program.options.Peer());
    ASSERT_TRUE(peer && peer->Handle());
    ComPtr<IAccessible> dialog = ObjectOf(peer->Handle());
    ASSERT_TRUE(dialog);
    LONG count = 0;
    dialog->get_accChildCount(&count);
    const std::vector<Reading> children = AllChildrenOf(*dialog.Get());
    ASSERT_EQ(std::ssize(children), count);
    ASSERT_GT(count, 0);
    for (const Reading& child : children) {
        SCOPED_TRACE(::testing::Message() << child);
        EXPECT_FALSE(child.window) << "no window made yet: a simple element";
        EXPECT_TRUE(child.state & STATE_SYSTEM_INVISIBLE);
    }
    const auto has = [&](const std::wstring& name, LONG role) {
        return std::any_of(children.begin(), children.end(), [&](const Reading& child) {
            return child.name == name && child.role == role;
        });
    };
    EXPECT_TRUE(has(L"OK", ROLE_SYSTEM_PUSHBUTTON));
    EXPECT_TRUE(has(L"", ROLE_SYSTEM_PAGETABLIST));
}

// The idle timeout comes again during a long show: the show is the screen saver already.
TEST_F(FullScreenShow, IgnoresTheSystemsRequestToStartTheScreenSaver) {
    const HWND show = Show();
    ASSERT_TRUE(show && IsWindowVisible(show));
    const HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    const HHOOK hook =
        SetWindowsHookExW(WH_CBT, WatchDefaultCommands, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    struct Case {
        HWND window;
        WPARAM command;
        bool reachesDefault;
    };
    const Case cases[] = {
        {plain, SC_SCREENSAVE, true},  // the watch sees what the platform handles
        {show, SC_SCREENSAVE, false},
        {show, SC_SCREENSAVE | 2, false},  // the low four bits are the platform's own
        {show, SC_MONITORPOWER, true},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(::testing::Message()
                     << (each.window == show ? "show " : "plain ") << each.command);
        defaultCommands.clear();
        EXPECT_EQ(SendMessageW(each.window, WM_SYSCOMMAND, each.command, 0), 0);
        Pump();
        EXPECT_EQ(defaultCommands.size(), each.reachesDefault ? 1u : 0u);
    }
    UnhookWindowsHookEx(hook);
    DestroyWindow(plain);
    EXPECT_TRUE(program.lumivue.Loaded() && IsWindowVisible(show)) << "the show goes on";
}

}  // namespace
}  // namespace glimra::win32
