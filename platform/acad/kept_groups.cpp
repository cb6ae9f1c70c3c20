// What a drawing reader keeps beside the database: kept groups by object and by database.
#include "platform/acad/kept_groups.h"

#include <unordered_map>

#include "platform/win/text_encoding.h"

namespace platform::acad {
namespace {

const RawGroups& None() {
  static const RawGroups none;
  return none;
}

// Side tables: most objects of a drawing made here keep nothing, so they pay nothing for it.
std::unordered_map<const AcDbObject*, RawGroups>& ByObject() {
  static auto* table = new std::unordered_map<const AcDbObject*, RawGroups>();
  return *table;
}

std::unordered_map<const AcDbDatabase*, RawGroups>& ByDatabase() {
  static auto* table = new std::unordered_map<const AcDbDatabase*, RawGroups>();
  return *table;
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

const RawGroups& KeptGroups(const AcDbObject& object) {
  const auto& table = ByObject();
  if (table.empty()) return None();
  const auto it = table.find(&object);
  return it == table.end() ? None() : it->second;
}

void SetKeptGroups(AcDbObject& object, RawGroups groups) {
  if (groups.empty()) {
    ByObject().erase(&object);
  } else {
    ByObject()[&object] = std::move(groups);
  }
}

const RawGroups& KeptHeader(const AcDbDatabase& database) {
  const auto it = ByDatabase().find(&database);
  return it == ByDatabase().end() ? None() : it->second;
}

void SetKeptHeader(AcDbDatabase& database, RawGroups groups) {
  ByDatabase()[&database] = std::move(groups);
}

void ForgetKept(const AcDbObject* object) {
  auto& table = ByObject();
  if (!table.empty()) table.erase(object);
}

void ForgetKept(const AcDbDatabase* database) {
  ByDatabase().erase(database);
}

}  // namespace platform::acad
