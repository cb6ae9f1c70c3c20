// ATTDEF: an attribute definition of a block (AcDbAttributeDefinition), a text with a tag, a
// prompt and flags.
#include <dbents.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadAttdef(Builder& in, const Record& r, Split* s) {
  SplitRecord(
      r,
      [](int c) {
        return Builder::CommonCode(c) || (Builder::TextCode(c) && c != 73) || c == 2 || c == 70 ||
               c == 74 || c == 3;
      },
      s);
  KeepText(s, {50, 51, 11});
  const long long flags = IntOr(s->values, 70, 0);
  auto* a = new AcDbAttributeDefinition;
  in.SetText(a, s->values, 74, r.line);
  if (a->setTag(in.WideText(TextOr(s->values, 2))) != Acad::eOk) {
    delete a;
    return nullptr;
  }
  a->setPrompt(in.WideText(TextOr(s->values, 3)));
  a->setInvisible(flags & 1);
  a->setConstant(flags & 2);
  return a;
}

}  // namespace dxf_in

namespace dxf_out {

void WriteAttdef(EntityOut& out, const AcDbEntity& e) {
  const auto& def = static_cast<const AcDbAttributeDefinition&>(e);
  out.writer.TextMain(&def, &out.Next("AcDbText"));
  Lines& g = out.Next("AcDbAttributeDefinition");
  g.Add(3, def.promptConst());
  g.Add(2, def.tagConst());
  g.AddInt(70, (def.isInvisible() ? 1 : 0) | (def.isConstant() ? 2 : 0));
  if (def.verticalMode() != AcDb::kTextBase) g.AddInt(74, def.verticalMode());
}

}  // namespace dxf_out

}  // namespace host
