#pragma once

#include "controls/Application.h"
#include "options/frmGlimraOptions.h"
#include "platform/Ports.h"
#include "screensaver/frmLumivue.h"

namespace glimra {

// The whole program: its two windows, which know each other, over the platform's services.
struct ScreenSaverProgram {
    ScreenSaverProgram(const Ports& ports, PeerFactory* peers)
        : app(peers), lumivue(app, ports), options(app, ports) {
        lumivue.Connect(options);
        options.Connect(lumivue);
    }

    // Runs the start-up window's load, which chooses the mode.
    void Start() { app.Start(lumivue); }

    Application app;
    frmLumivue lumivue;
    frmGlimraOptions options;
};

}  // namespace glimra
