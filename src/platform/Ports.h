#pragma once

#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/PictureLoader.h"
#include "platform/Pointer.h"
#include "platform/ProgramInfo.h"
#include "platform/Random.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "settings/SettingsStore.h"

namespace glimra {

// Every service of the platform that the two windows use.
struct Ports {
    ProgramInfo& program;
    SettingsStore& settings;
    FileSystem& files;
    PictureLoader& pictures;
    Screen& screen;
    Pointer& pointer;
    Random& random;
    MessageBoxes& messages;
    Shell& shell;
    Locale& locale;
};

}  // namespace glimra
