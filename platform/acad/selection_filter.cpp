// Matching entities against selection filters and wildcard patterns.
#include "platform/acad/selection_filter.h"

#include <cwctype>
#include <string>

#include <acutads.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>
#include <rxobject.h>
#include "platform/acad/dbstub.h"

namespace platform::acad {
namespace {

wchar_t Fold(wchar_t c) {
  return static_cast<wchar_t>(std::towupper(c));
}

// One pattern without commas against the text from the given positions.
bool MatchOne(std::wstring_view t, std::wstring_view p) {
  size_t ti = 0, pi = 0;
  size_t star_p = std::wstring_view::npos, star_t = 0;
  while (ti < t.size()) {
    bool matched = false;
    size_t next_pi = pi;
    if (pi < p.size()) {
      const wchar_t c = p[pi];
      const wchar_t x = t[ti];
      if (c == L'*') {
        star_p = pi++;
        star_t = ti;
        continue;
      }
      if (c == L'`' && pi + 1 < p.size()) {
        matched = Fold(p[pi + 1]) == Fold(x);
        next_pi = pi + 2;
      } else if (c == L'[') {
        size_t close = p.find(L']', pi + 1);
        if (close != std::wstring_view::npos) {
          std::wstring_view set = p.substr(pi + 1, close - pi - 1);
          bool negate = !set.empty() && set.front() == L'~';
          if (negate) set.remove_prefix(1);
          bool in = false;
          for (size_t k = 0; k < set.size(); ++k) {
            if (k + 2 < set.size() && set[k + 1] == L'-') {
              in = in || (Fold(x) >= Fold(set[k]) && Fold(x) <= Fold(set[k + 2]));
              k += 2;
            } else {
              in = in || Fold(set[k]) == Fold(x);
            }
          }
          matched = in != negate;
          next_pi = close + 1;
        } else {
          matched = x == L'[';
          next_pi = pi + 1;
        }
      } else {
        next_pi = pi + 1;
        switch (c) {
          case L'?':
            matched = true;
            break;
          case L'#':
            matched = std::iswdigit(x);
            break;
          case L'@':
            matched = std::iswalpha(x);
            break;
          case L'.':
            matched = !std::iswalnum(x);
            break;
          default:
            matched = Fold(c) == Fold(x);
        }
      }
    }
    if (matched) {
      ++ti;
      pi = next_pi;
    } else if (star_p != std::wstring_view::npos) {
      pi = star_p + 1;
      ti = ++star_t;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*') ++pi;
  return pi == p.size();
}

std::wstring DxfName(const AcDbEntity* e) {
  const AcRxClass* cls = e->isA();
  while (cls && (cls->dxfName() == nullptr || *cls->dxfName() == L'\0')) cls = cls->myParent();
  return cls ? cls->dxfName() : L"";
}

std::wstring BlockName(const AcDbEntity* e) {
  auto* ref = AcDbBlockReference::cast(e);
  if (ref == nullptr) return L"";
  AcDbBlockTableRecord* record = nullptr;
  if (acdbOpenObject(record, ref->blockTableRecord(), AcDb::kForRead) != Acad::eOk) return L"";
  const ACHAR* name = nullptr;
  std::wstring result;
  if (record->getName(name) == Acad::eOk && name) result = name;
  record->close();
  return result;
}

// Read from the object's XData in place: a filter over a whole floor asks every element, and a
// chain of its XData would cost a heap block per item.
bool HasXDataOf(const AcDbEntity* e, std::wstring_view pattern) {
  return internal::AnyXDataApp(
      e, [&](std::wstring_view name) { return WildcardMatch(name, pattern); });
}

bool HasXData(const AcDbEntity* e) {
  return internal::AnyXDataApp(e, [](std::wstring_view) { return true; });
}

}  // namespace

bool WildcardMatch(std::wstring_view text, std::wstring_view pattern) {
  // Split at commas that are not escaped.
  size_t start = 0;
  for (size_t i = 0; i <= pattern.size(); ++i) {
    if (i < pattern.size() && pattern[i] == L'`') {
      ++i;
      continue;
    }
    if (i == pattern.size() || pattern[i] == L',') {
      std::wstring_view one = pattern.substr(start, i - start);
      const bool negate = !one.empty() && one.front() == L'~';
      if (negate) one.remove_prefix(1);
      if (MatchOne(text, one) != negate) return true;
      start = i + 1;
    }
  }
  return false;
}

bool EntityPassesFilter(const AcDbEntity* e, const resbuf* filter) {
  for (const resbuf* rb = filter; rb; rb = rb->rbnext) {
    switch (rb->restype) {
      case 0:
      case RTDXF0:
        if (!rb->resval.rstring || !WildcardMatch(DxfName(e), rb->resval.rstring)) return false;
        break;
      case 8: {
        ACHAR* layer = e->layer();
        const bool ok = rb->resval.rstring && layer && WildcardMatch(layer, rb->resval.rstring);
        acutDelString(layer);
        if (!ok) return false;
        break;
      }
      case 2:
        if (!AcDbBlockReference::cast(e) || !rb->resval.rstring ||
            !WildcardMatch(BlockName(e), rb->resval.rstring))
          return false;
        break;
      case 62:
        if (e->colorIndex() != rb->resval.rint) return false;
        break;
      case -3: {
        // The application names follow as 1001 groups, each a pattern that one application of
        // the entity must match (a comma list in one group gives the choice).
        bool named = false;
        while (rb->rbnext && rb->rbnext->restype == 1001) {
          rb = rb->rbnext;
          named = true;
          if (!rb->resval.rstring || !HasXDataOf(e, rb->resval.rstring)) return false;
        }
        if (!named && !HasXData(e)) return false;
        break;
      }
      default:
        break;
    }
  }
  return true;
}

}  // namespace platform::acad
