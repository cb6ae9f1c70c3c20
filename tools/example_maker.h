// The maker of the bundled example drawing, shared by the files that draw its parts: the plan's
// units, layers and block names, and the steps that make blocks, the plan and the routes. Only
// example_*.cpp include it.
#pragma once

#include <dbents.h>
#include <gegbl.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/drawing_builder.h"

namespace tools::example {

// Drawing units are millimetres; fittings reach this far from their centre along each arm.
constexpr double kArm = 250;
// Texts of the plan, at 1:100: 2.5 mm labels, 3.5 mm room names, 5 mm title.
constexpr double kLabelHeight = 250;
constexpr double kRoomHeight = 350;
constexpr double kTitleHeight = 500;
// Attribute definitions of the route tools' blocks (invisible; only their tags matter).
constexpr double kAttributeHeight = 100;

// Layers of the plan besides the route tools' own.
constexpr const wchar_t* kWallLayer = L"A-壁";
constexpr const wchar_t* kRoomLayer = L"A-室名";
constexpr const wchar_t* kRouteLayer = L"E-ルート";
constexpr const wchar_t* kEquipmentLayer = L"E-機器";
constexpr const wchar_t* kNameLayer = L"E-名称";

// Block names. Segments are "RT" and their length in millimetres.
constexpr const wchar_t* kElbow = L"RB_L250";
constexpr const wchar_t* kTee = L"RB_T250";
constexpr const wchar_t* kPowerPanel = L"RBT_P1200";
constexpr const wchar_t* kLightingPanel = L"KK_PANEL800";
constexpr const wchar_t* kPullBox = L"KK_PB";
constexpr const wchar_t* kLight = L"KK_LIGHT";
constexpr const wchar_t* kOutlet = L"KK_OUTLET";
constexpr const wchar_t* kAirConditioner = L"KK_AC";
constexpr const wchar_t* kFan = L"KK_FAN";
constexpr const wchar_t* kPump = L"KK_PUMP";

struct P {
  double x = 0, y = 0;
};
constexpr P kEast{1, 0}, kWest{-1, 0}, kNorth{0, 1}, kSouth{0, -1};

inline P Along(const P& from, const P& direction, double distance) {
  return {from.x + direction.x * distance, from.y + direction.y * distance};
}

inline double Degrees(const P& direction) {
  return std::atan2(direction.y, direction.x) * 180.0 / kPi;
}

// An angle in degrees in [0, 360), as the CAD stores rotations.
inline double Normal(double degrees) {
  const double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360.0 : d;
}

inline AcGePoint3d At(double x, double y) {
  return AcGePoint3d(x, y, 0);
}

// Closes an open database object at the end of a scope.
template <class T>
struct Closer {
  T* object = nullptr;
  ~Closer() {
    if (object != nullptr) object->close();
  }
};

class ExampleMaker {
 public:
  explicit ExampleMaker(AcDbDatabase* db) : db_(db), builder_(db) {}
  ExampleMaker(const ExampleMaker&) = delete;
  ExampleMaker& operator=(const ExampleMaker&) = delete;

  bool Make();
  // The first error: the maker stops at its own first error, so the builder's comes first only
  // when the maker has none.
  std::wstring error() const { return error_.empty() ? builder_.error() : error_; }

 private:
  // One entity of a block definition and its layer.
  struct Piece {
    AcDbEntity* entity;
    const wchar_t* layer = L"0";
  };

  bool ok() const { return error_.empty() && !builder_.failed(); }
  bool Check(Acad::ErrorStatus es, const wchar_t* what);
  void Layer(const wchar_t* name, int colour);

  // ---- Block definitions ----
  void Define(const std::wstring& name, std::vector<Piece> pieces);
  static void AddConnectionPoints(std::vector<Piece>* pieces, std::initializer_list<P> points);
  static void AddAttributeDefinitions(std::vector<Piece>* pieces, double below);
  static AcDbEntity* Box(double x1, double y1, double x2, double y2);
  // A text at `at`: its start point when left-aligned, else its alignment point.
  static AcDbText* NewText(const std::wstring& text, P at, double height,
                           AcDb::TextHorzMode horizontal);
  void DefineBlocks();

  // ---- Model space ----
  void AddToModel(AcDbEntity* entity, const wchar_t* layer);
  void Text(const std::wstring& text, P at, double height, AcDb::TextHorzMode horizontal,
            const wchar_t* layer);
  void DrawPlan();
  void SetLayer(AcDbObjectId id, const wchar_t* layer);

  // ---- Route elements; each joins the previous ones at its connection points ----
  // A straight run from `a` to `b` in `pieces` segments of equal length, end to end, each with
  // the state `etat` ("1": it stands in its route).
  std::vector<AcDbObjectId> Run(P a, P b, int pieces = 1, const wchar_t* etat = L"1");
  // A bend at `corner` whose arms point in the directions `one` and `other` (axis directions,
  // at right angles).
  AcDbObjectId Elbow(P corner, P one, P other);
  // A tee at `centre`: a straight through-line and the branch in direction `branch`.
  AcDbObjectId Tee(P centre, P branch);
  AcDbObjectId Element(const wchar_t* block, P at, double rotation,
                       const wchar_t* layer = kRouteLayer, const wchar_t* etat = L"1");
  AcDbObjectId Part(const wchar_t* block, P at, double rotation, const std::wstring& name);
  void BuildRoutes();

  AcDbDatabase* db_;
  DrawingBuilder builder_;
  std::wstring error_;
  std::vector<AcDbObjectId> route01_, route02_;
};

}  // namespace tools::example
