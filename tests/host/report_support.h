// Helpers of the report tests: a scratch folder, drawings made by the drawing builder and
// written as DXF files, and reports built from them.
#pragma once

#include <dbid.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/drawing_builder.h"
#include "tools/report.h"

namespace host::testing {

// A new, empty folder below the temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::filesystem::path operator/(const std::string& file) const { return path_ / file; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Builds a drawing with `build` and writes it to `path`; `insunits`, when not empty, becomes the
// header variable $INSUNITS. False (with a test failure) when building or writing fails.
bool WriteBuiltDrawing(const std::filesystem::path& path,
                       const std::function<void(tools::DrawingBuilder&)>& build,
                       const std::wstring& insunits = L"");

// Replaces the reference's scale factors (the builder places with a uniform scale).
void SetScaleFactors(AcDbObjectId reference, double x, double y);

// Puts entity `id` of `db` on layer `layer`, made when missing (frozen when `frozen`).
void PutOnLayer(AcDbDatabase* db, AcDbObjectId id, const std::wstring& layer, bool frozen = false);

// The report's table for these options; *diagnostics gets every line said.
tools::CsvTable Report(const tools::ReportOptions& options, std::vector<std::wstring>* diagnostics,
                bool* all_read);

// A whole file as bytes.
std::string FileBytes(const std::filesystem::path& path);

}  // namespace host::testing
