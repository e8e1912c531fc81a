#include "assetgen/circuit_design.h"

#include <algorithm>
#include <cstdlib>

namespace velko::assetgen {

CircuitDesign::CircuitDesign(int columns, int rows)
    : columns_(columns),
      rows_(rows),
      cells_(static_cast<size_t>(columns) * rows, Ground::Grass),
      centreLine_(static_cast<size_t>(columns) * rows, 0) {}

Ground CircuitDesign::At(int c, int r) const {
  return Inside(c, r) ? cells_[Index(c, r)] : Ground::Concrete;
}

void CircuitDesign::Set(int c, int r, Ground g) {
  if (!Inside(c, r)) return;
  cells_[Index(c, r)] = g;
  if (!IsRoad(g)) centreLine_[Index(c, r)] = 0;
}

bool CircuitDesign::CentreLine(int c, int r) const {
  return Inside(c, r) && centreLine_[Index(c, r)] != 0 && At(c, r) == Ground::Road;
}

bool CircuitDesign::CentreLineVertical(int c, int r) const {
  return Inside(c, r) && centreLine_[Index(c, r)] == 1;
}

void CircuitDesign::Fill(int c0, int r0, int c1, int r1, Ground g) {
  for (int c = std::min(c0, c1); c <= std::max(c0, c1); ++c)
    for (int r = std::min(r0, r1); r <= std::max(r0, r1); ++r) Set(c, r, g);
}

void CircuitDesign::LayRoad(const std::vector<Cell>& path) {
  const size_t n = path.size();
  for (size_t i = 0; i < n; ++i) {
    const Cell a = path[i];
    const Cell b = path[(i + 1) % n];
    const int dc = (b.column > a.column) - (b.column < a.column);
    const int dr = (b.row > a.row) - (b.row < a.row);
    const int length = std::max(std::abs(b.column - a.column), std::abs(b.row - a.row));
    for (int step = 0; step <= length; ++step) {
      const int c = a.column + dc * step;
      const int r = a.row + dr * step;
      Fill(c - 1, r - 1, c + 1, r + 1, Ground::Road);
      if (step >= 2 && step <= length - 2 && Inside(c, r))
        centreLine_[Index(c, r)] = dc == 0 ? 1 : 2;
    }
  }
}

void CircuitDesign::LineRoadWithKerbs() {
  std::vector<Cell> kerbs;
  for (int c = 0; c < columns_; ++c) {
    for (int r = 0; r < rows_; ++r) {
      if (At(c, r) != Ground::Grass && At(c, r) != Ground::Gravel) continue;
      bool touches = false;
      for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr) touches = touches || IsRoad(At(c + dc, r + dr));
      if (touches) kerbs.push_back({c, r});
    }
  }
  for (Cell k : kerbs) Set(k.column, k.row, Ground::Kerb);
}

bool IsRoad(Ground g) {
  return g == Ground::Road || g == Ground::StartLine;
}

bool IsSolid(Ground g) {
  return g == Ground::Concrete || g == Ground::Brick || g == Ground::FlatRoof ||
         g == Ground::TiledRoof || g == Ground::Trees || g == Ground::Stand;
}

CircuitDesign DesignCircuit() {
  CircuitDesign d(kCircuitColumns, kCircuitRows);
  const int lastC = kCircuitColumns - 1;
  const int lastR = kCircuitRows - 1;

  // The town north-east of the track, the paddock in the infield, and a few houses.
  d.Fill(32, 0, lastC, 8, Ground::FlatRoof);
  d.Fill(59, 9, lastC, 9, Ground::FlatRoof);
  d.Fill(40, 3, 46, 6, Ground::TiledRoof);
  d.Fill(52, 2, 58, 5, Ground::TiledRoof);
  d.Fill(36, 0, 37, 8, Ground::Brick);  // a lane between the blocks, walled off
  d.Fill(17, 24, 44, 29, Ground::FlatRoof);
  d.Fill(24, 25, 37, 27, Ground::TiledRoof);
  d.Fill(1, 0, 4, 3, Ground::Brick);
  d.Fill(12, 12, 18, 16, Ground::TiledRoof);
  d.Fill(44, 16, 50, 19, Ground::FlatRoof);
  d.Fill(25, 34, 35, 37, Ground::FlatRoof);
  d.Fill(10, 33, 14, 36, Ground::TiledRoof);
  d.Fill(1, 5, 2, 20, Ground::Stand);
  d.Fill(16, 6, 19, 8, Ground::TiledRoof);
  d.Fill(21, 9, 25, 10, Ground::FlatRoof);
  // Copses in the infield and outside the long straights.
  const Cell copses[][2] = {{{22, 14}, {25, 17}}, {{9, 21}, {11, 26}},  {{26, 19}, {27, 20}},
                            {{50, 23}, {53, 27}}, {{46, 34}, {49, 36}}, {{60, 14}, {62, 18}},
                            {{60, 30}, {61, 33}}, {{35, 14}, {36, 15}}, {{1, 27}, {2, 33}},
                            {{15, 38}, {17, 39}}, {{11, 5}, {13, 7}},   {{23, 5}, {26, 6}},
                            {{10, 9}, {11, 10}}};
  for (const auto& copse : copses)
    d.Fill(copse[0].column, copse[0].row, copse[1].column, copse[1].row, Ground::Trees);

  // Sand outside the bottom bends, where a car that runs wide ends up.
  d.Fill(59, 43, 62, 46, Ground::Gravel);
  d.Fill(1, 43, 4, 46, Ground::Gravel);
  d.Fill(20, 43, 24, 46, Ground::Gravel);
  d.Fill(36, 43, 40, 46, Ground::Gravel);

  // Clockwise from the top-left corner: the top straight, a step down, the long back
  // straight, the bottom with its hairpin notch, and the start straight.
  const std::vector<Cell> path = {{6, 2},   {30, 2},  {30, 10}, {57, 10}, {57, 42},
                                  {38, 42}, {38, 30}, {22, 30}, {22, 42}, {6, 42}};
  d.LayRoad(path);

  d.LineRoadWithKerbs();

  // The barrier round the map.
  d.Fill(0, 0, lastC, 0, Ground::Concrete);
  d.Fill(0, lastR, lastC, lastR, Ground::Concrete);
  d.Fill(0, 0, 0, lastR, Ground::Concrete);
  d.Fill(lastC, 0, lastC, lastR, Ground::Concrete);

  // Corners cut where a wall stands above the road.
  d.Set(5, 1, Ground::BrickUpperLeft);
  d.Set(31, 1, Ground::BrickUpperRight);
  d.Set(58, 9, Ground::BrickUpperRight);
  d.Set(32, 8, Ground::ConcreteUpperRight);
  d.Set(21, 29, Ground::ConcreteUpperLeft);
  d.Set(39, 29, Ground::ConcreteUpperRight);

  // The start line just behind the car's starting place.
  for (int c = 5; c <= 7; ++c) d.Set(c, 10, Ground::StartLine);
  return d;
}

}  // namespace velko::assetgen
