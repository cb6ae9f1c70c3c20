// The DXF reader: bytes to groups, groups to records, records to database objects.
#include "host/dxf_reader.h"

#include <text_encoding.h>

#include <algorithm>
#include <fstream>

#include "host/dxf_lexer.h"
#include "host/dxf_read_builder.h"
#include "host/dxf_sections.h"

namespace host {
namespace dxf_in {

void Builder::Build() {
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

}  // namespace dxf_in

using namespace dxf_in;

DxfReadResult ReadDxf(std::string_view bytes) {
  DxfReadResult result;
  try {
    if (IsBinaryDxf(bytes)) {
      Builder builder(ParseSections(TokenizeBinary(bytes, &result.warnings)), &result);
      builder.Build();
      return result;
    }
    // A UTF-8 byte order mark is allowed before the first group.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string version, codepage;
    ScanHeader(bytes, &version, &codepage);
    if (!version.empty() && (version < "AC1015" || version > "AC1032"))
      throw ReadError{L"line 1: drawing version " + Narrow(version) +
                      L" is not supported (AC1015 to AC1032 are)"};
    const bool utf8 = version >= "AC1021";
    const bool cp932 = !utf8 && codepage == "ANSI_932";
    Builder builder(ParseSections(Tokenize(bytes, utf8, cp932, !utf8, &result.warnings)), &result);
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
  // Read whole into one buffer of the file's size: the groups point into it.
  in.seekg(0, std::ios::end);
  const std::streamoff size = std::max<std::streamoff>(in.tellg(), 0);
  if (static_cast<uint64_t>(size) > kMaxDxfFileBytes) {
    DxfReadResult result;
    result.error = platform::Utf8ToWide(path) + L": the drawing is larger than " +
                   std::to_wstring(kMaxDxfFileBytes >> 20) + L" MiB and is not read";
    return result;
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  in.seekg(0, std::ios::beg);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  DxfReadResult result = ReadDxf(bytes);
  if (!result.ok()) result.error = platform::Utf8ToWide(path) + L": " + result.error;
  return result;
}

}  // namespace host
