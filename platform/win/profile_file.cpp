// Parsing, indexing and rewriting profile files line by line.
#include "platform/win/profile_file.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "platform/win/wide_string.h"

namespace platform {
namespace {

enum class LineEnd { kNone, kLf, kCrLf };

// A section header "[name]": the name, blanks removed; null for other lines.
std::optional<std::wstring_view> HeaderName(std::wstring_view text) {
  std::wstring_view t = TrimBlanks(text);
  if (t.empty() || t.front() != L'[') return std::nullopt;
  size_t close = t.find(L']');
  if (close == std::wstring_view::npos) return std::nullopt;
  return TrimBlanks(t.substr(1, close - 1));
}

// A key line "key = value": the key, blanks removed; null for comments and lines without "=".
std::optional<std::wstring_view> KeyName(std::wstring_view text) {
  std::wstring_view t = TrimBlanks(text);
  if (t.empty() || t.front() == L';') return std::nullopt;
  size_t eq = t.find(L'=');
  if (eq == std::wstring_view::npos) return std::nullopt;
  return TrimBlanks(t.substr(0, eq));
}

// Upper-cases a name into *out for a look-up. Keys are nearly always ASCII, and asking the locale
// for each character of forty-five thousand keys would cost more than the look-ups themselves.
void FoldInto(std::wstring_view name, std::wstring* out) {
  out->resize(name.size());
  wchar_t* dst = out->data();
  for (size_t i = 0; i < name.size(); ++i) {
    const wchar_t c = name[i];
    if (c >= 0 && c < 0x80)
      dst[i] = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - (L'a' - L'A')) : c;
    else
      dst[i] = UpperChar(c);
  }
}

std::wstring Fold(std::wstring_view name) {
  std::wstring out;
  FoldInto(name, &out);
  return out;
}

// The upper-cased keys of one section and the first line holding each. Kept flat (an array of
// slots, an array of entries in file order, one string of all keys) rather than in a
// std::unordered_map: a project's forty-five thousand keys spread over the nodes of one cost
// several cache misses per look-up, which made the look-up dearer than everything else in a read.
class KeyIndex {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  void Clear() {
    slots_.clear();
    entries_.clear();
    keys_.clear();
  }
  // Adds a key unless it is there already: the first line holding a key counts.
  void Add(std::wstring_view folded, size_t line) {
    const uint32_t hash = Hash(folded);
    if (FindHashed(folded, hash) != kNone) return;
    if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
    entries_.push_back({hash, static_cast<uint32_t>(line), static_cast<uint32_t>(keys_.size()),
                        static_cast<uint32_t>(folded.size())});
    keys_.append(folded);
    Place(entries_.size());
  }
  // The line of an upper-cased key, or kNone.
  size_t Find(std::wstring_view folded) const { return FindHashed(folded, Hash(folded)); }

 private:
  struct Entry {
    uint32_t hash;
    uint32_t line;
    uint32_t offset;  // in keys_
    uint32_t length;
  };

  // FNV-1a over the code points, mixed at the end because a slot is chosen by the low bits.
  static uint32_t Hash(std::wstring_view s) {
    uint32_t h = 2166136261u;
    for (wchar_t c : s) h = (h ^ static_cast<uint32_t>(c)) * 16777619u;
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    return h;
  }
  size_t FindHashed(std::wstring_view folded, uint32_t hash) const {
    if (slots_.empty()) return kNone;
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      const uint32_t slot = slots_[i];
      if (slot == 0) return kNone;
      const Entry& e = entries_[slot - 1];
      if (e.hash == hash && e.length == folded.size() &&
          std::wmemcmp(keys_.data() + e.offset, folded.data(), e.length) == 0)
        return e.line;
    }
  }
  // Puts entry number `n` (1-based) into the first free slot of its probe sequence.
  void Place(size_t n) {
    const size_t mask = slots_.size() - 1;
    size_t i = entries_[n - 1].hash & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = static_cast<uint32_t>(n);
  }
  void Grow() {
    slots_.assign(std::max<size_t>(16, slots_.size() * 2), 0);
    for (size_t n = 1; n <= entries_.size(); ++n) Place(n);
  }

  std::vector<uint32_t> slots_;  // entry number + 1, 0 for a free slot; a power of two long
  std::vector<Entry> entries_;
  std::wstring keys_;
};

// Whether bytes without a BOM are read as UTF-8: valid UTF-8 holding more than ASCII. Anything
// else is code page 932, pure ASCII included, as Windows would write it.
bool ReadsAsUtf8(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; }) &&
         IsValidUtf8(bytes);
}

std::string EncodeLineEnd(LineEnd end, TextEncoding encoding) {
  std::string eol = end == LineEnd::kCrLf ? "\r\n" : end == LineEnd::kLf ? "\n" : "";
  if (encoding != TextEncoding::kUtf16Le) return eol;
  std::string wide;
  for (char c : eol) wide += {c, '\0'};
  return wide;
}

std::wstring DecodeLine(std::string_view raw, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16Le:
      return Utf16LeToWide(raw);
    case TextEncoding::kUtf8:
    case TextEncoding::kUtf8Bom:
      return Utf8ToWide(raw);
    case TextEncoding::kCp932:
      return Cp932ToWide(raw);
  }
  return {};
}

std::string EncodeLine(std::wstring_view text, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16Le:
      return WideToUtf16Le(text);
    case TextEncoding::kUtf8:
    case TextEncoding::kUtf8Bom:
      return WideToUtf8(text);
    case TextEncoding::kCp932:
      return WideToCp932(text);
  }
  return {};
}

}  // namespace

struct ProfileFile::Line {
  std::wstring text;
  std::optional<std::string> raw;  // the bytes as read, while the line is unchanged
  LineEnd end = LineEnd::kCrLf;
};

struct ProfileFile::Section {
  std::optional<Line> header;  // none for the lines before the first header
  std::wstring name;
  std::vector<Line> lines;
  KeyIndex keys;  // upper-cased key -> first line holding it

  void IndexKeys() {
    keys.Clear();
    for (size_t i = 0; i < lines.size(); ++i) Index(i);
  }
  void Index(size_t i) {
    if (auto key = KeyName(lines[i].text)) keys.Add(Fold(*key), i);
  }
};

ProfileFile::ProfileFile() {
  sections_.push_back(std::make_unique<Section>());
}
ProfileFile::~ProfileFile() = default;
ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;

ProfileFile ProfileFile::Parse(std::string_view bytes) {
  ProfileFile file;
  size_t unit = 1;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    file.encoding_ = TextEncoding::kUtf16Le;
    bytes.remove_prefix(2);
    unit = 2;
  } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    file.encoding_ = TextEncoding::kUtf8Bom;
    bytes.remove_prefix(3);
  } else {
    file.encoding_ = ReadsAsUtf8(bytes) ? TextEncoding::kUtf8 : TextEncoding::kCp932;
  }
  Section* current = file.sections_.back().get();
  size_t pos = 0;
  while (pos < bytes.size()) {
    // Find the next LF code unit (in code page 932 0x0A is never part of a double-byte pair).
    size_t end = pos;
    while (end + unit <= bytes.size() &&
           !(bytes[end] == '\n' && (unit == 1 || bytes[end + 1] == 0)))
      end += unit;
    Line line;
    size_t content_end = std::min(end, bytes.size());
    if (end + unit <= bytes.size()) {
      line.end = LineEnd::kLf;
      if (content_end >= pos + unit && bytes[content_end - unit] == '\r' &&
          (unit == 1 || bytes[content_end - 1] == 0)) {
        line.end = LineEnd::kCrLf;
        content_end -= unit;
      }
    } else {
      line.end = LineEnd::kNone;
    }
    line.raw = std::string(bytes.substr(pos, content_end - pos));
    line.text = DecodeLine(*line.raw, file.encoding_);
    pos = end + unit;
    if (auto name = HeaderName(line.text)) {
      auto section = std::make_unique<Section>();
      section->name = std::wstring(*name);
      section->header = std::move(line);
      current = section.get();
      file.sections_.push_back(std::move(section));
    } else {
      current->lines.push_back(std::move(line));
      current->Index(current->lines.size() - 1);
    }
  }
  file.IndexSections();
  return file;
}

std::string ProfileFile::Serialize() {
  std::string out = Render();
  // Code page 932 bytes that are also UTF-8 holding more than ASCII ("ﾃｰ" is C3 B0, "ð" in
  // UTF-8) would be read back as UTF-8 and mean something else. Such a file goes over to
  // UTF-16LE from its text, as when code page 932 cannot hold a text: written over or having
  // lost the only lines that were not UTF-8, a file read in code page 932 stays what it was.
  if (encoding_ == TextEncoding::kCp932 && ReadsAsUtf8(out)) {
    Reencode();
    out = Render();
  }
  return out;
}

std::string ProfileFile::Render() const {
  std::string out;
  if (encoding_ == TextEncoding::kUtf16Le) out = "\xFF\xFE";
  if (encoding_ == TextEncoding::kUtf8Bom) out = "\xEF\xBB\xBF";
  auto put = [&](const Line& line) {
    out += line.raw ? *line.raw : EncodeLine(line.text, encoding_);
    out += EncodeLineEnd(line.end, encoding_);
  };
  for (const auto& section : sections_) {
    if (section->header) put(*section->header);
    for (const Line& line : section->lines) put(line);
  }
  return out;
}

void ProfileFile::IndexSections() {
  last_section_ = nullptr;
  index_.clear();
  for (size_t i = 1; i < sections_.size(); ++i)
    index_.emplace(Fold(sections_[i]->name), sections_[i].get());
}

ProfileFile::Section* ProfileFile::FindSection(std::wstring_view name) const {
  if (last_section_ && name == last_section_name_) return last_section_;
  FoldInto(name, &folded_key_);
  auto it = index_.find(folded_key_);
  if (it == index_.end()) return nullptr;
  last_section_name_.assign(name);
  last_section_ = it->second;
  return it->second;
}

std::optional<std::wstring_view> ProfileFile::Find(std::wstring_view section,
                                                   std::wstring_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  FoldInto(key, &folded_key_);
  const size_t line = s->keys.Find(folded_key_);
  if (line == KeyIndex::kNone) return std::nullopt;
  std::wstring_view t = s->lines[line].text;
  return TrimBlanks(t.substr(t.find(L'=') + 1));
}

std::vector<std::wstring> ProfileFile::SectionNames() const {
  std::vector<std::wstring> names;
  for (size_t i = 1; i < sections_.size(); ++i)
    if (FindSection(sections_[i]->name) == sections_[i].get()) names.push_back(sections_[i]->name);
  return names;
}

bool ProfileFile::KeyNames(std::wstring_view section, std::vector<std::wstring>* keys) const {
  keys->clear();
  const Section* s = FindSection(section);
  if (!s) return false;
  for (size_t i = 0; i < s->lines.size(); ++i) {
    auto key = KeyName(s->lines[i].text);
    if (key && s->keys.Find(Fold(*key)) == i) keys->emplace_back(*key);
  }
  return true;
}

void ProfileFile::Reencode() {
  // Code page 932 cannot hold a text written into the file: the whole file goes over to
  // UTF-16LE, from the text read, so nothing already in it is lost.
  encoding_ = TextEncoding::kUtf16Le;
  for (auto& section : sections_) {
    if (section->header) section->header->raw.reset();
    for (Line& line : section->lines) line.raw.reset();
  }
}

void ProfileFile::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  if (encoding_ == TextEncoding::kCp932 &&
      !(IsCp932Representable(section) && IsCp932Representable(key) &&
        IsCp932Representable(value))) {
    Reencode();
  }
  Line line;
  line.text.reserve(key.size() + 1 + value.size());
  line.text.append(key).append(1, L'=').append(value);
  Section* s = FindSection(section);
  if (!s) {
    // The last line of the file gets its line end before anything follows it.
    Section* last = sections_.back().get();
    Line* tail = !last->lines.empty() ? &last->lines.back()
                 : last->header       ? &*last->header
                                      : nullptr;
    if (tail && tail->end == LineEnd::kNone) tail->end = LineEnd::kCrLf;
    auto added = std::make_unique<Section>();
    added->name = std::wstring(section);
    added->header = Line{L"[" + added->name + L"]", std::nullopt, LineEnd::kCrLf};
    added->lines.push_back(std::move(line));
    added->IndexKeys();
    index_.emplace(Fold(added->name), added.get());
    sections_.push_back(std::move(added));
    return;
  }
  if (size_t at = s->keys.Find(Fold(key)); at != KeyIndex::kNone) {
    Line& old = s->lines[at];
    line.end = old.end == LineEnd::kNone ? LineEnd::kCrLf : old.end;
    old = std::move(line);
    return;
  }
  // After the last line that is not blank, so that blank lines between sections stay there.
  size_t at = s->lines.size();
  while (at > 0 && TrimBlanks(s->lines[at - 1].text).empty()) --at;
  Line* before = at > 0 ? &s->lines[at - 1] : &*s->header;
  if (before->end == LineEnd::kNone) before->end = LineEnd::kCrLf;
  s->lines.insert(s->lines.begin() + at, std::move(line));
  if (at + 1 == s->lines.size()) {
    s->Index(at);
  } else {
    s->IndexKeys();
  }
}

bool ProfileFile::DeleteKey(std::wstring_view section, std::wstring_view key) {
  Section* s = FindSection(section);
  if (!s) return false;
  const size_t at = s->keys.Find(Fold(key));
  if (at == KeyIndex::kNone) return false;
  s->lines.erase(s->lines.begin() + at);
  s->IndexKeys();
  return true;
}

bool ProfileFile::DeleteSection(std::wstring_view section) {
  Section* s = FindSection(section);
  if (!s) return false;
  std::erase_if(sections_, [s](const auto& p) { return p.get() == s; });
  IndexSections();  // also forgets the last section found, which may be the one deleted
  return true;
}

}  // namespace platform
