// Binary DXF files: the sentinel, then groups of a two-byte code and a little-endian value.
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "host/dxf/dxf_lexer.h"
#include "host/dxf/dxf_objects.h"

namespace host::dxf_in {
namespace {

constexpr std::string_view kSentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);

enum class BinaryForm { kText, kChunk, kReal, kInt8, kInt16, kInt32, kInt64 };

BinaryForm FormOf(int c) {
  if (c == 1004 || (c >= 310 && c <= 319)) return BinaryForm::kChunk;
  switch (DxfTypeOfCode(c)) {
    case DxfValueType::kReal:
      return BinaryForm::kReal;
    case DxfValueType::kInteger:
      if (c >= 290 && c <= 299) return BinaryForm::kInt8;  // booleans
      if ((c >= 90 && c <= 99) || (c >= 420 && c <= 429) || (c >= 440 && c <= 459) || c == 1071)
        return BinaryForm::kInt32;
      if (c >= 160 && c <= 169) return BinaryForm::kInt64;
      return BinaryForm::kInt16;
    default:
      return BinaryForm::kText;
  }
}

class ByteCursor {
 public:
  explicit ByteCursor(std::string_view bytes) : bytes_(bytes), pos_(kSentinel.size()) {}
  bool done() const { return pos_ >= bytes_.size(); }
  size_t offset() const { return pos_; }

  // Reads n little-endian bytes as an unsigned number; false when the file is shorter.
  bool Unsigned(size_t n, std::uint64_t* value) {
    if (bytes_.size() - pos_ < n) return false;
    std::uint64_t v = 0;
    for (size_t i = 0; i < n; ++i)
      v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += n;
    *value = v;
    return true;
  }
  // Text up to its NUL byte; false when there is none.
  bool Text(std::string_view* text) {
    const size_t end = bytes_.find('\0', pos_);
    if (end == std::string_view::npos) return false;
    *text = bytes_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return true;
  }
  bool Bytes(size_t n, std::string_view* out) {
    if (bytes_.size() - pos_ < n) return false;
    *out = bytes_.substr(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t pos_;
};

std::string NumberText(double v) {
  // As the ASCII form writes reals: the shortest text of the same double, with a point.
  char buf[40];
  char* end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  if (std::strpbrk(std::string(buf, end).c_str(), ".en") == nullptr) {
    *end++ = '.';
    *end++ = '0';
  }
  return std::string(buf, end);
}

std::string NumberText(long long v) {
  return std::to_string(v);
}

// Signed value of n bytes.
long long Signed(std::uint64_t v, size_t n) {
  if (n < 8 && (v >> (8 * n - 1)) != 0) v |= ~std::uint64_t{0} << (8 * n);
  return static_cast<long long>(v);
}

// The header's $ACADVER and $DWGCODEPAGE, which say how the text of the file is encoded.
void ScanBinaryHeader(std::string_view bytes, std::string* version, std::string* codepage) {
  ByteCursor in(bytes);
  std::string* wanted = nullptr;
  while (!in.done()) {
    std::uint64_t code = 0;
    if (!in.Unsigned(2, &code)) return;
    const BinaryForm form = FormOf(static_cast<int>(code));
    std::string_view text;
    if (form == BinaryForm::kText) {
      if (!in.Text(&text)) return;
      if (wanted != nullptr) *wanted = std::string(text);
      wanted = nullptr;
      if (code == 9 && text == "$ACADVER") wanted = version;
      if (code == 9 && text == "$DWGCODEPAGE") wanted = codepage;
      if (code == 0 && text == "ENDSEC") return;
      continue;
    }
    wanted = nullptr;
    std::uint64_t n = 0;
    bool ok = true;
    switch (form) {
      case BinaryForm::kChunk:
        ok = in.Unsigned(1, &n) && in.Bytes(n, &text);
        break;
      case BinaryForm::kReal:
      case BinaryForm::kInt64:
        ok = in.Unsigned(8, &n);
        break;
      case BinaryForm::kInt32:
        ok = in.Unsigned(4, &n);
        break;
      case BinaryForm::kInt16:
        ok = in.Unsigned(2, &n);
        break;
      default:
        ok = in.Unsigned(1, &n);
    }
    if (!ok) return;
  }
}

}  // namespace

bool IsBinaryDxf(std::string_view bytes) {
  return bytes.substr(0, kSentinel.size()) == kSentinel;
}

Tokens TokenizeBinary(std::string_view bytes, std::vector<std::wstring>* warnings) {
  std::string version, codepage;
  ScanBinaryHeader(bytes, &version, &codepage);
  if (!version.empty() && (version < "AC1015" || version > "AC1032"))
    throw ReadError{L"line 1: drawing version " + Narrow(version) +
                    L" is not supported (AC1015 to AC1032 are)"};
  const bool utf8 = version >= "AC1021";
  const bool cp932 = !utf8 && codepage == "ANSI_932";
  Tokens tokens;
  ByteCursor in(bytes);
  int line = 1;
  while (!in.done()) {
    std::uint64_t raw_code = 0;
    if (!in.Unsigned(2, &raw_code))
      throw ReadError{LineError(line, L"the file ends inside a group code")};
    Group g{static_cast<int>(static_cast<std::int16_t>(raw_code)), line, {}};
    std::string value;
    if (g.code < 0 || g.code > 1071)
      throw ReadError{LineError(line, L"a group code was expected, found " +
                                          std::to_wstring(g.code) + L" at byte " +
                                          std::to_wstring(in.offset() - 2))};
    const BinaryForm form = FormOf(g.code);
    std::uint64_t n = 0;
    std::string_view text;
    bool ok = true;
    switch (form) {
      case BinaryForm::kText:
        ok = in.Text(&text);
        if (ok) g.text = DecodeText(g.code, text, utf8, cp932, !utf8, &tokens.store);
        break;
      case BinaryForm::kChunk:
        ok = in.Unsigned(1, &n) && in.Bytes(n, &text);
        if (ok) {
          static const char* digits = "0123456789ABCDEF";
          for (unsigned char c : text) {
            value.push_back(digits[c >> 4]);
            value.push_back(digits[c & 15]);
          }
        }
        break;
      case BinaryForm::kReal:
        ok = in.Unsigned(8, &n);
        if (ok) value = NumberText(std::bit_cast<double>(n));
        break;
      case BinaryForm::kInt8:
        ok = in.Unsigned(1, &n);
        if (ok) value = NumberText(Signed(n, 1));
        break;
      case BinaryForm::kInt16:
        ok = in.Unsigned(2, &n);
        if (ok) value = NumberText(Signed(n, 2));
        break;
      case BinaryForm::kInt32:
        ok = in.Unsigned(4, &n);
        if (ok) value = NumberText(Signed(n, 4));
        break;
      case BinaryForm::kInt64:
        ok = in.Unsigned(8, &n);
        if (ok) value = NumberText(Signed(n, 8));
        break;
    }
    if (!ok)
      throw ReadError{LineError(
          line + 1, L"the file ends inside the value of group " + std::to_wstring(g.code))};
    if (form != BinaryForm::kText) g.text = tokens.store.emplace_back(std::move(value));
    if (g.code == 999) {  // a comment, as in the ASCII form
      line += 2;
      continue;
    }
    if (DxfTypeOfCode(g.code) == DxfValueType::kHandle && g.code != 5 && g.code != 105 &&
        !IsHandleText(g.text))
      warnings->push_back(LineError(line + 1, L"group " + std::to_wstring(g.code) + L" holds \"" +
                                                  Wide(g) +
                                                  L"\" where a handle belongs; kept as text"));
    tokens.groups.push_back(g);
    line += 2;
  }
  return tokens;
}

}  // namespace host::dxf_in
