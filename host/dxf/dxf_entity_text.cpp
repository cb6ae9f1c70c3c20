// TEXT: single-line text (AcDbText). Its properties shared with ATTDEF and ATTRIB are read by
// Builder::SetText and written by Writer::TextMain.
#include <dbents.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadText(Builder& in, const Record& r, Split* s) {
  SplitRecord(
      r, [](int c) { return Builder::CommonCode(c) || Builder::TextCode(c); }, s);
  KeepText(s, {50, 51, 11});
  auto* t = new AcDbText;
  in.SetText(t, s->values, 73, r.line);
  return t;
}

}  // namespace dxf_in

namespace dxf_out {

void WriteText(EntityOut& out, const AcDbEntity& e) {
  const auto& text = static_cast<const AcDbText&>(e);
  out.writer.TextMain(&text, &out.Next("AcDbText"));
  Lines& g = out.Next("AcDbText");
  if (text.verticalMode() != AcDb::kTextBase) g.AddInt(73, text.verticalMode());
}

}  // namespace dxf_out

}  // namespace host
