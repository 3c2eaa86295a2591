#pragma once

namespace glimra {

// The slide-show window as the options dialog uses it. The dialog hands over to the show, or
// shows or unloads the window, and knows nothing more of it; the program wires it to the real
// window, so neither form includes the other.
class SlideShowWindow {
  public:
    virtual ~SlideShowWindow() = default;
    // Runs the slide show in this process with the settings just stored: its timer on, the
    // settings read and the start counted, the window prepared and its pictures collected,
    // then the window shown; with `windowFirst` the window is shown before all of that.
    virtual void StartSlideShow(bool windowFirst) = 0;
    virtual void Show() = 0;
    virtual void Unload() = 0;
};

}  // namespace glimra
