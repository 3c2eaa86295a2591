#pragma once

// The options dialog's own texts, in one place.
namespace glimra::texts {

inline constexpr const wchar_t* kProgramTitle = L"Glimra ScreenSaver";
inline constexpr const wchar_t* kAuthor = L"the Glimra ScreenSaver developers";
inline constexpr const wchar_t* kWelcome =
    L"Welcome! Please configure your options now. Choose a path from which to display "
    L"pictures.";
inline constexpr const wchar_t* kComments2 =
    L"Use Glimra ScreenSaver to display and show off your digital photograph collections, "
    L"pictures, downloaded images, icon libraries, and more!";
inline constexpr const wchar_t* kCredit = L"Free software by the\rGlimra ScreenSaver developers";
inline constexpr const wchar_t* kDistribution =
    L"Glimra ScreenSaver is free. You may copy it and pass it on to others, on any media and "
    L"also inside other packages, as long as it is unaltered, in the archive it came in, and "
    L"nothing is charged for the program itself. Credit for its development belongs to the "
    L"Glimra ScreenSaver developers.";
inline constexpr const wchar_t* kStartPattern = L"*.bmp; *.jpg; *.gif; *.jpeg; *.wmf; *.emf; *.ico";
inline constexpr const wchar_t* kPattern = L"*.bmp;*.jpg;*.gif;*.jpeg;*.wmf;*.emf;*.ico";
inline constexpr const wchar_t* kAllImagesListed = L"All images listed will be displayed";
inline constexpr const wchar_t* kDoubleClickHint =
    L"Double click to select a folder from which images will be displayed";
inline constexpr const wchar_t* kDriveUnavailable =
    L"Unable to access drive or disk. If it's a CDROM or floppy drive or other removeable "
    L"media, insert a disk. If it's a network drive, verify you are connected to the network "
    L"and the drive is mapped properly.";
inline constexpr const wchar_t* kHelpPage = L"\\help\\glimrascreensaver.htm";
inline constexpr const wchar_t* kChooseFolder =
    L"Please select the Location of Files tab, then click the Browse button and choose a folder "
    L"from which the screen saver should display pictures.";
inline constexpr const wchar_t* kEnterSeconds =
    L"Please select the Preferences tab, then input the number of seconds each picture should "
    L"be displayed by the screen saver.";
inline constexpr const wchar_t* kNoPictures =
    L"There are no pictures in the selected folder. Do you wish to browse for a different "
    L"folder?";
inline constexpr const wchar_t* kNoPicturesCaption = L"No pictures to display";
inline constexpr const wchar_t* kImagesFrom = L"Images will be displayed from ";
inline constexpr const wchar_t* kSetByAdministrator =
    L"Set by your administrator. It cannot be changed here.";

}  // namespace glimra::texts
