#include "assetgen/car_painter.h"

#include <cmath>
#include <cstdlib>

namespace velko::assetgen {
namespace {

constexpr Rgb kOutline{18, 20, 26};
constexpr Rgb kGlass{34, 44, 62};
constexpr Rgb kTyre{30, 30, 32};
constexpr Rgb kStripe{236, 238, 242};

// Body outline: x from 17 to 46, y from 3 to 60, corners rounded, the nose narrower.
constexpr int kLeft = 17;
constexpr int kRight = 46;
constexpr int kTop = 3;
constexpr int kBottom = 60;

bool InRoundedRect(int x, int y, int left, int top, int right, int bottom, int radius) {
  if (x < left || x > right || y < top || y > bottom) return false;
  const int cx = x < left + radius ? left + radius : (x > right - radius ? right - radius : x);
  const int cy = y < top + radius ? top + radius : (y > bottom - radius ? bottom - radius : y);
  const int dx = x - cx;
  const int dy = y - cy;
  return dx * dx + dy * dy <= radius * radius;
}

bool InBody(int x, int y) {
  // The nose tapers by two pixels a side over its first ten rows.
  const int taper = y < kTop + 10 ? (kTop + 10 - y) / 5 : 0;
  return InRoundedRect(x, y, kLeft + taper, kTop, kRight - taper, kBottom, 6);
}

// Across the body the paint is lit like a rounded shell, brightest a little left of centre.
Rgb BodyPaint(int x, int y) {
  const double u = (x - 31.5) / 15.0;
  double light = 0.68 + 0.42 * (1.0 - u * u);
  const double gloss = std::exp(-((u + 0.35) * (u + 0.35)) / 0.02);
  light += 0.25 * gloss;
  if (y < 9 || y > 56) light *= 0.86;  // bumpers curve away
  Rgb c = Shade(kCarBody, light);
  if (gloss > 0.2) c = Mix(c, Rgb{255, 255, 255}, 0.25 * gloss);
  return c;
}

// Glass: a trapezium narrower towards the roof, with a streak of reflected sky.
bool InGlass(int x, int y, int top, int bottom, int insetTop, int insetBottom) {
  if (y < top || y > bottom) return false;
  const double t = static_cast<double>(y - top) / (bottom - top);
  const double inset = insetTop + (insetBottom - insetTop) * t;
  return x >= kLeft + inset && x <= kRight - inset;
}

}  // namespace

RgbImage PaintCar() {
  RgbImage car(kCarSize, kCarSize, kKeyGreen);

  // Tyres first: the body covers their inner halves.
  const int wheelRows[2] = {9, 42};
  for (int top : wheelRows) {
    for (int y = top; y < top + 13; ++y) {
      for (int x = 13; x <= 50; ++x) {
        if (x > 20 && x < 43) continue;
        Rgb c = kTyre;
        if ((y - top) % 3 == 0) c = Offset(c, 22);  // tread
        if (x == 13 || x == 50 || y == top || y == top + 12) c = kOutline;
        car.Set(x, y, c);
      }
    }
  }

  for (int y = 0; y < kCarSize; ++y) {
    for (int x = 0; x < kCarSize; ++x) {
      if (!InBody(x, y)) continue;
      Rgb c = BodyPaint(x, y);
      // A white stripe down the middle, over bonnet, roof and boot.
      if (x >= 29 && x <= 34 && !(x == 31 || x == 32)) c = Shade(kStripe, 0.9 + 0.1 * (x < 32));
      // Windscreen and rear window.
      const bool front = InGlass(x, y, 18, 27, 3, 5);
      const bool rear = InGlass(x, y, 43, 48, 6, 4);
      if (front || rear) {
        const double t = front ? (y - 18) / 9.0 : (48 - y) / 5.0;
        c = Offset(kGlass, static_cast<int>(30 * (1 - t)));
        if (std::abs((x - kLeft) - (y - 18) - 4) < 2 && front) c = Mix(c, Rgb{200, 214, 230}, 0.6);
      }
      // Side windows along the roof.
      if ((x == kLeft + 2 || x == kRight - 2) && y >= 28 && y <= 41) c = kGlass;
      // Roof panel, a shade lighter than the rest.
      if (y >= 28 && y <= 42 && x > kLeft + 2 && x < kRight - 2 && !(x >= 29 && x <= 34))
        c = Offset(c, 10);
      // Headlights and tail lights.
      if (y >= 4 && y <= 7 && ((x >= 21 && x <= 25) || (x >= 38 && x <= 42)))
        c = y == 4 ? Rgb{255, 255, 230} : Rgb{250, 238, 150};
      if (y >= 57 && y <= 59 && ((x >= 19 && x <= 24) || (x >= 39 && x <= 44)))
        c = y == 57 ? Rgb{255, 90, 80} : Rgb{206, 18, 22};
      // Rear spoiler.
      if (y >= 53 && y <= 55 && x >= kLeft + 1 && x <= kRight - 1) c = Rgb{26, 28, 34};
      car.Set(x, y, c);
    }
  }
  // Mirrors.
  for (int y = 24; y <= 26; ++y) {
    car.Set(kLeft - 1, y, Shade(kCarBody, 0.7));
    car.Set(kLeft - 2, y, kOutline);
    car.Set(kRight + 1, y, Shade(kCarBody, 0.7));
    car.Set(kRight + 2, y, kOutline);
  }
  // A dark outline round the body where it meets the ground.
  RgbImage outlined = car;
  for (int y = 0; y < kCarSize; ++y) {
    for (int x = 0; x < kCarSize; ++x) {
      if (!InBody(x, y)) continue;
      const bool edge =
          !InBody(x - 1, y) || !InBody(x + 1, y) || !InBody(x, y - 1) || !InBody(x, y + 1);
      if (edge) outlined.Set(x, y, kOutline);
    }
  }
  return outlined;
}

}  // namespace velko::assetgen
