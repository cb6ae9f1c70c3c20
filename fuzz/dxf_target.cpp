// Fuzz target: a DXF drawing read, written and read again, rendered, hit-tested and measured.
#include <dbmain.h>
#include <dbsymtb.h>
#include "platform/acad/hit_test.h"

#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"
#include "host/user/entity_view.h"
#include "host/svg/svg_renderer.h"

namespace fuzz {
namespace {

std::vector<AcDbObjectId> ModelSpaceEntities(AcDbDatabase& db) {
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return {};
  std::vector<AcDbObjectId> ids = space->entityIds();
  space->close();
  return ids;
}

// Everything that walks through the drawing's blocks: the picture, picks at the origin and at
// each entity's box, and each entity's box itself.
void WalkDrawing(AcDbDatabase& db) {
  host::RenderSvg(db);
  using platform::acad::PickEntityAt;
  PickEntityAt(db.modelSpaceId(), AcGePoint3d(0, 0, 0), 1.0, true);
  PickEntityAt(db.modelSpaceId(), AcGePoint3d(0, 0, 0), 1.0, false);
  for (const AcDbObjectId& id : ModelSpaceEntities(db)) {
    AcGePoint3d min, max;
    if (!platform::acad::EntityBox(id, min, max)) continue;
    PickEntityAt(db.modelSpaceId(), min, 1.0, true);
    platform::acad::FirstEntityInside(id);
  }
}

}  // namespace

void Dxf(std::string_view bytes) {
  host::DxfReadResult read = host::ReadDxf(bytes);
  if (!read.ok()) {
    FUZZ_CHECK(!read.error.empty(), "a drawing that is not read says why");
    return;
  }
  const std::wstring seen = host::DescribeDrawing(read.database.get());
  WalkDrawing(*read.database);

  std::wstring fault;
  const std::string written = host::WriteDxf(*read.database, &fault);
  FUZZ_CHECK(fault.empty(), "a drawing that was read is written with its structure whole");
  host::DxfReadResult again = host::ReadDxf(written);
  FUZZ_CHECK(again.ok(), "a drawing written reads back");
  FUZZ_CHECK(host::DescribeDrawing(again.database.get()) == seen,
             "a drawing written reads back with the same entities");
  // Written once more, it reads back with those entities still.
  host::DxfReadResult third = host::ReadDxf(host::WriteDxf(*again.database));
  FUZZ_CHECK(third.ok() && host::DescribeDrawing(third.database.get()) == seen,
             "a drawing written twice reads back with the same entities");
}

}  // namespace fuzz
