// VuRida.dll: reading the maker's record files (".dat" master lists) into string arrays.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include <VuRida.h>

namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == 0x3000;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Wide text from a file's bytes: UTF-16 or UTF-8 after their byte-order marks, UTF-8 when the
// bytes are valid UTF-8, code page 932 otherwise (the maker's older files).
std::wstring DecodeBytes(const std::string& bytes) {
  std::string_view rest = bytes;
  if (rest.size() >= 2 && rest[0] == '\xFF' && rest[1] == '\xFE') {
    std::wstring text;
    for (size_t i = 2; i + 1 < rest.size(); i += 2) {
      text += static_cast<wchar_t>(static_cast<unsigned char>(rest[i]) |
                                   static_cast<unsigned char>(rest[i + 1]) << 8);
    }
    return text;
  }
  UINT code_page = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") {
    rest.remove_prefix(3);
    flags = 0;
  }
  if (rest.empty()) return std::wstring();
  const int length = static_cast<int>(rest.size());
  int count = MultiByteToWideChar(code_page, flags, rest.data(), length, nullptr, 0);
  if (count == 0) {
    code_page = 932;
    flags = 0;
    count = MultiByteToWideChar(code_page, flags, rest.data(), length, nullptr, 0);
  }
  std::wstring text(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(code_page, flags, rest.data(), length, text.data(), count);
  return text;
}

// The whole file as text. False when it cannot be opened or read.
bool ReadText(const wchar_t* path, std::wstring* text) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  const bool ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                             &read, nullptr) &&
                                    read == bytes.size());
  CloseHandle(file);
  if (!ok) return false;
  *text = DecodeBytes(bytes);
  return true;
}

// The file's records: its lines without line ends, minus blank, skipped and comment lines.
// False when the file cannot be read.
bool ReadRecords(const wchar_t* path, int skip_lines, const wchar_t* comment_prefix,
                 std::vector<std::wstring>* records) {
  if (path == nullptr) return false;
  std::wstring text;
  if (!ReadText(path, &text)) return false;
  const std::wstring_view comment = comment_prefix ? comment_prefix : L"";
  std::wstring_view rest = text;
  for (int line_number = 0; !rest.empty(); ++line_number) {
    const size_t end = rest.find(L'\n');
    std::wstring_view line = rest.substr(0, end);
    rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    if (line_number < skip_lines) continue;
    if (TrimBlanks(line).empty()) continue;
    if (!comment.empty() && line.starts_with(comment)) continue;
    records->emplace_back(line);
  }
  return true;
}

// Splits at the separator; a separator ends the field before it, so a trailing one does not
// start an empty last field (records are written "A|B|" as often as "A|B").
std::vector<std::wstring_view> SplitFields(std::wstring_view record, std::wstring_view separator) {
  std::vector<std::wstring_view> fields;
  size_t start = 0;
  while (start < record.size()) {
    const size_t at = record.find(separator, start);
    if (at == std::wstring_view::npos) {
      fields.push_back(record.substr(start));
      break;
    }
    fields.push_back(record.substr(start, at - start));
    start = at + separator.size();
  }
  return fields;
}

}  // namespace

int VuRida_ReadConfigFile(const wchar_t* path, CPtrArray& records, int skipLines,
                          const wchar_t* commentPrefix, const wchar_t* separator, int trim) {
  if (separator == nullptr || *separator == L'\0') return -1;
  std::vector<std::wstring> lines;
  if (!ReadRecords(path, skipLines, commentPrefix, &lines)) return 1;
  for (const std::wstring& line : lines) {
    auto fields = std::make_unique<CStringArray>();
    for (std::wstring_view field : SplitFields(line, separator)) {
      fields->Add(CString(trim ? TrimBlanks(field) : field));
    }
    records.Add(fields.release());
  }
  return 0;
}

int VuRida_ReadConfigFile(const wchar_t* path, CStringArray& records, int skipLines,
                          const wchar_t* commentPrefix, const wchar_t* separator, int trim) {
  if (separator == nullptr || *separator == L'\0') return -1;
  std::vector<std::wstring> lines;
  if (!ReadRecords(path, skipLines, commentPrefix, &lines)) return 1;
  for (const std::wstring& line : lines) {
    records.Add(CString(trim ? TrimBlanks(line) : std::wstring_view(line)));
  }
  return 0;
}

void VuRida_RemoveAllFree(CPtrArray& records) {
  for (INT_PTR i = 0; i < records.GetSize(); ++i) {
    delete static_cast<CStringArray*>(records.GetAt(i));
  }
  records.RemoveAll();
}
