// Numbered top-level windows, their gadgets (controls) and the event model the display-mode
// dialog waits on. Window 2 is the native window a windowed screen presents into.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "services/operations.h"

namespace velko {

class WindowService {
 public:
  explicit WindowService(platform::Platform& platform);
  ~WindowService();

  void Start();  // window table and event state
  void GadgetsStart();

  WindowHandle WindowOpen(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                          uint32_t flags, const std::string& title);
  void WindowClose(int32_t number);
  void WindowActivate();
  int32_t EventWait();
  int32_t EventPoll();
  int32_t EventGadgetNumber() const;
  int32_t EventKind() const;

  void GadgetList(WindowHandle window);
  WindowHandle GadgetText(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                          const std::string& text, uint32_t flags);
  WindowHandle GadgetButton(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                            const std::string& text, uint32_t flags);
  WindowHandle GadgetCheckBox(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                              const std::string& text, uint32_t flags);
  WindowHandle GadgetDropDown(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                              uint32_t flags);
  void GadgetItemAdd(int32_t number, int32_t position, const std::string& text);
  int32_t GadgetStateGet(int32_t number);
  void GadgetStateSet(int32_t number, int32_t state);
  std::string GadgetTextGet(int32_t number);

  // The native window behind a handle this service made, or null.
  platform::NativeWindow* NativeFor(WindowHandle window);

  // Shutdown: closes every window from the highest number down to 0.
  void CloseAll();

 private:
  platform::Platform& platform_;
};

}  // namespace velko
