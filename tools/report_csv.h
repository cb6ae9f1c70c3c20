// CSV files for spreadsheets: the tables of harnex-host's reports as bytes.
//
// A Japanese spreadsheet opens a CSV file without asking when it is UTF-8 with a byte-order mark,
// or code page 932; either way lines end with CRLF. Fields follow the usual rules: a field that
// holds a comma, a double quote, a CR or an LF is put in double quotes, a quote inside it doubled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tools {

enum class CsvEncoding {
  kUtf8Bom,  // UTF-8 with a byte-order mark (the default)
  kCp932,    // code page 932, for programs that read nothing else
};

// A table: the header line and the rows, each a list of fields.
struct CsvTable {
  std::vector<std::wstring> header;
  std::vector<std::vector<std::wstring>> rows;
};

// One field as it stands in a line: as it is, or quoted when it must be.
std::wstring CsvField(std::wstring_view text);

// The table's text: the header, then every row, each line ended with CRLF.
std::wstring CsvText(const CsvTable& table);

// The bytes of a CSV text: with the UTF-8 byte-order mark first, or in code page 932 without one.
// A character that code page 932 cannot hold is written as Windows writes it (its look-alike,
// else "?") and sets *lossy when given; UTF-8 loses nothing.
std::string EncodeCsv(std::wstring_view text, CsvEncoding encoding, bool* lossy = nullptr);

}  // namespace tools
