// INSERT: a block reference (AcDbBlockReference). Its attributes (66 1) follow it in the file as
// ATTRIB entities up to a SEQEND: the reader gives them to the reference it has made
// (Builder::AddEntities), the writer writes them after it (out.followers).
#include <dbents.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadInsert(Builder& in, const Record& r, Split* s) {
  SplitRecord(
      r,
      [](int c) {
        return Builder::CommonCode(c) || c == 66 || c == 2 || c == 10 || c == 20 || c == 30 ||
               c == 41 || c == 42 || c == 43 || c == 50 || c == 210 || c == 220 || c == 230;
      },
      s);
  KeepText(s, {50});
  AcDbObjectId block = in.LookupText(in.roots().block_table, TextOr(s->values, 2));
  if (block.isNull()) return nullptr;
  auto* ref = new AcDbBlockReference(PointOf(s->values, 10), block);
  ref->setScaleFactors(
      AcGeScale3d(RealOr(s->values, 41, 1), RealOr(s->values, 42, 1), RealOr(s->values, 43, 1)));
  ref->setRotation(RealOr(s->values, 50, 0) * kDegree);
  ref->setNormal(AcGeVector3d(RealOr(s->values, 210, 0), RealOr(s->values, 220, 0),
                              RealOr(s->values, 230, 1)));
  return ref;
}

}  // namespace dxf_in

namespace dxf_out {

void WriteInsert(EntityOut& out, const AcDbEntity& e) {
  const auto& ref = static_cast<const AcDbBlockReference&>(e);
  out.followers = Writer::LiveIds(ref.attributeIds());
  // A reference with rows and columns has its own subclass in place of the plain one.
  const bool rows_and_columns = HasKept(ref, 100, "AcDbMInsertBlock");
  Lines& g = out.Next(rows_and_columns ? "AcDbMInsertBlock" : "AcDbBlockReference");
  if (!out.followers.empty()) g.AddUtf8(66, "1");
  g.Add(2, out.writer.NameOf(ref.blockTableRecord()));
  g.AddPoint(10, ref.position());
  const AcGeScale3d s = ref.scaleFactors();
  if (s.sx != 1) g.AddReal(41, s.sx);
  if (s.sy != 1) g.AddReal(42, s.sy);
  if (s.sz != 1) g.AddReal(43, s.sz);
  if (ref.rotation() != 0) AddDegrees(&g, ref, 50, ref.rotation());
  if (!IsZAxis(ref.normal())) g.AddVector(210, ref.normal());
}

}  // namespace dxf_out

}  // namespace host
