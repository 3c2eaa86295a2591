#include "win32/forms/Win32PeerFactory.h"

#include "win32/forms/FormWindow.h"
#include "win32/system/Win32Timer.h"

namespace glimra::win32 {

std::unique_ptr<FormPeer> Win32PeerFactory::CreateFormPeer(Form& form) {
    return std::make_unique<FormWindow>(form, screen_, resources_);
}

std::unique_ptr<TimerPeer> Win32PeerFactory::CreateTimerPeer(Timer& timer) {
    return std::make_unique<Win32Timer>(timer);
}

}  // namespace glimra::win32
