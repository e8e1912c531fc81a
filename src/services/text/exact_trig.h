// Sine and cosine of a float32 angle in radians, rounded once to the nearest double, with the
// same arithmetic on every build: the C libraries disagree in the last bit now and then, and a
// demo recorded on one build must replay bit for bit on the others.
#pragma once

namespace velko {

// Total: ±0 keeps its sign in the sine, infinities and NaN give NaN. Checked exactly against a
// 200-bit reference for every float in [-1, 7] (tools/trig_check); deterministic everywhere.
double ExactSin(float radians);
double ExactCos(float radians);

}  // namespace velko
