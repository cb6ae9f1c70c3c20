// The packed XData block of an object (see dbxdata_builder.cpp for its form): walking it item
// by item, and the access to an object's block and a builder's parts that reading and setting
// XData need.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <acutads.h>
#include <dbmain.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/dbstub.h"
#include "platform/win/wide_string.h"

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

namespace platform::acad::internal {

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
  // A string's text up to its first null character, as a chain's string reads, widened into
  // `out` (room for `length` characters); the characters written. Nothing for a null string.
  uint32_t WideUntilNull(ACHAR* out) const {
    uint32_t n = 0;
    if (form == 0) {
      for (; n < length && value[n] != 0; ++n)
        out[n] = static_cast<ACHAR>(static_cast<unsigned char>(value[n]));
    } else if (form == 1) {
      std::memcpy(out, value, length * sizeof(ACHAR));
      while (n < length && out[n] != L'\0') ++n;
    }
    return n;
  }
  // The same in `buffer` (which only grows, so that a pass over many strings fills one buffer).
  std::wstring_view WideView(std::wstring& buffer) const {
    if (buffer.size() < length) buffer.resize(length);
    return std::wstring_view(buffer.data(), WideUntilNull(buffer.data()));
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
          text[item.WideUntilNull(text)] = L'\0';
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

// Whether a packed application name (a 1001 item) is `app`, as SameName compares them. Short
// names (a drawing's, in practice) are widened on the stack: a check over a whole floor asks
// every element for its applications.
inline bool NamesApp(const PackedItem& item, const ACHAR* app) {
  if (app == nullptr) return false;
  constexpr uint32_t kShort = 64;
  if (item.length <= kShort) {
    ACHAR name[kShort];
    return platform::EqualsNoCase(std::wstring_view(name, item.WideUntilNull(name)), app);
  }
  std::wstring name;
  return platform::EqualsNoCase(item.WideView(name), app);
}

// The items of application `app` in a packed block, from its 1001 item up to the next
// application's, as [*begin, *end); false when the block has none of it.
inline bool FindAppItems(const char* block, const ACHAR* app, const char** begin,
                         const char** end) {
  *begin = nullptr;
  Unpacker in(block);
  while (!in.done()) {
    const char* at = in.pos();
    const PackedItem item = in.Read();
    if (item.code != 1001) continue;
    if (*begin != nullptr) {
      *end = at;
      return true;
    }
    if (NamesApp(item, app)) *begin = at;
  }
  *end = in.end();
  return *begin != nullptr;
}

}  // namespace platform::acad::internal
