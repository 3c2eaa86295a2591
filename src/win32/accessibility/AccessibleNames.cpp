#include "win32/accessibility/AccessibleNames.h"

#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/Frame.h"
#include "controls/Label.h"

namespace glimra::win32 {
namespace {

float Right(const Control& c) {
    return c.Left() + c.Width();
}
float Bottom(const Control& c) {
    return c.Top() + c.Height();
}
float MiddleX(const Control& c) {
    return c.Left() + c.Width() / 2;
}
float MiddleY(const Control& c) {
    return c.Top() + c.Height() / 2;
}

// The labels that name a control which has no caption, found where a reader's eye looks for
// them: in front of it on its line, after it on that line, or above it.
struct Labels {
    const Label* before = nullptr;
    const Label* after = nullptr;
    const Label* above = nullptr;
};

Labels LabelsAround(const Control& control) {
    Labels found;
    for (const Control* other : control.Parent().Children()) {
        const auto* label = dynamic_cast<const Label*>(other);
        if (!label || !label->Visible() || label->Caption().empty()) continue;
        const bool sameLine = label->Top() < Bottom(control) && Bottom(*label) > control.Top();
        const bool sideBySide = label->Left() < Right(control) && Right(*label) > control.Left();
        if (sameLine && MiddleX(*label) < control.Left()) {
            if (!found.before || Right(*label) > Right(*found.before)) found.before = label;
        } else if (sameLine && MiddleX(*label) > Right(control)) {
            if (!found.after || label->Left() < found.after->Left()) found.after = label;
        } else if (sideBySide && MiddleY(*label) < control.Top() &&
                   control.Top() - Bottom(*label) < label->Height()) {
            if (!found.above || Bottom(*label) > Bottom(*found.above)) found.above = label;
        }
    }
    return found;
}

// A caption broken over lines is read as one phrase.
std::wstring OnOneLine(const std::wstring& text) {
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool lineBreak = text[i] == L'\r' || text[i] == L'\n';
        if (!lineBreak) {
            line += text[i];
        } else if (text[i] == L'\r' || i == 0 || text[i - 1] != L'\r') {
            line += L' ';
        }
    }
    return line;
}

std::wstring NameFromLabels(const Control& control) {
    const Labels labels = LabelsAround(control);
    auto text = [](const Label& label) { return AccessibleNameOf(label); };
    if (labels.before && labels.after)
        return text(*labels.before) + L" \u2026 " + text(*labels.after);
    if (labels.before) return text(*labels.before);
    if (labels.above) return text(*labels.above);
    if (const auto* frame = dynamic_cast<const Frame*>(&control.Parent()))
        return WithoutAccessKeys(frame->Caption());
    return {};
}

}  // namespace

std::wstring WithoutAccessKeys(const std::wstring& caption) {
    std::wstring text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

std::wstring AccessibleNameOf(const Control& control) {
    if (!control.AccessibleName().empty()) return control.AccessibleName();
    switch (control.Kind()) {
        case ControlKind::CommandButton:
            return WithoutAccessKeys(static_cast<const CommandButton&>(control).Caption());
        case ControlKind::CheckBox:
            return WithoutAccessKeys(static_cast<const CheckBox&>(control).Caption());
        case ControlKind::Frame:
            return WithoutAccessKeys(static_cast<const Frame&>(control).Caption());
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(control);
            return OnOneLine(label.UseMnemonic() ? WithoutAccessKeys(label.Caption())
                                                 : label.Caption());
        }
        case ControlKind::Image:
            return control.ToolTipText().empty() ? NameFromLabels(control) : control.ToolTipText();
        case ControlKind::TextBox:
        case ControlKind::DriveList:
        case ControlKind::DirList:
        case ControlKind::FileList:
            return NameFromLabels(control);
        default:
            return {};
    }
}

std::wstring AccessibleDescriptionOf(const Control& control) {
    const std::wstring& tip = control.ToolTipText();
    return tip == AccessibleNameOf(control) ? std::wstring() : tip;
}

}  // namespace glimra::win32
