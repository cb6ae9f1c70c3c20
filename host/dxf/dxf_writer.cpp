// The DXF writer: database objects and kept groups to the sections of an AC1024 file.
#include "host/dxf/dxf_writer.h"
#include "platform/acad/kept_groups.h"

#include <acutads.h>
#include <dbsymtb.h>
#include "platform/win/text_encoding.h"

#include <charconv>
#include <cstdio>
#include <fstream>

#include "host/dxf/dxf_objects.h"
#include "host/dxf/dxf_write_parts.h"
#include "host/dxf/dxf_write_sink.h"

namespace host {
namespace dxf_out {

namespace {
constexpr size_t kPiece = 1 << 20;  // bytes WriteTo gathers before each write
}  // namespace

std::string Writer::Write() {
  WriteAll();
  if (!structure_.Finish()) return {};
  return std::string(out_.view());
}

bool Writer::WriteTo(std::FILE* file) {
  PieceSink sink(file);
  sink_ = &sink;
  out_.reserve(kPiece + 4096);
  WriteAll();
  sink.Put(&out_, true);  // what is left after the last full piece
  sink_ = nullptr;
  const bool written = sink.Finish();
  return structure_.Finish() && written;
}

void Writer::WriteAll() {
  Prepare();
  Header();
  KeptSections(true);
  Tables();
  Blocks();
  Entities();
  Objects();
  KeptSections(false);
  PutUtf8(0, "EOF");
}

void Writer::MaybeFlush() {
  if (sink_ != nullptr && out_.size() >= kPiece) sink_->Put(&out_, false);
}

void Writer::PutKept(int code, const platform::acad::RawText& value) {
  PutUtf8(code, value.utf8());
}

void Writer::PutUtf8(int code, std::string_view value) {
  if (code == 0) structure_.Record(value);
  if (code == 5) structure_.Handle(value);
  AppendCode(&out_, code);
  out_ += value;
  out_ += '\n';
  MaybeFlush();
}

void Writer::Put(int code, std::wstring_view value) {
  AppendCode(&out_, code);
  const size_t from = out_.size();
  AppendText(&out_, value);
  if (code == 0) structure_.Record(Since(from));
  out_ += '\n';
  MaybeFlush();
}

void Writer::PutHex(int code, AcDbHandle h) {
  AppendCode(&out_, code);
  const size_t from = out_.size();
  AppendHex(&out_, h);
  if (code == 5) structure_.Handle(Since(from));
  out_ += '\n';
  MaybeFlush();
}

void Writer::Put(std::span<const platform::acad::RawGroup> groups, size_t from, size_t to) {
  for (size_t i = from; i < to && i < groups.size(); ++i)
    if (groups[i].code >= 0)
      PutKept(groups[i].code, groups[i].value);  // negative: see the declaration
}

void Writer::Put(const Lines& lines) {
  out_ += lines.text();
  MaybeFlush();
}

void Writer::Section(std::wstring_view name) {
  Put(0, L"SECTION");
  AppendCode(&out_, 2);
  const size_t from = out_.size();
  AppendText(&out_, name);
  structure_.SectionName(Since(from));
  out_ += '\n';
  MaybeFlush();
}
void Writer::EndSection() {
  Put(0, L"ENDSEC");
}

// ---- Header and the sections kept as read ----

void Writer::KeptSections(bool classes) {
  const Groups& raw = platform::acad::KeptHeader(db_);
  bool classes_written = false;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i].code != kDxfSectionStart || (raw[i].value == L"CLASSES") != classes) continue;
    Section(raw[i].value.wide());
    for (++i; i < raw.size() && raw[i].code != kDxfSectionEnd; ++i)
      PutKept(raw[i].code, raw[i].value);
    EndSection();
    classes_written = classes;
  }
  // Every file has its classes, if none.
  if (classes && !classes_written) {
    Section(L"CLASSES");
    EndSection();
  }
}

void Writer::Header() {
  Section(L"HEADER");
  Put(9, L"$ACADVER");
  Put(1, L"AC1024");
  // The code page goes second, where AutoCAD writes it, whether it was read or not: a drawing
  // read and written again comes out as it went in.
  const Groups& raw = platform::acad::KeptHeader(db_);
  Groups rest;
  std::wstring codepage = L"ANSI_1252";
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i].code == kDxfSectionStart) {
      while (i < raw.size() && raw[i].code != kDxfSectionEnd) ++i;
      continue;
    }
    if (raw[i].code == 9 && raw[i].value == L"$DWGCODEPAGE" && i + 1 < raw.size() &&
        raw[i + 1].code != 9) {
      codepage = raw[++i].value;
      continue;
    }
    rest.push_back(raw[i]);
  }
  Put(9, L"$DWGCODEPAGE");
  Put(3, codepage);
  Put(9, L"$HANDSEED");
  PutHex(5, db_.handseed());
  Put(9, L"$DIMSCALE");
  Put(40, Real(db_.dimscale()));
  Put(rest);
  EndSection();
}

// ---- Generic object output ----

// 0 TYPE, the groups before the handle, 5 handle, the kept groups before the first marker,
// 330 owner, then each subclass with its kept groups, kept subclasses the object does not
// know, and the XData.
void Writer::WriteModelled(std::string_view type, const AcDbObject* obj, const Lines& before_handle,
                           AcDbHandle owner, std::span<const Subclass> subclasses) {
  PutUtf8(0, type);
  Put(before_handle);
  PutHex(5, obj->objectId().handle());
  const std::span<const platform::acad::RawGroup> raw = platform::acad::KeptGroups(*obj);
  // Kept groups split at their markers: segment k runs from starts[k] (its marker, except for
  // the first) to the next marker. Past 15 markers the rest stays in the last segment, written
  // in order as it is.
  size_t starts[16];
  bool used[16] = {};
  size_t segments = 1;
  starts[0] = 0;
  // XData the drawing refused is kept at the end of the groups, and goes at the end again:
  // written before the subclasses, it would make them part of the XData when read.
  size_t kept_xdata = 0;
  while (kept_xdata < raw.size() && raw[kept_xdata].code != 1001) ++kept_xdata;
  for (size_t i = 0; i < kept_xdata; ++i)
    if (raw[i].code == 100 && segments < 16) starts[segments++] = i;
  auto end_of = [&](size_t k) { return k + 1 < segments ? starts[k + 1] : kept_xdata; };
  auto put_range = [&](size_t from, size_t to) { Put(raw, from, to); };
  put_range(0, end_of(0));
  PutHex(330, owner);
  size_t search_from = 1;
  for (const Subclass& sub : subclasses) {
    PutUtf8(100, sub.marker);
    Put(sub.groups);
    for (size_t k = search_from; k < segments; ++k) {
      if (!used[k] && raw[starts[k]].value.utf8() == sub.marker) {
        put_range(starts[k] + 1, end_of(k));
        used[k] = true;
        search_from = k + 1;
        break;
      }
    }
    Put(sub.tail);
  }
  for (size_t k = 1; k < segments; ++k)
    if (!used[k]) put_range(starts[k], end_of(k));
  WriteXData(obj);
  put_range(kept_xdata, raw.size());
}

void Writer::WriteXData(const AcDbObject* obj) {
  obj->visitXData([this](const AcDbXDataItem& item) {
    const int code = item.code;
    if (code == 1004) {
      static const char* digits = "0123456789ABCDEF";
      AppendCode(&out_, code);
      for (char c : item.text) {
        const auto b = static_cast<unsigned char>(c);
        out_ += digits[b >> 4];
        out_ += digits[b & 15];
      }
      out_ += '\n';
      MaybeFlush();
    } else if (code >= 1000 && code <= 1005) {
      PutUtf8(code, item.text);
    } else if (code >= 1010 && code <= 1013) {
      for (int axis = 0; axis < 3; ++axis) {
        AppendCode(&out_, code + 10 * axis);
        AppendReal(&out_, item.point[axis]);
        out_ += '\n';
      }
      MaybeFlush();
    } else if (code >= 1040 && code <= 1042) {
      AppendCode(&out_, code);
      AppendReal(&out_, item.real);
      out_ += '\n';
      MaybeFlush();
    } else if (code == 1070 || code == 1071) {
      AppendCode(&out_, code);
      AppendInt(&out_, item.integer);
      out_ += '\n';
      MaybeFlush();
    }
  });
}

AcDbHandle Writer::OwnerOf(const AcDbObject* obj) {
  return obj->ownerId().handle();
}

const std::wstring& Writer::NameOf(AcDbObjectId id) {
  // Every entity names its layer, and references and texts their block and style: a few records
  // named hundreds of thousands of times. Nothing is renamed while the file is written.
  // Most entities of a drawing share their layer: the last answer is asked again first.
  if (id == last_named_ && last_name_ != nullptr) return *last_name_;
  auto [it, fresh] = names_.try_emplace(id);
  last_named_ = id;
  last_name_ = &it->second;
  if (fresh) {
    AcDbSymbolTableRecord* rec = nullptr;
    // An erased record still names what refers to it.
    if (acdbOpenObject(rec, id, AcDb::kForRead, true) == Acad::eOk) {
      it->second = rec->name();
      rec->close();
    }
  }
  return it->second;
}

}  // namespace dxf_out

std::string WriteDxf(AcDbDatabase& db, std::wstring* fault) {
  dxf_out::Writer writer(db);
  std::string bytes = writer.Write();
  if (fault != nullptr) *fault = writer.fault();
  return bytes;
}

bool WriteDxfFile(AcDbDatabase& db, const std::string& path, std::wstring* error) {
  const std::string temp = path + ".saving";
  {
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    dxf_out::Writer writer(db);
    bool written = out != nullptr && writer.WriteTo(out);
    if (out != nullptr && std::fclose(out) != 0) written = false;
    if (!written) {
      std::remove(temp.c_str());
      if (error) {
        *error = platform::Utf8ToWide(path) +
                 (writer.fault().empty()
                      ? std::wstring(L": cannot be written")
                      : L": not saved, the file would not open again: " + writer.fault());
      }
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    if (error) *error = platform::Utf8ToWide(path) + L": cannot be written";
    return false;
  }
  return true;
}

}  // namespace host
