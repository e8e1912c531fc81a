#include "platform/web/web_platform.h"

#include <emscripten.h>

#include <cmath>
#include <optional>
#include <string>

#include "platform/key_table.h"
#include "platform/web/web_pads.h"

// Calls into the page scripts (velko_clock.js, velko_page.js).
EM_JS(double, velko_now, (), { return VelkoClock.now(); });
EM_ASYNC_JS(void, velko_wait_until, (double deadline), { await VelkoClock.waitUntil(deadline); });
EM_ASYNC_JS(void, velko_sleep, (int ms), { await VelkoPage.sleep(ms); });
EM_JS(int, velko_program_path, (char* out, int size), {
  const path = VelkoPage.programDirectory + "velko";
  stringToUTF8(path, out, size);
  return lengthBytesUTF8(path);
});
EM_ASYNC_JS(void, velko_message_box, (const char* title, const char* text),
            { await VelkoPage.messageBox(UTF8ToString(title), UTF8ToString(text)); });
EM_JS(void, velko_name_key, (const char* code, int dik),
      { VelkoPage.nameKey(UTF8ToString(code), dik); });
EM_JS(int, velko_take_event, (int* out), { return VelkoPage.takeEvent(out); });
EM_ASYNC_JS(void, velko_wait_for_event, (), { await VelkoPage.waitForEvent(); });
EM_ASYNC_JS(void, velko_yield, (), { await VelkoPage.sleep(0); });
EM_JS(int, velko_read_keys, (std::uint8_t * out), { return VelkoPage.readKeys(out); });
EM_ASYNC_JS(void, velko_wait_for_replay, (), { await VelkoPage.gameOver(); });
EM_JS(int, velko_stop_requested, (), { return VelkoPage.closeRequested(); });

namespace velko::platform {
namespace {

// The numbers the page script gives the event types.
static_assert(static_cast<int>(EventType::MouseMove) == 1);
static_assert(static_cast<int>(EventType::MouseDown) == 2);
static_assert(static_cast<int>(EventType::MouseUp) == 3);
static_assert(static_cast<int>(EventType::KeyDown) == 4);
static_assert(static_cast<int>(EventType::KeyUp) == 5);
static_assert(static_cast<int>(EventType::Close) == 6);
static_assert(static_cast<int>(EventType::FocusGained) == 7);
static_assert(static_cast<int>(EventType::FocusLost) == 8);
static_assert(static_cast<int>(EventType::Exposed) == 9);
constexpr int kLastEventType = 9;

// An event as the page writes it: type, window, x, y, button, scan code, shift, repeat.
using RawEvent = std::array<int, 8>;

bool TakeEvent(InputEvent& event) {
  RawEvent raw{};
  for (;;) {
    if (velko_take_event(raw.data()) == 0) return false;
    if (raw[0] != kPadButtonDown && raw[0] != kPadButtonUp) break;
    // A pad button: the dialog's key it stands for, if any.
    if (const std::optional<InputEvent> key =
            DialogKeyForPadEvent(raw[0], raw[4], static_cast<std::uint32_t>(raw[1]))) {
      event = *key;
      return true;
    }
  }
  event = {};
  event.type =
      raw[0] >= 1 && raw[0] <= kLastEventType ? static_cast<EventType>(raw[0]) : EventType::None;
  event.windowId = static_cast<std::uint32_t>(raw[1]);
  event.x = raw[2];
  event.y = raw[3];
  event.button = raw[4];
  event.scanCode = raw[5];
  event.shift = raw[6] != 0;
  event.repeat = raw[7] != 0;
  return true;
}

}  // namespace

WebPlatform::WebPlatform() {
  // The page maps KeyboardEvent.code itself, as the events arrive; the names come from here.
  static bool keysNamed = false;
  if (keysNamed) return;
  keysNamed = true;
  for (const KeyRow& row : KeyRows()) {
    const std::string code(row.browserCode);
    velko_name_key(code.c_str(), row.scanCode);
  }
}

std::uint32_t WebPlatform::TickCount() {
  // The low 32 bits of the wall clock in milliseconds: the game seeds its random numbers from
  // this, so each visit starts elsewhere.
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(velko_now())));
}

std::int64_t WebPlatform::PerformanceCounter() {
  // Microseconds: finer than the browser's own resolution of the clock.
  return static_cast<std::int64_t>(std::floor(velko_now() * 1000.0));
}

void WebPlatform::SleepUntilCounter(std::int64_t deadline) {
  // Until the first display refresh at or past the deadline: frames follow the screen.
  velko_wait_until(static_cast<double>(deadline) / 1000.0);
}

std::int64_t WebPlatform::PerformanceFrequency() {
  return 1000000;
}

void WebPlatform::SleepMilliseconds(std::uint32_t ms) {
  velko_sleep(static_cast<int>(std::min<std::uint32_t>(ms, 0x7FFFFFFF)));
}

std::string WebPlatform::ExecutablePath() {
  std::array<char, 256> buffer{};
  const int length = velko_program_path(buffer.data(), static_cast<int>(buffer.size()));
  if (length <= 0 || length >= static_cast<int>(buffer.size())) return {};
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

int WebPlatform::MessageBox(std::string_view titleCp1252, std::string_view textCp1252) {
  velko_message_box(Utf8FromCp1252(titleCp1252).c_str(), Utf8FromCp1252(textCp1252).c_str());
  return 1;
}

DesktopInfo WebPlatform::Desktop() {
  // The canvas is the desktop: the size of the game's screen, in 32-bit colour.
  return {800, 600, 32};
}

bool WebPlatform::PollEvent(InputEvent& event) {
  if (TakeEvent(event)) return true;
  // Nothing queued: let the browser run, so that a loop polling for input can receive it.
  velko_yield();
  return false;
}

bool WebPlatform::WaitEvent(InputEvent& event) {
  while (!TakeEvent(event)) velko_wait_for_event();
  return true;
}

bool WebPlatform::ReadKeys(std::array<std::uint8_t, 256>& keys) {
  // The page keeps the held keys, all released while the canvas has no focus; the pads count
  // only while it has it too.
  if (velko_read_keys(keys.data()) != 0) MergeWebPadsInto(keys);
  return true;
}

bool WebPlatform::CloseRequested() {
  return velko_stop_requested() != 0;
}

void WaitForReplay() {
  velko_wait_for_replay();
}

}  // namespace velko::platform
