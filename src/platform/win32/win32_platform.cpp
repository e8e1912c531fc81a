#include "platform/win32/win32_platform.h"

#include <vector>

#include "platform/scan_codes.h"
#include "platform/win32/win32_text.h"

namespace velko::platform {

std::wstring WideFromCp1252(std::string_view textCp1252) {
  const std::u16string utf16 = Utf16FromCp1252(textCp1252);
  return std::wstring(utf16.begin(), utf16.end());
}

std::wstring WideFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
  return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(std::max(length, 0)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length,
                        nullptr, nullptr);
  return utf8;
}

Win32Platform::Win32Platform() : instance_(::GetModuleHandleW(nullptr)) {
  // Sizes are the display's own pixels: otherwise, on a desktop scaled above 100 %, the system
  // would enlarge the 800 x 600 full screen past the display mode it has just set.
  ::SetProcessDPIAware();
  // Sleep's granularity is the system timer's: ask for 1 ms so frame pacing can sleep.
  timerPeriodSet_ = ::timeBeginPeriod(1) == TIMERR_NOERROR;
  RegisterWindowClass(instance_);
}

Win32Platform::~Win32Platform() {
  text_.reset();
  RestoreDesktopMode();
  ::UnregisterClassW(kWindowClassName, instance_);
  if (timerPeriodSet_) ::timeEndPeriod(1);
}

std::uint32_t Win32Platform::TickCount() {
  return ::GetTickCount();
}

std::int64_t Win32Platform::PerformanceCounter() {
  LARGE_INTEGER count{};
  ::QueryPerformanceCounter(&count);
  return count.QuadPart;
}

std::int64_t Win32Platform::PerformanceFrequency() {
  LARGE_INTEGER frequency{};
  if (!::QueryPerformanceFrequency(&frequency)) return 0;
  return frequency.QuadPart;
}

void Win32Platform::SleepMilliseconds(std::uint32_t ms) {
  ::Sleep(ms);
}

std::string Win32Platform::ExecutablePath() {
  // Long paths need more than MAX_PATH: grow until the whole path fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Utf8FromWide(std::wstring_view(buffer.data(), length));
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

int Win32Platform::MessageBox(std::string_view titleCp1252, std::string_view textCp1252) {
  const std::wstring title = WideFromCp1252(titleCp1252);
  const std::wstring text = WideFromCp1252(textCp1252);
  return ::MessageBoxW(::GetForegroundWindow(), text.c_str(), title.c_str(), MB_OK);
}

DesktopInfo Win32Platform::Desktop() {
  DesktopInfo info;
  info.width = ::GetSystemMetrics(SM_CXSCREEN);
  info.height = ::GetSystemMetrics(SM_CYSCREEN);
  if (HDC screen = ::GetDC(nullptr)) {
    info.depth = ::GetDeviceCaps(screen, BITSPIXEL) <= 16 ? 16 : 32;
    ::ReleaseDC(nullptr, screen);
  }
  return info;
}

void Win32Platform::PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

bool Win32Platform::PollEvent(InputEvent& event) {
  PumpMessages();
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

bool Win32Platform::WaitEvent(InputEvent& event) {
  for (;;) {
    if (PollEvent(event)) return true;
    ::WaitMessage();
  }
}

void Win32Platform::KeyChanged(int dik, bool held) {
  if (dik > 0 && dik < static_cast<int>(keys_.size())) {
    keys_[static_cast<std::size_t>(dik)] = held ? scan::kHeld : 0;
  }
}

bool Win32Platform::IsOwnWindow(HWND window) const {
  DWORD process = 0;
  return window != nullptr && ::GetWindowThreadProcessId(window, &process) != 0 &&
         process == ::GetCurrentProcessId();
}

bool Win32Platform::ReadKeys(std::array<std::uint8_t, 256>& keys) {
  // Nobody else reads events while the game runs: take them here, so the key state is fresh
  // and a close request is not lost.
  PumpMessages();
  for (const InputEvent& event : events_) {
    if (event.type == EventType::Close) closeRequested_ = true;
  }
  events_.clear();
  keys.fill(0);
  // Without the focus every key reads as released, so nothing sticks while the player is away.
  if (IsOwnWindow(::GetForegroundWindow())) keys = keys_;
  return true;
}

TextRaster Win32Platform::RasterizeText(std::string_view textCp1252) {
  if (textCp1252.empty()) return {};
  if (text_ == nullptr) text_ = std::make_unique<TextRenderer>();
  return text_->Rasterize(WideFromCp1252(textCp1252));
}

}  // namespace velko::platform
