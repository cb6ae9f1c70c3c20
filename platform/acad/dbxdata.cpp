// XData of database objects: reading one application's chain, replacing it, and the 16 KiB limit.
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <acutads.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/dbstub.h"
#include "platform/acad/dbxdata_packed.h"
#include "platform/acad/undo_history.h"

namespace {

constexpr size_t kMaxXDataBytes = 16383;

using platform::acad::internal::FindAppItems;
using platform::acad::internal::NamesApp;
using platform::acad::internal::PackedItem;
using platform::acad::internal::Unpacker;
using platform::acad::internal::XDataItemSize;

// One application's part of a packed block: its name and its bytes (from its 1001 item), and
// the XData size the drawing counts for it.
struct PackedSegment {
  PackedItem name;  // its 1001 item
  const char* begin = nullptr;
  const char* end = nullptr;
  size_t size = 0;
};

// The applications of a packed block into `segments` (emptied first).
void SplitPacked(const char* block, std::vector<PackedSegment>& segments) {
  segments.clear();
  Unpacker in(block);
  while (!in.done()) {
    const char* at = in.pos();
    const PackedItem item = in.Read();
    if (item.code == 1001) {
      if (!segments.empty()) segments.back().end = at;
      segments.push_back(PackedSegment{item, at, nullptr, 2 + 8});
    } else if (!segments.empty()) {
      segments.back().size += item.Size();
    }
  }
  if (!segments.empty()) segments.back().end = in.end();
}

// The items of [begin, end) of a packed block as a new chain.
resbuf* Unpack(const char* begin, const char* end) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  Unpacker in(begin, end);
  while (!in.done()) {
    *tail = in.Next();
    tail = &(*tail)->rbnext;
  }
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

namespace platform::acad {

Acad::ErrorStatus SetXData(AcDbObject* object, const XDataBuilder& xdata) {
  using Access = AcDbXDataAccess;
  // Only the XData changes here: a step keeps only the XData, not a copy of the whole object.
  object->assertWriteEnabled(/*autoUndo=*/false);
  internal::RecordUndoOfXData(object->stub());
  Acad::ErrorStatus fault;
  if (internal::TakeSetXDataFault(&fault)) return fault;
  if (Access::Refused(xdata)) return Acad::eInvalidInput;

  const std::vector<char>& bytes = Access::Bytes(xdata);
  const std::vector<Access::BuilderPart>& incoming = Access::Parts(xdata);
  auto app = [&](size_t i) { return Access::App(xdata, i).c_str(); };
  AcDbDatabase* db = internal::DatabaseFor(object);
  for (size_t i = 0; i < incoming.size(); ++i)
    if (!IsRegistered(db, app(i))) return Acad::eRegappIdNotFound;

  // The new XData: the old applications in their order, replaced where given (removed when
  // given empty), then the new applications in the order given. A part is an old one or, with
  // `given` at or above 0, the incoming part of that index.
  struct Part {
    const PackedSegment* old = nullptr;
    size_t given = 0;
  };
  char*& block = Access::Block(object);
  // Lists kept from call to call, so that a pass setting a floor's XData grows them once
  // (nothing called from here comes back).
  static thread_local std::vector<PackedSegment> current;
  static thread_local std::vector<Part> result;
  static thread_local std::vector<bool> used;
  SplitPacked(block, current);
  result.clear();
  used.assign(incoming.size(), false);
  for (const PackedSegment& old : current) {
    bool replaced = false;
    for (size_t i = 0; i < incoming.size(); ++i) {
      if (NamesApp(old.name, app(i))) {
        if (!replaced && incoming[i].has_items) result.push_back(Part{nullptr, i});
        used[i] = replaced = true;
      }
    }
    if (!replaced) result.push_back(Part{&old, 0});
  }
  auto names = [&](const Part& part, const ACHAR* name) {
    return part.old ? NamesApp(part.old->name, name) : internal::SameName(app(part.given), name);
  };
  for (size_t i = 0; i < incoming.size(); ++i) {
    if (used[i] || !incoming[i].has_items) continue;
    bool repeated = false;
    for (const Part& kept : result) repeated = repeated || names(kept, app(i));
    if (!repeated) result.push_back(Part{nullptr, i});
  }

  auto span_of = [&](const Part& part, const char** begin, const char** end) {
    if (part.old != nullptr) {
      *begin = part.old->begin;
      *end = part.old->end;
      return;
    }
    const Access::BuilderPart& given = incoming[part.given];
    *begin = bytes.data() + given.begin;
    *end = bytes.data() + (part.given + 1 < incoming.size() ? given.end : bytes.size());
  };
  size_t total = 0, packed = 0;
  for (const Part& part : result) {
    total += part.old ? part.old->size : incoming[part.given].size;
    const char *begin, *end;
    span_of(part, &begin, &end);
    packed += static_cast<size_t>(end - begin);
  }
  if (total > kMaxXDataBytes) return Acad::eXdataSizeExceeded;

  char* out = nullptr;
  if (packed > 0) {
    const uint32_t n = static_cast<uint32_t>(packed);
    out = new char[sizeof n + n];
    std::memcpy(out, &n, sizeof n);
    char* at = out + sizeof n;
    for (const Part& part : result) {
      const char *begin, *end;
      span_of(part, &begin, &end);
      std::memcpy(at, begin, static_cast<size_t>(end - begin));
      at += end - begin;
    }
  }
  // The block replaced is the state before the step when an undo step waits for it.
  if (!internal::KeepReplacedXData(object->stub(), block)) delete[] block;
  block = out;
  return Acad::eOk;
}

}  // namespace platform::acad

resbuf* AcDbObject::xData(const ACHAR* regappName) const {
  assertReadEnabled();
  if (xdata_ == nullptr) return nullptr;
  if (regappName == nullptr) {
    Unpacker all(xdata_);
    return Unpack(all.pos(), all.end());
  }
  const char *begin, *end;
  return FindAppItems(xdata_, regappName, &begin, &end) ? Unpack(begin, end) : nullptr;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
  // The chain's items packed as they come. Each Add takes only the XData codes of its kind, so a
  // link of any other type makes SetXData refuse them all. One builder serves every call, so
  // that a pass writing a floor's elements does not grow a new one each time (SetXData calls
  // nothing that would come back here).
  static thread_local platform::acad::XDataBuilder items;
  items.Clear();
  for (const resbuf* rb = xdata; rb != nullptr; rb = rb->rbnext) {
    const int code = rb->restype;
    switch (platform::acad::ValueKindOf(code)) {
      case platform::acad::RbValueKind::kString:
        items.AddText(code, rb->resval.rstring);
        break;
      case platform::acad::RbValueKind::kBinary:
        items.AddBinary(code, rb->resval.rbinary.buf, rb->resval.rbinary.clen);
        break;
      case platform::acad::RbValueKind::kPoint:
        items.AddPoint(code, rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]);
        break;
      case platform::acad::RbValueKind::kReal:
        items.AddReal(code, rb->resval.rreal);
        break;
      case platform::acad::RbValueKind::kShort:
        items.AddShort(code, rb->resval.rint);
        break;
      default:
        items.AddLong(code, rb->resval.rlong);
        break;
    }
  }
  return platform::acad::SetXData(this, items);
}
