// The seed inputs of the fuzz targets.
#include "fuzz/seeds.h"

#include <dbmain.h>
#include "platform/win/text_encoding.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/drawing_builder.h"
#include "host/dxf/dxf_writer.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

// Files below `folder` (relative to the source tree) whose names end with `suffix`, sorted.
void AddFiles(const std::string& source_dir, const char* folder, const char* suffix,
              std::vector<Seed>* seeds) {
  std::vector<fs::path> paths;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(fs::path(source_dir) / folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (it->is_regular_file() && std::string_view(name).ends_with(suffix))
      paths.push_back(it->path());
  }
  std::sort(paths.begin(), paths.end());
  for (const fs::path& path : paths) {
    std::ifstream in(path, std::ios::binary);
    std::string relative = fs::relative(path, source_dir).string();
    std::replace(relative.begin(), relative.end(), '/', '_');
    seeds->push_back({relative, std::string(std::istreambuf_iterator<char>(in), {})});
  }
}

// The same text files in the other encodings a user's file may have.
void AddReencoded(std::vector<Seed>* seeds) {
  const size_t count = seeds->size();
  for (size_t i = 0; i < count; ++i) {
    const std::wstring text = platform::DecodeText((*seeds)[i].bytes);
    seeds->push_back({"utf16_" + (*seeds)[i].name,
                      platform::EncodeText(text, platform::TextEncoding::kUtf16Le)});
    seeds->push_back({"utf8bom_" + (*seeds)[i].name,
                      platform::EncodeText(text, platform::TextEncoding::kUtf8Bom)});
  }
}

// A small drawing with one of each thing the route tools draw: segments end to end, a hatched
// tee, a part block with attributes, a block inside a block, a plain line, a route group.
std::string BuilderDrawing() {
  AcDbDatabase db(true, false);
  tools::DrawingBuilder b(&db);
  b.DefineSegment(L"RT1000", 1000);
  b.DefineTee(L"RBT_T250", 250, true);
  b.DefinePart(L"KK_L", 200);
  b.DefineNesting(L"NEST", L"KK_L", {100, 50, 90, 2});
  std::vector<AcDbObjectId> route = b.AddStraightRun(L"RT1000", 0, 0, 2000, 0, 2);
  route.push_back(b.AddRouteElement(L"RBT_T250", {2250, 0}));
  route.push_back(b.AddPart(L"KK_L", {2500, 0}, L"L-1", L"1"));
  b.AddPart(L"NEST", {0, 1000, 45, 0.5}, L"盤-1");
  b.AddLine(-100, -100, 3000, -100);
  b.AddGroup(L"ROUTE01", route);
  b.SetGlobalScale(100);
  return b.failed() ? std::string() : host::WriteDxf(db);
}

// The least a drawing can be: an entity section with one line, nothing else.
constexpr char kBareDrawing[] =
    "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
    " 11\n10.0\n 21\n5.0\n 31\n0.0\n  0\nENDSEC\n  0\nEOF\n";

// Sequences as older drawings hold them, with a comment first: a polyline with its vertices and
// SEQEND, and a reference to a block the file lacks, with its attribute and SEQEND.
constexpr char kSequenceDrawing[] =
    "999\nbanner\n  0\nSECTION\n  2\nENTITIES\n  0\nPOLYLINE\n  5\n20\n  8\n0\n 66\n1\n"
    " 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n1\n  0\nVERTEX\n  5\n21\n330\n20\n  8\n0\n 10\n1.0\n"
    " 20\n1.0\n 30\n0.0\n  0\nVERTEX\n  5\n22\n330\n20\n  8\n0\n 10\n2.0\n 20\n0.0\n 30\n0.0\n"
    "  0\nSEQEND\n  5\n23\n330\n20\n  8\n0\n  0\nINSERT\n  5\n24\n  8\n0\n 66\n1\n  2\nNONE\n"
    " 10\n0.0\n 20\n0.0\n 30\n0.0\n  0\nATTRIB\n  5\n25\n330\n24\n  8\n0\n 10\n0.0\n 20\n0.0\n"
    " 30\n0.0\n 40\n1.0\n  1\nv\n  2\nTAG\n 70\n0\n  0\nSEQEND\n  5\n26\n330\n24\n  8\n0\n"
    "999\nend\n  0\nENDSEC\n  0\nEOF\n";

}  // namespace

std::vector<Seed> SeedsOf(std::string_view target, const std::string& source_dir) {
  std::vector<Seed> seeds;
  if (target == "text_ini") {
    AddFiles(source_dir, "examples/system", ".ini", &seeds);
    AddFiles(source_dir, "examples/system", ".tpr", &seeds);
    AddFiles(source_dir, "tests/project", ".tpr", &seeds);
    AddReencoded(&seeds);
  } else if (target == "dat") {
    AddFiles(source_dir, "examples/system", ".dat", &seeds);
    AddReencoded(&seeds);
  } else if (target == "tpr") {
    AddFiles(source_dir, "examples/system", ".tpr", &seeds);
    AddFiles(source_dir, "tests/project", ".tpr", &seeds);
    AddReencoded(&seeds);
  } else if (target == "dxf") {
    AddFiles(source_dir, "examples/drawings", ".dxf", &seeds);
    seeds.push_back({"builder.dxf", BuilderDrawing()});
    seeds.push_back({"bare.dxf", kBareDrawing});
    seeds.push_back({"sequences.dxf", kSequenceDrawing});
  } else if (target == "rc") {
    AddFiles(source_dir, "resources", ".rc", &seeds);
  } else if (target == "script") {
    AddFiles(source_dir, "examples/demo", ".hxs", &seeds);
  }
  return seeds;
}

}  // namespace fuzz
