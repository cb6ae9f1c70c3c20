// The DXF reader: bytes to groups, groups to records, records to database objects.
#include "host/dxf_reader.h"

#include <acutads.h>
#include <dbdict.h>
#include <dbelipse.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbhatch.h>
#include <dbhost.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include <text_encoding.h>
#include <wide_string.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <span>
#include <sstream>
#include <unordered_map>

#include "host/dxf_objects.h"

namespace host {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

struct Group {
  int code = 0;
  std::wstring value;
  int line = 0;  // line of the group code
};

// One entity, object, table record or table head: its 0 group's value and the groups after it.
// The groups stay where the tokenizer put them (DxfFile::groups); a record only points at its
// run of them, since a large drawing has millions.
struct Record {
  std::wstring type;
  int line = 0;
  std::span<const Group> groups;
  AcDbHandle handle;
  AcDbHandle owner;
};

struct ReadError {
  std::wstring message;
};

std::wstring Narrow(std::string_view s) {
  return std::wstring(s.begin(), s.end());
}

std::wstring LineError(int line, const std::wstring& what) {
  return L"line " + std::to_wstring(line) + L": " + what;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

// The file's lines one after the other, without their line ends, up to the last line that is
// not blank (a line end after EOF leaves an empty line that is no group). A large drawing has
// millions of lines: they are walked, not collected.
class LineCursor {
 public:
  explicit LineCursor(std::string_view bytes) : bytes_(bytes) {
    size_t last = bytes_.find_last_not_of(" \t\r\n");
    if (last == std::string_view::npos) {
      bytes_ = {};
    } else {
      const size_t line_end = bytes_.find('\n', last);
      if (line_end != std::string_view::npos) bytes_ = bytes_.substr(0, line_end);
    }
  }
  // The next line, false after the last.
  bool Next(std::string_view* line) {
    if (pos_ > bytes_.size() || bytes_.empty()) return false;
    size_t end = bytes_.find('\n', pos_);
    if (end == std::string_view::npos) end = bytes_.size();
    *line = bytes_.substr(pos_, end - pos_);
    if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  // The number of the line Next gave last (1 for the first).
  int number() const { return number_; }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
  int number_ = 0;
};

// $ACADVER and $DWGCODEPAGE, looked up before anything is decoded (the header is ASCII).
void ScanHeader(std::string_view bytes, std::string* version, std::string* codepage) {
  LineCursor lines(bytes);
  std::string_view code, value;
  while (lines.Next(&code) && lines.Next(&value)) {
    value = Trim(value);
    if (Trim(code) == "0" && value == "ENDSEC") return;
    if (Trim(code) != "9") continue;
    std::string_view next_code, next_value;
    if (value != "$ACADVER" && value != "$DWGCODEPAGE") continue;
    if (!lines.Next(&next_code) || !lines.Next(&next_value)) return;
    (value == "$ACADVER" ? *version : *codepage) = std::string(Trim(next_value));
  }
}

// \U+XXXX escapes of files before AC1021.
std::wstring DecodeEscapes(std::wstring text) {
  size_t pos = text.find(L"\\U+");
  if (pos == std::wstring::npos) return text;
  std::wstring out;
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, 3, L"\\U+") == 0 && i + 7 <= text.size()) {
      wchar_t* end = nullptr;
      std::wstring hex = text.substr(i + 3, 4);
      unsigned long cp = std::wcstoul(hex.c_str(), &end, 16);
      if (end == hex.c_str() + 4) {
        out.push_back(static_cast<wchar_t>(cp));
        i += 7;
        continue;
      }
    }
    out.push_back(text[i++]);
  }
  return out;
}

// The number a trimmed ASCII text spells, as the C library reads it but without its locale and
// allocations: an optional sign, then what from_chars takes. False for anything else.
template <class T>
bool ParseNumber(std::string_view text, T* value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size();
}

// ASCII text as it stands, widened.
std::wstring Widen(std::string_view ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

// Bytes to groups; checks that every code is a number and every numeric value one. Most of a
// drawing's groups are numbers, handles and ASCII names: they are checked and widened straight
// from the bytes, without a detour through a wide copy (a large drawing has millions of them).
std::vector<Group> Tokenize(std::string_view bytes, bool utf8, bool cp932, bool escapes) {
  std::vector<Group> groups;
  // Two lines a group; counted first, so that the groups are not copied as the vector grows.
  groups.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) / 2 + 1);
  LineCursor lines(bytes);
  std::string_view code_line;
  while (lines.Next(&code_line)) {
    const int line = lines.number();
    std::string_view code_text = Trim(code_line);
    long long code = 0;
    if (!ParseNumber(code_text, &code) || code < -5 || code > 1071)
      throw ReadError{LineError(
          line, L"a group code was expected, found \"" + platform::Utf8ToWide(code_text) + L"\"")};
    std::string_view raw;
    if (!lines.Next(&raw))
      throw ReadError{LineError(line, L"the file ends after group code " + std::to_wstring(code) +
                                          L" without its value")};
    Group g{static_cast<int>(code), {}, line};
    const DxfValueType type = DxfTypeOfCode(g.code);
    if (type != DxfValueType::kString) {
      const std::string_view t = Trim(raw);
      bool valid = false;
      if (type == DxfValueType::kReal) {
        double d = 0;
        valid = ParseNumber(t, &d) && std::isfinite(d);
      } else if (type == DxfValueType::kInteger) {
        long long n = 0;
        valid = ParseNumber(t, &n);
      } else {
        valid = !t.empty() && t.size() <= 16 &&
                t.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
      }
      if (!valid) {
        const wchar_t* needs = type == DxfValueType::kReal      ? L" needs a number, found \""
                               : type == DxfValueType::kInteger ? L" needs an integer, found \""
                                                                : L" needs a handle, found \"";
        throw ReadError{LineError(line + 1, L"group " + std::to_wstring(g.code) + needs +
                                                platform::Utf8ToWide(raw) + L"\"")};
      }
      g.value = Widen(t);  // valid numbers and handles are ASCII
      groups.push_back(std::move(g));
      continue;
    }
    if (std::all_of(raw.begin(), raw.end(), [](char c) { return (c & 0x80) == 0; })) {
      g.value = Widen(raw);
    } else if (utf8) {
      g.value = platform::Utf8ToWide(raw);
    } else if (cp932) {
      g.value = platform::Cp932ToWide(raw);
    } else {
      for (unsigned char c : raw) g.value.push_back(static_cast<wchar_t>(c));
    }
    if (escapes) g.value = DecodeEscapes(std::move(g.value));
    if (g.code == 0 || g.code == 2 || g.code == 9) {
      // Names of records, sections and variables carry no meaningful blanks at the end.
      while (!g.value.empty() && (g.value.back() == L' ' || g.value.back() == L'\t'))
        g.value.pop_back();
    }
    groups.push_back(std::move(g));
  }
  return groups;
}

double Real(const Group& g) {
  return std::wcstod(g.value.c_str(), nullptr);
}
long long Int(const Group& g) {
  return std::wcstoll(g.value.c_str(), nullptr, 10);
}
AcDbHandle Handle(const Group& g) {
  return AcDbHandle(g.value.c_str());
}

// The parts of the file in order.
struct DxfFile {
  std::vector<Group> groups;  // every group of the file, which the records point into
  std::vector<Group> header;
  std::vector<Record> tables;  // TABLE heads and their records, ENDTAB as a record
  std::vector<Record> blocks;  // BLOCK, entities, ENDBLK
  std::vector<Record> entities;
  std::vector<Record> objects;
};

class Parser {
 public:
  explicit Parser(std::vector<Group> groups) : g_(std::move(groups)) {}

  DxfFile Parse() {
    DxfFile file;
    bool seen_eof = false;
    while (pos_ < g_.size()) {
      const Group& head = g_[pos_];
      if (head.code != 0)
        throw ReadError{LineError(
            head.line, L"group 0 was expected, found group " + std::to_wstring(head.code))};
      if (head.value == L"EOF") {
        seen_eof = true;
        break;
      }
      if (head.value != L"SECTION")
        throw ReadError{
            LineError(head.line, L"SECTION was expected, found \"" + head.value + L"\"")};
      ++pos_;
      if (pos_ >= g_.size() || g_[pos_].code != 2)
        throw ReadError{LineError(head.line, L"the section has no name")};
      const std::wstring name = g_[pos_].value;
      const int name_line = g_[pos_].line + 1;  // the line of the name itself
      ++pos_;
      if (name == L"HEADER") {
        while (pos_ < g_.size() && g_[pos_].code != 0) file.header.push_back(g_[pos_++]);
      } else if (name == L"TABLES") {
        ReadRecords(&file.tables);
      } else if (name == L"BLOCKS") {
        ReadRecords(&file.blocks);
      } else if (name == L"ENTITIES") {
        ReadRecords(&file.entities);
      } else if (name == L"OBJECTS") {
        ReadRecords(&file.objects);
      } else if (name == L"CLASSES" || name == L"THUMBNAILIMAGE" || name == L"ACDSDATA") {
        // Rebuilt by the writer (classes) or of no use here (preview, data store).
        std::vector<Record> ignored;
        ReadRecords(&ignored);
      } else {
        throw ReadError{LineError(name_line, L"unknown section \"" + name + L"\"")};
      }
      if (pos_ >= g_.size()) break;
      if (g_[pos_].value != L"ENDSEC")
        throw ReadError{LineError(g_[pos_].line, L"ENDSEC was expected")};
      ++pos_;
    }
    if (!seen_eof) {
      const int last = g_.empty() ? 1 : g_.back().line + 2;  // the line after the last value
      throw ReadError{LineError(last, L"the file ends without EOF (truncated?)")};
    }
    file.groups = std::move(g_);  // moving keeps the storage the records point into
    return file;
  }

 private:
  void ReadRecords(std::vector<Record>* out) {
    while (pos_ < g_.size()) {
      const Group& head = g_[pos_];
      if (head.code != 0)
        throw ReadError{LineError(
            head.line, L"group 0 was expected, found group " + std::to_wstring(head.code))};
      if (head.value == L"ENDSEC" || head.value == L"EOF") {
        if (head.value == L"EOF")
          throw ReadError{LineError(head.line, L"EOF inside a section (ENDSEC missing)")};
        return;
      }
      Record r;
      r.type = head.value;
      r.line = head.line;
      ++pos_;
      const size_t first = pos_;
      bool in_app_group = false;
      while (pos_ < g_.size() && g_[pos_].code != 0) {
        const Group& g = g_[pos_];
        if (g.code == 102) in_app_group = g.value.size() > 0 && g.value[0] == L'{';
        if ((g.code == 5 || (g.code == 105 && r.type == L"DIMSTYLE")) && r.handle.isNull())
          r.handle = Handle(g);
        if (g.code == 330 && !in_app_group && r.owner.isNull()) r.owner = Handle(g);
        ++pos_;
      }
      r.groups = std::span<const Group>(g_.data() + first, pos_ - first);
      out->push_back(std::move(r));
    }
  }

  std::vector<Group> g_;
  size_t pos_ = 0;
};

// Groups of one record split into modelled values and kept ones. `modelled` says which codes
// the caller takes (outside XData); the others, the 100 markers included, are kept in order.
struct Split {
  std::vector<const Group*> values;  // modelled, in order
  std::vector<AcDbRawGroup> raw;
  std::vector<const Group*> xdata;  // from the first 1001 on
};

// The first owner group outside application groups (the one the database keeps).
const Group* FirstOwner(const Record& r) {
  int depth = 0;
  for (const Group& g : r.groups) {
    if (g.code == 102) depth += (!g.value.empty() && g.value[0] == L'{') ? 1 : -1;
    if (g.code == 330 && depth == 0) return &g;
    if (g.code == 1001) break;
  }
  return nullptr;
}

template <class Pred>
Split SplitRecord(const Record& r, Pred modelled) {
  Split s;
  bool in_xdata = false;
  int app_depth = 0;
  const Group* owner = FirstOwner(r);
  for (const Group& g : r.groups) {
    if (g.code == 1001) in_xdata = true;
    if (in_xdata) {
      s.xdata.push_back(&g);
      continue;
    }
    if (g.code == 102) app_depth += (!g.value.empty() && g.value[0] == L'{') ? 1 : -1;
    if (app_depth == 0 && g.code != 102 && g.code != 5 && g.code != 330 && modelled(g.code)) {
      s.values.push_back(&g);
    } else if (g.code == 5 || (g.code == 330 && app_depth == 0 && &g == owner)) {
      // handle and owner: the database keeps them
    } else {
      s.raw.push_back(AcDbRawGroup{g.code, g.value});
    }
  }
  return s;
}

std::vector<AcDbRawGroup> AllGroups(const Record& r) {
  std::vector<AcDbRawGroup> raw;
  raw.reserve(r.groups.size());
  for (const Group& g : r.groups) raw.push_back(AcDbRawGroup{g.code, g.value});
  return raw;
}

// A resbuf chain of XData groups (points take their 20/30 partners: 1020, 1030 ...).
resbuf* BuildXData(const std::vector<const Group*>& groups) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (size_t i = 0; i < groups.size(); ++i) {
    const Group& g = *groups[i];
    resbuf* rb = nullptr;
    if (g.code == 1001 || (g.code >= 1000 && g.code <= 1005 && g.code != 1004)) {
      rb = acutNewRb(g.code);
      rb->resval.rstring = acutNewString(g.value.c_str());
    } else if (g.code == 1004) {
      rb = acutNewRb(1004);
      std::string bytes;
      for (size_t k = 0; k + 1 < g.value.size(); k += 2)
        bytes.push_back(static_cast<char>(std::wcstol(g.value.substr(k, 2).c_str(), nullptr, 16)));
      rb->resval.rbinary.clen = static_cast<short>(bytes.size());
      rb->resval.rbinary.buf = new char[bytes.size() + 1];
      std::copy(bytes.begin(), bytes.end(), rb->resval.rbinary.buf);
    } else if (g.code >= 1010 && g.code <= 1013) {
      rb = acutNewRb(g.code);
      rb->resval.rpoint[0] = Real(g);
      for (int axis = 1; axis <= 2 && i + 1 < groups.size(); ++axis) {
        if (groups[i + 1]->code != g.code + 10 * axis) break;
        rb->resval.rpoint[axis] = Real(*groups[++i]);
      }
    } else if (g.code >= 1040 && g.code <= 1042) {
      rb = acutNewRb(g.code);
      rb->resval.rreal = Real(g);
    } else if (g.code == 1070) {
      rb = acutNewRb(g.code);
      rb->resval.rint = static_cast<short>(Int(g));
    } else if (g.code == 1071) {
      rb = acutNewRb(g.code);
      rb->resval.rlong = static_cast<int32_t>(Int(g));
    } else {
      acutRelRb(head);
      return nullptr;  // no XData group: keep the groups as they are
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  return head;
}

AcGePoint3d PointOf(const std::vector<const Group*>& values, int x_code, AcGePoint3d start = {}) {
  for (const Group* g : values) {
    if (g->code == x_code) start.x = Real(*g);
    if (g->code == x_code + 10) start.y = Real(*g);
    if (g->code == x_code + 20) start.z = Real(*g);
  }
  return start;
}

const Group* Find(const std::vector<const Group*>& values, int code) {
  for (const Group* g : values)
    if (g->code == code) return g;
  return nullptr;
}

double RealOr(const std::vector<const Group*>& values, int code, double fallback) {
  const Group* g = Find(values, code);
  return g ? Real(*g) : fallback;
}
long long IntOr(const std::vector<const Group*>& values, int code, long long fallback) {
  const Group* g = Find(values, code);
  return g ? Int(*g) : fallback;
}
std::wstring StringOr(const std::vector<const Group*>& values, int code,
                      const std::wstring& fallback = L"") {
  const Group* g = Find(values, code);
  return g ? g->value : fallback;
}

class Builder {
 public:
  Builder(DxfFile file, DxfReadResult* result) : file_(std::move(file)), result_(result) {}

  void Build() {
    db_ = std::make_unique<AcDbDatabase>(false, true);
    CheckHandles();
    ReadHeader();
    // Objects made here take handles above the file's seed as well as above its handles.
    if (db_->handseed().value() < seed_.value()) db_->setHandseed(seed_);
    ReadTables();
    EnsureDefaults();
    db_->setRoots(roots_);
    ReadBlocks();
    ReadEntities();
    ReadObjects();
    if (db_->handseed().value() < seed_.value()) db_->setHandseed(seed_);
    result_->database = std::move(db_);
  }

 private:
  // A handle used twice makes the drawing ambiguous: refused.
  void CheckHandles() {
    std::unordered_map<Adesk::UInt64, int> seen;
    Adesk::UInt64 max = 0;
    auto check = [&](const std::vector<Record>& records) {
      for (const Record& r : records) {
        if (r.handle.isNull()) continue;
        auto [it, fresh] = seen.emplace(r.handle.value(), r.line);
        if (!fresh)
          throw ReadError{LineError(r.line, L"handle " + HexOf(r.handle) +
                                                L" is used twice (first on line " +
                                                std::to_wstring(it->second) + L")")};
        max = std::max(max, r.handle.value());
      }
    };
    check(file_.tables);
    check(file_.blocks);
    check(file_.entities);
    check(file_.objects);
    // New objects get handles above every handle of the file.
    db_->setHandseed(AcDbHandle(max + 1));
  }

  static std::wstring HexOf(AcDbHandle h) {
    ACHAR buf[20];
    h.getIntoAsciiBuffer(buf, 20);
    return buf;
  }

  void ReadHeader() {
    std::vector<AcDbRawGroup> raw;
    const auto& h = file_.header;
    for (size_t i = 0; i < h.size();) {
      if (h[i].code != 9)
        throw ReadError{LineError(h[i].line, L"a header variable name (group 9) was expected")};
      const std::wstring name = h[i].value;
      size_t j = i + 1;
      while (j < h.size() && h[j].code != 9) ++j;
      if (name == L"$ACADVER" && j > i + 1) {
        result_->version = h[i + 1].value;
      } else if (name == L"$HANDSEED" && j > i + 1) {
        seed_ = Handle(h[i + 1]);
      } else if (name == L"$DIMSCALE" && j > i + 1) {
        db_->setDimscale(Real(h[i + 1]));
      } else {
        for (size_t k = i; k < j; ++k) raw.push_back(AcDbRawGroup{h[k].code, h[k].value});
      }
      i = j;
    }
    db_->setRawHeader(std::move(raw));
  }

  // ---- Tables ----

  void ReadTables() {
    size_t i = 0;
    const auto& t = file_.tables;
    while (i < t.size()) {
      const Record& head = t[i];
      if (head.type != L"TABLE")
        throw ReadError{LineError(head.line, L"TABLE was expected, found \"" + head.type + L"\"")};
      const std::wstring name = StringOf(head, 2);
      size_t j = i + 1;
      std::vector<const Record*> records;
      while (j < t.size() && t[j].type != L"ENDTAB") records.push_back(&t[j++]);
      if (j >= t.size()) throw ReadError{LineError(head.line, L"the table has no ENDTAB")};
      ReadTable(name, head, records);
      i = j + 1;
    }
  }

  static std::wstring StringOf(const Record& r, int code) {
    for (const Group& g : r.groups)
      if (g.code == code) return g.value;
    return L"";
  }

  AcDbObjectId AddRoot(AcDbObject* object, const Record* r) {
    AcDbObjectId id;
    Acad::ErrorStatus es = Acad::eNullHandle;
    if (r != nullptr && !r->handle.isNull())
      es = platform::acad::AddObjectWithHandle(*db_, object, r->handle, &id);
    if (es != Acad::eOk) {
      es = db_->addAcDbObject(id, object);
      if (es != Acad::eOk) {
        delete object;
        throw ReadError{LineError(r ? r->line : 0, L"the object cannot be added")};
      }
    }
    return id;
  }

  void SetOwner(AcDbObject* object, AcDbHandle owner) {
    if (owner.isNull()) return;
    AcDbObjectId id;
    if (db_->getAcDbObjectId(id, true, owner) == Acad::eOk) object->setOwnerId(id);
  }

  void ReadTable(const std::wstring& name, const Record& head,
                 const std::vector<const Record*>& records) {
    AcDbSymbolTable* table = nullptr;
    if (name == L"LTYPE") table = new AcDbLinetypeTable;
    if (name == L"LAYER") table = new AcDbLayerTable;
    if (name == L"STYLE") table = new AcDbTextStyleTable;
    if (name == L"APPID") table = new AcDbRegAppTable;
    if (name == L"BLOCK_RECORD") table = new AcDbBlockTable;
    if (table == nullptr) {
      // A table the database does not model, kept whole.
      auto* kept = new DxfUnknownObject(L"TABLE");
      kept->setRawGroups(AllGroups(head));
      AcDbObjectId table_id = AddRoot(kept, &head);
      for (const Record* r : records) {
        auto* rec = new DxfUnknownObject(r->type);
        rec->setRawGroups(AllGroups(*r));
        AcDbObjectId id = AddRoot(rec, r);
        rec->setOwnerId(table_id);
        rec->close();
        kept->children().push_back(id);
      }
      kept->close();
      unknown_tables_.push_back(table_id);
      return;
    }
    Split s = SplitRecord(head, [](int code) { return code == 2 || code == 70; });
    table->setRawGroups(std::move(s.raw));
    AcDbObjectId table_id = AddRoot(table, &head);
    if (name == L"LTYPE") roots_.linetype_table = table_id;
    if (name == L"LAYER") roots_.layer_table = table_id;
    if (name == L"STYLE") roots_.text_style_table = table_id;
    if (name == L"APPID") roots_.regapp_table = table_id;
    if (name == L"BLOCK_RECORD") roots_.block_table = table_id;
    for (const Record* r : records) ReadTableRecord(name, table, *r);
    table->close();
  }

  void ReadTableRecord(const std::wstring& table_name, AcDbSymbolTable* table, const Record& r) {
    AcDbSymbolTableRecord* rec = nullptr;
    Split s;
    if (table_name == L"LTYPE" && r.type == L"LTYPE") {
      s = SplitRecord(r, [](int c) { return c == 2 || c == 3; });
      auto* lt = new AcDbLinetypeTableRecord;
      lt->setComments(StringOr(s.values, 3).c_str());
      rec = lt;
    } else if (table_name == L"LAYER" && r.type == L"LAYER") {
      s = SplitRecord(r, [](int c) { return c == 2 || c == 62 || c == 6 || c == 70 || c == 370; });
      auto* layer = new AcDbLayerTableRecord;
      long long colour = IntOr(s.values, 62, 7);
      AcCmColor c;
      c.setColorIndex(static_cast<Adesk::UInt16>(std::min<long long>(std::llabs(colour), 256)));
      layer->setColor(c);
      layer->setIsOff(colour < 0);
      long long flags = IntOr(s.values, 70, 0);
      layer->setIsFrozen(flags & 1);
      layer->setIsLocked(flags & 4);
      layer->setLineWeight(static_cast<AcDb::LineWeight>(IntOr(s.values, 370, -3)));
      const std::wstring lt = StringOr(s.values, 6, L"Continuous");
      AcDbObjectId lt_id;
      if (!roots_.linetype_table.isNull()) {
        AcDbLinetypeTable* lts = nullptr;
        if (acdbOpenObject(lts, roots_.linetype_table, AcDb::kForRead) == Acad::eOk) {
          lts->getAt(lt.c_str(), lt_id);
          lts->close();
        }
      }
      if (!lt_id.isNull()) layer->setLinetypeObjectId(lt_id);
      rec = layer;
    } else if (table_name == L"STYLE" && r.type == L"STYLE" && !StringOf(r, 2).empty()) {
      s = SplitRecord(
          r, [](int c) { return c == 2 || c == 40 || c == 41 || c == 50 || c == 3 || c == 4; });
      auto* st = new AcDbTextStyleTableRecord;
      st->setTextSize(RealOr(s.values, 40, 0));
      st->setXScale(RealOr(s.values, 41, 1));
      st->setObliquingAngle(RealOr(s.values, 50, 0) * kDegree);
      st->setFileName(StringOr(s.values, 3).c_str());
      st->setBigFontFileName(StringOr(s.values, 4).c_str());
      rec = st;
    } else if (table_name == L"APPID" && r.type == L"APPID") {
      s = SplitRecord(r, [](int c) { return c == 2; });
      rec = new AcDbRegAppTableRecord;
    } else if (table_name == L"BLOCK_RECORD" && r.type == L"BLOCK_RECORD") {
      s = SplitRecord(r, [](int c) { return c == 2; });
      rec = new AcDbBlockTableRecord;
    }
    const std::wstring name = StringOf(r, 2);
    if (rec == nullptr || name.empty() || table->has(name.c_str())) {
      delete rec;
      // Kept as read, listed after the table's modelled records.
      auto* kept = new DxfUnknownObject(r.type);
      kept->setRawGroups(AllGroups(r));
      AddRoot(kept, &r);
      kept->setOwnerId(table->objectId());
      kept->close();
      return;
    }
    rec->setName(name.c_str());
    rec->setRawGroups(std::move(s.raw));
    if (!r.handle.isNull()) db_->setNextHandle(r.handle);
    AcDbObjectId id;
    if (table->add(id, rec) != Acad::eOk) {
      delete rec;
      throw ReadError{LineError(r.line, L"the table record \"" + name + L"\" cannot be added")};
    }
    if (!s.xdata.empty()) xdata_later_.push_back({id, s.xdata, r.line});
    rec->close();
    if (table_name == L"LTYPE") {
      if (platform::EqualsNoCase(name, L"ByLayer")) roots_.by_layer = id;
      if (platform::EqualsNoCase(name, L"ByBlock")) roots_.by_block = id;
      if (platform::EqualsNoCase(name, L"Continuous")) roots_.continuous = id;
    }
    if (table_name == L"LAYER" && name == L"0") roots_.clayer = id;
    if (table_name == L"STYLE" && platform::EqualsNoCase(name, L"Standard")) roots_.textstyle = id;
    if (table_name == L"BLOCK_RECORD") {
      if (platform::EqualsNoCase(name, L"*Model_Space")) roots_.model_space = id;
      if (platform::EqualsNoCase(name, L"*Paper_Space")) roots_.paper_space = id;
    }
  }

  // Tables and records every drawing has, made when the file lacks them.
  void EnsureDefaults() {
    auto table = [&](AcDbObjectId* id, AcDbSymbolTable* fresh) {
      if (!id->isNull()) {
        delete fresh;
        return;
      }
      *id = AddRoot(fresh, nullptr);
      fresh->close();
    };
    table(&roots_.linetype_table, new AcDbLinetypeTable);
    table(&roots_.layer_table, new AcDbLayerTable);
    table(&roots_.text_style_table, new AcDbTextStyleTable);
    table(&roots_.regapp_table, new AcDbRegAppTable);
    table(&roots_.block_table, new AcDbBlockTable);
    auto record = [&](AcDbObjectId table_id, AcDbObjectId* id, const wchar_t* name,
                      AcDbSymbolTableRecord* fresh) {
      if (!id->isNull()) {
        delete fresh;
        return;
      }
      AcDbSymbolTable* t = nullptr;
      if (acdbOpenObject(t, table_id, AcDb::kForWrite) != Acad::eOk) {
        delete fresh;
        return;
      }
      if (t->getAt(name, *id) != Acad::eOk) {
        fresh->setName(name);
        if (t->add(*id, fresh) == Acad::eOk) {
          fresh->close();
        } else {
          delete fresh;
        }
      } else {
        delete fresh;
      }
      t->close();
    };
    record(roots_.linetype_table, &roots_.by_block, L"ByBlock", new AcDbLinetypeTableRecord);
    record(roots_.linetype_table, &roots_.by_layer, L"ByLayer", new AcDbLinetypeTableRecord);
    record(roots_.linetype_table, &roots_.continuous, L"Continuous", new AcDbLinetypeTableRecord);
    record(roots_.layer_table, &roots_.clayer, L"0", new AcDbLayerTableRecord);
    record(roots_.text_style_table, &roots_.textstyle, L"Standard", new AcDbTextStyleTableRecord);
    AcDbObjectId acad;
    record(roots_.regapp_table, &acad, L"ACAD", new AcDbRegAppTableRecord);
    record(roots_.block_table, &roots_.model_space, L"*Model_Space", new AcDbBlockTableRecord);
    record(roots_.block_table, &roots_.paper_space, L"*Paper_Space", new AcDbBlockTableRecord);
  }

  // ---- Names to ids ----

  AcDbObjectId Lookup(AcDbObjectId table_id, const std::wstring& name) {
    AcDbSymbolTable* t = nullptr;
    AcDbObjectId id;
    if (acdbOpenObject(t, table_id, AcDb::kForRead) == Acad::eOk) {
      t->getAt(name.c_str(), id);
      t->close();
    }
    return id;
  }

  AcDbObjectId LayerNamed(const std::wstring& name, int line) {
    auto it = layers_.find(name);
    if (it != layers_.end()) return it->second;
    AcDbObjectId id = Lookup(roots_.layer_table, name);
    if (id.isNull()) {
      // An entity on a layer the file lacks: the layer is made, as an audit would.
      AcDbLayerTable* t = nullptr;
      if (acdbOpenObject(t, roots_.layer_table, AcDb::kForWrite) == Acad::eOk) {
        auto* layer = new AcDbLayerTableRecord;
        layer->setName(name.c_str());
        layer->setLinetypeObjectId(roots_.continuous);
        if (t->add(id, layer) == Acad::eOk) {
          layer->close();
          result_->warnings.push_back(
              LineError(line, L"layer \"" + name + L"\" was missing and has been made"));
        } else {
          delete layer;
        }
        t->close();
      }
    }
    layers_[name] = id;
    return id;
  }

  // ---- Entities ----

  struct Pending {
    AcDbObjectId id;
    std::vector<const Group*> xdata;
    int line;
  };

  // Common entity properties; returns false when the value makes no sense for the database.
  void SetCommon(AcDbEntity* e, const std::vector<const Group*>& values, int line) {
    e->setLayer(LayerNamed(StringOr(values, 8, L"0"), line));
    const std::wstring lt = StringOr(values, 6, L"ByLayer");
    AcDbObjectId lt_id = Lookup(roots_.linetype_table, lt);
    e->setLinetype(lt_id.isNull() ? roots_.by_layer : lt_id);
    long long colour = IntOr(values, 62, 256);
    e->setColorIndex(static_cast<Adesk::UInt16>(std::min<long long>(std::llabs(colour), 256)),
                     false);
    e->setLinetypeScale(RealOr(values, 48, 1.0));
    e->setLineWeight(static_cast<AcDb::LineWeight>(IntOr(values, 370, -1)));
    if (IntOr(values, 60, 0) == 1) e->setVisibility(AcDb::kInvisible);
  }

  static bool CommonCode(int c) {
    return c == 8 || c == 6 || c == 62 || c == 48 || c == 370 || c == 60;
  }

  static bool TextCode(int c) {
    return c == 10 || c == 20 || c == 30 || c == 40 || c == 1 || c == 50 || c == 41 || c == 51 ||
           c == 7 || c == 72 || c == 11 || c == 21 || c == 31 || c == 73;
  }

  void SetText(AcDbText* t, const std::vector<const Group*>& v, int vertical_code) {
    t->setPosition(PointOf(v, 10));
    double h = RealOr(v, 40, 2.5);
    if (h > 0) t->setHeight(h);
    t->setTextString(StringOr(v, 1).c_str());
    t->setRotation(RealOr(v, 50, 0) * kDegree);
    double w = RealOr(v, 41, 1);
    if (w > 0) t->setWidthFactor(w);
    t->setOblique(RealOr(v, 51, 0) * kDegree);
    AcDbObjectId style = Lookup(roots_.text_style_table, StringOr(v, 7, L"Standard"));
    t->setTextStyle(style.isNull() ? roots_.textstyle : style);
    t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(IntOr(v, 72, 0)));
    t->setVerticalMode(static_cast<AcDb::TextVertMode>(IntOr(v, vertical_code, 0)));
    if (Find(v, 11) != nullptr) t->setAlignmentPoint(PointOf(v, 11));
  }

  // A modelled entity made from the record, or null to keep it as groups.
  AcDbEntity* MakeEntity(const Record& r, Split* s) {
    const std::wstring& type = r.type;
    if (type == L"LINE") {
      *s = SplitRecord(r,
                       [](int c) { return CommonCode(c) || (c >= 10 && c <= 31 && c % 10 <= 1); });
      return new AcDbLine(PointOf(s->values, 10), PointOf(s->values, 11));
    }
    if (type == L"POINT") {
      *s = SplitRecord(r, [](int c) { return CommonCode(c) || c == 10 || c == 20 || c == 30; });
      return new AcDbPoint(PointOf(s->values, 10));
    }
    if (type == L"CIRCLE" || type == L"ARC") {
      const bool arc = type == L"ARC";
      *s = SplitRecord(r, [arc](int c) {
        return CommonCode(c) || c == 10 || c == 20 || c == 30 || c == 40 ||
               (arc && (c == 50 || c == 51));
      });
      const double radius = RealOr(s->values, 40, 1);
      if (!(radius > 0)) return nullptr;
      if (arc)
        return new AcDbArc(PointOf(s->values, 10), radius, RealOr(s->values, 50, 0) * kDegree,
                           RealOr(s->values, 51, 0) * kDegree);
      return new AcDbCircle(PointOf(s->values, 10), AcGeVector3d::kZAxis, radius);
    }
    if (type == L"LWPOLYLINE") {
      *s = SplitRecord(r, [](int c) {
        return CommonCode(c) || c == 90 || c == 70 || c == 43 || c == 38 || c == 10 || c == 20 ||
               c == 40 || c == 41 || c == 42 || c == 210 || c == 220 || c == 230;
      });
      auto* pl = new AcDbPolyline;
      double constant = -1;
      int n = -1;
      for (const Group* g : s->values) {
        if (g->code == 10) {
          ++n;
          pl->addVertexAt(n, AcGePoint2d(Real(*g), 0), 0, constant, constant);
        } else if (n >= 0 && g->code == 20) {
          AcGePoint2d p;
          pl->getPointAt(n, p);
          pl->setPointAt(n, AcGePoint2d(p.x, Real(*g)));
        } else if (n >= 0 && (g->code == 40 || g->code == 41)) {
          double a, b;
          pl->getWidthsAt(n, a, b);
          if (g->code == 40)
            a = Real(*g);
          else
            b = Real(*g);
          pl->setWidthsAt(n, a, b);
        } else if (n >= 0 && g->code == 42) {
          pl->setBulgeAt(n, Real(*g));
        } else if (g->code == 43) {
          constant = Real(*g);
        }
      }
      if (constant > 0) pl->setConstantWidth(constant);
      pl->setClosed(IntOr(s->values, 70, 0) & 1);
      pl->setElevation(RealOr(s->values, 38, 0));
      pl->setNormal(AcGeVector3d(RealOr(s->values, 210, 0), RealOr(s->values, 220, 0),
                                 RealOr(s->values, 230, 1)));
      return pl;
    }
    if (type == L"TEXT") {
      *s = SplitRecord(r, [](int c) { return CommonCode(c) || TextCode(c); });
      auto* t = new AcDbText;
      SetText(t, s->values, 73);
      return t;
    }
    if (type == L"ATTDEF" || type == L"ATTRIB") {
      const bool def = type == L"ATTDEF";
      *s = SplitRecord(r, [def](int c) {
        return CommonCode(c) || (TextCode(c) && c != 73) || c == 2 || c == 70 || c == 74 ||
               (def && c == 3);
      });
      const std::wstring tag = StringOr(s->values, 2);
      const long long flags = IntOr(s->values, 70, 0);
      if (def) {
        auto* a = new AcDbAttributeDefinition;
        SetText(a, s->values, 74);
        if (a->setTag(tag.c_str()) != Acad::eOk) {
          delete a;
          return nullptr;
        }
        a->setPrompt(StringOr(s->values, 3).c_str());
        a->setInvisible(flags & 1);
        a->setConstant(flags & 2);
        return a;
      }
      auto* a = new AcDbAttribute;
      SetText(a, s->values, 74);
      if (a->setTag(tag.c_str()) != Acad::eOk) {
        delete a;
        return nullptr;
      }
      a->setInvisible(flags & 1);
      return a;
    }
    if (type == L"INSERT") {
      *s = SplitRecord(r, [](int c) {
        return CommonCode(c) || c == 66 || c == 2 || c == 10 || c == 20 || c == 30 || c == 41 ||
               c == 42 || c == 43 || c == 50 || c == 210 || c == 220 || c == 230;
      });
      AcDbObjectId block = Lookup(roots_.block_table, StringOr(s->values, 2));
      if (block.isNull()) return nullptr;
      auto* ref = new AcDbBlockReference(PointOf(s->values, 10), block);
      ref->setScaleFactors(AcGeScale3d(RealOr(s->values, 41, 1), RealOr(s->values, 42, 1),
                                       RealOr(s->values, 43, 1)));
      ref->setRotation(RealOr(s->values, 50, 0) * kDegree);
      ref->setNormal(AcGeVector3d(RealOr(s->values, 210, 0), RealOr(s->values, 220, 0),
                                  RealOr(s->values, 230, 1)));
      return ref;
    }
    if (type == L"ELLIPSE") {
      *s = SplitRecord(r, [](int c) {
        return CommonCode(c) || (c >= 10 && c <= 31 && c % 10 <= 1) || c == 210 || c == 220 ||
               c == 230 || c == 40 || c == 41 || c == 42;
      });
      auto* e = new AcDbEllipse;
      AcGeVector3d normal(RealOr(s->values, 210, 0), RealOr(s->values, 220, 0),
                          RealOr(s->values, 230, 1));
      AcGePoint3d major = PointOf(s->values, 11);
      if (e->set(PointOf(s->values, 10), normal, AcGeVector3d(major.x, major.y, major.z),
                 RealOr(s->values, 40, 1)) != Acad::eOk) {
        delete e;
        return nullptr;
      }
      const double start = e->angleAtParam(RealOr(s->values, 41, 0));
      const double end = e->angleAtParam(RealOr(s->values, 42, 2 * 3.14159265358979323846));
      e->setStartAngle(start);
      e->setEndAngle(end);
      return e;
    }
    if (type == L"HATCH") return MakeHatch(r, s);
    return nullptr;
  }

  // Solid hatches bounded by polyline loops; anything else stays as groups.
  AcDbEntity* MakeHatch(const Record& r, Split* s) {
    *s = SplitRecord(r, [](int) { return true; });
    std::vector<const Group*> common, rest;
    auto hatch = std::make_unique<AcDbHatch>();
    const auto& v = s->values;
    size_t i = 0;
    std::vector<AcDbRawGroup> raw = std::move(s->raw);
    // Before the hatch subclass: the common properties; unmodelled ones are kept.
    bool in_hatch = false;
    std::vector<AcDbRawGroup> kept_raw;
    std::vector<const Group*> kept_values;
    // Rebuild the split by walking the record's groups in order (markers are raw groups).
    (void)v;
    (void)i;
    (void)raw;
    int depth = 0;
    const Group* owner = FirstOwner(r);
    std::vector<const Group*> body;
    for (const Group& g : r.groups) {
      if (g.code == 1001) break;
      if (g.code == 102) depth += (!g.value.empty() && g.value[0] == L'{') ? 1 : -1;
      if (g.code == 5 || &g == owner) continue;
      if (g.code == 100 && g.value == L"AcDbHatch") {
        in_hatch = true;
        kept_raw.push_back(AcDbRawGroup{g.code, g.value});
        continue;
      }
      if (!in_hatch) {
        if (depth == 0 && g.code != 102 && CommonCode(g.code)) {
          kept_values.push_back(&g);
        } else {
          kept_raw.push_back(AcDbRawGroup{g.code, g.value});
        }
      } else {
        body.push_back(&g);
      }
    }
    size_t k = 0;
    auto at = [&](int code) { return k < body.size() && body[k]->code == code; };
    AcGePoint3d elevation;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    std::wstring pattern = L"SOLID";
    bool solid = true, associative = false;
    long long loops = 0;
    while (k < body.size() && body[k]->code != 91) {
      const Group& g = *body[k++];
      switch (g.code) {
        case 10:
          elevation.x = Real(g);
          break;
        case 20:
          elevation.y = Real(g);
          break;
        case 30:
          elevation.z = Real(g);
          break;
        case 210:
          normal.x = Real(g);
          break;
        case 220:
          normal.y = Real(g);
          break;
        case 230:
          normal.z = Real(g);
          break;
        case 2:
          pattern = g.value;
          break;
        case 70:
          solid = Int(g) == 1;
          break;
        case 71:
          associative = Int(g) != 0;
          break;
        default:
          kept_raw.push_back(AcDbRawGroup{g.code, g.value});
      }
    }
    if (!solid || associative || !at(91)) return nullptr;
    loops = Int(*body[k++]);
    for (long long l = 0; l < loops; ++l) {
      if (!at(92)) return nullptr;
      const long long type = Int(*body[k++]);
      if (!(type & AcDbHatch::kPolyline)) return nullptr;
      bool bulges = false;
      if (at(72)) bulges = Int(*body[k++]) != 0;
      if (at(73)) ++k;
      if (!at(93)) return nullptr;
      const long long n = Int(*body[k++]);
      AcGePoint2dArray points;
      AcGeDoubleArray bulge_values;
      for (long long p = 0; p < n; ++p) {
        if (!at(10)) return nullptr;
        double x = Real(*body[k++]);
        if (!at(20)) return nullptr;
        double y = Real(*body[k++]);
        points.append(AcGePoint2d(x, y));
        double b = 0;
        if (at(42)) b = Real(*body[k++]);
        if (bulges) bulge_values.append(b);
      }
      if (at(97)) {
        if (Int(*body[k]) != 0) return nullptr;
        ++k;
      }
      if (hatch->appendLoop(static_cast<Adesk::Int32>(type), points, bulge_values) != Acad::eOk)
        return nullptr;
    }
    int style = 0;
    while (k < body.size()) {
      const Group& g = *body[k++];
      if (g.code == 75) {
        style = static_cast<int>(Int(g));
      } else if (g.code == 76 || g.code == 52 || g.code == 41 || g.code == 77) {
        // pattern type, angle, scale, double: fixed for solid fills
      } else if (g.code == 78) {
        if (Int(g) != 0) return nullptr;
      } else if (g.code == 98) {
        // Seed points: of no use to a solid fill bounded by its loops.
        long long seeds = Int(g);
        for (long long p = 0; p < seeds && k + 1 < body.size(); ++p) k += 2;
      } else {
        kept_raw.push_back(AcDbRawGroup{g.code, g.value});
      }
    }
    hatch->setPattern(AcDbHatch::kPreDefined, pattern.c_str());
    hatch->setHatchStyle(static_cast<AcDbHatch::HatchStyle>(style));
    hatch->setElevation(elevation.z);
    hatch->setNormal(normal);
    s->values = std::move(kept_values);
    s->raw = std::move(kept_raw);
    return hatch.release();
  }

  void ApplyXData(const Pending& p) {
    if (p.xdata.empty()) return;
    resbuf* chain = BuildXData(p.xdata);
    AcDbObject* obj = nullptr;
    if (acdbOpenObject(obj, p.id, AcDb::kForWrite) != Acad::eOk) {
      acutRelRb(chain);
      return;
    }
    Acad::ErrorStatus es = chain ? obj->setXData(chain) : Acad::eInvalidInput;
    if (es != Acad::eOk) {
      // Kept as groups when the database refuses it (size, unknown application).
      std::vector<AcDbRawGroup> raw = obj->rawGroups();
      for (const Group* g : p.xdata) raw.push_back(AcDbRawGroup{g->code, g->value});
      obj->setRawGroups(std::move(raw));
      result_->warnings.push_back(
          LineError(p.line, L"XData kept as read: the drawing refuses it as XData"));
    }
    acutRelRb(chain);
    obj->close();
  }

  // Appends the entities of a run of records to the block; ATTRIB and SEQEND after an INSERT
  // belong to it.
  void AddEntities(AcDbObjectId block_id, const std::vector<Record>& records, size_t from,
                   size_t to) {
    AcDbBlockTableRecord* btr = nullptr;
    if (acdbOpenObject(btr, block_id, AcDb::kForWrite) != Acad::eOk) return;
    AcDbBlockReference* open_ref = nullptr;
    auto end_ref = [&]() {
      if (open_ref != nullptr) open_ref->close();
      open_ref = nullptr;
    };
    for (size_t i = from; i < to; ++i) {
      const Record& r = records[i];
      if (r.type == L"SEQEND" || (r.type == L"ATTRIB" && open_ref != nullptr)) {
        if (open_ref == nullptr) {
          result_->warnings.push_back(LineError(r.line, L"SEQEND without an INSERT left out"));
          continue;
        }
        if (r.type == L"SEQEND") {
          auto* seqend = new DxfUnknownObject(L"SEQEND");
          seqend->setRawGroups(AllGroups(r));
          AddRoot(seqend, &r);
          seqend->setOwnerId(open_ref->objectId());
          seqend->close();
          end_ref();
          continue;
        }
        Split s;
        AcDbEntity* made = MakeEntity(r, &s);
        auto* attr = AcDbAttribute::cast(made);
        if (attr == nullptr) {
          delete made;
          throw ReadError{LineError(r.line, L"the attribute cannot be read")};
        }
        SetCommon(attr, s.values, r.line);
        attr->setRawGroups(std::move(s.raw));
        if (!r.handle.isNull()) db_->setNextHandle(r.handle);
        AcDbObjectId id;
        if (open_ref->appendAttribute(id, attr) != Acad::eOk) {
          delete attr;
          throw ReadError{LineError(r.line, L"the attribute cannot be added")};
        }
        attr->close();
        pending_.push_back({id, s.xdata, r.line});
        continue;
      }
      end_ref();
      Split s;
      AcDbEntity* e = MakeEntity(r, &s);
      if (e == nullptr) {
        auto* kept = new DxfUnknownEntity(r.type);
        s = SplitRecord(r, [](int c) { return c == 8; });
        kept->setRawGroups(AllGroups(r));
        e = kept;
        e->setLayer(LayerNamed(StringOr(s.values, 8, L"0"), r.line));
        e->setLinetype(roots_.by_layer);
        s.xdata.clear();  // part of the kept groups
      } else {
        SetCommon(e, s.values, r.line);
        e->setRawGroups(std::move(s.raw));
      }
      if (!r.handle.isNull()) db_->setNextHandle(r.handle);
      AcDbObjectId id;
      if (btr->appendAcDbEntity(id, e) != Acad::eOk) {
        delete e;
        btr->close();
        throw ReadError{LineError(r.line, L"the entity cannot be added")};
      }
      pending_.push_back({id, s.xdata, r.line});
      auto* ref = AcDbBlockReference::cast(e);
      if (ref != nullptr && IntOr(s.values, 66, 0) == 1) {
        open_ref = ref;
      } else {
        e->close();
      }
    }
    end_ref();
    btr->close();
  }

  // ---- Blocks ----

  void ReadBlocks() {
    const auto& b = file_.blocks;
    size_t i = 0;
    while (i < b.size()) {
      const Record& head = b[i];
      if (head.type != L"BLOCK")
        throw ReadError{LineError(head.line, L"BLOCK was expected, found \"" + head.type + L"\"")};
      size_t j = i + 1;
      while (j < b.size() && b[j].type != L"ENDBLK") ++j;
      if (j >= b.size()) throw ReadError{LineError(head.line, L"the block has no ENDBLK")};
      const std::wstring name = StringOf(head, 2);
      AcDbObjectId btr_id = Lookup(roots_.block_table, name);
      if (btr_id.isNull()) {
        // A block without its record (older writers): the record is made.
        AcDbBlockTable* table = nullptr;
        if (acdbOpenObject(table, roots_.block_table, AcDb::kForWrite) == Acad::eOk) {
          auto* btr = new AcDbBlockTableRecord;
          if (btr->setName(name.c_str()) == Acad::eOk && table->add(btr_id, btr) == Acad::eOk) {
            btr->close();
          } else {
            delete btr;
          }
          table->close();
        }
        if (btr_id.isNull())
          throw ReadError{LineError(head.line, L"the block \"" + name + L"\" cannot be made")};
      }
      AcDbBlockTableRecord* btr = nullptr;
      if (acdbOpenObject(btr, btr_id, AcDb::kForWrite) == Acad::eOk) {
        Split s = SplitRecord(head, [](int c) { return c == 10 || c == 20 || c == 30; });
        btr->setOrigin(PointOf(s.values, 10));
        btr->close();
      }
      for (size_t k : {i, j}) {
        auto* kept = new DxfUnknownObject(b[k].type);
        kept->setRawGroups(AllGroups(b[k]));
        AddRoot(kept, &b[k]);
        kept->setOwnerId(btr_id);
        kept->close();
      }
      AddEntities(btr_id, b, i + 1, j);
      i = j + 1;
    }
  }

  void ReadEntities() {
    const auto& e = file_.entities;
    size_t i = 0;
    while (i < e.size()) {
      // Runs of entities with the same owner go to that block (paper space by 67 or owner).
      AcDbObjectId owner = OwnerBlock(e[i]);
      size_t j = i + 1;
      while (j < e.size() &&
             (e[j].type == L"ATTRIB" || e[j].type == L"SEQEND" || OwnerBlock(e[j]) == owner))
        ++j;
      AddEntities(owner, e, i, j);
      i = j;
    }
    for (const Pending& p : pending_) ApplyXData(p);
    pending_.clear();
  }

  AcDbObjectId OwnerBlock(const Record& r) {
    if (!r.owner.isNull()) {
      AcDbObjectId id;
      if (db_->getAcDbObjectId(id, false, r.owner) == Acad::eOk && id.objectClass() != nullptr &&
          id.objectClass()->isDerivedFrom(AcDbBlockTableRecord::desc()))
        return id;
    }
    for (const Group& g : r.groups)
      if (g.code == 67 && g.value == L"1") return roots_.paper_space;
    return roots_.model_space;
  }

  // ---- Objects ----

  void ReadObjects() {
    struct Deferred {
      const Record* record;
      AcDbObjectId id;
    };
    std::vector<Deferred> dictionaries, groups;
    for (const Record& r : file_.objects) {
      AcDbObject* obj = nullptr;
      Split s;
      if (r.type == L"DICTIONARY") {
        s = SplitRecord(r, [](int c) { return c == 3 || c == 350 || c == 360; });
        obj = new AcDbDictionary;
      } else if (r.type == L"GROUP") {
        s = SplitRecord(r, [](int c) { return c == 300 || c == 70 || c == 71 || c == 340; });
        auto* group = new AcDbGroup(StringOr(s.values, 300).c_str(), IntOr(s.values, 71, 1) != 0);
        obj = group;
      } else {
        auto* kept = new DxfUnknownObject(r.type);
        kept->setRawGroups(AllGroups(r));
        AcDbObjectId id = AddRoot(kept, &r);
        (void)id;
        SetOwner(kept, r.owner);
        kept->close();
        continue;
      }
      obj->setRawGroups(std::move(s.raw));
      AcDbObjectId id = AddRoot(obj, &r);
      SetOwner(obj, r.owner);
      obj->close();
      if (!s.xdata.empty()) xdata_later_.push_back({id, s.xdata, r.line});
      if (r.type == L"DICTIONARY") {
        dictionaries.push_back({&r, id});
        if (roots_.named_objects.isNull()) roots_.named_objects = id;
      } else {
        groups.push_back({&r, id});
      }
    }
    if (roots_.named_objects.isNull()) {
      auto* nod = new AcDbDictionary;
      roots_.named_objects = AddRoot(nod, nullptr);
      nod->close();
    }
    for (const Deferred& d : dictionaries) {
      AcDbDictionary* dict = nullptr;
      if (acdbOpenObject(dict, d.id, AcDb::kForWrite) != Acad::eOk) continue;
      std::wstring key;
      for (const Group& g : d.record->groups) {
        if (g.code == 3) key = g.value;
        if ((g.code == 350 || g.code == 360) && !key.empty()) {
          AcDbObjectId target;
          AcDbObject* entry = nullptr;
          if (db_->getAcDbObjectId(target, false, Handle(g)) == Acad::eOk &&
              acdbOpenObject(entry, target, AcDb::kForRead) == Acad::eOk) {
            AcDbObjectId ignored;
            dict->setAt(key.c_str(), entry, ignored);
            entry->close();
          } else {
            result_->warnings.push_back(LineError(g.line, L"dictionary entry \"" + key +
                                                              L"\" names a missing object " +
                                                              g.value + L"; left out"));
          }
          key.clear();
        }
      }
      if (d.id == roots_.named_objects) dict->getAt(L"ACAD_GROUP", roots_.group_dictionary);
      dict->close();
    }
    if (roots_.group_dictionary.isNull()) {
      AcDbDictionary* nod = nullptr;
      if (acdbOpenObject(nod, roots_.named_objects, AcDb::kForWrite) == Acad::eOk) {
        auto* groups_dict = new AcDbDictionary;
        if (nod->setAt(L"ACAD_GROUP", groups_dict, roots_.group_dictionary) == Acad::eOk)
          groups_dict->close();
        else
          delete groups_dict;
        nod->close();
      }
    }
    db_->setRoots(roots_);
    for (const Deferred& d : groups) {
      AcDbGroup* group = nullptr;
      if (acdbOpenObject(group, d.id, AcDb::kForWrite) != Acad::eOk) continue;
      for (const Group& g : d.record->groups) {
        if (g.code != 340) continue;
        AcDbObjectId member;
        AcDbEntity* ent = nullptr;
        if (db_->getAcDbObjectId(member, false, Handle(g)) == Acad::eOk &&
            acdbOpenObject(ent, member, AcDb::kForRead) == Acad::eOk) {
          ent->close();
          group->append(member);
        } else {
          result_->warnings.push_back(LineError(g.line, std::wstring(L"group \"") + group->name() +
                                                            L"\" names a missing entity " +
                                                            g.value + L"; left out"));
        }
      }
      group->close();
    }
    for (const Pending& p : xdata_later_) ApplyXData(p);
  }

  DxfFile file_;
  DxfReadResult* result_;
  std::unique_ptr<AcDbDatabase> db_;
  AcDbDatabase::Roots roots_;
  AcDbHandle seed_;
  std::vector<AcDbObjectId> unknown_tables_;
  std::map<std::wstring, AcDbObjectId> layers_;
  std::vector<Pending> pending_, xdata_later_;
};

}  // namespace

DxfReadResult ReadDxf(std::string_view bytes) {
  DxfReadResult result;
  try {
    // A UTF-8 byte order mark is allowed before the first group.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string version, codepage;
    ScanHeader(bytes, &version, &codepage);
    if (!version.empty() && (version < "AC1015" || version > "AC1032"))
      throw ReadError{L"line 1: drawing version " + Narrow(version) +
                      L" is not supported (AC1015 to AC1032 are)"};
    const bool utf8 = version >= "AC1021";
    const bool cp932 = !utf8 && codepage == "ANSI_932";
    Builder builder(Parser(Tokenize(bytes, utf8, cp932, !utf8)).Parse(), &result);
    builder.Build();
    if (result.version.empty()) result.version = Narrow(version);
  } catch (const ReadError& e) {
    result.database.reset();
    result.error = e.message;
  } catch (const std::exception& e) {
    result.database.reset();
    result.error = L"the drawing cannot be read: " + platform::Utf8ToWide(e.what());
  }
  return result;
}

DxfReadResult ReadDxfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    DxfReadResult result;
    result.error = platform::Utf8ToWide(path) + L": cannot be opened";
    return result;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  const std::string bytes = buffer.str();
  DxfReadResult result = ReadDxf(bytes);
  if (!result.ok()) result.error = platform::Utf8ToWide(path) + L": " + result.error;
  return result;
}

}  // namespace host
