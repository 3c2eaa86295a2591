// The options dialog's help and download links: their two looks and opening them.
#include "options/frmGlimraOptions.h"

namespace glimra {
namespace {

// One link's look, set as a whole in this order: the label's underline, its colour and
// pointer, then the icon's pointer and border. Highlighted it is red, underlined and
// bordered under the pointing hand; restored, blue under the standard arrow.
void SetLinkLook(Label& label, Image& icon, bool highlighted) {
    const MousePointer pointer = highlighted ? MousePointer::Custom : MousePointer::Arrow;
    label.SetUnderline(highlighted);
    label.SetForeColor(highlighted ? Rgb(255, 0, 0) : Rgb(0, 0, 255));
    label.SetMousePointer(pointer);
    icon.SetMousePointer(pointer);
    icon.SetBorder(highlighted);
}

}  // namespace

void frmGlimraOptions::HighlightHelpLink() {
    SetLinkLook(lblHelpLink, imgHelpLink, true);
}

void frmGlimraOptions::RestoreHelpLink() {
    SetLinkLook(lblHelpLink, imgHelpLink, false);
}

void frmGlimraOptions::HighlightDownloadLink() {
    SetLinkLook(lblDownloadLink, imgDownloadLink, true);
}

void frmGlimraOptions::RestoreDownloadLink() {
    SetLinkLook(lblDownloadLink, imgDownloadLink, false);
}

void frmGlimraOptions::OpenLink(const std::wstring& target) {
    ports_.shell.Open(target);
}

void frmGlimraOptions::Form_MouseMove(int, int, float, float) {
    RestoreHelpLink();
    RestoreDownloadLink();
}

}  // namespace glimra
