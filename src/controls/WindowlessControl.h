#pragma once

namespace glimra {

class Form;

// A control without a window of its own (label, image): its container draws it, so every
// change of its look is reported to the container.
class WindowlessControl {
  public:
    explicit WindowlessControl(Form& container);
    WindowlessControl(const WindowlessControl&) = delete;
    WindowlessControl& operator=(const WindowlessControl&) = delete;
    virtual ~WindowlessControl() = default;

    Form& Container() const { return container_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { Assign(visible_, visible); }
    float Left() const { return left_; }
    float Top() const { return top_; }
    void Move(float left, float top) {
        Assign(left_, left);
        Assign(top_, top);
    }

  protected:
    template <typename T>
    void Assign(T& member, const T& value) {
        if (member == value) return;
        member = value;
        Changed();
    }
    void Changed();

  private:
    Form& container_;
    bool visible_ = true;
    float left_ = 0;
    float top_ = 0;
};

}  // namespace glimra
