#include "win32/forms/FolderListRows.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "controls/FolderLists.h"
#include "win32/base/Dpi.h"

namespace glimra::win32 {

int FolderRowHeight(int dpi) {
    const int icon = GetSystemMetricsForDpi(SM_CYSMICON, static_cast<UINT>(dpi));
    return std::max(icon + 2, Dpi{dpi}.Px(255));
}

void DrawFolderRow(const DRAWITEMSTRUCT& item, const Control& list, int dpi) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = item.itemState & ODS_SELECTED;
    const bool editArea = item.itemState & ODS_COMBOBOXEDIT;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(item.hDC, TRANSPARENT);
    std::wstring text, iconOf;
    DWORD attributes = 0;
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    int indent = 0;
    if (list.Kind() == ControlKind::DriveList) {
        const auto& drives = static_cast<const DriveListBox&>(list).List();
        if (item.itemID >= drives.size()) return;
        text = drives[item.itemID];
        iconOf = std::wstring(1, text[0]) + L":\\";
    } else {
        const auto& entries = static_cast<const DirListBox&>(list).Entries();
        if (item.itemID >= entries.size()) return;
        const FolderEntry& entry = entries[item.itemID];
        text = entry.text;
        iconOf = L"folder";
        attributes = FILE_ATTRIBUTE_DIRECTORY;
        flags |= SHGFI_USEFILEATTRIBUTES | (entry.open ? SHGFI_OPENICON : 0);
        indent = editArea ? 0 : entry.level * MulDiv(8, dpi, 96);
    }
    SHFILEINFOW info{};
    const auto icons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(iconOf.c_str(), attributes, &info, sizeof(info), flags));
    const int size = GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi));
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int x = item.rcItem.left + 2 + indent;
    if (icons) {
        ImageList_DrawEx(icons, info.iIcon, item.hDC, x, item.rcItem.top + (height - size) / 2,
                         size, size, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    }
    RECT textBox = item.rcItem;
    textBox.left = x + size + 4;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textBox,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace glimra::win32
