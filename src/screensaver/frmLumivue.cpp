#include "screensaver/frmLumivue.h"

#include <limits>
#include <utility>

#include "imaging/PictureFit.h"
#include "screensaver/ImageList.h"
#include "settings/SettingKeys.h"
#include "settings/ValueRules.h"

namespace glimra {
namespace {

FormDesign LumivueDesign() {
    FormDesign design;
    design.caption = L"Glimra ScreenSaver";
    design.border = BorderStyle::None;
    design.width = 9600;
    design.height = 7200;
    design.backColor = Rgb(0, 0, 0);
    design.programIconPointer = true;
    return design;
}

void DesignCaption(Label& label, float top) {
    label.Move(0, top, 0, 0);  // as large as its one line of text
    label.SetVisible(false);
    label.SetForeColor(Rgb(255, 255, 255));
    label.SetFont({L"Arial", 8.25f, false, false});
    label.SetTransparent(true);
    label.SetUseMnemonic(false);  // a path may hold an ampersand
    label.SetMouseTransparent(true);
}

template <typename Counter>
void CountUp(Counter& counter) {
    if (counter < std::numeric_limits<Counter>::max()) ++counter;
}

}  // namespace

frmLumivue::frmLumivue(Application& app, const Ports& ports, PicturePreparer* preparer,
                       PictureLister* lister)
    : Form(app, LumivueDesign()),
      timCheckScreen(*this, 200, true),
      timTimer(*this, 1000, false),
      picHiddenScreenSaver(*this, L"picHiddenScreenSaver"),
      imgBlank(*this, L"imgBlank"),
      lblImageNumber(*this, L"lblImageNumber"),
      lblImageFileName(*this, L"lblImageFileName"),
      ports_(ports),
      inlinePreparer_(ports.pictures),
      preparer_(preparer ? *preparer : inlinePreparer_),
      inlineLister_(ports.files),
      lister_(lister ? *lister : inlineLister_),
      random_(ports.random) {
    timCheckScreen.Tick = [this] { timCheckScreen_Timer(); };
    timTimer.Tick = [this] { timTimer_Timer(); };
    picHiddenScreenSaver.SetVisible(false);
    imgBlank.SetVisible(false);
    imgBlank.Move(240, 5040, 0, 0);
    DesignCaption(lblImageNumber, 0);
    DesignCaption(lblImageFileName, 240);
}

void frmLumivue::Form_Load() {
    if (ports_.program.AnotherInstanceRunning()) {
        Unload();
        return;
    }
    strInitialized = ports_.settings.Read(keys::kInitialized);
    lngElapsedSeconds = 0;
    intLastRandomIndex = 0;
    const std::wstring arguments = ports_.program.ArgumentText();
    strCommandPrefix = arguments.substr(0, 3);
    strCommand = arguments.substr(0, 2);

    InitializeScreenSaver();
    // The start picture greets the first five starts only. Both built-in pictures are read
    // here, when the start needs one, not with the window: a second instance loads no codecs.
    if (lngStartCount > 5) {
        imgBlank.SetPicture(ports_.pictures.BlankPicture());
        picHiddenScreenSaver.SetPicture(imgBlank.Picture());
    } else {
        picHiddenScreenSaver.SetPicture(ports_.pictures.StartPicture());
    }

    if (strPath.empty() || strInitialized.empty()) {
        blnOptionsDialogForced = strCommand != L"/S";
        strCommand = L"/c";
    } else {
        blnOptionsDialogForced = false;
    }
    StoreOptionsDialogForced();

    if (strCommand == L"/s") {
        timTimer.SetEnabled(true);
        // The screen is covered before the disk is asked anything: the folder is listed
        // behind the window, and the dialog, whose load checks the folder, is loaded hidden
        // once the list is there. A disk that sleeps keeps nothing uncovered or unheard.
        Show();
        loadOptionsWhenListed_ = true;
        StartScreenSaverSettings();
    } else if (strCommand == L"/S" || strCommand == L"/c") {
        if (strCommand == L"/S" || strCommandPrefix == L"/c:") {
            blnOptionsDialogForced = false;
            StoreOptionsDialogForced();
        }
        options_->Show();
        Hide();
        StartScreenSaverSettings();
    } else {
        options_->Unload();
        Unload();
    }
}

void frmLumivue::InitializeScreenSaver() {
    Form_Resize();
    SettingsStore& store = ports_.settings;
    strPath = store.Read(keys::kPath);
    if (auto seconds = ReadWholeNumber(store.Read(keys::kSecondsToDisplay))) {
        lngSecondsToDisplay = *seconds;
    }
    if (auto count = ReadWholeNumber(store.Read(keys::kShowSplashScreen))) lngStartCount = *count;
    lngStartCount = NextStartCount(lngStartCount);
    store.Write(keys::kShowSplashScreen, std::to_wstring(lngStartCount));
    if (strAlwaysOnTop.empty()) strAlwaysOnTop = L"1";
    strHideMousePointer = OptionOrOn(store.Read(keys::kHideMousePointer));
    strDisplayInRandomOrder = OptionOrOn(store.Read(keys::kDisplayInRandomOrder));
    strDisplayImageFileName = OptionOrOn(store.Read(keys::kDisplayImageFileName));
    strDisplayImageNumber = OptionOrOn(store.Read(keys::kDisplayImageNumber));
}

void frmLumivue::StartScreenSaverSettings() {
    SetWindowState(WindowState::Maximized);
    blnExitRequested = false;
    intClickCount = 0;
    intMouseMoveCount = 0;
    intImageIndex = 1;
    // The drawing surface of every form is persistent, so what Form_Resize paints stays; the
    // picture holder is never shown and always holds its picture at its natural size.
    strImageFolder = WithTrailingBackslash(strPath);
    BuildImageList();  // reads the next picture ahead once the list is there
    strAlwaysOnTop = ports_.settings.Read(keys::kAlwaysOnTop);
}

void frmLumivue::EndScreenSaver() {
    options_->Unload();
    Unload();
}

void frmLumivue::StoreOptionsDialogForced() {
    ports_.settings.Write(keys::kOptionsDialogForced,
                          blnOptionsDialogForced ? keys::kTrue : keys::kFalse);
}

// The list may arrive after the start: until then the show has no picture to change to, and
// its first change comes at the first tick after the list is there.
void frmLumivue::BuildImageList() {
    strImages.clear();
    lngImageCount = 0;
    listed_ = false;
    const std::uint64_t listing = ++listing_;
    lister_.List(strImageFolder, [this, listing](std::vector<std::wstring> images) {
        if (listing != listing_ || !Loaded()) return;
        strImages = std::move(images);
        lngImageCount = static_cast<std::int32_t>(
            std::min<size_t>(strImages.size(), std::numeric_limits<std::int32_t>::max()));
        listed_ = true;
        if (loadOptionsWhenListed_) {
            loadOptionsWhenListed_ = false;
            options_->Hide();
        }
        PrepareNextPicture();
    });
}

void frmLumivue::Form_Resize() {
    Cls();
    const PicturePtr& picture = picHiddenScreenSaver.Picture();
    if (picture) {
        // A picture's pixels are the window's: its monitor's resolution, which can differ
        // from the system's, makes them twips.
        const float scaled = TwipsPerPixel();
        const float w = picture->Width() * (scaled > 0 ? scaled : ports_.screen.TwipsPerPixelX());
        const float h = picture->Height() * (scaled > 0 ? scaled : ports_.screen.TwipsPerPixelY());
        const Placement place = FitAndCentre(w, h, ScaleWidth(), ScaleHeight());
        PaintPicture(picture, place.left, place.top, place.width, place.height);
    }
    intClickCount = 0;
    SetWindowState(WindowState::Maximized);
    if (OptionIsOn(strAlwaysOnTop)) ZOrderTopmost();
}

// While the display is off the show rests: no change, no read, no raise, and its seconds
// stand still, so the picture on the screen when it went off gets the rest of its time when
// it comes back. Input still ends it: the exit check runs on.
void frmLumivue::timTimer_Timer() {
    if (blnDisplayOff) return;
    if (OptionIsOn(strAlwaysOnTop)) ZOrderTopmost();
    KeepPointerHidden(OptionIsOn(strHideMousePointer));
    CountUp(lngElapsedSeconds);
    if (lngElapsedSeconds >= lngSecondsToDisplay && listed_) ChangePicture();
    lblImageFileName.SetVisible(OptionIsOn(strDisplayImageFileName));
    lblImageNumber.SetVisible(OptionIsOn(strDisplayImageNumber));
}

void frmLumivue::ChangePicture() {
    intImageIndex = intImageIndex >= lngImageCount ? 1 : intImageIndex + 1;
    intMouseMoveCount = 0;
    intClickCount = 0;
    changing_ = true;
    if (OptionIsOn(strDisplayInRandomOrder)) {
        intRandomIndex = DrawRandomPosition(false);
        ShowPictureAt(intRandomIndex);
        intLastRandomIndex = intRandomIndex;
    } else {
        ShowPictureAt(intImageIndex);
    }
    changing_ = false;
    Form_Resize();
    lngElapsedSeconds = 0;
    PrepareNextPicture();
}

// A position from 1 to the count, drawn once more when it repeats the previous change's; the
// second draw stands. With `ahead` the draw of the next change is only looked at: its numbers
// stay for that change to take.
std::int32_t frmLumivue::DrawRandomPosition(bool ahead) {
    size_t peeked = 0;
    const auto draw = [&] {
        const double number = ahead ? random_.Peek(peeked++) : random_.Next();
        return static_cast<std::int32_t>(number * lngImageCount + 1);
    };
    const std::int32_t position = draw();
    return position == intLastRandomIndex ? draw() : position;
}

// Starts reading the picture of the next change while this one is on the screen.
void frmLumivue::PrepareNextPicture() {
    if (!timTimer.Enabled()) return;
    const std::int32_t next = OptionIsOn(strDisplayInRandomOrder)
                                  ? DrawRandomPosition(true)
                                  : (intImageIndex >= lngImageCount ? 1 : intImageIndex + 1);
    if (next < 1 || next > lngImageCount) return;
    preparer_.Prepare(strImages[static_cast<size_t>(next) - 1]);
}

void frmLumivue::ShowPictureAt(std::int32_t position) {
    lblImageNumber.SetCaption(L"Image # " + std::to_wstring(position) + L" of " +
                              std::to_wstring(lngImageCount));
    if (position < 1 || position > lngImageCount) return;  // an empty list has no entry
    const std::wstring& path = strImages[static_cast<size_t>(position) - 1];
    lblImageFileName.SetCaption(path);
    preparer_.Take(path, [this](PicturePtr picture) { ShowLoadedPicture(std::move(picture)); });
}

// A picture that cannot be loaded leaves the previous one in the holder. One that was not
// ready at its tick is painted when it arrives.
void frmLumivue::ShowLoadedPicture(PicturePtr picture) {
    if (!picture || !Loaded()) return;
    picHiddenScreenSaver.SetPicture(std::move(picture));
    if (!changing_) Form_Resize();
}

void frmLumivue::timCheckScreen_Timer() {
    if (blnExitRequested) EndScreenSaver();
    intMouseMoveCount = 0;
    intClickCount = 0;
}

void frmLumivue::CountClick() {
    CountUp(intClickCount);
    blnExitRequested = intClickCount >= 1;
}

void frmLumivue::CountMouseMove() {
    CountUp(intMouseMoveCount);
    blnExitRequested = intMouseMoveCount >= 6;
}

void frmLumivue::KeepPointerHidden(bool hidden) {
    if (hidden == blnPointerHidden) return;
    ports_.pointer.ShowCursor(!hidden);
    blnPointerHidden = hidden;
}

void frmLumivue::Form_Unload() {
    KeepPointerHidden(false);
}

void frmLumivue::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    // Closed from outside (the system, a task manager): end the whole program, not only
    // this window, so no invisible dialog is left running.
    if (mode != UnloadMode::ControlMenu) return;
    cancel = true;
    EndScreenSaver();
}

}  // namespace glimra
