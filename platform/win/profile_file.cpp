// Parsing, indexing and rewriting profile files line by line.
#include "profile_file.h"

#include "wide_string.h"

namespace platform {
namespace {

enum class LineEnd { kNone, kLf, kCrLf };

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A section header "[name]": the name, blanks removed; null for other lines.
std::optional<std::wstring_view> HeaderName(std::wstring_view text) {
  std::wstring_view t = Trim(text);
  if (t.empty() || t.front() != L'[') return std::nullopt;
  size_t close = t.find(L']');
  if (close == std::wstring_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// A key line "key = value": the key, blanks removed; null for comments and lines without "=".
std::optional<std::wstring_view> KeyName(std::wstring_view text) {
  std::wstring_view t = Trim(text);
  if (t.empty() || t.front() == L';') return std::nullopt;
  size_t eq = t.find(L'=');
  if (eq == std::wstring_view::npos) return std::nullopt;
  return Trim(t.substr(0, eq));
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
  std::unordered_map<std::wstring, size_t> keys;  // upper-cased key -> first line holding it

  void IndexKeys() {
    keys.clear();
    for (size_t i = 0; i < lines.size(); ++i) Index(i);
  }
  void Index(size_t i) {
    if (auto key = KeyName(lines[i].text)) keys.emplace(ToUpper(*key), i);
  }
  const Line* FindKey(std::wstring_view key) const {
    auto it = keys.find(ToUpper(key));
    return it == keys.end() ? nullptr : &lines[it->second];
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
    bool ascii = true;
    for (unsigned char c : bytes) ascii = ascii && c < 0x80;
    file.encoding_ = !ascii && IsValidUtf8(bytes) ? TextEncoding::kUtf8 : TextEncoding::kCp932;
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

std::string ProfileFile::Serialize() const {
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
  index_.clear();
  for (size_t i = 1; i < sections_.size(); ++i)
    index_.emplace(ToUpper(sections_[i]->name), sections_[i].get());
}

ProfileFile::Section* ProfileFile::FindSection(std::wstring_view name) const {
  auto it = index_.find(ToUpper(name));
  return it == index_.end() ? nullptr : it->second;
}

std::optional<std::wstring> ProfileFile::Find(std::wstring_view section,
                                              std::wstring_view key) const {
  const Section* s = FindSection(section);
  const Line* line = s ? s->FindKey(key) : nullptr;
  if (!line) return std::nullopt;
  std::wstring_view t = line->text;
  return std::wstring(Trim(t.substr(t.find(L'=') + 1)));
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
    if (key && s->keys.at(ToUpper(*key)) == i) keys->emplace_back(*key);
  }
  return true;
}

void ProfileFile::Reencode(std::wstring_view text) {
  if (encoding_ != TextEncoding::kCp932 || IsCp932Representable(text)) return;
  // Code page 932 cannot hold the text: the whole file goes over to UTF-16LE, from the text
  // read, so nothing already in it is lost.
  encoding_ = TextEncoding::kUtf16Le;
  for (auto& section : sections_) {
    if (section->header) section->header->raw.reset();
    for (Line& line : section->lines) line.raw.reset();
  }
}

void ProfileFile::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  Reencode(std::wstring(section) + std::wstring(key) + std::wstring(value));
  Line line;
  line.text = std::wstring(key) + L"=" + std::wstring(value);
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
    index_.emplace(ToUpper(added->name), added.get());
    sections_.push_back(std::move(added));
    return;
  }
  auto it = s->keys.find(ToUpper(key));
  if (it != s->keys.end()) {
    Line& old = s->lines[it->second];
    line.end = old.end == LineEnd::kNone ? LineEnd::kCrLf : old.end;
    old = std::move(line);
    return;
  }
  // After the last line that is not blank, so that blank lines between sections stay there.
  size_t at = s->lines.size();
  while (at > 0 && Trim(s->lines[at - 1].text).empty()) --at;
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
  auto it = s->keys.find(ToUpper(key));
  if (it == s->keys.end()) return false;
  s->lines.erase(s->lines.begin() + it->second);
  s->IndexKeys();
  return true;
}

bool ProfileFile::DeleteSection(std::wstring_view section) {
  Section* s = FindSection(section);
  if (!s) return false;
  std::erase_if(sections_, [s](const auto& p) { return p.get() == s; });
  IndexSections();
  return true;
}

}  // namespace platform
