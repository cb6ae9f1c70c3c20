// XData of database objects: reading one application's chain, replacing it, and the 16 KiB limit.
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

#include <acutads.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/dbstub.h"
#include "platform/acad/undo_history.h"

namespace {

constexpr size_t kMaxXDataBytes = 16383;

using platform::acad::internal::XDataItemSize;

// One item of a packed block as it lies there.
struct PackedItem {
  int code = 0;
  platform::acad::RbValueKind kind = platform::acad::RbValueKind::kNone;
  uint8_t form = 0;        // strings: 0 one byte a character, 1 four, 2 a null string
  uint32_t length = 0;     // strings: characters; binary chunks: bytes
  bool has_bytes = false;  // binary chunks: whether the bytes are there
  const char* value = nullptr;

  // The value, copied out of the block (which need not be aligned for it).
  template <class T>
  T As() const {
    T v;
    std::memcpy(&v, value, sizeof(T));
    return v;
  }
  // The XData size the drawing counts for the item (see setXData).
  size_t Size() const {
    return XDataItemSize(
        code, kind == platform::acad::RbValueKind::kString ? length : 0,
        kind == platform::acad::RbValueKind::kBinary ? static_cast<int>(length) : 0);
  }
  // A string's `length` characters into `out` (nothing for a null string).
  void WideInto(ACHAR* out) const {
    if (form == 0) {
      for (uint32_t i = 0; i < length; ++i)
        out[i] = static_cast<ACHAR>(static_cast<unsigned char>(value[i]));
    } else if (form == 1) {
      std::memcpy(out, value, length * sizeof(ACHAR));
    }
  }
  // A string's text up to its first null character, as a chain's string reads, widened into
  // `buffer` (which only grows, so that a pass over many strings fills one buffer).
  std::wstring_view WideView(std::wstring& buffer) const {
    if (form == 2) return {};
    if (buffer.size() < length) buffer.resize(length);
    uint32_t n = 0;
    if (form == 0) {
      for (; n < length && value[n] != 0; ++n)
        buffer[n] = static_cast<ACHAR>(static_cast<unsigned char>(value[n]));
    } else {
      std::memcpy(buffer.data(), value, length * sizeof(ACHAR));
      while (n < length && buffer[n] != L'\0') ++n;
    }
    return std::wstring_view(buffer.data(), n);
  }
  // A string's text; empty for a null string.
  std::wstring Wide() const {
    if (form == 2) return {};
    std::wstring text(length, L'\0');
    WideInto(text.data());
    return text;
  }
};

// Walks a packed block item by item.
class Unpacker {
 public:
  explicit Unpacker(const char* block) {
    if (block == nullptr) return;
    uint32_t n = 0;
    std::memcpy(&n, block, sizeof n);
    p_ = block + sizeof n;
    end_ = p_ + n;
  }
  Unpacker(const char* begin, const char* end) : p_(begin), end_(end) {}
  bool done() const { return p_ >= end_; }
  const char* pos() const { return p_; }
  const char* end() const { return end_; }

  // The next item, stepped over.
  PackedItem Read() {
    PackedItem item;
    item.code = Get<int16_t>();
    item.kind = platform::acad::ValueKindOf(item.code);
    size_t bytes = 0;
    switch (item.kind) {
      case platform::acad::RbValueKind::kString:
        item.form = Get<uint8_t>();
        item.length = Get<uint32_t>();
        bytes = item.form == 0 ? item.length : item.form == 1 ? item.length * sizeof(ACHAR) : 0;
        break;
      case platform::acad::RbValueKind::kBinary:
        item.length = static_cast<uint32_t>(Get<int32_t>());
        item.has_bytes = Get<uint8_t>() != 0;
        bytes = item.has_bytes ? item.length : 0;
        break;
      case platform::acad::RbValueKind::kPoint:
        bytes = 3 * sizeof(ads_real);
        break;
      case platform::acad::RbValueKind::kReal:
        bytes = sizeof(ads_real);
        break;
      case platform::acad::RbValueKind::kShort:
        bytes = sizeof(short);
        break;
      case platform::acad::RbValueKind::kLong:
        bytes = sizeof(int32_t);
        break;
      default:
        break;  // no other kind is packed
    }
    item.value = p_;
    p_ += bytes;
    return item;
  }

  // The next item as a new link (the caller frees it with acutRelRb).
  resbuf* Next() {
    const PackedItem item = Read();
    resbuf* rb = acutNewRb(item.code);
    switch (item.kind) {
      case platform::acad::RbValueKind::kString:
        if (item.form != 2) {
          // Straight into the link's string: no text in between.
          ACHAR* text = new ACHAR[item.length + 1];
          item.WideInto(text);
          text[item.length] = L'\0';
          rb->resval.rstring = text;
        }
        break;
      case platform::acad::RbValueKind::kBinary:
        rb->resval.rbinary.clen = static_cast<int32_t>(item.length);
        if (item.has_bytes) {
          rb->resval.rbinary.buf = new char[item.length];
          std::memcpy(rb->resval.rbinary.buf, item.value, item.length);
        }
        break;
      case platform::acad::RbValueKind::kPoint:
        std::memcpy(rb->resval.rpoint, item.value, 3 * sizeof(ads_real));
        break;
      case platform::acad::RbValueKind::kReal:
        rb->resval.rreal = item.As<ads_real>();
        break;
      case platform::acad::RbValueKind::kShort:
        rb->resval.rint = item.As<short>();
        break;
      case platform::acad::RbValueKind::kLong:
        rb->resval.rlong = item.As<int32_t>();
        break;
      default:
        break;
    }
    return rb;
  }

 private:
  template <class T>
  T Get() {
    T value;
    std::memcpy(&value, p_, sizeof(T));
    p_ += sizeof(T);
    return value;
  }

  const char* p_ = nullptr;
  const char* end_ = nullptr;
};

// One application's part of a packed block: its name and its bytes (from its 1001 item), and
// the XData size the drawing counts for it.
struct PackedSegment {
  PackedItem name;  // its 1001 item
  const char* begin = nullptr;
  const char* end = nullptr;
  size_t size = 0;
};

// Whether a packed application name (a 1001 item) is `app`, as SameName compares them. Short
// names (a drawing's, in practice) are widened on the stack: a check over a whole floor asks
// every element for its applications.
bool NamesApp(const PackedItem& item, const ACHAR* app) {
  if (app == nullptr) return false;
  constexpr uint32_t kShort = 64;
  if (item.form == 0 && item.length <= kShort) {
    ACHAR name[kShort];
    uint32_t n = 0;
    for (; n < item.length && item.value[n] != 0; ++n)
      name[n] = static_cast<ACHAR>(static_cast<unsigned char>(item.value[n]));
    return platform::EqualsNoCase(std::wstring_view(name, n), app);
  }
  return platform::acad::internal::SameName(item.Wide().c_str(), app);
}

std::vector<PackedSegment> SplitPacked(const char* block) {
  std::vector<PackedSegment> segments;
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
  return segments;
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

// What SetXData needs of an object and a builder.
struct AcDbXDataAccess {
  using Builder = platform::acad::XDataBuilder;
  using BuilderPart = Builder::Part;
  static char*& Block(AcDbObject* object) { return object->xdata_; }
  static const char* Block(const AcDbObject* object) { return object->xdata_; }
  static const std::vector<char>& Bytes(const Builder& b) { return b.bytes_; }
  static const std::vector<BuilderPart>& Parts(const Builder& b) { return b.parts_; }
  static const std::wstring& App(const Builder& b, size_t i) { return b.apps_[i]; }
  static bool Refused(const Builder& b) {
    return b.invalid_ || b.bytes_.empty() || b.first_code_ != 1001;
  }
};

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
  std::vector<PackedSegment> current = SplitPacked(block);
  std::vector<Part> result;
  result.reserve(current.size() + incoming.size());
  std::vector<bool> used(incoming.size(), false);
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

namespace platform::acad::internal {

bool AnyXDataApp(const AcDbObject* object, const std::function<bool(std::wstring_view)>& test) {
  object->assertReadEnabled();
  std::wstring name;
  for (Unpacker in(AcDbXDataAccess::Block(object)); !in.done();) {
    const PackedItem item = in.Read();
    if (item.code != 1001) continue;
    if (test(item.WideView(name))) return true;
  }
  return false;
}

}  // namespace platform::acad::internal

resbuf* AcDbObject::xData(const ACHAR* regappName) const {
  assertReadEnabled();
  if (xdata_ == nullptr) return nullptr;
  if (regappName == nullptr) {
    Unpacker all(xdata_);
    return Unpack(all.pos(), all.end());
  }
  // The named application's items, from its 1001 item up to the next application's.
  const char* begin = nullptr;
  Unpacker in(xdata_);
  while (!in.done()) {
    const char* at = in.pos();
    const PackedItem item = in.Read();
    if (item.code != 1001) continue;
    if (begin != nullptr) return Unpack(begin, at);
    if (NamesApp(item, regappName)) begin = at;
  }
  return begin != nullptr ? Unpack(begin, in.end()) : nullptr;
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

namespace {

// A packed item as visitXData hands it out; a string's UTF-8 goes into `text`, made again for
// each string.
AcDbXDataItem Visible(const PackedItem& packed, std::string& text) {
  AcDbXDataItem item;
  item.code = packed.code;
  switch (packed.kind) {
    case platform::acad::RbValueKind::kString:
      text.clear();
      // As a chain's string would be read: up to its first null character.
      if (packed.form == 0) {
        const char* p = packed.value;
        for (uint32_t i = 0; i < packed.length;) {
          // Runs of ASCII go as they are.
          uint32_t run = i;
          while (run < packed.length && static_cast<unsigned char>(p[run]) - 1u < 0x7Fu) ++run;
          text.append(p + i, run - i);
          i = run;
          if (i == packed.length || p[i] == 0) break;
          const auto c = static_cast<unsigned char>(p[i++]);
          text.push_back(static_cast<char>(0xC0 | (c >> 6)));
          text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
      } else if (packed.form == 1) {
        const std::wstring wide = packed.Wide();
        text = platform::WideToUtf8(std::wstring_view(wide.c_str()));
      }
      item.text = text;
      break;
    case platform::acad::RbValueKind::kBinary:
      if (packed.has_bytes) item.text = std::string_view(packed.value, packed.length);
      break;
    case platform::acad::RbValueKind::kPoint:
      std::memcpy(item.point, packed.value, sizeof item.point);
      break;
    case platform::acad::RbValueKind::kReal:
      item.real = packed.As<ads_real>();
      break;
    case platform::acad::RbValueKind::kShort:
      item.integer = packed.As<short>();
      break;
    case platform::acad::RbValueKind::kLong:
      item.integer = packed.As<int32_t>();
      break;
    default:
      break;
  }
  return item;
}

}  // namespace

void AcDbObject::visitXData(const std::function<void(const AcDbXDataItem&)>& visit) const {
  assertReadEnabled();
  std::string text;
  for (Unpacker in(xdata_); !in.done();) visit(Visible(in.Read(), text));
}

bool AcDbObject::visitXData(const ACHAR* regappName,
                            const std::function<void(const AcDbXDataItem&)>& visit) const {
  assertReadEnabled();
  std::string text;
  std::wstring wide;  // a string's text, made again for each string
  bool inside = false;
  for (Unpacker in(xdata_); !in.done();) {
    const PackedItem packed = in.Read();
    if (packed.code == 1001) {
      if (inside) return true;
      inside = NamesApp(packed, regappName);
    }
    if (!inside) continue;
    if (packed.kind != platform::acad::RbValueKind::kString) {
      visit(Visible(packed, text));
      continue;
    }
    AcDbXDataItem item;
    item.code = packed.code;
    item.wide = packed.WideView(wide);
    visit(item);
  }
  return inside;
}
