// Reading the groups of one record: which the database models and which are kept, XData, and
// the values of modelled groups.
#pragma once

#include <acutads.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/kept_groups.h"

#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "host/dxf/dxf_sections.h"

namespace host::dxf_in {

// The group's text as a kept group holds it.
inline platform::acad::RawText Kept(const Group& g) {
  return platform::acad::RawText::fromUtf8(g.text);
}
inline platform::acad::RawText Kept(std::string_view utf8) {
  return platform::acad::RawText::fromUtf8(utf8);
}

constexpr double kDegree = 3.14159265358979323846 / 180.0;

// Groups of one record split into modelled values and kept ones. `modelled` says which codes
// the caller takes (outside XData); the others, the 100 markers included, are kept in order.
struct Split {
  std::vector<const Group*> values;  // modelled, in order
  std::vector<platform::acad::RawGroup> raw;
  std::span<const Group> xdata;  // from the first 1001 on
};

// The first owner group outside application groups (the one the database keeps), or null.
const Group* FirstOwner(const Record& r);

// The XData items of one record, made where the record was lexed (the lexer's thread, for a
// large drawing's entities) before the database is given them: `first` is the record's first
// 1001 group (where SplitRecord's xdata starts), `ok` what AddXData said.
struct PreparedXData {
  const Group* first = nullptr;
  bool ok = false;
  platform::acad::XDataBuilder items;
};

// Splits into *s, whose vectors keep their memory for the next record.
template <class Pred>
void SplitRecord(const Record& r, Pred modelled, Split* s) {
  s->values.clear();
  s->raw.clear();
  s->xdata = {};
  int app_depth = 0;
  const Group* owner = FirstOwner(r);
  for (size_t i = 0; i < r.groups.size(); ++i) {
    const Group& g = r.groups[i];
    if (g.code == 1001) {
      s->xdata = r.groups.subspan(i);
      break;
    }
    if (g.code == 102) app_depth += (!g.text.empty() && g.text[0] == '{') ? 1 : -1;
    if (app_depth == 0 && g.code != 102 && g.code != 5 && g.code != 330 && modelled(g.code)) {
      s->values.push_back(&g);
    } else if (g.code == 5 || (g.code == 330 && app_depth == 0 && &g == owner)) {
      // handle and owner: the database keeps them
    } else {
      s->raw.push_back(platform::acad::RawGroup{g.code, Kept(g)});
    }
  }
}

template <class Pred>
Split SplitRecord(const Record& r, Pred modelled) {
  Split s;
  SplitRecord(r, modelled, &s);
  return s;
}

// Keeps the file's text of those modelled groups beside their value, as kept groups with the
// negated code (50 as -50), for values the database holds in another unit (angles in radians):
// the writer gives the text back while the value is unchanged, so that numbers round-trip.
void KeepText(Split* s, std::initializer_list<int> codes);

// The kept groups without the markers among `written` that have no kept group after them and
// appear once: the writer writes those subclass markers itself, in the same places, so the file
// comes back the same and a large drawing does not keep millions of them.
// The kept groups are moved out of `raw`.
std::vector<platform::acad::RawGroup> WithoutBareMarkers(std::vector<platform::acad::RawGroup>& raw,
                                                         std::span<const std::string_view> written);
// A handle as files write it: upper-case hexadecimal.
std::string HexText(AcDbHandle h);
// True when `text` is a handle other than null written so (HexText), that of `expected` or, with
// `found`, any (then set to it).
bool IsWrittenHandle(std::string_view text, AcDbHandle expected);
bool IsWrittenHandle(std::string_view text, AcDbHandle* found);

// Every group of the record, kept as read.
std::vector<platform::acad::RawGroup> AllGroups(const Record& r);

// Adds XData groups to `out` (points take their 20/30 partners: 1020, 1030 ...); false when a
// group is of no XData type (what was added then is of no use).
bool AddXData(std::span<const Group> groups, platform::acad::XDataBuilder* out);

// The point of the groups x_code, x_code + 10 and x_code + 20 (those missing from `start`).
AcGePoint3d PointOf(const std::vector<const Group*>& values, int x_code, AcGePoint3d start = {});
// The first group of that code, or null.
const Group* Find(const std::vector<const Group*>& values, int code);
// The value of the first group of that code, or the fallback.
double RealOr(const std::vector<const Group*>& values, int code, double fallback);
long long IntOr(const std::vector<const Group*>& values, int code, long long fallback);
std::wstring StringOr(const std::vector<const Group*>& values, int code,
                      const std::wstring& fallback = L"");
// The same as UTF-8, a view of the group's text (or of the fallback).
std::string_view TextOr(const std::vector<const Group*>& values, int code,
                        std::string_view fallback = {});

}  // namespace host::dxf_in
