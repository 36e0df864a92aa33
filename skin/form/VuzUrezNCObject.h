// The clickable objects of a skinned window's non-client area (caption buttons, menu-bar buttons)
// and what they need of the window that shows them: TNCHost keeps the one hot object of the
// window. The form skinner is the host; the menu bar and the caption buttons see only this.
#pragma once

#include <windows.h>

class TNCObject;

class TNCHost {
 public:
  // The object under the mouse or pressed, or nullptr; at most one per window.
  virtual TNCObject* HotObject() const = 0;
  virtual void SetHotObject(TNCObject* o) = 0;

 protected:
  ~TNCHost() = default;
};

// A clickable object of the non-client area. At most one is hot (under the mouse or pressed) in
// a window at a time.
class TNCObject {
 public:
  explicit TNCObject(TNCHost* form) : Form(form) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  // States, which are also the frames of the object's image; stInactive is only a frame: the
  // look of an inactive window's buttons (and of a hot button in the menu bar).
  enum { stNormal = 1, stPressed = 2, stHot = 3, stInactive = 4 };
  TNCHost* Form;
  RECT BoundsRect{};  // window coordinates
  bool Visible = false;
  int State = stNormal;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}
};
