#include "services/windows/gadget_window.h"

#include <algorithm>

#include "services/windows/focus.h"

namespace velko::gadgets {

GadgetWindow::GadgetWindow(WindowHandle handle, std::unique_ptr<platform::NativeWindow> native,
                           int clientWidth, int clientHeight)
    : handle_(handle), native_(std::move(native)), canvas_(clientWidth, clientHeight) {}

Control& GadgetWindow::Add(std::unique_ptr<Control> control) {
  controls_.push_back(std::move(control));
  dirty_ = true;
  return *controls_.back();
}

void GadgetWindow::Remove(WindowHandle control) {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [&](const auto& c) { return c->Handle() == control; });
  if (found == controls_.end()) return;
  if (focus_ == found->get()) focus_ = nullptr;
  if (capture_ == found->get()) capture_ = nullptr;
  controls_.erase(found);
  dirty_ = true;
}

Control* GadgetWindow::Find(WindowHandle control) const {
  for (const auto& c : controls_) {
    if (c->Handle() == control) return c.get();
  }
  return nullptr;
}

Control* GadgetWindow::ControlAt(int x, int y) const {
  // The last painted is on top.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    if ((*it)->Enabled() && (*it)->HitTest(x, y)) return it->get();
  }
  return nullptr;
}

Control* GadgetWindow::DroppedControl() const {
  for (const auto& c : controls_) {
    if (c->Dropped()) return c.get();
  }
  return nullptr;
}

std::optional<Notification> GadgetWindow::Finish(Control* source, const ControlEvents& events) {
  if (events.repaint) dirty_ = true;
  if (events.optionTicked) {
    // Choosing an option clears the others of its run.
    for (const auto& c : controls_) {
      if (c.get() != source && c->Kind() == GadgetKind::Option &&
          c->OptionRun() == source->OptionRun()) {
        c->StateSet(0);
      }
    }
  }
  if (!events.notified) return std::nullopt;
  return Notification{source->Id(), events.code};
}

std::optional<Notification> GadgetWindow::SetFocus(Control* control) {
  if (control == focus_) return std::nullopt;
  Control* previous = focus_;
  focus_ = control;
  dirty_ = true;
  if (previous == nullptr) return std::nullopt;
  ControlEvents events;
  previous->FocusLost(events);
  return Finish(previous, events);
}

std::optional<Notification> GadgetWindow::MoveFocus(bool forward) {
  Control* next = NextTabStop(controls_, focus_, forward);
  if (next == nullptr) return std::nullopt;
  // Tab out of an open list takes its highlighted item, as the standard list does.
  std::optional<Notification> chosen;
  if (focus_ != nullptr && focus_->Dropped()) {
    ControlEvents events;
    focus_->CloseUp(events, true);
    chosen = Finish(focus_, events);
  }
  std::optional<Notification> moved = SetFocus(next);
  return moved ? moved : chosen;
}

std::optional<Notification> GadgetWindow::Deactivated() {
  if (focus_ == nullptr) return std::nullopt;
  capture_ = nullptr;
  ControlEvents events;
  focus_->FocusLost(events);
  return Finish(focus_, events);
}

std::optional<Notification> GadgetWindow::MouseDown(int x, int y) {
  Control* target = nullptr;
  if (Control* dropped = DroppedControl()) {
    if (!dropped->OverlayContains(x, y) && !dropped->HitTest(x, y)) {
      // A click outside an open list only closes it.
      ControlEvents events;
      dropped->CloseUp(events, false);
      return Finish(dropped, events);
    }
    target = dropped;
  } else {
    target = ControlAt(x, y);
  }
  if (target == nullptr) return std::nullopt;
  std::optional<Notification> last;
  if (target->TakesFocus()) last = SetFocus(target);
  capture_ = target;
  ControlEvents events;
  target->MouseDown(events, x, y);
  if (auto notification = Finish(target, events)) last = notification;
  return last;
}

std::optional<Notification> GadgetWindow::MouseMove(int x, int y) {
  Control* target = capture_ != nullptr ? capture_ : DroppedControl();
  if (target == nullptr) return std::nullopt;
  ControlEvents events;
  target->MouseMove(events, x, y);
  return Finish(target, events);
}

std::optional<Notification> GadgetWindow::MouseUp(int x, int y) {
  Control* target = capture_ != nullptr ? capture_ : DroppedControl();
  capture_ = nullptr;
  if (target == nullptr) return std::nullopt;
  ControlEvents events;
  target->MouseUp(events, x, y);
  return Finish(target, events);
}

std::optional<Notification> GadgetWindow::KeyDown(const KeyPress& key) {
  if (focus_ == nullptr) return std::nullopt;
  ControlEvents events;
  focus_->KeyDown(events, key);
  return Finish(focus_, events);
}

std::optional<Notification> GadgetWindow::KeyUp(const KeyPress& key) {
  if (focus_ == nullptr) return std::nullopt;
  ControlEvents events;
  focus_->KeyUp(events, key);
  return Finish(focus_, events);
}

void GadgetWindow::Repaint(bool force) {
  if (controls_.empty() || (!dirty_ && !force)) return;
  canvas_.Fill({0, 0, canvas_.Width(), canvas_.Height()}, kButtonFace);
  for (const auto& c : controls_) {
    if (c->Visible()) c->Paint(canvas_, c.get() == focus_);
  }
  for (const auto& c : controls_) {
    if (c->Visible()) c->PaintOverlay(canvas_);
  }
  native_->Present(canvas_.View());
  dirty_ = false;
}

}  // namespace velko::gadgets
