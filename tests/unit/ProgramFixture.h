#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fakes/FakePlatform.h"
#include "screensaver/ScreenSaverProgram.h"
#include "settings/SettingKeys.h"

namespace glimra {

enum class Mode { SlideShow, OptionsDialog, Ended, Other };

inline const char* ModeName(Mode mode) {
    switch (mode) {
        case Mode::SlideShow:
            return "slide show";
        case Mode::OptionsDialog:
            return "options dialog";
        case Mode::Ended:
            return "ended";
        default:
            return "other";
    }
}

// The whole program over fake ports, started as the platform starts it.
class ProgramTest : public ::testing::Test {
  protected:
    void Configure(const std::wstring& folder = L"C:\\Pictures") {
        settings().values[keys::kPath] = folder;
        settings().values[keys::kInitialized] = keys::kTrue;
    }

    void Start(const std::wstring& arguments) {
        platform.program.arguments = arguments;
        program = std::make_unique<ScreenSaverProgram>(platform.ports, &platform.peers);
        program->Start();
    }

    Mode CurrentMode() const {
        const frmLumivue& window = program->lumivue;
        const frmGlimraOptions& dialog = program->options;
        if (program->app.LoadedForms() == 0) return Mode::Ended;
        if (window.Visible() && window.timTimer.Enabled() && dialog.Loaded() && !dialog.Visible())
            return Mode::SlideShow;
        if (dialog.Visible() && window.Loaded() && !window.Visible() && !window.timTimer.Enabled())
            return Mode::OptionsDialog;
        return Mode::Other;
    }

    fakes::FakeSettingsStore& settings() { return platform.settings; }
    frmLumivue& window() { return program->lumivue; }
    fakes::RecordingFormPeer& windowPeer() { return platform.peers.PeerOf(program->lumivue); }

    fakes::FakePlatform platform;
    std::unique_ptr<ScreenSaverProgram> program;
};

}  // namespace glimra
