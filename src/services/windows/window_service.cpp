#include "services/windows/window_service.h"

namespace velko {

// Placeholder until the window and gadget service is built: every window fails to open.
WindowService::WindowService(platform::Platform& platform) : platform_(platform) {}
WindowService::~WindowService() = default;
void WindowService::Start() {}
void WindowService::GadgetsStart() {}
WindowHandle WindowService::WindowOpen(int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t,
                                       const std::string&) {
  return 0;
}
void WindowService::WindowClose(int32_t) {}
void WindowService::WindowActivate() {}
int32_t WindowService::EventWait() {
  return 0;
}
int32_t WindowService::EventPoll() {
  return 0;
}
int32_t WindowService::EventGadgetNumber() const {
  return 0;
}
int32_t WindowService::EventKind() const {
  return -1;
}
void WindowService::GadgetList(WindowHandle) {}
WindowHandle WindowService::GadgetText(int32_t, int32_t, int32_t, int32_t, int32_t,
                                       const std::string&, uint32_t) {
  return 0;
}
WindowHandle WindowService::GadgetButton(int32_t, int32_t, int32_t, int32_t, int32_t,
                                         const std::string&, uint32_t) {
  return 0;
}
WindowHandle WindowService::GadgetCheckBox(int32_t, int32_t, int32_t, int32_t, int32_t,
                                           const std::string&, uint32_t) {
  return 0;
}
WindowHandle WindowService::GadgetDropDown(int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t) {
  return 0;
}
void WindowService::GadgetItemAdd(int32_t, int32_t, const std::string&) {}
int32_t WindowService::GadgetStateGet(int32_t) {
  return 0;
}
void WindowService::GadgetStateSet(int32_t, int32_t) {}
std::string WindowService::GadgetTextGet(int32_t) {
  return {};
}
platform::NativeWindow* WindowService::NativeFor(WindowHandle) {
  return nullptr;
}
void WindowService::CloseAll() {}

}  // namespace velko
