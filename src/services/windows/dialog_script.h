// Scripted player input for the display-mode dialog without a display: a list of actions
// turned, one platform event at a time, into the mouse and key events a player would cause.
// Mouse positions come from the live gadget rectangles, so events are made only when asked.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace velko {

class WindowService;

class DialogScript {
 public:
  // Comma-separated actions: ok, close, select:P, toggle:G, tab, shift-tab, space, enter.
  static std::optional<DialogScript> Parse(std::string_view actions, std::string& error);

  // The next event for the dialog (window 1); false once the actions ran out, and false,
  // keeping the actions, while no dialog is open.
  bool Next(WindowService& windows, platform::InputEvent& event);
  bool RanOut() const { return ranOut_; }

 private:
  enum class StepKind {
    MoveToGadget,     // mouse over the centre of a gadget's face
    PressAtGadget,    // left button down there
    ReleaseAtGadget,  // and up
    MoveToItem,       // mouse over a row of a dropped list
    PressAtItem,
    ReleaseAtItem,
    KeyDown,
    KeyUp,
    Close,
  };
  struct Step {
    StepKind kind = StepKind::Close;
    int gadget = 0;
    int position = 0;
    int scanCode = 0;
    bool shift = false;
  };

  void AddClick(int gadget);
  void AddItemClick(int gadget, int position);
  void AddKey(int scanCode, bool shift);

  std::deque<Step> steps_;
  bool ranOut_ = false;
};

}  // namespace velko
