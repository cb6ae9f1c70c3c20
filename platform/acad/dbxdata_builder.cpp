// XData packed as objects hold it: the form of the block and the builder that writes it.
//
// An object's XData is held packed in one block: a million elements with a few strings each would
// otherwise cost a node, a string and their heap headers per item. The block is a 32-bit byte
// count, then items: a 16-bit code and the value by its kind: strings a form byte (0 one byte a
// character, 1 four, 2 a null string) and a 32-bit length in characters, binary chunks a 32-bit
// length, a byte telling whether there are bytes, and the bytes; points 24 bytes, reals 8, shorts
// 2, longs 4. Little or big endian does not matter: the block never leaves the process.
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "platform/acad/dbhost.h"
#include "platform/acad/dbstub.h"
#include "platform/win/text_encoding.h"

namespace platform::acad {

namespace internal {

size_t XDataItemSize(int code, size_t chars, int binary_length) {
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

}  // namespace internal

template <class T>
void XDataBuilder::Put(const T& value) {
  const size_t at = bytes_.size();
  bytes_.resize(at + sizeof(T));
  std::memcpy(bytes_.data() + at, &value, sizeof(T));
}

// Starts an item: its code, and a new part at a 1001.
void XDataBuilder::Code(int code, bool valid) {
  if (!valid) {
    invalid_ = true;
    return;
  }
  if (bytes_.empty()) first_code_ = code;
  if (code == 1001) {
    if (!parts_.empty()) parts_.back().end = bytes_.size();
    parts_.push_back(Part{bytes_.size(), 0, 2 + 8, false});
    if (apps_.size() < parts_.size()) apps_.emplace_back();
  } else if (!parts_.empty()) {
    parts_.back().has_items = true;
  }
  Put(static_cast<int16_t>(code));
}

void XDataBuilder::PutWide(const ACHAR* text, size_t n) {
  bool narrow = true;
  for (size_t i = 0; i < n && narrow; ++i) narrow = static_cast<uint32_t>(text[i]) < 0x100;
  Put(static_cast<uint8_t>(narrow ? 0 : 1));
  Put(static_cast<uint32_t>(n));
  if (narrow) {
    const size_t at = bytes_.size();
    bytes_.resize(at + n);
    for (size_t i = 0; i < n; ++i) bytes_[at + i] = static_cast<char>(text[i]);
  } else {
    const char* p = reinterpret_cast<const char*>(text);
    bytes_.insert(bytes_.end(), p, p + n * sizeof(ACHAR));
  }
}

namespace {

bool IsTextCode(int code) {
  return code >= 1000 && code <= 1005 && code != 1004;
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if ((c & 0x80) != 0) return false;
  return true;
}

}  // namespace

void XDataBuilder::AddText(int code, std::string_view utf8) {
  if (!IsAscii(utf8)) {
    const std::wstring wide = platform::Utf8ToWide(utf8);
    AddText(code, wide.c_str());
    return;
  }
  Code(code, IsTextCode(code));
  if (!IsTextCode(code)) return;
  // ASCII: one byte a character as it is.
  Put(static_cast<uint8_t>(0));
  Put(static_cast<uint32_t>(utf8.size()));
  bytes_.insert(bytes_.end(), utf8.begin(), utf8.end());
  if (!parts_.empty()) {
    if (code == 1001)
      apps_[parts_.size() - 1].assign(utf8.begin(), utf8.end());
    else
      parts_.back().size += internal::XDataItemSize(code, utf8.size(), 0);
  }
}

void XDataBuilder::AddText(int code, const ACHAR* text) {
  Code(code, IsTextCode(code));
  if (!IsTextCode(code)) return;
  const size_t n = text != nullptr ? std::wcslen(text) : 0;
  if (text == nullptr) {
    Put(static_cast<uint8_t>(2));
    Put(static_cast<uint32_t>(0));
  } else {
    PutWide(text, n);
  }
  if (!parts_.empty()) {
    if (code == 1001)
      apps_[parts_.size() - 1].assign(text != nullptr ? text : L"", n);
    else
      parts_.back().size += internal::XDataItemSize(code, n, 0);
  }
}

void XDataBuilder::AddBinary(int code, const char* bytes, int32_t length) {
  Code(code, code == 1004);
  if (code != 1004) return;
  const bool any = length > 0 && bytes != nullptr;
  Put(length);
  Put(static_cast<uint8_t>(any ? 1 : 0));
  if (any) bytes_.insert(bytes_.end(), bytes, bytes + length);
  if (!parts_.empty()) parts_.back().size += internal::XDataItemSize(code, 0, length);
}

void XDataBuilder::AddPoint(int code, double x, double y, double z) {
  const bool valid = code >= 1010 && code <= 1013;
  Code(code, valid);
  if (!valid) return;
  const double xyz[3] = {x, y, z};
  Put(xyz);
  if (!parts_.empty()) parts_.back().size += internal::XDataItemSize(code, 0, 0);
}

void XDataBuilder::AddReal(int code, double value) {
  const bool valid = code >= 1040 && code <= 1042;
  Code(code, valid);
  if (!valid) return;
  Put(value);
  if (!parts_.empty()) parts_.back().size += internal::XDataItemSize(code, 0, 0);
}

void XDataBuilder::AddShort(int code, short value) {
  Code(code, code == 1070);
  if (code != 1070) return;
  Put(value);
  if (!parts_.empty()) parts_.back().size += internal::XDataItemSize(code, 0, 0);
}

void XDataBuilder::AddLong(int code, int32_t value) {
  Code(code, code == 1071);
  if (code != 1071) return;
  Put(value);
  if (!parts_.empty()) parts_.back().size += internal::XDataItemSize(code, 0, 0);
}

void XDataBuilder::Clear() {
  bytes_.clear();
  parts_.clear();
  first_code_ = 0;
  invalid_ = false;
}

}  // namespace platform::acad
