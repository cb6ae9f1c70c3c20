// How values and groups look in the DXF files the writer makes.
#pragma once

#include <dbmain.h>
#include "platform/acad/kept_groups.h"

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host::dxf_out {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// A handle in upper-case hexadecimal.
std::wstring Hex(AcDbHandle h);
// A real number as the shortest text that reads back as the same double, with a decimal point
// when it would look like an integer ("1.0", "0.1", "1e-07"); never "-0".
std::wstring Real(double v);

// Output text made a few bytes at a time. A large drawing's file is some 60 million bytes in
// some 10 million pieces: an append that fits is a copy and a pointer step, without the checks of
// a std::string's append.
class TextBuffer {
 public:
  TextBuffer() = default;
  TextBuffer(const TextBuffer& other) { append(other.data(), other.size()); }
  TextBuffer& operator=(const TextBuffer& other) {
    if (this != &other) {
      clear();
      append(other.data(), other.size());
    }
    return *this;
  }
  TextBuffer(TextBuffer&&) noexcept = default;
  TextBuffer& operator=(TextBuffer&&) noexcept = default;

  void append(const char* p, size_t n) {
    if (n > static_cast<size_t>(end_ - pos_)) Grow(n);
    if (n != 0) std::memcpy(pos_, p, n);
    pos_ += n;
  }
  TextBuffer& operator+=(std::string_view s) {
    append(s.data(), s.size());
    return *this;
  }
  TextBuffer& operator+=(char c) {
    if (pos_ == end_) Grow(1);
    *pos_++ = c;
    return *this;
  }
  // Room for at least n more bytes: the caller writes up to n bytes at the returned place and
  // then says where it stopped.
  char* Room(size_t n) {
    if (n > static_cast<size_t>(end_ - pos_)) Grow(n);
    return pos_;
  }
  void Used(char* end) { pos_ = end; }

  const char* data() const { return buffer_.get(); }
  size_t size() const { return static_cast<size_t>(pos_ - buffer_.get()); }
  bool empty() const { return pos_ == buffer_.get(); }
  std::string_view view() const { return {data(), size()}; }
  // Empties the text and keeps the room.
  void clear() { pos_ = buffer_.get(); }
  void reserve(size_t n) {
    if (n > static_cast<size_t>(end_ - buffer_.get())) Grow(n - size());
  }

 private:
  void Grow(size_t more);

  std::unique_ptr<char[]> buffer_;
  char* pos_ = nullptr;
  char* end_ = nullptr;
};

// The same texts appended to UTF-8 output, with no text made on the way.
void AppendHex(TextBuffer* out, AcDbHandle h);
void AppendReal(TextBuffer* out, double v);
void AppendInt(TextBuffer* out, long long v);
// A group code right-aligned in three columns, as AutoCAD writes it, and its line end.
void AppendCode(TextBuffer* out, int code);
// Wide text as UTF-8.
void AppendText(TextBuffer* out, std::wstring_view text);

// Groups given to the database as kept groups (tables a file needs that it lacks).
using Groups = std::vector<platform::acad::RawGroup>;

// Groups the writer makes, held as the file's text already: each group is its code line and its
// value line. Writing them is one copy, and a value costs no heap block of its own; a large
// drawing makes millions of them.
class Lines {
 public:
  // One group of a braced list, as in Lines{{2, name}, {70, L"0"}}.
  struct Item {
    Item(int c, std::wstring_view t) : code(c), text(t) {}
    Item(int c, const wchar_t* t) : code(c), text(t) {}
    Item(int c, const std::wstring& t) : code(c), text(t) {}
    int code;
    std::wstring_view text;
  };

  Lines() = default;
  Lines(std::initializer_list<Item> items) {
    for (const Item& i : items) Add(i.code, i.text);
  }

  void Add(int code, std::wstring_view text) {
    AppendCode(&text_, code);
    AppendText(&text_, text);
    text_ += '\n';
  }
  void AddUtf8(int code, std::string_view text) {
    AppendCode(&text_, code);
    text_ += text;
    text_ += '\n';
  }
  void AddReal(int code, double v) {
    AppendCode(&text_, code);
    AppendReal(&text_, v);
    text_ += '\n';
  }
  void AddInt(int code, long long v) {
    AppendCode(&text_, code);
    AppendInt(&text_, v);
    text_ += '\n';
  }
  void AddHex(int code, AcDbHandle h) {
    AppendCode(&text_, code);
    AppendHex(&text_, h);
    text_ += '\n';
  }
  // The three groups of a point or vector: code, code + 10, code + 20.
  void AddPoint(int code, const AcGePoint3d& p) {
    AddReal(code, p.x);
    AddReal(code + 10, p.y);
    AddReal(code + 20, p.z);
  }
  void AddVector(int code, const AcGeVector3d& v) {
    AddReal(code, v.x);
    AddReal(code + 10, v.y);
    AddReal(code + 20, v.z);
  }

  std::string_view text() const { return text_.view(); }
  bool empty() const { return text_.empty(); }
  // Empties the list and keeps its room, for the next object.
  void clear() { text_.clear(); }

 private:
  TextBuffer text_;
};

// One subclass of a modelled object: its marker, the groups the object gives, and groups that
// go after the kept ones of that subclass (dictionary entries).
struct Subclass {
  std::string_view marker;
  Lines groups;
  Lines tail;
};

// Adds the group `code` with the text the file had for it (kept by the reader as group -code)
// while `read_back` still turns that text into `value`; else with `computed`. Numbers the
// database holds in another unit than the file (angles) are so written back as they were read.
void AddAsRead(Lines* lines, const AcDbObject& obj, int code, double value,
               double (*read_back)(const AcDbObject&, double), double computed);
// An angle in degrees, as read when unchanged.
void AddDegrees(Lines* lines, const AcDbObject& obj, int code, double radians);
// True when the object keeps a group of that code (and that UTF-8 value, when given).
bool HasKept(const AcDbObject& obj, int code);
bool HasKept(const AcDbObject& obj, int code, std::string_view value);
bool IsZAxis(const AcGeVector3d& v);

}  // namespace host::dxf_out
