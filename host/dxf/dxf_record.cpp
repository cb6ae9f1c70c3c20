// Reading the groups of one record.
#include "host/dxf/dxf_record.h"
#include "platform/acad/kept_groups.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace host::dxf_in {

const Group* FirstOwner(const Record& r) {
  int depth = 0;
  for (const Group& g : r.groups) {
    if (g.code == 102) depth += (!g.text.empty() && g.text[0] == '{') ? 1 : -1;
    if (g.code == 330 && depth == 0) return &g;
    if (g.code == 1001) break;
  }
  return nullptr;
}

void KeepText(Split* s, std::initializer_list<int> codes) {
  for (int code : codes)
    if (const Group* g = Find(s->values, code)) s->raw.push_back(platform::acad::RawGroup{-code, Kept(*g)});
}

std::vector<platform::acad::RawGroup> WithoutBareMarkers(std::vector<platform::acad::RawGroup>& raw,
                                             std::span<const std::string_view> written) {
  auto bare = [&](size_t i) {
    if (raw[i].code != 100) return false;
    if (i + 1 < raw.size() && raw[i + 1].code != 100) return false;  // groups follow
    const std::string_view marker = raw[i].value.utf8();
    bool known = false;
    for (std::string_view w : written) known = known || marker == w;
    if (!known) return false;
    size_t same = 0;
    for (const platform::acad::RawGroup& g : raw) same += g.code == 100 && g.value.utf8() == marker;
    return same == 1;
  };
  // Judged first, then taken: nothing moves before every marker is judged. Most records keep a
  // handful of groups, judged in one word; the kept vector is exactly as large as needed, as
  // objects hold these for the drawing's life.
  uint64_t drop_few = 0;
  std::vector<bool> drop_many(raw.size() > 64 ? raw.size() : 0);
  size_t n = 0;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (!bare(i)) {
      ++n;
    } else if (raw.size() > 64) {
      drop_many[i] = true;
    } else {
      drop_few |= uint64_t{1} << i;
    }
  }
  std::vector<platform::acad::RawGroup> kept;
  if (n == 0) return kept;
  kept.reserve(n);
  for (size_t i = 0; i < raw.size(); ++i) {
    const bool drop = raw.size() > 64 ? drop_many[i] : ((drop_few >> i) & 1) != 0;
    if (!drop) kept.push_back(std::move(raw[i]));
  }
  return kept;
}

std::string HexText(AcDbHandle h) {
  char buf[20];
  char* end = std::to_chars(buf, buf + sizeof buf, h.value(), 16).ptr;
  std::string text(buf, end);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsWrittenHandle(std::string_view text, AcDbHandle* found) {
  // As HexText writes them: upper-case digits without leading zeros ("0" is the null handle).
  if (text.empty() || text[0] == '0' || text.find_first_of("abcdef") != std::string_view::npos)
    return false;
  *found = Handle(text);
  return !found->isNull();
}

bool IsWrittenHandle(std::string_view text, AcDbHandle expected) {
  AcDbHandle found;
  return IsWrittenHandle(text, &found) && found == expected;
}

std::vector<platform::acad::RawGroup> AllGroups(const Record& r) {
  std::vector<platform::acad::RawGroup> raw;
  raw.reserve(r.groups.size());
  for (const Group& g : r.groups) raw.push_back(platform::acad::RawGroup{g.code, Kept(g)});
  return raw;
}

bool AddXData(std::span<const Group> groups, platform::acad::XDataBuilder* out) {
  for (size_t i = 0; i < groups.size(); ++i) {
    const Group& g = groups[i];
    if (g.code == 1001 || (g.code >= 1000 && g.code <= 1005 && g.code != 1004)) {
      out->AddText(g.code, g.text);
    } else if (g.code == 1004) {
      std::string bytes;
      for (size_t k = 0; k + 1 < g.text.size(); k += 2)
        bytes.push_back(
            static_cast<char>(std::stoi(std::string(g.text.substr(k, 2)), nullptr, 16)));
      // The length as a chain's link holds it (16 bits).
      out->AddBinary(1004, bytes.data(), static_cast<short>(bytes.size()));
    } else if (g.code >= 1010 && g.code <= 1013) {
      double xyz[3] = {Real(g), 0, 0};
      for (int axis = 1; axis <= 2 && i + 1 < groups.size(); ++axis) {
        if (groups[i + 1].code != g.code + 10 * axis) break;
        xyz[axis] = Real(groups[++i]);
      }
      out->AddPoint(g.code, xyz[0], xyz[1], xyz[2]);
    } else if (g.code >= 1040 && g.code <= 1042) {
      out->AddReal(g.code, Real(g));
    } else if (g.code == 1070) {
      out->AddShort(g.code, static_cast<short>(Int(g)));
    } else if (g.code == 1071) {
      out->AddLong(g.code, static_cast<int32_t>(Int(g)));
    } else {
      return false;  // no XData group: the groups are kept as they are
    }
  }
  return true;
}

AcGePoint3d PointOf(const std::vector<const Group*>& values, int x_code, AcGePoint3d start) {
  for (const Group* g : values) {
    if (g->code == x_code) start.x = Real(*g);
    if (g->code == x_code + 10) start.y = Real(*g);
    if (g->code == x_code + 20) start.z = Real(*g);
  }
  return start;
}

const Group* Find(const std::vector<const Group*>& values, int code) {
  for (const Group* g : values)
    if (g->code == code) return g;
  return nullptr;
}

double RealOr(const std::vector<const Group*>& values, int code, double fallback) {
  const Group* g = Find(values, code);
  return g ? Real(*g) : fallback;
}
long long IntOr(const std::vector<const Group*>& values, int code, long long fallback) {
  const Group* g = Find(values, code);
  return g ? Int(*g) : fallback;
}
std::wstring StringOr(const std::vector<const Group*>& values, int code,
                      const std::wstring& fallback) {
  const Group* g = Find(values, code);
  return g ? Wide(*g) : fallback;
}
std::string_view TextOr(const std::vector<const Group*>& values, int code,
                        std::string_view fallback) {
  const Group* g = Find(values, code);
  return g ? g->text : fallback;
}

}  // namespace host::dxf_in
