// harnex-host --report: the reports a designer takes to a spreadsheet, run without a session.
//
//   wires     one line per wire and drawing: the elements that carry it and their route length
//   untagged  the elements that the settings check would mark (no trunk number)
//   patterns  one line per non-empty row of every pattern of the project files given
//
// The reports read their files as the add-in's commands read a drawing or a project, through
// the same code (report_drawing.h, report_patterns.h), and write one CSV table (report_csv.h).
// No input file is ever written to.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/report_csv.h"

namespace tools {

enum class ReportKind { kWires, kUntagged, kPatterns };

// "wires", "untagged" or "patterns". False for any other word.
bool ParseReportKind(const std::string& word, ReportKind* kind);

struct ReportOptions {
  ReportKind kind = ReportKind::kWires;
  std::vector<std::string> files;  // drawings (.dxf) or projects (.tpr, or project names)
  std::string config_path;         // the host configuration: master lists, project folder
  std::string out;                 // empty: standard output
  CsvEncoding encoding = CsvEncoding::kUtf8Bom;
  bool with_allowance = false;  // wires: add the column 手配長(m)
  double allowance = 0;         // metres of slack at each end of a wire
};

struct ReportIo {
  // Receives the CSV bytes when there is no --out.
  std::function<void(std::string_view bytes)> output;
  // Receives each diagnostic, one line without its end ("plan.dxf: line 12: ...").
  std::function<void(const std::wstring& line)> diagnostics;
  // Draws a progress bar on standard error, when it is a terminal, for more than one file.
  bool progress_bar = false;
};

// The header of a report's table.
std::vector<std::wstring> ReportHeader(ReportKind kind, bool with_allowance);

// Reads every file of `options` into one table, in the order given. A file that cannot be read
// is reported to io.diagnostics with its name and the reason, and *all_read becomes false; the
// other files are still read. Warnings (a repaired drawing, an unknown $INSUNITS) are reported
// too but do not count as failures.
CsvTable BuildReport(const ReportOptions& options, const ReportIo& io, bool* all_read);

// Builds the report and writes it: to options.out (written whole to a temporary file beside it,
// then moved into place, so that a failed write leaves an earlier file as it was) or to
// io.output. Refuses, before reading anything, an --out that names one of the input files.
// Result: 0 when every file was read and the table written, 1 otherwise (a table of the files
// that could be read is still written).
int RunReport(const ReportOptions& options, const ReportIo& io);

}  // namespace tools
