#include "services/windows/dialog_script.h"

#include <charconv>

#include "services/windows/control.h"
#include "services/windows/window_service.h"

namespace velko {
namespace {

constexpr int kDialogWindow = 1;
constexpr int kListGadget = 1;
constexpr int kOkGadget = 2;

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

platform::InputEvent MouseAt(const platform::Rect& rect, platform::EventType type) {
  platform::InputEvent event;
  event.type = type;
  event.x = rect.x + rect.width / 2;
  event.y = rect.y + rect.height / 2;
  if (type != platform::EventType::MouseMove) event.button = 1;
  return event;
}

}  // namespace

std::optional<DialogScript> DialogScript::Parse(std::string_view actions, std::string& error) {
  DialogScript script;
  size_t start = 0;
  while (start <= actions.size()) {
    size_t comma = actions.find(',', start);
    if (comma == std::string_view::npos) comma = actions.size();
    const std::string_view action = actions.substr(start, comma - start);
    const size_t colon = action.find(':');
    const std::string_view name = action.substr(0, colon);
    const std::string_view argument =
        colon == std::string_view::npos ? std::string_view() : action.substr(colon + 1);
    const bool hasArgument = colon != std::string_view::npos;
    const std::optional<int> number = ParseNumber(argument);
    if (name == "ok" && !hasArgument) {
      script.AddClick(kOkGadget);
    } else if (name == "close" && !hasArgument) {
      script.steps_.push_back({StepKind::Close});
    } else if (name == "select" && number && *number >= 0) {
      script.AddClick(kListGadget);
      script.AddItemClick(kListGadget, *number);
    } else if (name == "toggle" && number && *number >= 0) {
      script.AddClick(*number);
    } else if (name == "tab" && !hasArgument) {
      script.AddKey(gadgets::keys::kTab, false);
    } else if (name == "shift-tab" && !hasArgument) {
      script.AddKey(gadgets::keys::kTab, true);
    } else if (name == "space" && !hasArgument) {
      script.AddKey(gadgets::keys::kSpace, false);
    } else if (name == "enter" && !hasArgument) {
      script.AddKey(gadgets::keys::kReturn, false);
    } else {
      error = "unknown dialog action \"" + std::string(action) +
              "\" (expected ok, close, select:P, toggle:G, tab, shift-tab, space or enter)";
      return std::nullopt;
    }
    start = comma + 1;
  }
  return script;
}

void DialogScript::AddClick(int gadget) {
  steps_.push_back({StepKind::MoveToGadget, gadget});
  steps_.push_back({StepKind::PressAtGadget, gadget});
  steps_.push_back({StepKind::ReleaseAtGadget, gadget});
}

void DialogScript::AddItemClick(int gadget, int position) {
  steps_.push_back({StepKind::MoveToItem, gadget, position});
  steps_.push_back({StepKind::PressAtItem, gadget, position});
  steps_.push_back({StepKind::ReleaseAtItem, gadget, position});
}

void DialogScript::AddKey(int scanCode, bool shift) {
  steps_.push_back({StepKind::KeyDown, 0, 0, scanCode, shift});
  steps_.push_back({StepKind::KeyUp, 0, 0, scanCode, shift});
}

bool DialogScript::Next(WindowService& windows, platform::InputEvent& event) {
  using platform::EventType;
  // Without the dialog on screen there is nobody to act on: the actions wait for it.
  if (windows.NativeIdOf(kDialogWindow) == 0) return false;
  if (steps_.empty()) {
    ranOut_ = true;
    return false;
  }
  const Step step = steps_.front();
  steps_.pop_front();
  event = {};
  switch (step.kind) {
    case StepKind::MoveToGadget:
    case StepKind::PressAtGadget:
    case StepKind::ReleaseAtGadget: {
      // A gadget that does not exist is clicked at the window's corner, where nothing is.
      const platform::Rect face =
          windows.GadgetFaceRect(step.gadget).value_or(platform::Rect{0, 0, 1, 1});
      const EventType type = step.kind == StepKind::MoveToGadget    ? EventType::MouseMove
                             : step.kind == StepKind::PressAtGadget ? EventType::MouseDown
                                                                    : EventType::MouseUp;
      event = MouseAt(face, type);
      break;
    }
    case StepKind::MoveToItem:
    case StepKind::PressAtItem:
    case StepKind::ReleaseAtItem: {
      const platform::Rect row =
          windows.GadgetItemRect(step.gadget, step.position).value_or(platform::Rect{0, 0, 1, 1});
      const EventType type = step.kind == StepKind::MoveToItem    ? EventType::MouseMove
                             : step.kind == StepKind::PressAtItem ? EventType::MouseDown
                                                                  : EventType::MouseUp;
      event = MouseAt(row, type);
      break;
    }
    case StepKind::KeyDown:
    case StepKind::KeyUp:
      event.type = step.kind == StepKind::KeyDown ? EventType::KeyDown : EventType::KeyUp;
      event.scanCode = step.scanCode;
      event.shift = step.shift;
      break;
    case StepKind::Close:
      event.type = EventType::Close;
      break;
  }
  event.windowId = windows.NativeIdOf(kDialogWindow);
  return true;
}

}  // namespace velko
