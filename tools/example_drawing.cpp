// The bundled example drawing: a first-floor electrical plan with routes, panels and loads.
#include "tools/example_drawing.h"
#include "platform/acad/kept_groups.h"

#include <dbsymtb.h>

#include <memory>
#include <vector>

#include "host/dxf/dxf_writer.h"
#include "tools/example_maker.h"
#include "tools/system_folder.h"

namespace tools {
namespace example {

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

bool ExampleMaker::Make() {
  Layer(kWallLayer, 8);
  Layer(kRoomLayer, 8);
  Layer(kRouteLayer, 5);
  Layer(kEquipmentLayer, 6);
  Layer(kNameLayer, 7);
  builder_.SetGlobalScale(100);
  // Millimetres, as the drawing's insertion units say.
  std::vector<platform::acad::RawGroup> header = platform::acad::KeptHeader(*db_);
  header.push_back({9, L"$INSUNITS"});
  header.push_back({70, L"4"});
  platform::acad::SetKeptHeader(*db_, std::move(header));
  DefineBlocks();
  DrawPlan();
  BuildRoutes();
  return ok();
}

}  // namespace example

bool BuildExampleDrawing(AcDbDatabase* db, std::wstring* error) {
  example::ExampleMaker maker(db);
  const bool made = maker.Make();
  if (!made && error != nullptr) *error = maker.error();
  return made;
}

std::string ExampleDrawingDxf(std::wstring* error) {
  AcDbDatabase db(true, true);
  if (!BuildExampleDrawing(&db, error)) return {};
  return host::WriteDxf(db);
}

bool WriteExampleDrawing(const std::string& path, std::wstring* error) {
  AcDbDatabase db(true, true);
  std::wstring build_error;
  if (!BuildExampleDrawing(&db, &build_error)) {
    if (error != nullptr) *error = L"the example drawing cannot be made: " + build_error;
    return false;
  }
  return host::WriteDxfFile(db, path, error);
}

std::string BundledExampleDrawingPath() {
  return BundledExamplesDir() + "/" + kExampleDrawingName;
}

}  // namespace tools
