// The example drawing's model space: the floor plan, its texts, and the routes that join the
// panels and loads.
#include "tools/example_maker.h"

#include <dbhatch.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include "platform/win/text_encoding.h"

namespace tools::example {

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

}  // namespace tools::example
