// What a drawing reader keeps beside the database: kept groups by object and by database.
#include "platform/acad/kept_groups.h"

#include <new>
#include <unordered_map>

#include <dbmain.h>

#include "platform/win/text_encoding.h"

namespace platform::acad {
namespace {

const RawGroups& None() {
  static const RawGroups none;
  return none;
}

std::unordered_map<const AcDbDatabase*, RawGroups>& ByDatabase() {
  static auto* table = new std::unordered_map<const AcDbDatabase*, RawGroups>();
  return *table;
}

}  // namespace
}  // namespace platform::acad

// An object's kept groups: their count, then the groups, in one allocation. A large floor keeps
// groups for about a million objects; a side table of them cost a third of its load.
struct AcDbKeptGroups {
  size_t size;
  platform::acad::RawGroup* groups() {
    return reinterpret_cast<platform::acad::RawGroup*>(this + 1);
  }
};
static_assert(sizeof(AcDbKeptGroups) % alignof(platform::acad::RawGroup) == 0);

struct AcDbKeptAccess {
  static AcDbKeptGroups*& Of(const AcDbObject& object) {
    return const_cast<AcDbObject&>(object).kept_;
  }
};

namespace platform::acad {
namespace {

AcDbKeptGroups* NewBlock(RawGroups&& from) {
  void* memory = ::operator new(sizeof(AcDbKeptGroups) + from.size() * sizeof(RawGroup));
  auto* block = new (memory) AcDbKeptGroups{from.size()};
  RawGroup* to = block->groups();
  for (size_t i = 0; i < from.size(); ++i) new (to + i) RawGroup(std::move(from[i]));
  return block;
}

void DeleteBlock(AcDbKeptGroups* block) {
  if (block == nullptr) return;
  RawGroup* groups = block->groups();
  for (size_t i = 0; i < block->size; ++i) groups[i].~RawGroup();
  block->~AcDbKeptGroups();
  ::operator delete(block);
}

}  // namespace

RawText::RawText(std::wstring_view text) : RawText() {
  bool ascii = true;
  for (wchar_t c : text) ascii = ascii && static_cast<unsigned>(c) < 0x80;
  if (!ascii) {
    assign(platform::WideToUtf8(text));
    return;
  }
  std::string narrow(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) narrow[i] = static_cast<char>(text[i]);
  assign(narrow);
}

void RawText::assign(std::string_view utf8) {
  release();
  if (utf8.size() < sizeof small_) {
    small_[0] = static_cast<char>(utf8.size());
    std::memcpy(small_ + 1, utf8.data(), utf8.size());
    return;
  }
  const uint32_t n = static_cast<uint32_t>(utf8.size());
  char* block = new char[sizeof n + n];
  std::memcpy(block, &n, sizeof n);
  std::memcpy(block + sizeof n, utf8.data(), n);
  small_[0] = static_cast<char>(kHeap);
  std::memcpy(small_ + 8, &block, sizeof block);
}

std::wstring RawText::wide() const {
  const std::string_view text = utf8();
  bool ascii = true;
  for (char c : text) ascii = ascii && (c & 0x80) == 0;
  if (ascii) return std::wstring(text.begin(), text.end());
  return platform::Utf8ToWide(text);
}

std::span<const RawGroup> KeptGroups(const AcDbObject& object) {
  AcDbKeptGroups* block = AcDbKeptAccess::Of(object);
  if (block == nullptr) return {};
  return {block->groups(), block->size};
}

void SetKeptGroups(AcDbObject& object, RawGroups groups) {
  AcDbKeptGroups*& kept = AcDbKeptAccess::Of(object);
  DeleteBlock(kept);
  kept = groups.empty() ? nullptr : NewBlock(std::move(groups));
}

const RawGroups& KeptHeader(const AcDbDatabase& database) {
  const auto it = ByDatabase().find(&database);
  return it == ByDatabase().end() ? None() : it->second;
}

void SetKeptHeader(AcDbDatabase& database, RawGroups groups) {
  ByDatabase()[&database] = std::move(groups);
}

void ForgetKept(const AcDbObject* object) {
  AcDbKeptGroups*& kept = AcDbKeptAccess::Of(*object);
  DeleteBlock(kept);
  kept = nullptr;
}

void ForgetKept(const AcDbDatabase* database) {
  ByDatabase().erase(database);
}

}  // namespace platform::acad
