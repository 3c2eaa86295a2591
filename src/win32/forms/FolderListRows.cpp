#include "win32/forms/FolderListRows.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <string>

#include "controls/FolderLists.h"
#include "win32/base/Dpi.h"

namespace glimra::win32 {
namespace {

// A drive's small icon, chosen by the drive's type alone: asking the shell about the drive
// itself would wake a sleeping disk, wait for a disc or for a share that has gone away. The
// shell's stock icon, or else the shell library's own icon of that kind; kept for the program's
// life. Null when neither can be had.
HICON DriveIcon(wchar_t letter) {
    const wchar_t root[] = {letter, L':', L'\\', 0};
    SHSTOCKICONID stock = SIID_DRIVEFIXED;
    switch (GetDriveTypeW(root)) {
        case DRIVE_REMOVABLE:
            stock = SIID_DRIVEREMOVE;
            break;
        case DRIVE_REMOTE:
            stock = SIID_DRIVENET;
            break;
        case DRIVE_CDROM:
            stock = SIID_DRIVECD;
            break;
        case DRIVE_RAMDISK:
            stock = SIID_DRIVERAM;
            break;
        default:
            break;
    }
    static std::map<SHSTOCKICONID, HICON> icons;
    const auto kept = icons.find(stock);
    if (kept != icons.end()) return kept->second;
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof(info);
    HICON icon = nullptr;
    if (SUCCEEDED(SHGetStockIconInfo(stock, SHGSI_ICON | SHGSI_SMALLICON, &info)))
        icon = info.hIcon;
    if (!icon) {
        // The stock icons' numbers are the places of the same icons in the shell library.
        wchar_t library[MAX_PATH];
        const UINT length = GetSystemDirectoryW(library, MAX_PATH - 16);
        if (length > 0 && length < MAX_PATH - 16) {
            lstrcatW(library, L"\\shell32.dll");
            ExtractIconExW(library, static_cast<int>(stock), nullptr, &icon, 1);
        }
    }
    icons[stock] = icon;
    return icon;
}

}  // namespace

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
    const bool drives = list.Kind() == ControlKind::DriveList;
    SHFILEINFOW info{};
    const auto icons = drives ? nullptr
                              : reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
                                    iconOf.c_str(), attributes, &info, sizeof(info), flags));
    const HICON drive = drives ? DriveIcon(text[0]) : nullptr;
    const int size = GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi));
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int x = item.rcItem.left + 2 + indent;
    if (drive) {
        DrawIconEx(item.hDC, x, item.rcItem.top + (height - size) / 2, drive, size, size, 0,
                   nullptr, DI_NORMAL);
    } else if (icons) {
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
