#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/Form.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Timer.h"
#include "platform/PictureLister.h"
#include "platform/PicturePreparer.h"
#include "platform/Ports.h"
#include "screensaver/InlineLister.h"
#include "screensaver/InlinePreparer.h"
#include "screensaver/RandomAhead.h"

namespace glimra {

// The start-up window, which is also the full-screen slide-show window: it chooses the mode
// from the command line, collects the pictures, runs the slide show and ends the program on
// user input.
class frmLumivue : public Form {
  public:
    // Without a `preparer` each picture is read at its turn, inside the tick; without a
    // `lister` the folder is listed when the show starts, before the start returns.
    frmLumivue(Application& app, const Ports& ports, PicturePreparer* preparer = nullptr,
               PictureLister* lister = nullptr);
    // The options dialog, which the start-up shows, hides or unloads and the end unloads.
    void Connect(Form& options) { options_ = &options; }

    void InitializeScreenSaver();
    void StartScreenSaverSettings();

    // Controls.
    Timer timCheckScreen;
    Timer timTimer;
    PictureBox picHiddenScreenSaver;
    Image imgBlank;
    Label lblImageNumber;
    Label lblImageFileName;

    // State, named as in the window's design. Positions are 32-bit, so a folder of more than
    // 32,767 pictures is shown in full.
    std::wstring strCommand;
    std::wstring strCommandPrefix;
    std::wstring strInitialized;
    std::wstring strPath;
    std::wstring strImageFolder;
    std::int32_t lngSecondsToDisplay = 0;
    std::int32_t lngElapsedSeconds = 0;
    bool blnOptionsDialogForced = false;
    std::int32_t lngStartCount = 0;
    std::wstring strAlwaysOnTop;
    std::wstring strHideMousePointer;
    std::wstring strDisplayInRandomOrder;
    std::wstring strDisplayImageFileName;
    std::wstring strDisplayImageNumber;
    std::int32_t intImageIndex = 0;
    std::int32_t intRandomIndex = 0;
    std::int32_t intLastRandomIndex = 0;
    std::vector<std::wstring> strImages;  // position i is strImages[i - 1]
    std::int32_t lngImageCount = 0;
    bool blnExitRequested = false;
    std::int16_t intClickCount = 0;
    std::int16_t intMouseMoveCount = 0;
    bool blnPointerHidden = false;
    bool blnDisplayOff = false;  // nobody can see the show: it rests

    // Handlers the platform runs.
    void timTimer_Timer();
    void timCheckScreen_Timer();
    void picHiddenScreenSaver_Click() { CountClick(); }
    void picHiddenScreenSaver_MouseMove() { CountMouseMove(); }

  protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    void Form_Resize() override;
    void Form_Click() override { CountClick(); }
    void Form_KeyDown(int, int) override { CountClick(); }
    void Form_MouseMove(int, int, float, float) override { CountMouseMove(); }
    void Form_DisplayChanged(bool on) override { blnDisplayOff = !on; }

  private:
    void EndScreenSaver();
    void BuildImageList();
    void StoreOptionsDialogForced();
    void ChangePicture();
    void ShowPictureAt(std::int32_t position);
    void ShowLoadedPicture(PicturePtr picture);
    std::int32_t DrawRandomPosition(bool ahead);
    void PrepareNextPicture();
    void KeepPointerHidden(bool hidden);
    void CountClick();
    void CountMouseMove();

    const Ports& ports_;
    Form* options_ = nullptr;
    InlinePreparer inlinePreparer_;
    PicturePreparer& preparer_;
    InlineLister inlineLister_;
    PictureLister& lister_;
    RandomAhead random_;
    bool changing_ = false;               // inside a change of picture, which repaints at its end
    bool listed_ = false;                 // the picture list of the last start is there
    bool loadOptionsWhenListed_ = false;  // a slide-show start loads the dialog after its list
    std::uint64_t listing_ = 0;           // the last listing asked for; an earlier one is dropped
};

}  // namespace glimra
