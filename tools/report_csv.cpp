// CSV text and its bytes.
#include "tools/report_csv.h"

#include "platform/win/text_encoding.h"

namespace tools {

std::wstring CsvField(std::wstring_view text) {
  if (text.find_first_of(L",\"\r\n") == std::wstring_view::npos) return std::wstring(text);
  std::wstring quoted = L"\"";
  for (wchar_t c : text) {
    if (c == L'"') quoted += L'"';
    quoted += c;
  }
  quoted += L'"';
  return quoted;
}

namespace {

void AppendLine(const std::vector<std::wstring>& fields, std::wstring& out) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += L',';
    out += CsvField(fields[i]);
  }
  out += L"\r\n";
}

}  // namespace

std::wstring CsvText(const CsvTable& table) {
  std::wstring text;
  AppendLine(table.header, text);
  for (const auto& row : table.rows) AppendLine(row, text);
  return text;
}

std::string EncodeCsv(std::wstring_view text, CsvEncoding encoding, bool* lossy) {
  if (lossy != nullptr) *lossy = false;
  if (encoding == CsvEncoding::kCp932) return platform::WideToCp932BestFit(text, lossy);
  return "\xEF\xBB\xBF" + platform::WideToUtf8(text);
}

}  // namespace tools
