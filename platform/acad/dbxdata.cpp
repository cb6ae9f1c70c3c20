// XData of database objects: reading one application's chain, replacing it, and the 16 KiB limit.
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <text_encoding.h>

#include "acutads.h"
#include "dbhost.h"
#include "dbstub.h"
#include "dbsymtb.h"

namespace {

constexpr size_t kMaxXDataBytes = 16383;

bool IsXDataCode(int code) {
  return (code >= 1000 && code <= 1005) || (code >= 1010 && code <= 1013) ||
         (code >= 1040 && code <= 1042) || code == 1070 || code == 1071;
}

using platform::acad::internal::XDataItemSize;

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

  // Steps over the next item; its code, its XData size in *size, and for a 1001 item the
  // application's name in *app.
  int Skip(size_t* size, std::wstring* app) {
    const int code = Get<int16_t>();
    switch (platform::acad::ValueKindOf(code)) {
      case platform::acad::RbValueKind::kString: {
        const uint8_t form = Get<uint8_t>();
        const uint32_t n = Get<uint32_t>();
        const size_t bytes = form == 0 ? n : form == 1 ? n * sizeof(ACHAR) : 0;
        if (code == 1001) {
          app->clear();
          if (form == 0) {
            for (uint32_t i = 0; i < n; ++i)
              app->push_back(static_cast<ACHAR>(static_cast<unsigned char>(p_[i])));
          } else if (form == 1) {
            app->assign(reinterpret_cast<const ACHAR*>(p_), n);
          }
        }
        p_ += bytes;
        *size = XDataItemSize(code, n, 0);
        break;
      }
      case platform::acad::RbValueKind::kBinary: {
        const int32_t n = Get<int32_t>();
        if (Get<uint8_t>() != 0) p_ += n;
        *size = XDataItemSize(code, 0, n);
        break;
      }
      case platform::acad::RbValueKind::kPoint:
        p_ += 3 * sizeof(ads_real);
        *size = XDataItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kReal:
        p_ += sizeof(ads_real);
        *size = XDataItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kShort:
        p_ += sizeof(short);
        *size = XDataItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kLong:
        p_ += sizeof(int32_t);
        *size = XDataItemSize(code, 0, 0);
        break;
      default:
        *size = 0;
        break;
    }
    return code;
  }

  // The next item as a new link (the caller frees it with acutRelRb); its XData size in *size.
  resbuf* Next(size_t* size) {
    const int code = Get<int16_t>();
    resbuf* rb = acutNewRb(code);
    switch (platform::acad::ValueKindOf(code)) {
      case platform::acad::RbValueKind::kString: {
        const uint8_t form = Get<uint8_t>();
        const uint32_t n = Get<uint32_t>();
        if (form != 2) {
          ACHAR* text = new ACHAR[n + 1];
          if (form == 0) {
            for (uint32_t i = 0; i < n; ++i)
              text[i] = static_cast<ACHAR>(static_cast<unsigned char>(p_[i]));
            p_ += n;
          } else {
            std::memcpy(text, p_, n * sizeof(ACHAR));
            p_ += n * sizeof(ACHAR);
          }
          text[n] = 0;
          rb->resval.rstring = text;
        }
        *size = XDataItemSize(code, n, 0);
        break;
      }
      case platform::acad::RbValueKind::kBinary: {
        const int32_t n = Get<int32_t>();
        const bool bytes = Get<uint8_t>() != 0;
        rb->resval.rbinary.clen = n;
        if (bytes) {
          rb->resval.rbinary.buf = new char[static_cast<size_t>(n)];
          std::memcpy(rb->resval.rbinary.buf, p_, static_cast<size_t>(n));
          p_ += n;
        }
        *size = XDataItemSize(code, 0, n);
        break;
      }
      case platform::acad::RbValueKind::kPoint:
        std::memcpy(rb->resval.rpoint, p_, 3 * sizeof(ads_real));
        p_ += 3 * sizeof(ads_real);
        *size = XDataItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kReal:
        rb->resval.rreal = Get<ads_real>();
        *size = XDataItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kShort:
        rb->resval.rint = Get<short>();
        *size = XDataItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kLong:
        rb->resval.rlong = Get<int32_t>();
        *size = XDataItemSize(code, 0, 0);
        break;
      default:
        *size = 0;
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
  std::wstring app;
  const char* begin = nullptr;
  const char* end = nullptr;
  size_t size = 0;
};

std::vector<PackedSegment> SplitPacked(const char* block) {
  std::vector<PackedSegment> segments;
  Unpacker in(block);
  while (!in.done()) {
    const char* at = in.pos();
    size_t size = 0;
    resbuf* rb = in.Next(&size);
    if (rb->restype == 1001) {
      if (!segments.empty()) segments.back().end = at;
      segments.push_back(
          PackedSegment{rb->resval.rstring ? rb->resval.rstring : L"", at, nullptr, 2 + 8});
    } else if (!segments.empty()) {
      segments.back().size += size;
    }
    acutRelRb(rb);
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
    size_t size = 0;
    *tail = in.Next(&size);
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
  object->assertWriteEnabled();
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
      if (internal::SameName(app(i), old.app.c_str())) {
        if (!replaced && incoming[i].has_items) result.push_back(Part{nullptr, i});
        used[i] = replaced = true;
      }
    }
    if (!replaced) result.push_back(Part{&old, 0});
  }
  auto app_of = [&](const Part& part) {
    return part.old ? part.old->app.c_str() : app(part.given);
  };
  for (size_t i = 0; i < incoming.size(); ++i) {
    if (used[i] || !incoming[i].has_items) continue;
    bool repeated = false;
    for (const Part& kept : result) repeated = repeated || internal::SameName(app_of(kept), app(i));
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
  delete[] block;
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
  for (const PackedSegment& segment : SplitPacked(xdata_))
    if (platform::acad::internal::SameName(segment.app.c_str(), regappName))
      return Unpack(segment.begin, segment.end);
  return nullptr;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
  // The chain's items packed as they come; a link of no XData type makes SetXData refuse them.
  platform::acad::XDataBuilder items;
  for (const resbuf* rb = xdata; rb != nullptr; rb = rb->rbnext) {
    const int code = rb->restype;
    if (!IsXDataCode(code)) {
      items.AddShort(0, 0);  // refused
      continue;
    }
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

void AcDbObject::visitXData(const std::function<void(const AcDbXDataItem&)>& visit) const {
  assertReadEnabled();
  if (xdata_ == nullptr) return;
  const char* p = xdata_;
  uint32_t n = 0;
  std::memcpy(&n, p, sizeof n);
  p += sizeof n;
  const char* const end = p + n;
  auto get = [&p](auto* value) {
    std::memcpy(value, p, sizeof *value);
    p += sizeof *value;
  };
  std::string text;  // a string's UTF-8, made again for each string
  while (p < end) {
    AcDbXDataItem item;
    int16_t code = 0;
    get(&code);
    item.code = code;
    switch (platform::acad::ValueKindOf(code)) {
      case platform::acad::RbValueKind::kString: {
        uint8_t form = 0;
        uint32_t length = 0;
        get(&form);
        get(&length);
        text.clear();
        // As a chain's string would be read: up to its first null character.
        if (form == 0) {
          for (uint32_t i = 0; i < length;) {
            // Runs of ASCII go as they are.
            uint32_t run = i;
            while (run < length && static_cast<unsigned char>(p[run]) - 1u < 0x7Fu) ++run;
            text.append(p + i, run - i);
            i = run;
            if (i == length || p[i] == 0) break;
            const auto c = static_cast<unsigned char>(p[i++]);
            text.push_back(static_cast<char>(0xC0 | (c >> 6)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
          }
          p += length;
        } else if (form == 1) {
          std::wstring wide(length, L'\0');
          std::memcpy(wide.data(), p, length * sizeof(ACHAR));
          p += length * sizeof(ACHAR);
          text = platform::WideToUtf8(std::wstring_view(wide.c_str()));
        }
        item.text = text;
        break;
      }
      case platform::acad::RbValueKind::kBinary: {
        int32_t length = 0;
        uint8_t has_bytes = 0;
        get(&length);
        get(&has_bytes);
        if (has_bytes != 0) {
          item.text = std::string_view(p, static_cast<size_t>(length));
          p += length;
        }
        break;
      }
      case platform::acad::RbValueKind::kPoint:
        get(&item.point);
        break;
      case platform::acad::RbValueKind::kReal:
        get(&item.real);
        break;
      case platform::acad::RbValueKind::kShort: {
        short value = 0;
        get(&value);
        item.integer = value;
        break;
      }
      case platform::acad::RbValueKind::kLong: {
        int32_t value = 0;
        get(&value);
        item.integer = value;
        break;
      }
      default:
        break;
    }
    visit(item);
  }
}
