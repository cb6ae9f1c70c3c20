// Reads ASCII DXF drawings (AutoCAD 2000 to 2018, AC1015 to AC1032) into a drawing database.
//
// What is modelled becomes database objects (layers, linetypes, text styles, registered
// applications, blocks, LINE POINT CIRCLE ARC LWPOLYLINE TEXT ATTDEF ATTRIB INSERT ELLIPSE and
// solid HATCH entities, dictionaries and groups, XData of every application); everything else
// (other entities, objects, tables, header variables, and the groups of modelled objects that
// the database has no place for) is kept as DXF groups so that the writer gives it back. Every
// object keeps the handle it had in the file; $HANDSEED ends up above all of them.
//
// Text before AC1021 is in the code page that $DWGCODEPAGE names (ANSI_932 is code page 932,
// other code pages are read as Latin-1) with \U+XXXX escapes; from AC1021 on it is UTF-8.
//
// A file that cannot be used gives no database and an error naming the line ("line 12: ...");
// a fault that can be mended safely (a group naming a missing entity, an entity on a layer the
// file lacks) is mended and reported as a warning. Reading never throws.
#pragma once

#include <dbmain.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct DxfReadResult {
  std::unique_ptr<AcDbDatabase> database;  // null on error
  std::wstring error;                      // "line N: what is wrong"
  std::vector<std::wstring> warnings;      // repairs made, "line N: ..."
  std::wstring version;                    // $ACADVER as read
  bool ok() const { return database != nullptr; }
};

// Told, while a large file is read, of parts of its bytes [from, to) that reading has done with,
// in the order of the file, so that the caller may drop them from memory; they must stay
// readable all the same (as the pages of a file mapped into memory do), since a file that fails
// is read once more from the start.
using DxfBytesDone = std::function<void(const char* from, const char* to)>;

// Reads the bytes of a DXF file.
DxfReadResult ReadDxf(std::string_view bytes, const DxfBytesDone& done = {});
// Drawings larger than this are not read. Reading holds the file and the objects made from it,
// a few times the file's size in memory. The route tools' drawings are a few megabytes and a
// whole building's plan rarely passes a hundred; a file beyond 256 MiB is refused before
// anything of it is read, so that it ends in a message and not in an allocation the machine
// cannot satisfy.
inline constexpr uint64_t kMaxDxfFileBytes = 256ull << 20;

// Reads a file from disk; an unreadable file, or one larger than kMaxDxfFileBytes, is an error
// naming the path.
DxfReadResult ReadDxfFile(const std::string& path);

}  // namespace host
