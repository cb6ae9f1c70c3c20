// The example drawing's block definitions: route fittings, panels and loads with their connection
// points and attribute definitions.
#include "tools/example_maker.h"

#include <dbelipse.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <dbsymtb.h>

namespace tools::example {

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

}  // namespace tools::example
