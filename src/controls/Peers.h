#pragma once

#include <memory>

namespace glimra {

class Control;
class Form;
class Timer;

// What a platform window does for a Form. The model calls these after its own state changed;
// the peer reads whatever else it needs from the Form.
class FormPeer {
  public:
    virtual ~FormPeer() = default;
    virtual void Create() = 0;   // make the window (hidden); the form is being loaded
    virtual void Destroy() = 0;  // the form is being unloaded; the peer object itself stays
    virtual void VisibleChanged() = 0;
    virtual void WindowStateChanged() = 0;
    virtual void PositionChanged() = 0;
    virtual void SurfaceChanged() = 0;                  // Cls or PaintPicture
    virtual void ControlChanged(Control& control) = 0;  // a control of the form changed
    virtual void MakeTopmost() = 0;
};

class TimerPeer {
  public:
    virtual ~TimerPeer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
};

// Makes peers for the model. Absent in unit tests, where the model runs on its own.
class PeerFactory {
  public:
    virtual ~PeerFactory() = default;
    virtual std::unique_ptr<FormPeer> CreateFormPeer(Form& form) = 0;
    virtual std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) = 0;
    virtual void Quit() = 0;  // no form is loaded any more: end the program
};

}  // namespace glimra
