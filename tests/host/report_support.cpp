// Helpers of the report tests.
#include "report_support.h"
#include "platform/acad/kept_groups.h"

#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/win/text_encoding.h"

#include <fstream>

#include "host/dxf/dxf_writer.h"

namespace host::testing {
namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& name)
    : path_(fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

bool WriteBuiltDrawing(const fs::path& path, const std::function<void(tools::DrawingBuilder&)>& build,
                       const std::wstring& insunits) {
  AcDbDatabase db(true, true);
  tools::DrawingBuilder builder(&db);
  build(builder);
  EXPECT_FALSE(builder.failed()) << path << ": " << platform::WideToUtf8(builder.error());
  if (!insunits.empty()) {
    std::vector<platform::acad::RawGroup> header = platform::acad::KeptHeader(db);
    header.push_back({9, L"$INSUNITS"});
    header.push_back({70, insunits});
    platform::acad::SetKeptHeader(db, std::move(header));
  }
  std::wstring error;
  const bool written = WriteDxfFile(db, path.string(), &error);
  EXPECT_TRUE(written) << platform::WideToUtf8(error);
  return written && !builder.failed();
}

void SetScaleFactors(AcDbObjectId reference, double x, double y) {
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, reference, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(ref->setScaleFactors(AcGeScale3d(x, y, 1)), Acad::eOk);
  ref->close();
}

void PutOnLayer(AcDbDatabase* db, AcDbObjectId id, const std::wstring& layer, bool frozen) {
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  if (!layers->has(layer.c_str())) {
    auto* record = new AcDbLayerTableRecord;
    record->setName(layer.c_str());
    record->setIsFrozen(frozen);
    EXPECT_EQ(layers->add(record), Acad::eOk);
    record->close();
  }
  layers->close();
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(entity->setLayer(layer.c_str()), Acad::eOk);
  entity->close();
}

tools::CsvTable Report(const tools::ReportOptions& options, std::vector<std::wstring>* diagnostics,
                bool* all_read) {
  tools::ReportIo io;
  io.diagnostics = [diagnostics](const std::wstring& line) { diagnostics->push_back(line); };
  return tools::BuildReport(options, io, all_read);
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace host::testing
