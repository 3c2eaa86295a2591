#pragma once

#include "controls/Application.h"
#include "options/frmGlimraOptions.h"
#include "platform/EntryGuard.h"
#include "platform/Ports.h"
#include "screensaver/LumivueSlideShow.h"
#include "screensaver/frmLumivue.h"

namespace glimra {

// The whole program: its two windows over the platform's services. It wires them together:
// the start-up window shows and closes the dialog as a form, and the dialog hands over to the
// slide show through `slideShow`; neither window includes the other.
struct ScreenSaverProgram {
    ScreenSaverProgram(const Ports& ports, PeerFactory* peers, PicturePreparer* preparer = nullptr,
                       PictureLister* lister = nullptr)
        : app(peers),
          lumivue(app, ports, preparer, lister),
          slideShow(lumivue),
          options(app, ports) {
        lumivue.Connect(options);
        options.Connect(slideShow);
    }

    // Runs the start-up window's load, which chooses the mode. A start-up that fails part-way
    // stops there, like any handler, and the window still appears unless its load hid or
    // closed it: a failed start never leaves the program running unseen.
    void Start() {
        Contained([&] { app.Start(lumivue); });
        if (lumivue.Loaded() && !lumivue.HiddenWhileLoading() && !lumivue.Visible()) {
            Contained([&] { lumivue.Show(); });
        }
    }

    Application app;
    frmLumivue lumivue;
    LumivueSlideShow slideShow;
    frmGlimraOptions options;
};

}  // namespace glimra
