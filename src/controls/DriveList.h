// The drive list: the control that picks one of the machine's drives.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "platform/FileSystem.h"

namespace glimra {

// The drive list: the machine's drives, one of them selected. Assigning a text selects the
// drive named at its start; every change of the selection raises Change at once. A drive's
// label is asked for only when its text is read, once a load: a start that shows no drive list
// asks no drive but the selected one.
struct DriveListState {
    std::vector<wchar_t> letters;
    int index = -1;
};

class DriveListBox : public ControlWith<DriveListState> {
  public:
    DriveListBox(Container& parent, std::wstring name, FileSystem& files)
        : ControlWith(parent, ControlKind::DriveList, std::move(name)), files_(files) {}

    // The selected drive's text; empty when none is selected.
    std::wstring Drive() const;
    std::vector<std::wstring> List() const;
    int ListIndex() const { return s_.index; }
    // False, and nothing changes, when no drive of the machine is named at the start.
    bool SetDrive(const std::wstring& text);
    void PlatformSelect(int index);

    std::function<void()> Change;

    void FormLoading() override;

  private:
    int IndexOf(wchar_t letter) const;
    std::wstring TextOf(wchar_t letter) const;
    FileSystem& files_;
    mutable std::map<wchar_t, std::wstring> labels_;  // the labels asked for this load
};

}  // namespace glimra
