#include "game/probes.h"

#include "game/controls.h"
#include "game/frame_numbers.h"
#include "services/text/exact_trig.h"

namespace velko {
namespace {

constexpr float kSideAngle = 34.0f;

struct ProbeAngles {
  float front;
  float left;
  float right;
};

ProbeAngles AnglesOf(const CarState& car) {
  // The side angles are stored as float32 degrees before their conversion.
  const float leftDegrees = static_cast<float>(static_cast<double>(car.heading) - kSideAngle);
  const float rightDegrees = static_cast<float>(static_cast<double>(car.heading) + kSideAngle);
  return {car.headingRadians, AngleToRadians(leftDegrees), AngleToRadians(rightDegrees)};
}

int32_t CellOf(double mapPoint) {
  // Integer division truncates toward zero: a point just left of the map reads cell 0.
  return NearestInt32(mapPoint) / kTileSize;
}

int8_t& TypeOf(ProbeState& probes, Probe probe) {
  switch (probe) {
    case Probe::Left:
      return probes.DevantType2;
    case Probe::Right:
      return probes.DevantType3;
    case Probe::Front:
      break;
  }
  return probes.DevantType1;
}

}  // namespace

void ReadProbes(const CarState& car, const LevelData& level, ProbeState& probes) {
  const ProbeAngles angles = AnglesOf(car);
  // Offsets from the car's top-left corner to the probe; the left probe's y offset is 26,
  // not 30, and replays depend on it.
  const double offsetX[3] = {26.0 * ExactCos(angles.front), 30.0 * ExactCos(angles.left),
                             30.0 * ExactCos(angles.right)};
  const double offsetY[3] = {26.0 * ExactSin(angles.front), 26.0 * ExactSin(angles.left),
                             30.0 * ExactSin(angles.right)};
  for (int p = 0; p < 3; ++p) {
    const double mapX = static_cast<double>(car.screenX) + offsetX[p] + car.scrollX + 32.0;
    const double mapY = static_cast<double>(car.screenY) + offsetY[p] + car.scrollY + 32.0;
    probes.probeCellX[p] = CellOf(mapX);
    probes.probeCellY[p] = CellOf(mapY);
    TypeOf(probes, static_cast<Probe>(p)) =
        CollisionTypeAt(level, probes.probeCellX[p], probes.probeCellY[p]);
  }
}

void TestSolidTiles(const CarState& car, ProbeState& probes) {
  probes.blocked = 0;
  for (int p = 0; p < 3; ++p) {
    if (TypeOf(probes, static_cast<Probe>(p)) == kSolid && car.speed > 0.0f) probes.blocked = 1;
  }
}

bool HalfTileInside(const CarState& car, const ViewState& view, Probe probe, bool leftEdgeForm,
                    ProbeState& probes) {
  // The snapped corner works on the screen position, without the scroll offsets. In 64 bits,
  // so that a position beyond the int range (or none at all) stays defined; only the low
  // bits are kept below.
  const int64_t snapX =
      int64_t{NearestInt32(static_cast<double>(car.screenX) / kTileSize)} * kTileSize;
  const int64_t snapY =
      int64_t{NearestInt32(static_cast<double>(car.screenY) / kTileSize)} * kTileSize;

  const ProbeAngles angles = AnglesOf(car);
  double offsetX = 0.0;
  double offsetY = 0.0;
  double base = 32.0;
  switch (probe) {
    case Probe::Front:
      offsetX = 26.0 * ExactCos(angles.front);
      offsetY = 26.0 * ExactSin(angles.front);
      base = 30.0;  // not 32 as in the cell lookup
      break;
    case Probe::Left:
      offsetX = 30.0 * ExactCos(angles.left);
      offsetY = 30.0 * ExactSin(angles.left);
      break;
    case Probe::Right:
      offsetX = 30.0 * ExactCos(angles.right);
      offsetY = 30.0 * ExactSin(angles.right);
      break;
  }
  // The offset is rounded first, then the sum.
  probes.probeX = Low16(NearestInt32(Nearest(offsetX) + car.screenX + base));
  probes.probeY = Low16(NearestInt32(Nearest(offsetY) + car.screenY + base));

  if (leftEdgeForm) {
    probes.edgeX = Low16(snapX - view.scrollRestX);
    if (Low16(probes.probeX - 10) < probes.edgeX) probes.edgeX = Low16(probes.edgeX - 50);
    probes.insideX = Low8(probes.probeX - probes.edgeX);
  } else {
    probes.edgeX = Low16(snapX - view.scrollRestX + 50);
    if (Low16(probes.probeX + 10) > probes.edgeX) probes.edgeX = Low16(probes.edgeX + 50);
    probes.insideX = Low8(probes.edgeX - probes.probeX);
  }
  probes.edgeY = Low16(snapY - view.scrollRestY + 50);
  if (Low16(probes.probeY + 40) <= probes.edgeY) probes.edgeY = Low16(probes.edgeY - 50);
  probes.insideY = Low8(probes.edgeY - probes.probeY);
  return probes.insideX <= probes.insideY;
}

void TestHalfTiles(const CarState& car, const ViewState& view, ProbeState& probes) {
  for (int8_t type = 2; type <= 5; ++type) {
    const bool leftEdgeForm = type == 2 || type == 4;
    for (int p = 0; p < 3; ++p) {
      const Probe probe = static_cast<Probe>(p);
      const bool inside = HalfTileInside(car, view, probe, leftEdgeForm, probes);
      if (TypeOf(probes, probe) == type && car.speed > 0.0f && inside) probes.blocked = 1;
    }
  }
}

}  // namespace velko
