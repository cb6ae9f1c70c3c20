// The bundled example drawing: a first-floor electrical plan with routes, panels and loads.
#include "host/example_drawing.h"

#include <dbelipse.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include <gegbl.h>
#include <text_encoding.h>

#include <cmath>
#include <memory>
#include <vector>

#include "host/drawing_builder.h"
#include "host/dxf_writer.h"
#include "host/system_folder.h"

namespace host {
namespace {

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

P Along(const P& from, const P& direction, double distance) {
  return {from.x + direction.x * distance, from.y + direction.y * distance};
}

double Degrees(const P& direction) {
  return std::atan2(direction.y, direction.x) * 180.0 / kPi;
}

// An angle in degrees in [0, 360), as the CAD stores rotations.
double Normal(double degrees) {
  const double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360.0 : d;
}

AcGePoint3d At(double x, double y) {
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

bool ExampleMaker::Check(Acad::ErrorStatus es, const wchar_t* what) {
  if (es == Acad::eOk) return true;
  if (error_.empty()) {
    error_ = std::wstring(what) + L" failed with status " + std::to_wstring(static_cast<int>(es));
  }
  return false;
}

void ExampleMaker::Layer(const wchar_t* name, int colour) {
  if (!ok()) return;
  AcDbLayerTable* layers = nullptr;
  if (!Check(db_->getLayerTable(layers, AcDb::kForWrite), L"opening the layer table")) return;
  Closer<AcDbLayerTable> close_layers{layers};
  auto record = std::make_unique<AcDbLayerTableRecord>();
  record->setName(name);
  AcCmColor c;
  c.setColorIndex(static_cast<Adesk::UInt16>(colour));
  record->setColor(c);
  if (!Check(layers->add(record.get()), L"adding a layer")) return;
  record.release()->close();
}

void ExampleMaker::Define(const std::wstring& name, std::vector<Piece> pieces) {
  std::vector<std::unique_ptr<AcDbEntity>> owned;
  for (const Piece& piece : pieces) owned.emplace_back(piece.entity);
  if (!ok()) return;
  AcDbBlockTable* blocks = nullptr;
  if (!Check(db_->getBlockTable(blocks, AcDb::kForWrite), L"opening the block table")) return;
  Closer<AcDbBlockTable> close_blocks{blocks};
  if (blocks->has(name.c_str())) return;
  auto record = std::make_unique<AcDbBlockTableRecord>();
  record->setName(name.c_str());
  AcDbObjectId id;
  if (!Check(blocks->add(id, record.get()), L"adding a block")) return;
  Closer<AcDbBlockTableRecord> close_record{record.release()};
  for (size_t i = 0; i < owned.size(); ++i) {
    // Layers are looked up in the entity's database, so it is appended first: the drawing need
    // not be the working one.
    owned[i]->setDatabaseDefaults(db_);
    // What the block draws on layer 0 takes the colour of its reference (ByBlock), as the route
    // tools draw their blocks: a reference recoloured by the check shows in its new colour, and
    // one left ByLayer shows in the colour of its own layer.
    if (std::wstring_view(pieces[i].layer) == L"0") owned[i]->setColorIndex(0);
    if (!Check(close_record.object->appendAcDbEntity(owned[i].get()), L"filling a block")) return;
    AcDbEntity* entity = owned[i].release();
    const bool layered =
        Check(entity->setLayer(pieces[i].layer), L"setting the layer of a block entity");
    entity->close();
    if (!layered) return;
  }
}

void ExampleMaker::AddConnectionPoints(std::vector<Piece>* pieces,
                                       std::initializer_list<P> points) {
  for (const P& p : points) {
    pieces->push_back({new AcDbPoint(At(p.x, p.y)), DrawingBuilder::kConnectLayer});
  }
}

void ExampleMaker::AddAttributeDefinitions(std::vector<Piece>* pieces, double below) {
  double y = below - kAttributeHeight * 1.5;
  for (const wchar_t* tag : {L"ETAT", L"S001"}) {
    auto* definition = new AcDbAttributeDefinition(At(0, y), L"", tag, tag);
    definition->setHeight(kAttributeHeight);
    definition->setInvisible(true);
    pieces->push_back({definition});
    y -= kAttributeHeight * 1.5;
  }
}

AcDbEntity* ExampleMaker::Box(double x1, double y1, double x2, double y2) {
  auto* box = new AcDbPolyline();
  box->addVertexAt(0, AcGePoint2d(x1, y1));
  box->addVertexAt(1, AcGePoint2d(x2, y1));
  box->addVertexAt(2, AcGePoint2d(x2, y2));
  box->addVertexAt(3, AcGePoint2d(x1, y2));
  box->setClosed(true);
  return box;
}

// The fittings, panels and loads. Loads and the bend, tee and pull box have their connection
// point where the route meets them; a load's symbol lies along its +x axis beyond that point,
// so a load is placed turned the way its route arrives.
void ExampleMaker::DefineBlocks() {
  {
    // A 90° bend: arms to (-arm, 0) and (0, arm), drawn as the arc between them.
    std::vector<Piece> p{{new AcDbArc(At(-kArm, kArm), kArm, kPi * 1.5, 0)}};
    AddConnectionPoints(&p, {{-kArm, 0}, {0, kArm}});
    AddAttributeDefinitions(&p, 0);
    Define(kElbow, std::move(p));
  }
  {
    // A tee: through from (-arm, 0) to (arm, 0), branch to (0, arm).
    std::vector<Piece> p{{new AcDbLine(At(-kArm, 0), At(kArm, 0))},
                         {new AcDbLine(At(0, 0), At(0, kArm))}};
    AddConnectionPoints(&p, {{-kArm, 0}, {kArm, 0}, {0, kArm}});
    AddAttributeDefinitions(&p, 0);
    Define(kTee, std::move(p));
  }
  {
    // The power panel: 1200 × 300, filled; supply at the top, two feeders at the bottom.
    auto* hatch = new AcDbHatch();
    hatch->setPattern(AcDbHatch::kPreDefined, L"SOLID");
    AcGePoint2dArray corners;
    for (const P& c : {P{-600, -150}, P{600, -150}, P{600, 150}, P{-600, 150}}) {
      corners.append(AcGePoint2d(c.x, c.y));
    }
    hatch->appendLoop(AcDbHatch::kExternal, corners, AcGeDoubleArray());
    std::vector<Piece> p{{Box(-600, -150, 600, 150)}, {hatch}};
    AddConnectionPoints(&p, {{0, 150}, {-400, -150}, {400, -150}});
    AddAttributeDefinitions(&p, -150);
    Define(kPowerPanel, std::move(p));
  }
  {
    // The lighting panel: 800 × 250 with its diagonal; supply and branch side on the top edge.
    std::vector<Piece> p{{Box(-400, -125, 400, 125)}, {new AcDbLine(At(-400, -125), At(400, 125))}};
    AddConnectionPoints(&p, {{200, 125}, {-200, 125}});
    AddAttributeDefinitions(&p, -125);
    Define(kLightingPanel, std::move(p));
  }
  {
    // The riser's pull box: 400 × 400, crossed; the route leaves it at the top.
    std::vector<Piece> p{{Box(-200, -200, 200, 200)},
                         {new AcDbLine(At(-200, -200), At(200, 200))},
                         {new AcDbLine(At(-200, 200), At(200, -200))}};
    AddConnectionPoints(&p, {{0, 200}});
    AddAttributeDefinitions(&p, -200);
    Define(kPullBox, std::move(p));
  }
  {
    // A ceiling light: a circle with a cross.
    const double r = 300, d = r / std::sqrt(2.0);
    std::vector<Piece> p{{new AcDbCircle(At(r, 0), AcGeVector3d::kZAxis, r)},
                         {new AcDbLine(At(r - d, -d), At(r + d, d))},
                         {new AcDbLine(At(r - d, d), At(r + d, -d))}};
    AddConnectionPoints(&p, {{0, 0}});
    AddAttributeDefinitions(&p, -r);
    Define(kLight, std::move(p));
  }
  {
    // A wall outlet: a circle and its two pins.
    std::vector<Piece> p{{new AcDbCircle(At(200, 0), AcGeVector3d::kZAxis, 200)},
                         {new AcDbLine(At(400, 80), At(520, 80))},
                         {new AcDbLine(At(400, -80), At(520, -80))}};
    AddConnectionPoints(&p, {{0, 0}});
    AddAttributeDefinitions(&p, -200);
    Define(kOutlet, std::move(p));
  }
  {
    // An outdoor air-conditioning unit: its casing and fan.
    std::vector<Piece> p{{Box(0, -300, 900, 300)},
                         {new AcDbCircle(At(450, 0), AcGeVector3d::kZAxis, 220)}};
    AddConnectionPoints(&p, {{0, 0}});
    AddAttributeDefinitions(&p, -300);
    Define(kAirConditioner, std::move(p));
  }
  {
    // A ventilation fan: its housing and two blades.
    const double r = 250, blade = 200 / std::sqrt(2.0);
    std::vector<Piece> p{
        {new AcDbCircle(At(r, 0), AcGeVector3d::kZAxis, r)},
        {new AcDbEllipse(At(r, 0), AcGeVector3d::kZAxis, AcGeVector3d(blade, blade, 0), 0.3)},
        {new AcDbEllipse(At(r, 0), AcGeVector3d::kZAxis, AcGeVector3d(-blade, blade, 0), 0.3)}};
    AddConnectionPoints(&p, {{0, 0}});
    AddAttributeDefinitions(&p, -r);
    Define(kFan, std::move(p));
  }
  {
    // A pump: a circle with its letter.
    const double r = 350;
    std::vector<Piece> p{{new AcDbCircle(At(r, 0), AcGeVector3d::kZAxis, r)},
                         {NewText(L"P", {r, 0}, 300, AcDb::kTextCenter)}};
    AddConnectionPoints(&p, {{0, 0}});
    AddAttributeDefinitions(&p, -r);
    Define(kPump, std::move(p));
  }
}

void ExampleMaker::AddToModel(AcDbEntity* entity, const wchar_t* layer) {
  std::unique_ptr<AcDbEntity> owned(entity);
  if (!ok()) return;
  owned->setDatabaseDefaults(db_);
  AcDbBlockTableRecord* space = nullptr;
  if (!Check(acdbOpenObject(space, db_->modelSpaceId(), AcDb::kForWrite), L"opening model space")) {
    return;
  }
  const Acad::ErrorStatus added = space->appendAcDbEntity(owned.get());
  space->close();
  if (!Check(added, L"adding an entity")) return;
  AcDbEntity* added_entity = owned.release();
  Check(added_entity->setLayer(layer), L"setting the layer of an entity");
  added_entity->close();
}

AcDbText* ExampleMaker::NewText(const std::wstring& text, P at, double height,
                                AcDb::TextHorzMode horizontal) {
  auto* entity = new AcDbText(At(at.x, at.y), text.c_str(), AcDbObjectId::kNull, height, 0);
  if (horizontal != AcDb::kTextLeft) {
    // Aligned texts hang on their alignment point, centred on it vertically; the start point
    // follows from it, as the CAD would store it.
    entity->setHorizontalMode(horizontal);
    entity->setVerticalMode(AcDb::kTextVertMid);
    entity->setAlignmentPoint(At(at.x, at.y));
    AcGePoint3dArray box;
    entity->getBoundingPoints(box);
    if (box.length() == 4) entity->setPosition(box[0]);
  }
  return entity;
}

void ExampleMaker::Text(const std::wstring& text, P at, double height,
                        AcDb::TextHorzMode horizontal, const wchar_t* layer) {
  AddToModel(NewText(text, at, height, horizontal), layer);
}

// Walls (outer wall as two outlines, partitions as lines), room names and the title.
void ExampleMaker::DrawPlan() {
  AddToModel(Box(0, 0, 24000, 14000), kWallLayer);
  AddToModel(Box(150, 150, 23850, 13850), kWallLayer);
  const double partitions[][4] = {
      {150, 6000, 23850, 6000},    {150, 8000, 23850, 8000},  // the corridor
      {15000, 8000, 15000, 13850},                            // office | meeting room
      {5000, 150, 5000, 6000},     {7000, 150, 7000, 6000},   // toilets | kitchenette | EPS
      {9000, 150, 9000, 6000},     {7000, 3500, 9000, 3500},  // EPS over store room
      {17000, 150, 17000, 6000},                              // plant room | changing room
  };
  for (const auto& w : partitions)
    AddToModel(new AcDbLine(At(w[0], w[1]), At(w[2], w[3])), kWallLayer);

  const struct {
    const wchar_t* name;
    P at;
  } rooms[] = {{L"事務室", {11000, 11500}}, {L"会議室", {19400, 11000}}, {L"廊下", {18000, 7000}},
               {L"便所", {2500, 3000}},     {L"湯沸室", {6000, 3000}},   {L"EPS", {8550, 3800}},
               {L"倉庫", {8000, 1800}},     {L"機械室", {15500, 3000}},  {L"更衣室", {20400, 3000}},
               {L"屋外", {26500, 9000}}};
  for (const auto& room : rooms)
    Text(room.name, room.at, kRoomHeight, AcDb::kTextCenter, kRoomLayer);
  Text(L"1階 電気設備平面図", {0, -1000}, kTitleHeight, AcDb::kTextLeft, kNameLayer);
  Text(L"S=1/100", {24000, -750}, kRoomHeight, AcDb::kTextRight, kNameLayer);
}

void ExampleMaker::SetLayer(AcDbObjectId id, const wchar_t* layer) {
  if (!ok() || id.isNull()) return;
  AcDbEntity* entity = nullptr;
  if (!Check(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), L"opening a reference")) return;
  Check(entity->setLayer(layer), L"setting the layer of a reference");
  entity->close();
}

AcDbObjectId ExampleMaker::Element(const wchar_t* block, P at, double rotation,
                                   const wchar_t* layer, const wchar_t* etat) {
  if (!ok()) return AcDbObjectId::kNull;
  const AcDbObjectId id = builder_.AddRouteElement(block, {at.x, at.y, Normal(rotation), 1}, etat);
  SetLayer(id, layer);
  return id;
}

AcDbObjectId ExampleMaker::Part(const wchar_t* block, P at, double rotation,
                                const std::wstring& name) {
  if (!ok()) return AcDbObjectId::kNull;
  const AcDbObjectId id = builder_.AddPart(block, {at.x, at.y, Normal(rotation), 1}, name);
  SetLayer(id, kEquipmentLayer);
  return id;
}

std::vector<AcDbObjectId> ExampleMaker::Run(P a, P b, int pieces, const wchar_t* etat) {
  std::vector<AcDbObjectId> ids;
  const double length = std::hypot(b.x - a.x, b.y - a.y) / pieces;
  // Segment blocks are made per length; the plan's lengths are whole millimetres.
  const std::wstring name = L"RT" + std::to_wstring(std::lround(length));
  std::vector<Piece> p{{new AcDbLine(At(0, 0), At(length, 0))}};
  AddConnectionPoints(&p, {{0, 0}, {length, 0}});
  AddAttributeDefinitions(&p, 0);
  Define(name, std::move(p));
  const P direction{(b.x - a.x) / (length * pieces), (b.y - a.y) / (length * pieces)};
  for (int i = 0; i < pieces; ++i) {
    ids.push_back(Element(name.c_str(), Along(a, direction, length * i), Degrees(direction),
                          kRouteLayer, etat));
  }
  return ids;
}

AcDbObjectId ExampleMaker::Elbow(P corner, P one, P other) {
  // The block's arms are (-1, 0) and (0, 1): the second is the first turned clockwise. Turning
  // the block so that its first arm points along `one` puts the second along `one` turned
  // clockwise; when that is not `other`, the arms swap roles.
  const P clockwise{one.y, -one.x};
  const P first = (clockwise.x == other.x && clockwise.y == other.y) ? one : other;
  return Element(kElbow, corner, Degrees(first) - 180);
}

AcDbObjectId ExampleMaker::Tee(P centre, P branch) {
  return Element(kTee, centre, Degrees(branch) - 90);
}

// The routes, from the riser in the EPS to every load. Each run starts where the fitting or
// panel before it has its connection point (a fitting's arm end is kArm from its centre).
void ExampleMaker::BuildRoutes() {
  auto add = [](std::vector<AcDbObjectId>* group, const std::vector<AcDbObjectId>& ids) {
    group->insert(group->end(), ids.begin(), ids.end());
  };
  std::vector<AcDbObjectId>& r1 = route01_;
  std::vector<AcDbObjectId>& r2 = route02_;

  // The riser: the pull box in the EPS, the terminal segment and the way up to the corridor.
  r1.push_back(Element(kPullBox, {8000, 4400}, 0));
  add(&r1, Run({8000, 4600}, {8000, 5600}));  // the terminal segment
  add(&r1, Run({8000, 5600}, {8000, 6750}));
  const P tee1{8000, 7000};
  r1.push_back(Tee(tee1, kSouth));

  // West along the corridor to the lighting panel 1F-L1 on the corridor wall.
  add(&r1, Run(Along(tee1, kWest, kArm), {3950, 7000}));
  r1.push_back(Elbow({3700, 7000}, kEast, kSouth));
  add(&r1, Run({3700, 6750}, {3700, 6250}));
  const AcDbObjectId lighting_panel = Part(kLightingPanel, {3500, 6125}, 0, L"1F-L1");
  r1.push_back(lighting_panel);

  // East along the corridor and into the plant room to the power panel 1F-P1.
  add(&r1, Run(Along(tee1, kEast, kArm), {11750, 7000}));
  r1.push_back(Elbow({12000, 7000}, kWest, kSouth));
  add(&r1, Run({12000, 6750}, {12000, 5950}));
  r1.push_back(Element(kPowerPanel, {12000, 5800}, 0, kEquipmentLayer));

  // First feeder: the water pump, and on a tee the fan in the outer wall.
  add(&r1, Run({11600, 5650}, {11600, 4250}));
  const P tee3{11600, 4000};
  r1.push_back(Tee(tee3, kEast));
  add(&r1, Run({11600, 3750}, {11600, 2750}));
  r1.push_back(Elbow({11600, 2500}, kNorth, kEast));
  add(&r1, Run({11850, 2500}, {12300, 2500}));
  r1.push_back(Part(kPump, {12300, 2500}, 0, L"給水ポンプ"));
  add(&r1, Run(Along(tee3, kEast, kArm), {13750, 4000}));
  r1.push_back(Elbow({14000, 4000}, kWest, kSouth));
  add(&r1, Run({14000, 3750}, {14000, 700}));
  r1.push_back(Part(kFan, {14000, 700}, -90, L"換気扇 EF-1"));

  // Second feeder: out through the east wall to the two outdoor units. The long outdoor run was
  // drawn as two plain segments that stand in no route yet (state 0): a wiring note on them
  // starts on the segment's line rather than at the block's origin.
  add(&r1, Run({12400, 5650}, {12400, 5250}));
  r1.push_back(Elbow({12400, 5000}, kNorth, kEast));
  add(&r1, Run({12650, 5000}, {24750, 5000}, 2, L"0"));
  const P tee4{25000, 5000};
  r1.push_back(Tee(tee4, kWest));
  add(&r1, Run(Along(tee4, kNorth, kArm), {25000, 6500}));
  r1.push_back(Part(kAirConditioner, {25000, 6500}, 90, L"空調室外機 AC-1"));
  add(&r1, Run(Along(tee4, kSouth, kArm), {25000, 3500}));
  r1.push_back(Part(kAirConditioner, {25000, 3500}, -90, L"空調室外機 AC-2"));

  // The lighting panel's branch into the office: the outlet L-2 and the light L-1.
  r2.push_back(lighting_panel);
  const P tee2{3300, 9500};
  add(&r2, Run({3300, 6250}, Along(tee2, kSouth, kArm)));
  r2.push_back(Tee(tee2, kSouth));
  add(&r2, Run(Along(tee2, kWest, kArm), {1200, 9500}));
  r2.push_back(Part(kOutlet, {1200, 9500}, 180, L"L-2"));
  add(&r2, Run(Along(tee2, kEast, kArm), {7250, 9500}));
  r2.push_back(Elbow({7500, 9500}, kWest, kNorth));
  add(&r2, Run({7500, 9750}, {7500, 10700}));
  r2.push_back(Part(kLight, {7500, 10700}, 90, L"L-1"));

  builder_.AddGroup(L"ROUTE01", r1);
  builder_.AddGroup(L"ROUTE02", r2);

  // Names of the panels and loads, as the designer writes them beside the symbols.
  const struct {
    const wchar_t* text;
    P at;
    AcDb::TextHorzMode horizontal;
  } labels[] = {
      {L"電灯分電盤 1F-L1", {3000, 6500}, AcDb::kTextRight},
      {L"動力制御盤 1F-P1", {11300, 5800}, AcDb::kTextRight},
      {L"照明 L-1", {7500, 11600}, AcDb::kTextCenter},
      {L"コンセント L-2", {400, 9900}, AcDb::kTextLeft},
      {L"空調室外機 AC-1", {25500, 6900}, AcDb::kTextLeft},
      {L"空調室外機 AC-2", {25500, 2950}, AcDb::kTextLeft},
      {L"換気扇 EF-1", {14400, 400}, AcDb::kTextLeft},
      {L"給水ポンプ", {12650, 1750}, AcDb::kTextCenter},
      {L"PB", {8300, 4300}, AcDb::kTextLeft},
  };
  for (const auto& label : labels) {
    Text(label.text, label.at, kLabelHeight, label.horizontal, kNameLayer);
  }
}

bool ExampleMaker::Make() {
  Layer(kWallLayer, 8);
  Layer(kRoomLayer, 8);
  Layer(kRouteLayer, 5);
  Layer(kEquipmentLayer, 6);
  Layer(kNameLayer, 7);
  builder_.SetGlobalScale(100);
  // Millimetres, as the drawing's insertion units say.
  std::vector<AcDbRawGroup> header = db_->rawHeader();
  header.push_back({9, L"$INSUNITS"});
  header.push_back({70, L"4"});
  db_->setRawHeader(std::move(header));
  DefineBlocks();
  DrawPlan();
  BuildRoutes();
  return ok();
}

}  // namespace

bool BuildExampleDrawing(AcDbDatabase* db, std::wstring* error) {
  ExampleMaker maker(db);
  const bool made = maker.Make();
  if (!made && error != nullptr) *error = maker.error();
  return made;
}

std::string ExampleDrawingDxf(std::wstring* error) {
  AcDbDatabase db(true, true);
  if (!BuildExampleDrawing(&db, error)) return {};
  return WriteDxf(db);
}

bool WriteExampleDrawing(const std::string& path, std::wstring* error) {
  AcDbDatabase db(true, true);
  std::wstring build_error;
  if (!BuildExampleDrawing(&db, &build_error)) {
    if (error != nullptr) *error = L"the example drawing cannot be made: " + build_error;
    return false;
  }
  return WriteDxfFile(db, path, error);
}

std::string BundledExampleDrawingPath() {
  return BundledExamplesDir() + "/" + kExampleDrawingName;
}

}  // namespace host
