#pragma once

#include "controls/Application.h"
#include "options/frmGlimraOptions.h"
#include "platform/Ports.h"
#include "screensaver/frmLumivue.h"

namespace glimra {

// The whole program: its two windows, which know each other, over the platform's services.
struct ScreenSaverProgram {
    ScreenSaverProgram(const Ports& ports, PeerFactory* peers, PicturePreparer* preparer = nullptr)
        : app(peers), lumivue(app, ports, preparer), options(app, ports) {
        lumivue.Connect(options);
        options.Connect(lumivue);
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
    frmGlimraOptions options;

  private:
    template <typename Step>
    static void Contained(Step step) {
        try {
            step();
        } catch (...) {
            // The step ends here; what it did so far stands.
        }
    }
};

}  // namespace glimra
