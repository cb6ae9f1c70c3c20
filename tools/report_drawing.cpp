// The wire and untagged reports' reading of one drawing.
#include "tools/report_drawing.h"

#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <map>
#include <tuple>

#include "attributes/element_class.h"
#include "attributes/element_wires.h"
#include "attributes/route_filter.h"
#include "attributes/trunk_check.h"
#include "host/dxf/dxf_objects.h"
#include <VuRida.h>
#include "project/master_lists.h"

namespace tools {
namespace {

// The route elements that acedSSGet selects in `mode` with the route element filter, in
// selection order (drawing order for "A").
std::vector<AcDbObjectId> SelectRouteElementIds(const wchar_t* mode) {
  std::vector<AcDbObjectId> ids;
  const ResbufChain filter = NewRouteElementFilter();
  ads_name selection;
  if (filter == nullptr || acedSSGet(mode, nullptr, nullptr, filter.get(), selection) != RTNORM)
    return ids;
  Adesk::Int32 count = 0;
  acedSSLength(selection, &count);
  ids.reserve(count);
  for (Adesk::Int32 i = 0; i < count; ++i) {
    const AcDbObjectId id = SelectionMember(selection, i);
    if (!id.isNull()) ids.push_back(id);
  }
  acedSSFree(selection);
  return ids;
}

// Every entity of the working drawing's model space, in drawing order. The wire report walks
// them all: an entity without "RQ_ATTR" records gives no wire (ReadElementWires fails at once),
// so this is what the route element selection in mode "X" would hand it, without building a
// selection set of 100,000 members first.
std::vector<AcDbObjectId> ModelSpaceIds() {
  std::vector<AcDbObjectId> ids;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTableRecord* space = nullptr;
  if (db == nullptr || acdbOpenObject(space, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk)
    return ids;
  ids = space->entityIds();
  space->close();
  return ids;
}

using WireKey = std::tuple<std::wstring, std::wstring, std::wstring, std::wstring>;

WireKey KeyOf(const ElementWire& wire) {
  return {wire.system.GetString(), wire.code.GetString(), wire.panel.GetString(),
          wire.size.GetString()};
}

bool HasCode(const CStringArray& codes, const std::wstring& code) {
  for (INT_PTR i = 0; i < codes.GetSize(); ++i) {
    if (code == codes[i].GetString()) return true;
  }
  return false;
}

}  // namespace

double MetresPerUnit(const AcDbDatabase& db, bool* known) {
  if (known != nullptr) *known = true;
  const std::wstring text = host::DxfHeaderValue(db, L"$INSUNITS");
  if (text.empty()) return 0.001;
  wchar_t* end = nullptr;
  const long units = std::wcstol(text.c_str(), &end, 10);
  // The units of $INSUNITS that have a length in metres; 0 (unitless) and the astronomical
  // units (18 to 20) read as millimetres.
  static const std::map<long, double> kMetres = {
      {1, 0.0254}, {2, 0.3048},  {3, 1609.344}, {4, 0.001},   {5, 0.01},   {6, 1.0},
      {7, 1000.0}, {8, 2.54e-8}, {9, 2.54e-5},  {10, 0.9144}, {11, 1e-10}, {12, 1e-9},
      {13, 1e-6},  {14, 0.1},    {15, 10.0},    {16, 100.0},  {17, 1e9}};
  if (end != nullptr && *end == L'\0' && end != text.c_str()) {
    if (units == 0) return 0.001;
    const auto it = kMetres.find(units);
    if (it != kMetres.end()) return it->second;
  }
  if (known != nullptr) *known = false;
  return 0.001;
}

double ElementLength(AcDbObjectId id) {
  AcGePoint3dArray points;
  if (VuRida_GetConnectPoint(id, points, RQCONECT_LAYER, nullptr) != 0) return 0;
  double longest = 0;
  for (int i = 0; i < points.length(); ++i) {
    for (int j = i + 1; j < points.length(); ++j) {
      longest = std::max(longest, points[i].distanceTo(points[j]));
    }
  }
  return longest;
}

int CompareSystemNumbers(const std::wstring& a, const std::wstring& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (std::iswdigit(a[i]) && std::iswdigit(b[j])) {
      size_t ei = i, ej = j;
      while (ei < a.size() && std::iswdigit(a[ei])) ++ei;
      while (ej < b.size() && std::iswdigit(b[ej])) ++ej;
      // Leading zeros do not change a number's value.
      size_t si = i, sj = j;
      while (si + 1 < ei && a[si] == L'0') ++si;
      while (sj + 1 < ej && b[sj] == L'0') ++sj;
      if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
      const int digits = a.compare(si, ei - si, b, sj, ej - sj);
      if (digits != 0) return digits;
      i = ei;
      j = ej;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  return a.compare(b);  // equal by value ("01" and "1"): the plain order decides
}

std::wstring ItemNameForReport(const std::wstring& code, const ConstructionItems* items) {
  if (code.empty() || items == nullptr) return code;
  if (!HasCode(items->Codes(0), code) && !HasCode(items->Codes(1), code)) return code;
  return items->NameOf(code.c_str()).GetString();
}

std::vector<WireLine> ReadWireLines() {
  std::map<WireKey, WireLine> lines;
  std::vector<ElementWire> wires;
  std::vector<WireKey> seen;  // the wires of the element at hand, so that each counts once
  for (const AcDbObjectId& id : ModelSpaceIds()) {
    if (id.isErased() || !ReadElementWires(id, wires)) continue;
    seen.clear();
    bool measured = false;
    double length = 0;
    for (size_t i = 0; i < wires.size(); ++i) {
      if (i == 0 && !FirstWireIsSet(wires[0])) continue;
      WireKey key = KeyOf(wires[i]);
      if (std::find(seen.begin(), seen.end(), key) != seen.end()) continue;
      if (!measured) {
        length = RouteKindOf(id, -1) == kRouteKindPart ? 0 : ElementLength(id);
        measured = true;
      }
      WireLine& line = lines[key];
      if (line.elements == 0) {
        std::tie(line.system, line.code, line.panel, line.size) = key;
      }
      ++line.elements;
      line.length += length;
      seen.push_back(std::move(key));
    }
  }
  std::vector<WireLine> result;
  result.reserve(lines.size());
  for (auto& [key, line] : lines) result.push_back(std::move(line));
  // The map already orders by code, panel and size within equal system numbers; a stable sort by
  // the readers' order of system numbers keeps that.
  std::stable_sort(result.begin(), result.end(), [](const WireLine& a, const WireLine& b) {
    return CompareSystemNumbers(a.system, b.system) < 0;
  });
  return result;
}

std::vector<UntaggedElement> ReadUntaggedElements() {
  std::vector<UntaggedElement> result;
  for (const AcDbObjectId& id : SelectRouteElementIds(L"A")) {
    if (!LacksTrunkNumber(id)) continue;
    UntaggedElement element;
    element.id = id;
    CString block;
    VuRida_GetIDByBlockName(id, block);
    element.block = block.GetString();
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) == Acad::eOk) {
      ACHAR* layer = entity->layer();
      if (layer != nullptr) element.layer = layer;
      acutDelString(layer);
      if (const AcDbBlockReference* reference = AcDbBlockReference::cast(entity)) {
        element.x = reference->position().x;
        element.y = reference->position().y;
      }
      entity->close();
    }
    result.push_back(std::move(element));
  }
  return result;
}

}  // namespace tools
