// XData of database objects: reading one application's chain, replacing it, and the 16 KiB limit.
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <text_encoding.h>

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

// Bytes the drawing needs for one item of XData (see AcDbObject::setXData); `chars` is the
// length of a string.
size_t ItemSize(int code, size_t chars, int binary_length) {
  size_t size = 1;
  if (code == 1000 || code == 1001) {
    size += 2 + 2 * chars;
  } else if (code == 1002) {
    size += 1;
  } else if (code == 1003 || code == 1005) {
    size += 8;
  } else if (code == 1004) {
    size += 1 + static_cast<size_t>(binary_length > 0 ? binary_length : 0);
  } else if (code >= 1010 && code <= 1013) {
    size += 24;
  } else if (code >= 1040 && code <= 1042) {
    size += 8;
  } else if (code == 1070) {
    size += 2;
  } else if (code == 1071) {
    size += 4;
  }
  return size;
}

size_t SegmentSize(const Segment& segment) {
  size_t size = 2 + 8;
  for (const resbuf* rb : segment.items) {
    const bool text = rb->restype == 1000 || rb->restype == 1001;
    size += ItemSize(rb->restype, text && rb->resval.rstring ? std::wcslen(rb->resval.rstring) : 0,
                     rb->resval.rbinary.clen);
  }
  return size;
}

// An object's XData is held packed in one block: a million elements with a few strings each would
// otherwise cost a node, a string and their heap headers per item. The block is a 32-bit byte
// count, then items: a 16-bit code and the value by its kind: strings a form byte (0 one byte a
// character, 1 four, 2 a null string) and a 32-bit length in characters, binary chunks a 32-bit
// length, a byte telling whether there are bytes, and the bytes; points 24 bytes, reals 8, shorts
// 2, longs 4. Little or big endian does not matter: the block never leaves the process.
class Packer {
 public:
  template <class T>
  void Put(const T& value) {
    const char* p = reinterpret_cast<const char*>(&value);
    bytes_.insert(bytes_.end(), p, p + sizeof(T));
  }
  void PutBytes(const char* p, size_t n) { bytes_.insert(bytes_.end(), p, p + n); }

  void Item(const resbuf* rb) {
    Put(static_cast<int16_t>(rb->restype));
    switch (platform::acad::ValueKindOf(rb->restype)) {
      case platform::acad::RbValueKind::kString: {
        const ACHAR* text = rb->resval.rstring;
        if (text == nullptr) {
          Put(static_cast<uint8_t>(2));
          Put(static_cast<uint32_t>(0));
          break;
        }
        const size_t n = std::wcslen(text);
        bool narrow = true;
        for (size_t i = 0; i < n && narrow; ++i) narrow = static_cast<uint32_t>(text[i]) < 0x100;
        Put(static_cast<uint8_t>(narrow ? 0 : 1));
        Put(static_cast<uint32_t>(n));
        if (narrow) {
          for (size_t i = 0; i < n; ++i) bytes_.push_back(static_cast<char>(text[i]));
        } else {
          PutBytes(reinterpret_cast<const char*>(text), n * sizeof(ACHAR));
        }
        break;
      }
      case platform::acad::RbValueKind::kBinary: {
        const int32_t n = rb->resval.rbinary.clen;
        const bool bytes = n > 0 && rb->resval.rbinary.buf != nullptr;
        Put(n);
        Put(static_cast<uint8_t>(bytes ? 1 : 0));
        if (bytes) PutBytes(rb->resval.rbinary.buf, static_cast<size_t>(n));
        break;
      }
      case platform::acad::RbValueKind::kPoint:
        PutBytes(reinterpret_cast<const char*>(rb->resval.rpoint), 3 * sizeof(ads_real));
        break;
      case platform::acad::RbValueKind::kReal:
        Put(rb->resval.rreal);
        break;
      case platform::acad::RbValueKind::kShort:
        Put(rb->resval.rint);
        break;
      case platform::acad::RbValueKind::kLong:
        Put(rb->resval.rlong);
        break;
      default:
        break;  // no other kind is XData
    }
  }
  // The packed block (null when empty); the caller owns it.
  char* Release() {
    if (bytes_.empty()) return nullptr;
    const uint32_t n = static_cast<uint32_t>(bytes_.size());
    char* block = new char[sizeof n + n];
    std::memcpy(block, &n, sizeof n);
    std::memcpy(block + sizeof n, bytes_.data(), n);
    return block;
  }

 private:
  std::vector<char> bytes_;
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
        *size = ItemSize(code, n, 0);
        break;
      }
      case platform::acad::RbValueKind::kBinary: {
        const int32_t n = Get<int32_t>();
        if (Get<uint8_t>() != 0) p_ += n;
        *size = ItemSize(code, 0, n);
        break;
      }
      case platform::acad::RbValueKind::kPoint:
        p_ += 3 * sizeof(ads_real);
        *size = ItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kReal:
        p_ += sizeof(ads_real);
        *size = ItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kShort:
        p_ += sizeof(short);
        *size = ItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kLong:
        p_ += sizeof(int32_t);
        *size = ItemSize(code, 0, 0);
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
        *size = ItemSize(code, n, 0);
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
        *size = ItemSize(code, 0, n);
        break;
      }
      case platform::acad::RbValueKind::kPoint:
        std::memcpy(rb->resval.rpoint, p_, 3 * sizeof(ads_real));
        p_ += 3 * sizeof(ads_real);
        *size = ItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kReal:
        rb->resval.rreal = Get<ads_real>();
        *size = ItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kShort:
        rb->resval.rint = Get<short>();
        *size = ItemSize(code, 0, 0);
        break;
      case platform::acad::RbValueKind::kLong:
        rb->resval.rlong = Get<int32_t>();
        *size = ItemSize(code, 0, 0);
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
  struct Part {
    const PackedSegment* old = nullptr;
    const Segment* given = nullptr;
  };
  std::vector<PackedSegment> current = SplitPacked(xdata_);
  std::vector<Part> result;
  std::vector<bool> used(incoming.size(), false);
  for (const PackedSegment& old : current) {
    bool replaced = false;
    for (size_t i = 0; i < incoming.size(); ++i) {
      if (platform::acad::internal::SameName(incoming[i].app(), old.app.c_str())) {
        if (!replaced && !incoming[i].items.empty()) result.push_back(Part{nullptr, &incoming[i]});
        used[i] = replaced = true;
      }
    }
    if (!replaced) result.push_back(Part{&old, nullptr});
  }
  auto app_of = [](const Part& part) {
    return part.old ? part.old->app.c_str() : part.given->app();
  };
  for (size_t i = 0; i < incoming.size(); ++i) {
    if (used[i] || incoming[i].items.empty()) continue;
    bool repeated = false;
    for (const Part& kept : result)
      repeated = repeated || platform::acad::internal::SameName(app_of(kept), incoming[i].app());
    if (!repeated) result.push_back(Part{nullptr, &incoming[i]});
  }

  size_t total = 0;
  for (const Part& part : result) total += part.old ? part.old->size : SegmentSize(*part.given);
  if (total > kMaxXDataBytes) return Acad::eXdataSizeExceeded;

  Packer out;
  for (const Part& part : result) {
    if (part.old != nullptr) {
      out.PutBytes(part.old->begin, static_cast<size_t>(part.old->end - part.old->begin));
      continue;
    }
    out.Item(part.given->head);
    for (const resbuf* rb : part.given->items) out.Item(rb);
  }
  delete[] xdata_;
  xdata_ = out.Release();
  return Acad::eOk;
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
