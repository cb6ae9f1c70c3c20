// XData of database objects: reading one application's chain, replacing it, and the 16 KiB limit.
#include <cwchar>
#include <string>
#include <vector>

#include "acutads.h"
#include "dbstub.h"
#include "dbsymtb.h"

namespace {

constexpr size_t kMaxXDataBytes = 16383;

bool IsXDataCode(int code) {
  return (code >= 1000 && code <= 1005) || (code >= 1010 && code <= 1013) ||
         (code >= 1040 && code <= 1042) || code == 1070 || code == 1071;
}

// One application's part of a chain: its 1001 link and the links up to the next 1001.
struct Segment {
  const resbuf* head = nullptr;
  std::vector<const resbuf*> items;
  const ACHAR* app() const { return head->resval.rstring ? head->resval.rstring : L""; }
};

std::vector<Segment> Split(const resbuf* rb) {
  std::vector<Segment> segments;
  for (; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == 1001) {
      segments.push_back(Segment{rb, {}});
    } else if (!segments.empty()) {
      segments.back().items.push_back(rb);
    }
  }
  return segments;
}

// Bytes the drawing needs for one application's XData (see AcDbObject::setXData).
size_t SegmentSize(const Segment& segment) {
  size_t size = 2 + 8;
  for (const resbuf* rb : segment.items) {
    size += 1;
    int code = rb->restype;
    if (code == 1000 || code == 1001) {
      size += 2 + 2 * (rb->resval.rstring ? std::wcslen(rb->resval.rstring) : 0);
    } else if (code == 1002) {
      size += 1;
    } else if (code == 1003 || code == 1005) {
      size += 8;
    } else if (code == 1004) {
      size += 1 + static_cast<size_t>(rb->resval.rbinary.clen > 0 ? rb->resval.rbinary.clen : 0);
    } else if (code >= 1010 && code <= 1013) {
      size += 24;
    } else if (code >= 1040 && code <= 1042) {
      size += 8;
    } else if (code == 1070) {
      size += 2;
    } else if (code == 1071) {
      size += 4;
    }
  }
  return size;
}

resbuf* CopySegment(const Segment& segment) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  auto append = [&tail](const resbuf* rb) {
    resbuf single = *rb;
    single.rbnext = nullptr;
    resbuf* copy = platform::acad::CopyResbufChain(&single);
    *tail = copy;
    tail = &copy->rbnext;
  };
  append(segment.head);
  for (const resbuf* rb : segment.items) append(rb);
  return head;
}

bool IsRegistered(AcDbDatabase* db, const ACHAR* app) {
  if (db == nullptr) return true;  // nothing to check against until it joins a database
  auto* table = platform::acad::internal::PeekAs<AcDbRegAppTable>(db->regAppTableId());
  if (table == nullptr) return false;
  for (const AcDbObjectId& id : table->recordIds()) {
    auto* record = platform::acad::internal::PeekAs<AcDbRegAppTableRecord>(id);
    if (record != nullptr && !id.isErased() &&
        platform::acad::internal::SameName(record->name(), app))
      return true;
  }
  return false;
}

}  // namespace

resbuf* AcDbObject::xData(const ACHAR* regappName) const {
  assertReadEnabled();
  if (regappName == nullptr) return platform::acad::CopyResbufChain(xdata_);
  for (const Segment& segment : Split(xdata_))
    if (platform::acad::internal::SameName(segment.app(), regappName)) return CopySegment(segment);
  return nullptr;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
  assertWriteEnabled();
  Acad::ErrorStatus fault;
  if (platform::acad::internal::TakeSetXDataFault(&fault)) return fault;
  if (xdata == nullptr || xdata->restype != 1001) return Acad::eInvalidInput;
  for (const resbuf* rb = xdata; rb != nullptr; rb = rb->rbnext)
    if (!IsXDataCode(rb->restype)) return Acad::eInvalidInput;

  std::vector<Segment> incoming = Split(xdata);
  AcDbDatabase* db = platform::acad::internal::DatabaseFor(this);
  for (const Segment& segment : incoming)
    if (!IsRegistered(db, segment.app())) return Acad::eRegappIdNotFound;

  // The new XData: the old applications in their order, replaced where given (removed when
  // given empty), then the new applications in the order of the chain.
  std::vector<Segment> result;
  std::vector<bool> used(incoming.size(), false);
  for (const Segment& old : Split(xdata_)) {
    bool replaced = false;
    for (size_t i = 0; i < incoming.size(); ++i) {
      if (platform::acad::internal::SameName(incoming[i].app(), old.app())) {
        if (!replaced && !incoming[i].items.empty()) result.push_back(incoming[i]);
        used[i] = replaced = true;
      }
    }
    if (!replaced) result.push_back(old);
  }
  for (size_t i = 0; i < incoming.size(); ++i) {
    if (used[i] || incoming[i].items.empty()) continue;
    bool repeated = false;
    for (const Segment& kept : result)
      repeated = repeated || platform::acad::internal::SameName(kept.app(), incoming[i].app());
    if (!repeated) result.push_back(incoming[i]);
  }

  size_t total = 0;
  for (const Segment& segment : result) total += SegmentSize(segment);
  if (total > kMaxXDataBytes) return Acad::eXdataSizeExceeded;

  resbuf* chain = nullptr;
  resbuf** tail = &chain;
  for (const Segment& segment : result) {
    *tail = CopySegment(segment);
    while (*tail != nullptr) tail = &(*tail)->rbnext;
  }
  acutRelRb(xdata_);
  xdata_ = chain;
  return Acad::eOk;
}
