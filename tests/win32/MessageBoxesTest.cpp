#include <gtest/gtest.h>

#include <vector>

#include "win32/DialogProbe.h"
#include "win32/system/Win32MessageBoxes.h"

namespace glimra::win32 {
namespace {

using testing::DialogProbe;

// A plain top-level window standing in for the options dialog.
class OwnerWindow {
  public:
    OwnerWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"Glimra ScreenSaver Options", WS_OVERLAPPEDWINDOW,
                                  0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr)) {}
    ~OwnerWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

  private:
    HWND window_;
};

TEST(Win32MessageBoxes, ShowTheTextAndCaptionWithTheAskedButtonsAndNoIcon) {
    const std::wstring folderMessage =
        L"Please select the Location of Files tab, then click the Browse button and choose a "
        L"folder from which the screen saver should display pictures.";
    const std::wstring noPictures =
        L"There are no pictures in the selected folder. Do you wish to browse for a different "
        L"folder?";
    const struct {
        std::wstring text;
        std::wstring caption;
        MessageButtons buttons;
        int press;
        MessageAnswer answer;
        std::vector<int> expectedButtons;
    } cases[] = {
        {folderMessage, L"Glimra ScreenSaver", MessageButtons::Ok, IDOK, MessageAnswer::Ok, {IDOK}},
        {noPictures,
         L"No pictures to display",
         MessageButtons::YesNo,
         IDYES,
         MessageAnswer::Yes,
         {IDYES, IDNO}},
        {noPictures,
         L"No pictures to display",
         MessageButtons::YesNo,
         IDNO,
         MessageAnswer::No,
         {IDYES, IDNO}},
        // Wide texts all the way: nothing passes through the system's 8-bit code page.
        {L"Bilder in \u201EF\u00E9ri\u00EB\u201C \u2013 \u65E5\u672C \u03A9",
         L"Glimra \u2014 \u0417\u0430\u0441\u0442\u0430\u0432\u043A\u0430",
         MessageButtons::Ok,
         IDOK,
         MessageAnswer::Ok,
         {IDOK}},
    };

    HWND owner = nullptr;
    // The owner is asked for when a box is shown, not when the boxes are made.
    Win32MessageBoxes boxes([&] { return owner; });
    const OwnerWindow dialog;
    owner = dialog.Get();
    for (const auto& c : cases) {
        DialogProbe probe(c.press);
        EXPECT_EQ(boxes.Show(c.text, c.caption, c.buttons), c.answer) << c.text;
        ASSERT_TRUE(probe.seen) << "no message box appeared: " << c.text;
        EXPECT_EQ(probe.seen->text, c.text);
        EXPECT_EQ(probe.seen->caption, c.caption);
        EXPECT_EQ(probe.seen->buttons, c.expectedButtons) << c.text;
        EXPECT_FALSE(probe.seen->icon) << c.text;
        EXPECT_EQ(probe.seen->owner, owner) << "owned by the dialog";
        EXPECT_FALSE(probe.seen->ownerEnabled) << "the dialog takes no input meanwhile";
        EXPECT_TRUE(IsWindowEnabled(owner)) << "and takes it again afterwards";
    }
}

}  // namespace
}  // namespace glimra::win32
