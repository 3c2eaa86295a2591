#include "controls/Application.h"

#include "controls/Form.h"

namespace glimra {

void Application::Start(Form& startup) {
    startup.Load();
    if (startup.Loaded() && !startup.HiddenWhileLoading()) startup.Show();
}

void Application::FormUnloaded() {
    if (--loadedForms_ > 0) return;
    ended_ = true;
    if (peers_) peers_->Quit();
}

}  // namespace glimra
