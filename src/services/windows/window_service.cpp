#include "services/windows/window_service.h"

#include "services/text/text.h"

namespace velko {
namespace {

using gadgets::GadgetKind;

// Window styles the flags of WindowOpen may carry.
constexpr uint32_t kCentreOnDesktop = 1;
constexpr uint32_t kCentreOnActive = 2;
constexpr uint32_t kVisible = 0x10000000;  // inverted: given, the window starts hidden
constexpr uint32_t kCaption = 0x00C00000;
constexpr uint32_t kSystemMenu = 0x00080000;
constexpr uint32_t kMinimiseBox = 0x00020000;

// The styles of the gadget kinds, each with child and visible.
constexpr uint32_t kTextStyle = 0x50020000;
constexpr uint32_t kClientEdgeFlag = 0x20000;
constexpr uint32_t kButtonStyle = 0x50030000;
constexpr uint32_t kCheckBoxStyle = 0x50030003;
constexpr uint32_t kFirstOptionStyle = 0x50030009;
constexpr uint32_t kNextOptionStyle = 0x50010009;
constexpr uint32_t kDropDownStyle = 0x50A30203;
constexpr uint32_t kDropDownBaseStyle = 0x50A30200;
constexpr uint32_t kDropDownList = 3;  // CBS_DROPDOWNLIST
constexpr uint32_t kDropDownEdit = 2;  // CBS_DROPDOWN
constexpr uint32_t kListBoxStyle = 0x50330141;
constexpr uint32_t kStringStyle = 0x50030080;
constexpr uint32_t kGroupBoxStyle = 0x50020007;
constexpr uint32_t kEdgeFrameStyle = 0x54020001;
constexpr uint32_t kPanelStyle = 0x54030000;

constexpr int kWindowCapacity = 10;
constexpr int kWindowStep = 10;
constexpr int kWindowExtra = 2;
constexpr int kGadgetCapacity = 30;
constexpr int kGadgetStep = 30;
constexpr int kGadgetExtra = 2;

std::string ClassName(int32_t number) {
  return "WindowClass_" + TextFromInt(number);
}

}  // namespace

WindowService::WindowService(platform::Platform& platform)
    : platform_(platform),
      texts_(platform),
      windows_(kWindowCapacity, kWindowStep, kWindowExtra),
      gadgets_(kGadgetCapacity, kGadgetStep, kGadgetExtra) {}

WindowService::~WindowService() = default;

void WindowService::Start() {
  CloseAll();
  windows_ = ObjectTable<WindowRecord>(kWindowCapacity, kWindowStep, kWindowExtra);
  events_ = {};
  currentWindow_ = 0;
  classes_ = {"TemplateClass"};
}

void WindowService::GadgetsStart() {
  gadgets_ = ObjectTable<GadgetRecord>(kGadgetCapacity, kGadgetStep, kGadgetExtra);
  spareGadget_ = {};
  gadgetParent_ = 0;
  optionRunOpen_ = false;
}

// ---- Windows ----

WindowHandle WindowService::WindowOpen(int32_t number, int32_t x, int32_t y, int32_t width,
                                       int32_t height, uint32_t flags, const std::string& title) {
  if (!windows_.Grow(number)) return 0;
  WindowClose(number);
  classes_.insert(ClassName(number));

  uint32_t style = flags & ~(kCentreOnDesktop | kCentreOnActive | kVisible);
  if (style == 0) style = kCaption;
  platform::WindowRequest request;
  request.title = title;
  request.clientWidth = width;
  request.clientHeight = height;
  request.caption = (style & kCaption) == kCaption;
  // The close box comes with the system menu, which needs a caption to sit in.
  request.systemMenu = request.caption && (style & kSystemMenu) != 0;
  request.minimiseBox = request.systemMenu && (style & kMinimiseBox) != 0;
  request.visible = (flags & kVisible) == 0;

  // width and height are the client size; the frame makes the outer size.
  const platform::FrameInsets insets = platform_.InsetsFor(request);
  const int outerWidth = width + insets.left + insets.right;
  const int outerHeight = height + insets.top + insets.bottom;
  request.x = x;
  request.y = y;
  const platform::DesktopInfo desktop = platform_.Desktop();
  gadgets::GadgetWindow* active = nullptr;
  if ((flags & kCentreOnActive) != 0 && (flags & kCentreOnDesktop) == 0) {
    for (int32_t n = 0; n < windows_.Capacity(); ++n) {
      const WindowRecord* record = RecordOf(n);
      if (record != nullptr && record->window && record->window->Native().HasFocus()) {
        active = record->window.get();
      }
    }
  }
  if (active != nullptr) {
    const platform::Rect client = active->Native().ClientRect();
    const platform::FrameInsets frame = active->Native().Insets();
    const int activeLeft = client.x - frame.left;
    const int activeTop = client.y - frame.top;
    const int activeWidth = client.width + frame.left + frame.right;
    const int activeHeight = client.height + frame.top + frame.bottom;
    request.x = std::max(activeLeft - (outerWidth >> 1) + (activeWidth >> 1), 0);
    request.y = std::max(activeTop - (outerHeight >> 1) + (activeHeight >> 1), 0);
  } else if ((flags & (kCentreOnDesktop | kCentreOnActive)) != 0) {
    request.x = (desktop.width >> 1) - (outerWidth >> 1);
    request.y = (desktop.height >> 1) - (outerHeight >> 1);
  }

  std::unique_ptr<platform::NativeWindow> native = platform_.CreateWindow(request);
  WindowRecord& record = *windows_.Make(number);
  if (!native) {
    record = {};
    return 0;
  }
  const WindowHandle handle = nextHandle_++;
  record.handle = handle;
  record.shortcutCount = 2;
  record.window = std::make_unique<gadgets::GadgetWindow>(handle, std::move(native), width, height);
  currentWindow_ = handle;
  return handle;
}

void WindowService::WindowClose(int32_t number) {
  if (number < 0 || number >= windows_.Capacity()) return;
  WindowRecord* record = windows_.Find(number);
  if (record == nullptr || record->handle == 0) return;
  const WindowHandle handle = record->handle;
  record->handle = 0;
  // The controls go with their window; their gadget entries stay and now lead nowhere.
  record->window.reset();
  record->shortcutCount = 0;
  classes_.erase(ClassName(number));
  if (currentWindow_ == handle) currentWindow_ = 0;
}

void WindowService::WindowActivate() {
  if (gadgets::GadgetWindow* window = WindowByHandle(currentWindow_)) {
    window->Native().Raise();
    window->Repaint(true);
  }
}

WindowHandle WindowService::WindowHandleOf(int32_t number) const {
  const WindowRecord* record = RecordOf(number);
  return record != nullptr ? record->handle : 0;
}

void WindowService::CloseAll() {
  for (int32_t number = windows_.Capacity() - 1; number >= 0; --number) WindowClose(number);
}

platform::NativeWindow* WindowService::NativeFor(WindowHandle window) {
  gadgets::GadgetWindow* found = WindowByHandle(window);
  return found != nullptr ? &found->Native() : nullptr;
}

const WindowService::WindowRecord* WindowService::RecordOf(int32_t number) const {
  // Numbers beyond the capacity read as an empty record.
  if (number < 0 || number >= windows_.Capacity()) return nullptr;
  return windows_.Find(number);
}

gadgets::GadgetWindow* WindowService::WindowByHandle(WindowHandle handle) const {
  if (handle == 0) return nullptr;
  for (int32_t number = 0; number < windows_.Capacity(); ++number) {
    const WindowRecord* record = windows_.Find(number);
    if (record != nullptr && record->handle == handle) return record->window.get();
  }
  return nullptr;
}

WindowService::WindowRecord* WindowService::RecordByNativeId(std::uint32_t id) {
  if (id == 0) return nullptr;
  for (int32_t number = 0; number < windows_.Capacity(); ++number) {
    WindowRecord* record = windows_.Find(number);
    if (record != nullptr && record->window && record->window->Native().Id() == id) return record;
  }
  return nullptr;
}

// ---- Events ----

int32_t WindowService::EventWait() {
  return TakeEvent(true);
}

int32_t WindowService::EventPoll() {
  return TakeEvent(false);
}

int32_t WindowService::TakeEvent(bool wait) {
  events_.type = -1;
  platform::InputEvent event;
  const bool received = wait ? platform_.WaitEvent(event) : platform_.PollEvent(event);
  // Nothing arrived: a poll found the queue empty, or no event can ever come to a wait.
  if (!received) return 0;
  events_.pending = 0;
  Dispatch(event);
  const int32_t result = events_.pending != 0 ? events_.pending : events_.message;
  events_.pending = 0;
  return result;
}

void WindowService::Dispatch(const platform::InputEvent& event) {
  using platform::EventType;
  const bool isKey = event.type == EventType::KeyDown || event.type == EventType::KeyUp;
  if (isKey &&
      (event.scanCode == gadgets::keys::kLeftAlt || event.scanCode == gadgets::keys::kRightAlt)) {
    altHeld_ = event.type == EventType::KeyDown;
  }
  events_.message = gadgets::MessageNumberFor(event, altHeld_);
  events_.secondParameter = gadgets::SecondParameterFor(event);

  WindowRecord* record = RecordByNativeId(event.windowId);
  events_.window = record != nullptr ? record->handle : 0;
  if (event.type == EventType::FocusLost) altHeld_ = false;
  // Asked to end by the system: whatever window waits answers as to its close box.
  if (event.type == EventType::Quit) {
    events_.pending = gadgets::kCloseEvent;
    return;
  }
  if (record == nullptr) return;
  gadgets::GadgetWindow& window = *record->window;

  const gadgets::KeyPress key{event.scanCode, event.shift, altHeld_};
  std::optional<gadgets::Notification> notification;
  switch (event.type) {
    case EventType::MouseMove:
      notification = window.MouseMove(event.x, event.y);
      break;
    case EventType::MouseDown:
      if (event.button == 1) notification = window.MouseDown(event.x, event.y);
      break;
    case EventType::MouseUp:
      if (event.button == 1) notification = window.MouseUp(event.x, event.y);
      break;
    case EventType::KeyDown:
      // The window's two shortcuts move the focus; nothing else sees the key.
      if (record->shortcutCount > 0 && event.scanCode == gadgets::keys::kTab && !altHeld_) {
        notification = window.MoveFocus(!event.shift);
      } else {
        notification = window.KeyDown(key);
      }
      break;
    case EventType::KeyUp:
      notification = window.KeyUp(key);
      break;
    case EventType::Close:
      // The close box asks; the window stays until the program closes it.
      events_.pending = gadgets::kCloseEvent;
      break;
    case EventType::FocusLost:
      notification = window.Deactivated();
      break;
    case EventType::Exposed:
      window.Repaint(true);
      break;
    default:
      break;
  }
  if (notification) {
    events_.pending = gadgets::kGadgetEvent;
    events_.gadget = notification->gadget;
    events_.type = notification->code;
  }
  window.Repaint();
}

int32_t WindowService::EventGadgetNumber() const {
  return events_.gadget;
}

int32_t WindowService::EventKind() const {
  return events_.type;
}

int32_t WindowService::EventWindowNumber() const {
  if (events_.window == 0) return -1;
  for (int32_t number = 0; number < windows_.Capacity(); ++number) {
    const WindowRecord* record = windows_.Find(number);
    if (record != nullptr && record->handle == events_.window) return number;
  }
  return -1;
}

// ---- Gadgets ----

void WindowService::GadgetList(WindowHandle window) {
  gadgetParent_ = window;
}

const WindowService::GadgetRecord& WindowService::GadgetEntry(int32_t number) const {
  // Numbers at or beyond the capacity share one spare record instead of reading past the table.
  if (number < 0 || number >= gadgets_.Capacity()) return spareGadget_;
  return *gadgets_.Find(number);
}

gadgets::Control* WindowService::ControlOf(int32_t number, gadgets::GadgetWindow** owner) const {
  const GadgetRecord& entry = GadgetEntry(number);
  if (entry.control == 0) return nullptr;
  for (int32_t n = 0; n < windows_.Capacity(); ++n) {
    const WindowRecord* record = windows_.Find(n);
    if (record == nullptr || !record->window) continue;
    if (gadgets::Control* control = record->window->Find(entry.control)) {
      if (owner != nullptr) *owner = record->window.get();
      return control;
    }
  }
  return nullptr;
}

template <typename Make>
WindowHandle WindowService::CreateGadget(int32_t number, GadgetKind kind, Make make) {
  if (!gadgets_.Grow(number)) return 0;
  WindowHandle handle = 0;
  if (gadgets::GadgetWindow* parent = WindowByHandle(gadgetParent_)) {
    handle = nextHandle_++;
    gadgets::Control& control = parent->Add(make(handle));
    if (kind == GadgetKind::Option) control.SetOptionRun(optionRun_);
    Changed(parent);
  }
  // A control made earlier under this number stays in its window; the number names the new one.
  *gadgets_.Find(number) = {handle, kind};
  if (kind != GadgetKind::Option) optionRunOpen_ = false;
  return handle;
}

void WindowService::Changed(gadgets::GadgetWindow* window) {
  if (window == nullptr) return;
  window->Invalidate();
  window->Repaint();
}

WindowHandle WindowService::GadgetText(int32_t number, int32_t x, int32_t y, int32_t width,
                                       int32_t height, const std::string& text, uint32_t flags) {
  return CreateGadget(number, GadgetKind::Text, [&](WindowHandle handle) {
    return gadgets::MakeTextControl(handle, number, {x, y, width, height}, text, kTextStyle | flags,
                                    (flags & kClientEdgeFlag) != 0, texts_);
  });
}

WindowHandle WindowService::GadgetButton(int32_t number, int32_t x, int32_t y, int32_t width,
                                         int32_t height, const std::string& text, uint32_t flags) {
  return CreateGadget(number, GadgetKind::Button, [&](WindowHandle handle) {
    return gadgets::MakeButton(handle, number, {x, y, width, height}, text, kButtonStyle | flags,
                               texts_);
  });
}

WindowHandle WindowService::GadgetCheckBox(int32_t number, int32_t x, int32_t y, int32_t width,
                                           int32_t height, const std::string& text,
                                           uint32_t flags) {
  return CreateGadget(number, GadgetKind::CheckBox, [&](WindowHandle handle) {
    return gadgets::MakeCheckBox(handle, number, {x, y, width, height}, text,
                                 kCheckBoxStyle | flags, texts_);
  });
}

WindowHandle WindowService::GadgetOption(int32_t number, int32_t x, int32_t y, int32_t width,
                                         int32_t height, const std::string& text, uint32_t flags) {
  // The first option after any other kind starts a new run (a new group).
  const bool first = !optionRunOpen_;
  if (first) ++optionRun_;
  optionRunOpen_ = true;
  return CreateGadget(number, GadgetKind::Option, [&](WindowHandle handle) {
    return gadgets::MakeOption(handle, number, {x, y, width, height}, text,
                               (first ? kFirstOptionStyle : kNextOptionStyle) | flags, texts_);
  });
}

WindowHandle WindowService::GadgetDropDown(int32_t number, int32_t x, int32_t y, int32_t width,
                                           int32_t height, uint32_t flags) {
  uint32_t style = kDropDownStyle;
  if (flags != 0) {
    style = flags | kDropDownBaseStyle;
    if ((flags & kDropDownEdit) == 0) style |= kDropDownList;
  }
  return CreateGadget(number, GadgetKind::DropDown, [&](WindowHandle handle) {
    return gadgets::MakeDropDown(handle, number, {x, y, width, height}, style, texts_);
  });
}

WindowHandle WindowService::GadgetListBox(int32_t number, int32_t x, int32_t y, int32_t width,
                                          int32_t height, uint32_t flags) {
  return CreateGadget(number, GadgetKind::ListBox, [&](WindowHandle handle) {
    return gadgets::MakeListBox(handle, number, {x, y, width, height}, kListBoxStyle | flags,
                                texts_);
  });
}

WindowHandle WindowService::GadgetString(int32_t number, int32_t x, int32_t y, int32_t width,
                                         int32_t height, const std::string& text, uint32_t flags) {
  return CreateGadget(number, GadgetKind::String, [&](WindowHandle handle) {
    return gadgets::MakeString(handle, number, {x, y, width, height}, text, kStringStyle | flags,
                               (flags & kClientEdgeFlag) == 0, texts_);
  });
}

WindowHandle WindowService::GadgetFrame(int32_t number, int32_t x, int32_t y, int32_t width,
                                        int32_t height, const std::string& text, uint32_t flags) {
  return CreateGadget(number, GadgetKind::Frame, [&](WindowHandle handle) {
    return gadgets::MakeFrame(handle, number, {x, y, width, height}, text,
                              flags == 0 ? kGroupBoxStyle : kEdgeFrameStyle, flags == 0, texts_);
  });
}

WindowHandle WindowService::GadgetPanel(int32_t number, int32_t x, int32_t y, int32_t width,
                                        int32_t height) {
  return CreateGadget(number, GadgetKind::Panel, [&](WindowHandle handle) {
    return gadgets::MakePanel(handle, number, {x, y, width, height}, kPanelStyle, texts_);
  });
}

void WindowService::GadgetItemAdd(int32_t number, int32_t position, const std::string& text) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    control->ItemAdd(position, text);
    Changed(window);
  }
}

void WindowService::GadgetItemRemove(int32_t number, int32_t position) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    control->ItemRemove(position);
    Changed(window);
  }
}

void WindowService::GadgetItemsClear(int32_t number) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    control->ItemsClear();
    Changed(window);
  }
}

int32_t WindowService::GadgetItemCount(int32_t number) {
  const gadgets::Control* control = ControlOf(number);
  return control != nullptr ? control->ItemCount() : 0;
}

int32_t WindowService::GadgetItemStateGet(int32_t number, int32_t position) {
  const gadgets::Control* control = ControlOf(number);
  return control != nullptr ? control->ItemStateGet(position) : 0;
}

void WindowService::GadgetItemStateSet(int32_t number, int32_t position, int32_t state) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    control->ItemStateSet(position, state);
    Changed(window);
  }
}

std::string WindowService::GadgetItemTextGet(int32_t number, int32_t position) {
  const gadgets::Control* control = ControlOf(number);
  return control != nullptr ? control->ItemTextGet(position) : std::string();
}

void WindowService::GadgetItemTextSet(int32_t number, int32_t position, const std::string& text) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    control->ItemTextSet(position, text);
    Changed(window);
  }
}

int32_t WindowService::GadgetStateGet(int32_t number) {
  const gadgets::Control* control = ControlOf(number);
  return control != nullptr ? control->StateGet() : 0;
}

void WindowService::GadgetStateSet(int32_t number, int32_t state) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    control->StateSet(state);
    Changed(window);
  }
}

std::string WindowService::GadgetTextGet(int32_t number) {
  const gadgets::Control* control = ControlOf(number);
  return control != nullptr ? control->TextGet() : std::string();
}

void WindowService::GadgetTextSet(int32_t number, const std::string& text) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    control->TextSet(text);
    Changed(window);
  }
}

void WindowService::GadgetFree(int32_t number) {
  gadgets::GadgetWindow* window = nullptr;
  const GadgetRecord& entry = GadgetEntry(number);
  if (ControlOf(number, &window) != nullptr) {
    window->Remove(entry.control);
    Changed(window);
  }
  if (number >= 0 && number < gadgets_.Capacity()) *gadgets_.Find(number) = {};
}

void WindowService::GadgetEnable(int32_t number, bool enabled) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    if (!enabled && window->Focus() == control) window->SetFocus(nullptr);
    control->SetEnabled(enabled);
    Changed(window);
  }
}

void WindowService::GadgetShow(int32_t number, bool visible) {
  gadgets::GadgetWindow* window = nullptr;
  if (gadgets::Control* control = ControlOf(number, &window)) {
    if (!visible && window->Focus() == control) window->SetFocus(nullptr);
    control->SetVisible(visible);
    Changed(window);
  }
}

WindowHandle WindowService::GadgetHandle(int32_t number) const {
  return GadgetEntry(number).control;
}

std::optional<platform::Rect> WindowService::GadgetFaceRect(int32_t number) const {
  const gadgets::Control* control = ControlOf(number);
  if (control == nullptr) return std::nullopt;
  return control->Face();
}

std::optional<platform::Rect> WindowService::GadgetItemRect(int32_t number,
                                                            int32_t position) const {
  const gadgets::Control* control = ControlOf(number);
  if (control == nullptr) return std::nullopt;
  return control->ItemRect(position);
}

std::uint32_t WindowService::NativeIdOf(int32_t number) const {
  const WindowRecord* record = RecordOf(number);
  return record != nullptr && record->window ? record->window->Native().Id() : 0;
}

WindowHandle WindowService::FocusedControl(int32_t number) const {
  const WindowRecord* record = RecordOf(number);
  if (record == nullptr || !record->window) return 0;
  const gadgets::Control* focus = record->window->Focus();
  return focus != nullptr ? focus->Handle() : 0;
}

const gadgets::Canvas* WindowService::ClientPixels(int32_t number) const {
  const WindowRecord* record = RecordOf(number);
  return record != nullptr && record->window ? &record->window->Pixels() : nullptr;
}

}  // namespace velko
