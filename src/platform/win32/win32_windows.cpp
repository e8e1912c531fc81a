// Native windows over Win32. Each one keeps the last frame it was given in a DIB section, so
// presenting is one copy into it and one BitBlt to the window, and a window uncovered later
// paints itself again without the game. A full-screen window changes the display mode: it
// gives the desktop back its mode when the player switches away and takes the game's mode
// again when it gets the focus back.
#include <algorithm>
#include <cstring>

#include "platform/frame_fitting.h"
#include "platform/win32/win32_platform.h"

namespace velko::platform {
namespace {

constexpr int kDefaultRefreshRate = 60;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

DWORD StyleFor(const WindowRequest& request) {
  if (!request.caption) return WS_POPUP;
  DWORD style = WS_OVERLAPPED | WS_CAPTION;
  if (request.systemMenu) style |= WS_SYSMENU;
  if (request.minimiseBox) style |= WS_MINIMIZEBOX;
  return style;
}

// A BITMAPINFO with room for the three colour masks of a 16-bit frame.
struct FrameBitmapInfo {
  BITMAPINFOHEADER header;
  DWORD masks[3];
};

class Win32Window final : public NativeWindow {
 public:
  Win32Window(Win32Platform& platform, std::uint32_t id, bool fullScreen, const DisplayMode& mode)
      : platform_(platform), id_(id), fullScreen_(fullScreen), mode_(mode) {}
  ~Win32Window() override {
    if (window_ != nullptr) {
      // Messages sent while the window goes away no longer reach this object.
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      ::DestroyWindow(window_);
    }
    FreeSurface();
    if (fullScreen_) RestoreDesktopMode();
  }
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  bool Create(HINSTANCE instance, const std::wstring& title, DWORD style, RECT outer) {
    window_ = ::CreateWindowExW(0, kWindowClassName, title.c_str(), style, outer.left, outer.top,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, instance, this);
    return window_ != nullptr;
  }

  std::uint32_t Id() const override { return id_; }
  void SetTitle(std::string_view titleCp1252) override {
    ::SetWindowTextW(window_, WideFromCp1252(titleCp1252).c_str());
  }
  void SetVisible(bool visible) override {
    ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
    if (visible) ::UpdateWindow(window_);
  }
  void Raise() override {
    ::SetForegroundWindow(window_);
    ::BringWindowToTop(window_);
    ::SetFocus(window_);
  }
  Rect ClientRect() const override {
    RECT client{};
    ::GetClientRect(window_, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window_, &origin);
    return {origin.x, origin.y, client.right - client.left, client.bottom - client.top};
  }
  FrameInsets Insets() const override {
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    const Rect client = ClientRect();
    return {client.x - outer.left, client.y - outer.top, outer.right - (client.x + client.width),
            outer.bottom - (client.y + client.height)};
  }
  void Present(const FrameView& frame) override;
  bool HasFocus() const override { return ::GetForegroundWindow() == window_; }
  int RefreshRate() const override { return fullScreen_ ? CurrentRefreshRate() : 0; }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Attach(HWND window) { window_ = window; }
  // Full screen: the window covers the display in the game's mode; false when the display
  // refuses the mode.
  bool TakeDisplay();

 private:
  bool EnsureSurface(int width, int height, int depth);
  void FreeSurface();
  void Paint(HDC context);
  void LeaveDisplay();
  void WaitForDisplay();
  void QueueEvent(EventType type, int x = 0, int y = 0, int button = 0) {
    InputEvent event;
    event.type = type;
    event.windowId = id_;
    event.x = x;
    event.y = y;
    event.button = button;
    platform_.Queue(event);
  }
  void QueueKey(bool down, WPARAM wParam, LPARAM lParam) {
    const int dik = DikFromKeyMessage(wParam, lParam);
    platform_.KeyChanged(dik, down);
    InputEvent event;
    event.type = down ? EventType::KeyDown : EventType::KeyUp;
    event.windowId = id_;
    event.scanCode = dik;
    event.shift = ::GetKeyState(VK_SHIFT) < 0;
    event.repeat = down && ((lParam >> 30) & 1) != 0;
    platform_.Queue(event);
  }

  Win32Platform& platform_;
  std::uint32_t id_;
  bool fullScreen_;
  DisplayMode mode_;
  bool modeHeld_ = false;  // full screen: the game's mode is in force
  HWND window_ = nullptr;
  HDC surfaceContext_ = nullptr;
  HBITMAP surface_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  void* surfaceBits_ = nullptr;
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
  int surfaceDepth_ = 0;
  int surfaceStride_ = 0;
  bool hasFrame_ = false;
  std::int64_t lastFlip_ = 0;  // performance counter at the last full-screen presentation
};

bool Win32Window::EnsureSurface(int width, int height, int depth) {
  if (surface_ != nullptr && surfaceWidth_ == width && surfaceHeight_ == height &&
      surfaceDepth_ == depth) {
    return true;
  }
  FreeSurface();
  FrameBitmapInfo info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top row first, as the frames are
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(depth);
  if (depth == 16) {
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
  } else {
    info.header.biCompression = BI_RGB;  // XRGB8888
  }
  surfaceContext_ = ::CreateCompatibleDC(nullptr);
  if (surfaceContext_ == nullptr) return false;
  surface_ = ::CreateDIBSection(surfaceContext_, reinterpret_cast<BITMAPINFO*>(&info),
                                DIB_RGB_COLORS, &surfaceBits_, nullptr, 0);
  if (surface_ == nullptr || surfaceBits_ == nullptr) {
    FreeSurface();
    return false;
  }
  previousBitmap_ = ::SelectObject(surfaceContext_, surface_);
  surfaceWidth_ = width;
  surfaceHeight_ = height;
  surfaceDepth_ = depth;
  surfaceStride_ = ((width * depth + 31) / 32) * 4;  // DIB rows are DWORD-aligned
  return true;
}

void Win32Window::FreeSurface() {
  if (surfaceContext_ != nullptr && previousBitmap_ != nullptr) {
    ::SelectObject(surfaceContext_, previousBitmap_);
  }
  if (surface_ != nullptr) ::DeleteObject(surface_);
  if (surfaceContext_ != nullptr) ::DeleteDC(surfaceContext_);
  surfaceContext_ = nullptr;
  surface_ = nullptr;
  previousBitmap_ = nullptr;
  surfaceBits_ = nullptr;
  surfaceWidth_ = surfaceHeight_ = surfaceDepth_ = surfaceStride_ = 0;
  hasFrame_ = false;
}

void Win32Window::Present(const FrameView& frame) {
  if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) return;
  if (frame.depth != 16 && frame.depth != 32) return;
  if (!EnsureSurface(frame.width, frame.height, frame.depth)) return;
  const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * (frame.depth / 8);
  const auto* source = static_cast<const std::uint8_t*>(frame.pixels);
  auto* target = static_cast<std::uint8_t*>(surfaceBits_);
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(target + static_cast<std::ptrdiff_t>(y) * surfaceStride_,
                source + static_cast<std::ptrdiff_t>(y) * frame.pitch, rowBytes);
  }
  hasFrame_ = true;
  if (HDC context = ::GetDC(window_)) {
    Paint(context);
    ::ReleaseDC(window_, context);
  }
  if (fullScreen_) WaitForDisplay();
}

void Win32Window::Paint(HDC context) {
  RECT client{};
  ::GetClientRect(window_, &client);
  RECT destination{0, 0, surfaceWidth_, surfaceHeight_};
  if (hasFrame_ && fullScreen_) {
    // Scaled to fit the display, aspect kept, centred (1:1 when the mode was granted).
    const Rect fit = FitWithAspect(surfaceWidth_, surfaceHeight_, client.right, client.bottom);
    destination = {fit.x, fit.y, fit.x + fit.width, fit.y + fit.height};
  }
  if (!hasFrame_) destination = {0, 0, 0, 0};
  // Black around the frame.
  const HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  const RECT margins[] = {{0, 0, client.right, destination.top},
                          {0, destination.bottom, client.right, client.bottom},
                          {0, destination.top, destination.left, destination.bottom},
                          {destination.right, destination.top, client.right, destination.bottom}};
  for (const RECT& margin : margins) {
    if (margin.right > margin.left && margin.bottom > margin.top) {
      ::FillRect(context, &margin, black);
    }
  }
  if (!hasFrame_) return;
  const int width = destination.right - destination.left;
  const int height = destination.bottom - destination.top;
  if (width == surfaceWidth_ && height == surfaceHeight_) {
    ::BitBlt(context, destination.left, destination.top, width, height, surfaceContext_, 0, 0,
             SRCCOPY);
  } else {
    ::SetStretchBltMode(context, COLORONCOLOR);
    ::StretchBlt(context, destination.left, destination.top, width, height, surfaceContext_, 0, 0,
                 surfaceWidth_, surfaceHeight_, SRCCOPY);
  }
  ::GdiFlush();
}

void Win32Window::WaitForDisplay() {
  // Where the desktop is composed, the next composition is the display's next refresh.
  BOOL composed = FALSE;
  if (::DwmIsCompositionEnabled(&composed) == S_OK && composed && ::DwmFlush() == S_OK) return;
  // Elsewhere the presentations are spaced by one refresh of the display, as a flip would be.
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return;
  const int rate = CurrentRefreshRate() > 0 ? CurrentRefreshRate() : kDefaultRefreshRate;
  const std::int64_t period = frequency.QuadPart / rate;
  ::QueryPerformanceCounter(&now);
  const std::int64_t due = lastFlip_ + period;
  while (now.QuadPart < due && due - now.QuadPart <= period) {
    const std::int64_t remainingMs = (due - now.QuadPart) * 1000 / frequency.QuadPart;
    ::Sleep(remainingMs > 1 ? static_cast<DWORD>(remainingMs - 1) : 0);
    ::QueryPerformanceCounter(&now);
  }
  lastFlip_ = now.QuadPart;
}

bool Win32Window::TakeDisplay() {
  if (!fullScreen_) return false;
  if (!modeHeld_) modeHeld_ = ApplyDisplayMode(mode_);
  ::ShowWindow(window_, SW_RESTORE);
  ::SetWindowPos(window_, HWND_TOP, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                 ::GetSystemMetrics(SM_CYSCREEN), SWP_SHOWWINDOW);
  ::InvalidateRect(window_, nullptr, FALSE);
  return modeHeld_;
}

void Win32Window::LeaveDisplay() {
  if (!fullScreen_) return;
  platform_.ForgetHeldKeys();
  if (modeHeld_) {
    modeHeld_ = false;
    RestoreDesktopMode();
  }
  ::ShowWindow(window_, SW_MINIMIZE);
}

LRESULT Win32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      QueueEvent(EventType::MouseMove, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
      const bool down =
          message == WM_LBUTTONDOWN || message == WM_MBUTTONDOWN || message == WM_RBUTTONDOWN;
      const int button = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP   ? 1
                         : message == WM_MBUTTONDOWN || message == WM_MBUTTONUP ? 2
                                                                                : 3;
      // A drag keeps reaching the window it started in, outside it too.
      if (down) {
        ::SetCapture(window_);
      } else if ((wParam & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)) == 0) {
        ::ReleaseCapture();
      }
      QueueEvent(down ? EventType::MouseDown : EventType::MouseUp, GET_X_LPARAM(lParam),
                 GET_Y_LPARAM(lParam), button);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      QueueKey(message == WM_KEYDOWN, wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Alt and F10 come this way; the system still sees them (Alt+F4 closes).
      QueueKey(message == WM_SYSKEYDOWN, wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      // Alt alone or F10 would open the window menu and hold the game in its loop; and while
      // the game has the display, no screen saver or monitor sleep.
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      if (fullScreen_ &&
          ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER)) {
        return 0;
      }
      break;
    case WM_CLOSE:
      // The close box asks; the window stays until the program closes it.
      QueueEvent(EventType::Close);
      return 0;
    case WM_SETFOCUS:
      QueueEvent(EventType::FocusGained);
      return 0;
    case WM_KILLFOCUS:
      platform_.ForgetHeldKeys();
      QueueEvent(EventType::FocusLost);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam != 0) {
        TakeDisplay();
      } else {
        platform_.ForgetHeldKeys();
        LeaveDisplay();
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC context = ::BeginPaint(window_, &paint)) {
        Paint(context);
        ::EndPaint(window_, &paint);
      }
      QueueEvent(EventType::Exposed);
      return 0;
    }
    case WM_SETCURSOR:
      if (fullScreen_ && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(nullptr);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* owner =
        static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    owner->Attach(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  }
  auto* owner = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (owner == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return owner->Handle(message, wParam, lParam);
}

}  // namespace

bool RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kWindowClassName;
  return ::RegisterClassExW(&windowClass) != 0;
}

FrameInsets Win32Platform::InsetsFor(const WindowRequest& request) {
  RECT frame{0, 0, 0, 0};
  if (!::AdjustWindowRectEx(&frame, StyleFor(request), FALSE, 0)) return {};
  return {-frame.left, -frame.top, frame.right, frame.bottom};
}

std::unique_ptr<NativeWindow> Win32Platform::CreateWindow(const WindowRequest& request) {
  const FrameInsets insets = InsetsFor(request);
  const int outerWidth = std::max(request.clientWidth, 1) + insets.left + insets.right;
  const int outerHeight = std::max(request.clientHeight, 1) + insets.top + insets.bottom;
  const int x = request.x;
  const int y = request.y;
  auto window = std::make_unique<Win32Window>(*this, nextWindowId_++, false, DisplayMode{});
  if (!window->Create(instance_, WideFromCp1252(request.title), StyleFor(request),
                      {x, y, x + outerWidth, y + outerHeight})) {
    return nullptr;
  }
  if (request.visible) window->SetVisible(true);
  return window;
}

std::unique_ptr<NativeWindow> Win32Platform::CreateFullScreen(const DisplayMode& mode,
                                                              std::string_view titleCp1252) {
  if (mode.width <= 0 || mode.height <= 0) return nullptr;
  auto window = std::make_unique<Win32Window>(*this, nextWindowId_++, true, mode);
  if (!window->Create(instance_, WideFromCp1252(titleCp1252), WS_POPUP,
                      {0, 0, mode.width, mode.height})) {
    return nullptr;
  }
  // A mode the display refuses fails the screen open; the game says so.
  if (!window->TakeDisplay()) return nullptr;
  window->Raise();
  PumpMessages();
  return window;
}

}  // namespace velko::platform
