// harnex-host --report: reading the files, building the table, writing the CSV file.
#include "tools/report.h"

#include <aced.h>
#include "platform/win/text_encoding.h"
#include <unistd.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <memory>

#include "tools/drawing_builder.h"
#include "host/session/drawing_document.h"
#include "host/dxf/dxf_reader.h"
#include "host/session/progress_bar.h"
#include "tools/report_drawing.h"
#include "tools/report_patterns.h"
#include "project/master_lists.h"

namespace tools {
namespace fs = std::filesystem;

namespace {

// The label of the progress bar while the files are read.
constexpr wchar_t kProgressLabel[] = L"集計中...";

std::wstring Wide(const std::string& utf8) {
  return platform::Utf8ToWide(utf8);
}

std::wstring Fixed2(double value) {
  wchar_t buffer[64];
  std::swprintf(buffer, 64, L"%.2f", value + 0.0);  // + 0.0: no "-0.00"
  return buffer;
}

// A coordinate without trailing zeros: "1250", "12.5", "-0.125".
std::wstring Coordinate(double value) {
  wchar_t buffer[64];
  std::swprintf(buffer, 64, L"%.3f", value);
  std::wstring text = buffer;
  while (text.back() == L'0') text.pop_back();
  if (text.back() == L'.') text.pop_back();
  return text == L"-0" ? L"0" : text;
}

std::wstring HandleText(AcDbObjectId id) {
  wchar_t buffer[32];
  std::swprintf(buffer, 32, L"%llX", static_cast<unsigned long long>(HandleOf(id)));
  return buffer;
}

// Reports what goes wrong with one file, keeping a progress bar out of the way of the message.
class Reporter {
 public:
  Reporter(const ReportIo& io, int files) : io_(io), files_(files) {
    if (io.progress_bar && files > 1) bar_ = host::ProgressBar::ForStandardError();
    if (bar_ != nullptr) acedSetStatusBarProgressMeter(kProgressLabel, 0, files_);
  }
  ~Reporter() {
    if (bar_ != nullptr) acedRestoreStatusBar();
  }
  void Say(const std::wstring& line) {
    if (bar_ != nullptr) acedRestoreStatusBar();  // clears the bar's line
    if (io_.diagnostics) io_.diagnostics(line);
    if (bar_ != nullptr) {
      acedSetStatusBarProgressMeter(kProgressLabel, 0, files_);
      acedSetStatusBarProgressMeterPos(done_);
    }
  }
  void Done() {
    ++done_;
    if (bar_ != nullptr) acedSetStatusBarProgressMeterPos(done_);
  }

 private:
  const ReportIo& io_;
  int files_;
  int done_ = 0;
  std::unique_ptr<host::ProgressBar> bar_;
};

void AddWireRows(const std::wstring& drawing, double metres, const ConstructionItems* items,
                 const ReportOptions& options, CsvTable* table) {
  for (const WireLine& line : ReadWireLines()) {
    const double length = line.length * metres;
    std::vector<std::wstring> row = {
        drawing,       line.system, ItemNameForReport(line.code, items),
        line.panel,    line.size,   std::to_wstring(line.elements),
        Fixed2(length)};
    if (options.with_allowance) row.push_back(Fixed2(length + 2 * options.allowance));
    table->rows.push_back(std::move(row));
  }
}

void AddUntaggedRows(const std::wstring& drawing, CsvTable* table) {
  for (const UntaggedElement& element : ReadUntaggedElements()) {
    table->rows.push_back({drawing, HandleText(element.id), element.block, Coordinate(element.x),
                           Coordinate(element.y), element.layer});
  }
}

// Reads one drawing and adds its rows. False when it cannot be read.
bool AddDrawing(const std::string& file, const ReportOptions& options,
                const ConstructionItems* items, Reporter& reporter, CsvTable* table) {
  host::DxfReadResult read = host::ReadDxfFile(file);
  if (!read.ok()) {
    reporter.Say(read.error);  // it names the file
    return false;
  }
  for (const std::wstring& warning : read.warnings) reporter.Say(Wide(file) + L": " + warning);
  const std::wstring drawing = Wide(fs::path(file).filename().string());
  // The selection and the records are read as in an open drawing: it is the current document
  // while its rows are made, and closed (never saved) afterwards.
  host::DrawingDocument document(std::move(read.database), Wide(file));
  if (options.kind == ReportKind::kWires) {
    bool known = true;
    const double metres = MetresPerUnit(*document.database(), &known);
    if (!known) {
      reporter.Say(Wide(file) +
                   L": $INSUNITS is no unit of length; lengths are read as "
                   L"millimetres");
    }
    AddWireRows(drawing, metres, items, options, table);
  } else {
    AddUntaggedRows(drawing, table);
  }
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// Writes the bytes whole to a temporary file beside `path` and moves it into place.
bool WriteWhole(const std::string& path, const std::string& bytes, std::wstring* error) {
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      *error = Wide(path) + L": cannot be written";
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temporary, path, ec);
  if (ec) {
    fs::remove(temporary, ec);
    *error = Wide(path) + L": cannot be written (" + Wide(ec.message()) + L")";
    return false;
  }
  return true;
}

}  // namespace

bool ParseReportKind(const std::string& word, ReportKind* kind) {
  if (word == "wires") {
    *kind = ReportKind::kWires;
  } else if (word == "untagged") {
    *kind = ReportKind::kUntagged;
  } else if (word == "patterns") {
    *kind = ReportKind::kPatterns;
  } else {
    return false;
  }
  return true;
}

std::vector<std::wstring> ReportHeader(ReportKind kind, bool with_allowance) {
  switch (kind) {
    case ReportKind::kWires: {
      std::vector<std::wstring> header = {L"図面",       L"系統番号", L"工事項目", L"盤/負荷名称",
                                          L"配線サイズ", L"要素数",   L"経路長(m)"};
      if (with_allowance) header.push_back(L"手配長(m)");
      return header;
    }
    case ReportKind::kUntagged:
      return {L"図面", L"ハンドル", L"ブロック名", L"X", L"Y", L"画層"};
    case ReportKind::kPatterns:
      break;
  }
  return {L"プロジェクト",
          L"パターン",
          L"種別",
          L"行",
          L"工事項目",
          L"系統番号",
          L"盤/負荷名称",
          L"配線サイズ",
          L"電線管サイズ 屋内",
          L"電線管サイズ 屋外",
          L"電線管サイズ 地中",
          L"ﾗｯｸ上",
          L"備考"};
}

CsvTable BuildReport(const ReportOptions& options, const ReportIo& io, bool* all_read) {
  *all_read = true;
  CsvTable table;
  table.header = ReportHeader(options.kind, options.with_allowance);
  std::unique_ptr<ConstructionItems> items;
  if (options.kind == ReportKind::kWires) {
    const CString folder = MasterListFolder(Wide(options.config_path).c_str());
    if (!folder.IsEmpty()) {
      items = std::make_unique<ConstructionItems>();
      items->Load(folder);
    }
  }
  Reporter reporter(io, static_cast<int>(options.files.size()));
  for (const std::string& file : options.files) {
    bool read = true;
    if (options.kind == ReportKind::kPatterns) {
      std::wstring error;
      read = ReadPatternRows(file, options.config_path, &table.rows, &error);
      if (!read) reporter.Say(Wide(file) + L": " + error);
    } else {
      read = AddDrawing(file, options, items.get(), reporter, &table);
    }
    if (!read) *all_read = false;
    reporter.Done();
  }
  return table;
}

int RunReport(const ReportOptions& options, const ReportIo& io) {
  auto say = [&io](const std::wstring& line) {
    if (io.diagnostics) io.diagnostics(line);
  };
  if (!options.out.empty()) {
    for (const std::string& file : options.files) {
      if (SameFile(file, options.out)) {
        say(L"will not write the report over an input file: " + Wide(options.out));
        return 1;
      }
    }
  }
  bool all_read = true;
  const CsvTable table = BuildReport(options, io, &all_read);
  bool lossy = false;
  const std::string bytes = EncodeCsv(CsvText(table), options.encoding, &lossy);
  if (lossy) {
    say(L"some characters have no place in code page 932 and were written as \"?\"");
  }
  if (options.out.empty()) {
    if (io.output) io.output(bytes);
  } else {
    std::wstring error;
    if (!WriteWhole(options.out, bytes, &error)) {
      say(error);
      return 1;
    }
  }
  return all_read ? 0 : 1;
}

}  // namespace tools
