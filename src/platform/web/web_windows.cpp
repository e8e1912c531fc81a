// Windows in the canvas: the page keeps each window's place and order; a window presents its
// frames there as RGBA. Between two frames of the game's screen comes at least one display
// refresh, as with the flip of a full screen: the frame pacer's wait usually is that refresh;
// where it did not wait, the presentation waits for the next.
#include <emscripten.h>

#include <algorithm>
#include <vector>

#include "platform/frame_fitting.h"
#include "platform/web/web_platform.h"

// Calls into the page script (velko_page.js).
EM_JS(void, velko_open_window,
      (int id, int x, int y, int width, int height, int visible, int fullScreen, const char* title),
      { VelkoPage.openWindow(id, x, y, width, height, visible, fullScreen, UTF8ToString(title)); });
EM_JS(void, velko_close_window, (int id), { VelkoPage.closeWindow(id); });
EM_JS(void, velko_show_window, (int id, int visible), { VelkoPage.showWindow(id, visible); });
EM_JS(void, velko_raise_window, (int id), { VelkoPage.raiseWindow(id); });
EM_JS(void, velko_set_title, (const char* title), { VelkoPage.setTitle(UTF8ToString(title)); });
EM_JS(int, velko_window_active, (int id), { return VelkoPage.isActive(id); });
EM_JS(void, velko_present, (int id, const std::uint32_t* rgba, int width, int height),
      { VelkoPage.present(id, rgba, width, height); });
EM_JS(int, velko_refresh_owed, (), { return VelkoClock.frameShown(); });
EM_ASYNC_JS(void, velko_next_refresh, (), { await VelkoClock.nextRefresh(); });

namespace velko::platform {
namespace {

std::uint32_t nextWindowId = 1;

// One row of the frame as RGBA bytes (little-endian words 0xAABBGGRR), opaque.
void RowToRgba(const FrameView& frame, int y, std::uint32_t* out) {
  const auto* row =
      static_cast<const std::uint8_t*>(frame.pixels) + static_cast<std::ptrdiff_t>(y) * frame.pitch;
  if (frame.depth == 16) {
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(row);
    for (int x = 0; x < frame.width; ++x) {
      const std::uint32_t rgb = RgbFrom565(pixels[x]);
      out[x] = 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    }
  } else {
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(row);
    for (int x = 0; x < frame.width; ++x) {
      const std::uint32_t p = pixels[x];
      out[x] = 0xFF000000u | (p & 0xFF) << 16 | (p & 0xFF00) | ((p >> 16) & 0xFF);
    }
  }
}

class WebWindow final : public NativeWindow {
 public:
  WebWindow(const Rect& rect, bool visible, bool fullScreen, std::string_view titleCp1252)
      : id_(nextWindowId++), rect_(rect) {
    velko_open_window(static_cast<int>(id_), rect.x, rect.y, rect.width, rect.height,
                      visible ? 1 : 0, fullScreen ? 1 : 0, Utf8FromCp1252(titleCp1252).c_str());
  }
  ~WebWindow() override { velko_close_window(static_cast<int>(id_)); }
  WebWindow(const WebWindow&) = delete;
  WebWindow& operator=(const WebWindow&) = delete;

  std::uint32_t Id() const override { return id_; }
  void SetTitle(std::string_view titleCp1252) override {
    velko_set_title(Utf8FromCp1252(titleCp1252).c_str());
  }
  void SetVisible(bool visible) override {
    velko_show_window(static_cast<int>(id_), visible ? 1 : 0);
  }
  void Raise() override { velko_raise_window(static_cast<int>(id_)); }
  Rect ClientRect() const override { return rect_; }
  FrameInsets Insets() const override { return {}; }
  bool HasFocus() const override { return velko_window_active(static_cast<int>(id_)) != 0; }

  void Present(const FrameView& frame) override {
    if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) return;
    if (frame.depth != 16 && frame.depth != 32) return;
    const auto width = static_cast<std::size_t>(frame.width);
    rgba_.resize(width * static_cast<std::size_t>(frame.height));
    for (int y = 0; y < frame.height; ++y) {
      RowToRgba(frame, y, rgba_.data() + width * static_cast<std::size_t>(y));
    }
    velko_present(static_cast<int>(id_), rgba_.data(), frame.width, frame.height);
    if (frame.screenFrame && velko_refresh_owed() != 0) velko_next_refresh();
  }

 private:
  std::uint32_t id_;
  Rect rect_;
  std::vector<std::uint32_t> rgba_;
};

}  // namespace

FrameInsets WebPlatform::InsetsFor(const WindowRequest&) {
  // Windows have no frame of their own: the page around the canvas is their frame.
  return {};
}

std::unique_ptr<NativeWindow> WebPlatform::CreateWindow(const WindowRequest& request) {
  Rect rect{request.x, request.y, std::max(request.clientWidth, 1),
            std::max(request.clientHeight, 1)};
  return std::make_unique<WebWindow>(rect, request.visible, false, request.title);
}

std::unique_ptr<NativeWindow> WebPlatform::CreateFullScreen(const DisplayMode& mode,
                                                            std::string_view titleCp1252) {
  if (mode.width <= 0 || mode.height <= 0) return nullptr;
  // The page asks the browser for its full screen; where it refuses, the canvas fills the page.
  return std::make_unique<WebWindow>(Rect{0, 0, mode.width, mode.height}, true, true, titleCp1252);
}

}  // namespace velko::platform
