// ATTRIB: an attribute of a block reference (AcDbAttribute), a text with a tag. It follows its
// INSERT in the file, up to the SEQEND (Builder::AddEntities and Writer::WriteEntity keep the
// sequence together).
#include <dbents.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadAttrib(Builder& in, const Record& r, Split* s) {
  SplitRecord(
      r,
      [](int c) {
        return Builder::CommonCode(c) || (Builder::TextCode(c) && c != 73) || c == 2 || c == 70 ||
               c == 74;
      },
      s);
  KeepText(s, {50, 51, 11});
  const long long flags = IntOr(s->values, 70, 0);
  auto* a = new AcDbAttribute;
  in.SetText(a, s->values, 74, r.line);
  if (a->setTag(in.WideText(TextOr(s->values, 2))) != Acad::eOk) {
    delete a;
    return nullptr;
  }
  a->setInvisible(flags & 1);
  return a;
}

}  // namespace dxf_in

namespace dxf_out {

void WriteAttrib(EntityOut& out, const AcDbEntity& e) {
  const auto& attr = static_cast<const AcDbAttribute&>(e);
  out.writer.TextMain(&attr, &out.Next("AcDbText"));
  Lines& g = out.Next("AcDbAttribute");
  g.Add(2, attr.tagConst());
  g.AddUtf8(70, attr.isInvisible() ? "1" : "0");
  if (attr.verticalMode() != AcDb::kTextBase) g.AddInt(74, attr.verticalMode());
}

}  // namespace dxf_out

}  // namespace host
