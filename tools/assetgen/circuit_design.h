// The circuit as a grid of ground kinds: where the road runs, what lines it, and what stands
// around it. Tile pictures and collision types are chosen from this afterwards.
#pragma once

#include <cstddef>
#include <vector>

namespace velko::assetgen {

enum class Ground {
  Grass,
  Gravel,  // run-off sand outside the bottom bends
  Kerb,    // red and white edge stones between road and grass
  Road,
  StartLine,  // road with the chequered line across it
  Concrete,   // the barrier round the whole map
  Brick,      // walls of the paddock
  FlatRoof,   // buildings seen from above
  TiledRoof,
  Trees,  // a thicket of crowns filling the whole cell
  Stand,  // the grandstand beside the start straight, full of spectators
  // Corners cut at 45 degrees: the wall fills the upper half named, road the rest.
  BrickUpperLeft,
  BrickUpperRight,
  ConcreteUpperLeft,
  ConcreteUpperRight,
};

struct Cell {
  int column = 0;
  int row = 0;
  friend bool operator==(const Cell&, const Cell&) = default;
};

class CircuitDesign {
 public:
  CircuitDesign(int columns, int rows);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  bool Inside(int c, int r) const { return c >= 0 && r >= 0 && c < columns_ && r < rows_; }
  // Outside the map reads as the concrete barrier.
  Ground At(int c, int r) const;
  void Set(int c, int r, Ground g);
  // True for cells on the centre line of a straight, which carry the dashed line.
  bool CentreLine(int c, int r) const;
  // The direction of that line: true when it runs up and down the map.
  bool CentreLineVertical(int c, int r) const;

  void Fill(int c0, int r0, int c1, int r1, Ground g);  // inclusive corners
  // Road three cells wide around the centre line through `path` (a closed loop of corners
  // joined by straight runs). Centre line marks stop two cells short of every corner.
  void LayRoad(const std::vector<Cell>& path);
  // Grass touching the road becomes kerb.
  void LineRoadWithKerbs();

 private:
  size_t Index(int c, int r) const { return static_cast<size_t>(c) * rows_ + r; }

  int columns_;
  int rows_;
  std::vector<Ground> cells_;
  std::vector<signed char> centreLine_;  // 0 none, 1 vertical, 2 horizontal
};

// True for the ground the car drives on freely.
bool IsRoad(Ground g);
// True for ground that blocks the whole cell.
bool IsSolid(Ground g);

// The game's circuit. The car starts at cell (6, 8) facing up the left straight.
CircuitDesign DesignCircuit();

inline constexpr int kCircuitColumns = 64;
inline constexpr int kCircuitRows = 48;
inline constexpr Cell kStartCell{6, 8};

}  // namespace velko::assetgen
