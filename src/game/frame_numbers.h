// Number handling shared by the frame steps. Intermediate results are carried in double and
// rounded to float32 only when stored, as an x87 unit does, so replays agree; every
// rounding to a whole number goes to the nearest integer, halves to even.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace velko {

// The rates are one step below the nearest float32 of 0.001 and 0.0005; replays depend on it.
inline constexpr float kRate001 = std::bit_cast<float>(0x3A83126Eu);
inline constexpr float kRate0005 = std::bit_cast<float>(0x3A03126Eu);
inline constexpr float kTwoPi = 6.2831855f;
inline constexpr float kTurnRate = 0.15f;
inline constexpr float kTopSpeed = 0.5f;
inline constexpr float kBounceSpeed = 0.1f;
inline constexpr float kBounceFactor = -0.5f;

// Nearest integer, halves to even (the default rounding mode).
inline double Nearest(double value) {
  return std::nearbyint(value);
}

// Nearest integer as int32; out of range gives the integer-indefinite value, as a store of
// the floating-point unit would.
inline int32_t NearestInt32(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return INT32_MIN;
  return static_cast<int32_t>(rounded);
}

// Keeps the low 16 or 8 bits, signed, as the half-tile test's narrow variables do.
inline int16_t Low16(int64_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(value) & 0xFFFFu));
}
inline int8_t Low8(int64_t value) {
  return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint64_t>(value) & 0xFFu));
}

// Difference of two tick readings in 32-bit arithmetic, right across the counter's wrap.
inline int32_t TickDifference(int32_t later, int32_t earlier) {
  return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

}  // namespace velko
