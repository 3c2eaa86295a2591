#pragma once

#include <string>
#include <vector>

#include "controls/Control.h"

namespace glimra {

// One tab: its caption (an ampersand marks the access key), key, tag and tip.
struct Tab {
    std::wstring caption;
    std::wstring key;
    std::wstring tag;
    std::wstring toolTipText;

    bool operator==(const Tab&) const = default;
};

// A row of tabs along the top of an area; the pages of the tabs are other controls. Selecting
// a tab, by the user or by code, raises Click.
struct TabStripState {
    std::vector<Tab> tabs;
    int selected = 1;
};

class TabStrip : public ControlWith<TabStripState> {
  public:
    explicit TabStrip(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::TabStrip, std::move(name)) {}

    const std::vector<Tab>& Tabs() const { return s_.tabs; }
    void SetTabs(std::vector<Tab> tabs) { Assign(s_.tabs, tabs); }
    // The 1-based index of the selected tab.
    int SelectedItem() const { return s_.selected; }
    void SetSelectedItem(int index) {
        if (index < 1 || index > static_cast<int>(s_.tabs.size()) || index == s_.selected) return;
        Assign(s_.selected, index);
        Raise(Click);
    }
    void PlatformSelect(int index) {
        if (EffectiveEnabled()) SetSelectedItem(index);
    }
};

}  // namespace glimra
