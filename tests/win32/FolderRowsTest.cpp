#include <gtest/gtest.h>

#include "controls/Application.h"
#include "controls/FolderLists.h"
#include "controls/Form.h"
#include "fakes/FakePlatform.h"
#include "win32/forms/FolderListRows.h"
#include "win32/pictures/Canvas.h"

namespace glimra::win32 {
namespace {

// The drive list's rows draw each drive's icon by its type: a drive that cannot answer (here
// one the machine does not have at all, like a share that has gone away) gets its icon too,
// because the drive itself is never asked.
TEST(FolderRows, EveryDriveRowHasAnIconWithoutTheDriveBeingAsked) {
    Application app;
    Form form(app, FormDesign{});
    fakes::FakeFileSystem files;
    files.drives = {{L'C', L""}, {L'Q', L""}};
    DriveListBox drives(form, L"DrivePath", files);
    form.Load();  // the list learns the drive letters
    ASSERT_EQ(drives.List().size(), 2u);
    Canvas canvas;
    ASSERT_TRUE(canvas.Resize(200, 20));
    for (UINT row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        const RECT whole{0, 0, 200, 20};
        FillRect(canvas.Dc(), &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_COMBOBOX;
        item.itemID = row;
        item.hDC = canvas.Dc();
        item.rcItem = whole;
        DrawFolderRow(item, drives, 96);
        int drawn = 0;  // pixels of the icon's square that are not the row's background
        const COLORREF background = GetSysColor(COLOR_WINDOW);
        for (int y = 2; y < 18; ++y)
            for (int x = 2; x < 18; ++x)
                drawn += GetPixel(canvas.Dc(), x, y) != background;
        EXPECT_GT(drawn, 10);
    }
}

}  // namespace
}  // namespace glimra::win32
