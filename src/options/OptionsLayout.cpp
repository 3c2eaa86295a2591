// The options dialog's design values: every control's place, font, tip and caption.
#include "options/frmGlimraOptions.h"

#include "options/OptionsTexts.h"

namespace glimra {
namespace {

const Font kDialogFont{L"Arial", 9.75f, false, false};
const Font kPageFont{L"MS Sans Serif", 8.25f, false, false};

Font Arial(float points, bool bold = false) {
    return {L"Arial", points, bold, false};
}

// Places a control and gives it its design look: position and size in twips on its
// container, tab-order position, tip and font.
void Place(Control& control, float left, float top, float width, float height, int tabIndex,
           const std::wstring& tip = {}, const Font& font = kDialogFont) {
    control.Move(left, top, width, height);
    control.SetTabIndex(tabIndex);
    control.SetToolTipText(tip);
    control.SetFont(font);
}

}  // namespace

FormDesign frmGlimraOptions::OptionsDesign() {
    FormDesign design;
    design.caption = L"Glimra ScreenSaver Options";
    design.border = BorderStyle::FixedDialog;
    design.width = 6150;
    design.height = 4920;
    design.backColor = kButtonFace;
    design.font = kDialogFont;
    design.keyPreview = true;
    return design;
}

void frmGlimraOptions::LayOut() {
    Place(tbsOptions, 120, 120, 5895, 4245, 0);
    tbsOptions.SetTabs({
        {L"&Location of Images", L"Group1", L"",
         L"Location of images to display on the hard drive or network"},
        {L"&Preferences", L"Preferences", L"", L"Screen saver preferences"},
        {L"Pre&view", L"Preview", L"", L"Preview the screen saver"},
        {L"A&bout", L"About", L"About", L"About Glimra ScreenSaver"},
        {L"&Help", L"Help", L"Help", L"Help using the screen saver"},
    });

    // The pages and their frames; only the page of the selected tab is in view.
    const int pageTabIndex[5] = {4, 7, 8, 6, 34};
    for (int i = 0; i < 5; ++i) {
        const float left = i == 0 ? 240 : -20000;
        if (i < 4) {
            Place(picOptions[i], left, 480, 5685, 3780, pageTabIndex[i], {}, kPageFont);
        } else {
            Place(picOptions[i], left, 600, 5655, 3615, pageTabIndex[i]);
        }
    }
    Place(fraSample1, 120, 120, 5415, 3585, 5);
    fraSample1.SetCaption(L"Choose folder from which images should be displayed");
    Place(fraSample3, 120, 120, 5415, 3510, 10);
    fraSample3.SetCaption(L"Choose screen saver preferences");
    Place(fraSample4, 120, 120, 5415, 3585, 11);
    fraSample4.SetCaption(L"Preview the screen saver");
    Place(fraSample2, 120, 60, 5415, 3705, 9);
    fraSample2.SetMousePointer(MousePointer::Custom);
    fraSample2.SetMouseIcon(PointerPicture::ProgramIcon);
    Place(fraSample5, 120, 0, 5415, 3615, 35);
    fraSample5.SetCaption(L"Help using this screen saver");

    Place(cmdOK, 2490, 4455, 1095, 375, 1);
    cmdOK.SetCaption(L"&OK");
    Place(cmdCancel, 3720, 4455, 1095, 375, 2);
    cmdCancel.SetCaption(L"&Cancel");
    cmdCancel.SetCancel(true);
    Place(cmdApply, 4920, 4455, 1095, 375, 3);
    cmdApply.SetCaption(L"&Apply");

    // Tab 1: the folder.
    Place(txtPathLocation, 120, 360, 3975, 375, 16, {}, Arial(9));
    txtPathLocation.SetText(L"Path from which to display pictures");
    Place(cmdBrowse, 4200, 360, 1095, 375, 18,
          L"Click to browse and find images for the screen saver to display");
    cmdBrowse.SetCaption(L"&Browse");
    Place(DrivePath, 120, 840, 2775, 345, 19, {}, Arial(9));
    Place(DirPath, 120, 1320, 2775, 1620, 21, {}, Arial(9));
    // Read out in the dialog's own words: the box's design text, the drive list's hint, and the
    // folder list's.
    txtPathLocation.SetAccessibleName(L"Path from which to display pictures");
    DrivePath.SetAccessibleName(L"Drive or disk");
    DirPath.SetAccessibleName(L"Folder from which images will be displayed");
    Place(FilePath, 3000, 1200, 2295, 1665, 23, {}, Arial(9));
    Place(lblImagesToDisplay, 2940, 960, 2415, 255, 33, {}, Arial(8.25f, true));
    lblImagesToDisplay.SetCaption(L"Images that will be displayed");
    lblImagesToDisplay.SetAlignment(Alignment::Center);
    lblImagesToDisplay.SetVisible(false);
    Place(lblRunFirstTime, 120, 3000, 5175, 495, 28, {}, Arial(9.75f, true));
    lblRunFirstTime.SetCaption(texts::kWelcome);
    lblRunFirstTime.SetForeColor(Rgb(255, 0, 0));
    Place(lblNotify, -20000, 360, 5055, 375, 12, {}, Arial(8.25f, true));
    lblNotify.SetForeColor(Rgb(255, 0, 0));
    lblNotify.SetVisible(false);

    // Tab 2: the preferences.
    const std::wstring secondsTip = L"Amount of time to display each image";
    Place(lblSecondsDisplay, 240, 480, 2055, 255, 17, secondsTip, Arial(9));
    lblSecondsDisplay.SetCaption(L"Display each image for");
    Place(txtSecondsToDisplay, 2280, 360, 735, 360, 20, secondsTip);
    txtSecondsToDisplay.SetText(L"0");
    Place(lblSecondsDisplay2, 3120, 480, 1095, 255, 22, secondsTip, Arial(9));
    lblSecondsDisplay2.SetCaption(L"seconds");
    Place(chkMousePointer, 240, 840, 2175, 255, 26,
          L"Hide mouse pointer while screen saver running");
    chkMousePointer.SetCaption(L"&Hide mouse pointer");
    Place(chkAlwaysOnTop, 240, 1200, 3015, 255, 27,
          L"Keep screen saver on top of all other windows and applications");
    chkAlwaysOnTop.SetCaption(L"Screen saver always on &top");
    Place(chkRandomImages, 240, 1560, 3135, 255, 29,
          L"Display images in random order rather than sequentially");
    chkRandomImages.SetCaption(L"Display images in &random order");
    Place(lblDisplayStats, 240, 2040, 3855, 255, 31);
    lblDisplayStats.SetCaption(L"Image stats to display in upper left corner");
    Place(chkDisplayImageNumber, 240, 2400, 4215, 255, 30,
          L"Display image's number in sequence in upper left screen corner");
    chkDisplayImageNumber.SetCaption(L"Image &number in sequence of images");
    Place(chkImageFileName, 240, 2760, 2895, 255, 32,
          L"Display image's path and file name in upper left screen corner");
    chkImageFileName.SetCaption(L"Image &file path && file name");

    // Tab 3: the preview.
    Place(imgPreview, 120, 360, 3210, 2325, 0);
    imgPreview.SetBuiltInPicture(DesignPicture::PreviewMiniature);
    imgPreview.SetStretch(true);
    Place(cmdPreview, 3480, 1320, 1815, 615, 24, L"Click to view the screen saver in action",
          Arial(12, true));
    cmdPreview.SetCaption(L"Previe&w");
    Place(lblPreview, 120, 2760, 5175, 735, 25, {}, Arial(9));
    lblPreview.SetCaption(
        L"When you click the Preview button, all options, preferences, and settings will be "
        L"applied and the screen saver started. This Options window will close and "
        L"disappear.");

    // Tab 4: about.
    Place(Image1, 120, 240, 1680, 1200, 0,
          std::wstring(L"Glimra ScreenSaver by ") + texts::kAuthor);
    Image1.SetBuiltInPicture(DesignPicture::AboutMiniature);
    Image1.SetStretch(true);
    Place(lblAppTitle, 1800, 150, 3495, 465, 13, texts::kProgramTitle,
          {L"Comic Sans MS", 15.75f, true, false});
    lblAppTitle.SetCaption(L"ProductName");
    lblAppTitle.SetForeColor(Rgb(0, 128, 0));
    lblAppTitle.SetAlignment(Alignment::Right);
    Place(lblAppVersion, 2280, 600, 3015, 255, 15, {}, Arial(9.75f, true));
    lblAppVersion.SetCaption(L"Major.Minor.Revison");
    lblAppVersion.SetAlignment(Alignment::Right);
    Place(lblCopyright, 2280, 840, 3015, 495, 14);
    lblCopyright.SetCaption(L"Copyright");
    lblCopyright.SetAlignment(Alignment::Right);
    Line1.SetEnds(120, 1440, 5300, 1440);
    Place(lblDistribution, 120, 1440, 5175, 2175, 39, {}, Arial(6.75f));
    lblDistribution.SetCaption(L"Distribution");

    // Tab 5: help and download.
    Place(imgMe, 120, 360, 1110, 1350, 0, texts::kAuthor);
    imgMe.SetBuiltInPicture(DesignPicture::Portrait);
    Place(lblComments, 1320, 360, 3975, 1335, 36, {}, Arial(8.25f));
    lblComments.SetCaption(L"Comments");
    Place(lblComments2, 1320, 1680, 3975, 735, 40, {}, Arial(8.25f));
    lblComments2.SetCaption(L"Comments2");
    Place(lblDeveloper, 120, 1800, 1095, 855, 38, {}, Arial(6.75f, true));
    lblDeveloper.SetCaption(std::wstring(L"Developer, ") + texts::kAuthor);
    Place(imgHelpLink, 1320, 2520, 480, 480, 0, L"Click here for Help");
    imgHelpLink.SetBuiltInPicture(DesignPicture::HelpIcon);
    Place(lblHelpLink, 1920, 2520, 3015, 255, 37, L"Click here for Help", Arial(9.75f, true));
    lblHelpLink.SetCaption(L"Glimra ScreenSaver Help");
    lblHelpLink.SetForeColor(Rgb(0, 0, 255));
    Place(imgDownloadLink, 1320, 3000, 480, 480, 0,
          L"Click here to download latest version of Glimra ScreenSaver");
    imgDownloadLink.SetBuiltInPicture(DesignPicture::DownloadIcon);
    Place(lblDownloadLink, 1920, 3000, 2535, 255, 41,
          L"Click here to download the latest version of Glimra ScreenSaver", Arial(9.75f, true));
    lblDownloadLink.SetCaption(L"Download Latest Version");
    lblDownloadLink.SetForeColor(Rgb(0, 0, 255));
    for (Control* link : std::initializer_list<Control*>{&imgHelpLink, &lblHelpLink,
                                                         &imgDownloadLink, &lblDownloadLink})
        link->SetMouseIcon(PointerPicture::PointingHand);
    // The keyboard reaches each link too, after the page's other controls: one stop per link,
    // its label with its icon.
    lblHelpLink.SetTabStop(true);
    lblHelpLink.SetLinkIcon(&imgHelpLink);
    lblDownloadLink.SetTabStop(true);
    lblDownloadLink.SetLinkIcon(&imgDownloadLink);
}

}  // namespace glimra
