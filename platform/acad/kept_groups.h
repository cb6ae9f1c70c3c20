// What a drawing reader keeps beside the database for the data it does not model: DXF groups,
// verbatim, per object and for the drawing's header, so that a writer can give them back.
// The host's side of the database; the add-in never sees it.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class AcDbObject;
class AcDbDatabase;

namespace platform::acad {

// The text of a kept group, held as UTF-8 in 16 bytes: up to 15 bytes of text inside (most are
// markers, numbers and handles), longer text in a heap block of its own. A large drawing keeps
// millions of them. Compares with wide text as the wide text it stands for.
class RawText {
 public:
  RawText() { small_[0] = 0; }
  RawText(const wchar_t* text) : RawText(std::wstring_view(text)) {}       // NOLINT
  RawText(const std::wstring& text) : RawText(std::wstring_view(text)) {}  // NOLINT
  explicit RawText(std::wstring_view text);
  RawText(const RawText& other) : RawText() { assign(other.utf8()); }
  RawText(RawText&& other) noexcept {
    std::memcpy(small_, other.small_, sizeof small_);
    other.small_[0] = 0;
  }
  RawText& operator=(const RawText& other) {
    if (this != &other) assign(other.utf8());
    return *this;
  }
  RawText& operator=(RawText&& other) noexcept {
    if (this != &other) {
      release();
      std::memcpy(small_, other.small_, sizeof small_);
      other.small_[0] = 0;
    }
    return *this;
  }
  ~RawText() { release(); }

  // Text that is UTF-8 already.
  static RawText fromUtf8(std::string_view utf8) {
    RawText t;
    t.assign(utf8);
    return t;
  }

  std::string_view utf8() const {
    if (!heap()) return {small_ + 1, static_cast<size_t>(static_cast<unsigned char>(small_[0]))};
    const char* block = heapBlock();
    uint32_t n;
    std::memcpy(&n, block, sizeof n);
    return {block + sizeof n, n};
  }
  std::wstring wide() const;
  operator std::wstring() const { return wide(); }  // NOLINT
  bool empty() const { return utf8().empty(); }

  friend bool operator==(const RawText& a, const RawText& b) { return a.utf8() == b.utf8(); }
  friend bool operator==(const RawText& a, const wchar_t* b) {
    return a == RawText(std::wstring_view(b));
  }
  friend bool operator==(const RawText& a, const std::wstring& b) {
    return a == RawText(std::wstring_view(b));
  }

 private:
  // small_[0]: the length of text held inside, or kHeap with the block's address from small_ + 8
  // (a 32-bit length, then the bytes).
  static constexpr unsigned char kHeap = 0xFF;
  bool heap() const { return static_cast<unsigned char>(small_[0]) == kHeap; }
  char* heapBlock() const {
    char* block;
    std::memcpy(&block, small_ + 8, sizeof block);
    return block;
  }
  void release() {
    if (heap()) delete[] heapBlock();
    small_[0] = 0;
  }
  void assign(std::string_view utf8);

  alignas(8) char small_[16];
};

// One DXF group kept verbatim for data this database does not model.
struct RawGroup {
  int code = 0;
  RawText value;
};

using RawGroups = std::vector<RawGroup>;

// The groups kept for an object (none unless set), held by the object in one block of their
// own. They live as long as the object (a copy of it keeps none); they are not checked for the
// object's open state. Setting them again replaces them.
std::span<const RawGroup> KeptGroups(const AcDbObject& object);
void SetKeptGroups(AcDbObject& object, RawGroups groups);

// The header variables kept for a database, in file order (none unless set).
const RawGroups& KeptHeader(const AcDbDatabase& database);
void SetKeptHeader(AcDbDatabase& database, RawGroups groups);

// Drops what is kept for an object or a database (their destructors call these).
void ForgetKept(const AcDbObject* object);
void ForgetKept(const AcDbDatabase* database);

}  // namespace platform::acad
