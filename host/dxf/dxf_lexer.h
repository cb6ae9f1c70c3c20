// The first stage of reading a DXF file: its bytes to groups (a group code and its value).
//
// Every group code is checked to be a number and every value of a numeric code to be a number of
// its kind, so that later stages can read them without checks. Values are UTF-8 text: UTF-8 from
// AC1021 on, before that the code page of $DWGCODEPAGE (ANSI_932 is code page 932, others are read
// as Latin-1) with \U+XXXX escapes. A value that is already UTF-8 (every number, handle and ASCII
// name) is a view into the file's bytes, which must outlive the groups; the others are kept in
// the text store beside them. A large drawing has millions of groups: none costs an allocation.
#pragma once

#include <dbmain.h>

#include <cstring>
#include <deque>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace host::dxf_in {

struct Group {
  int code = 0;
  int line = 0;           // line of the group code
  std::string_view text;  // the value, UTF-8
  // A real value as the lexer read it from `text` (on its own thread for a large drawing), or
  // NaN when it did not (a file's reals are finite): Real() reads the text then.
  double real = std::numeric_limits<double>::quiet_NaN();
};

// A section whose records a reader takes one run at a time, straight from the file's bytes,
// instead of holding all its groups at once (the entities of a large drawing are most of it).
struct DeferredSection {
  bool present = false;
  std::string_view bytes;  // the whole file, as the lexer had it
  size_t pos = 0;          // where the section's first record starts
  int line = 0;            // lines before that place
  size_t end = 0;          // where its ENDSEC group starts
  bool utf8 = false, cp932 = false, escapes = false;
  AcDbHandle max_handle;  // its largest record handle, when looked up (MaxRecordHandle)
};

// The groups of a file and the text of those values that are not the file's own bytes.
struct Tokens {
  std::vector<Group> groups;
  std::deque<std::string> store;  // a deque: its strings never move
  DeferredSection deferred;       // see Tokenize
};

// The value as a wide string.
std::wstring Wide(const Group& g);
std::wstring Wide(std::string_view utf8);

// What stops reading: the message names the line ("line 12: ...").
struct ReadError {
  std::wstring message;
};

// "line N: what".
std::wstring LineError(int line, const std::wstring& what);
// ASCII bytes widened as they are.
std::wstring Narrow(std::string_view s);

// $ACADVER and $DWGCODEPAGE, looked up before anything is decoded (the header is ASCII); each
// stays as it was when the file lacks it.
void ScanHeader(std::string_view bytes, std::string* version, std::string* codepage);

// The file's lines one after the other, without their line ends, up to the last line that is
// not blank (a line end after EOF leaves an empty line that is no group). A large drawing has
// millions of lines: they are walked, not collected.
class LineCursor {
 public:
  explicit LineCursor(std::string_view bytes);
  // The next line, false after the last.
  bool Next(std::string_view* line) {
    if (pos_ > bytes_.size() || bytes_.empty()) return false;
    const size_t end = LineEnd(pos_);
    *line = Cut(pos_, end);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  // The next two lines (a group's code and value) at once: how many there were (0, 1 or 2).
  int NextTwo(std::string_view* first, std::string_view* second) {
#if defined(__SSE2__)
    // Both mostly end within the next sixteen bytes: one look finds both line ends.
    if (pos_ + 16 <= bytes_.size()) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes_.data() + pos_));
      unsigned mask =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))));
      if ((mask & (mask - 1)) != 0) {
        const size_t end1 = pos_ + static_cast<size_t>(__builtin_ctz(mask));
        mask &= mask - 1;
        const size_t end2 = pos_ + static_cast<size_t>(__builtin_ctz(mask));
        *first = Cut(pos_, end1);
        *second = Cut(end1 + 1, end2);
        pos_ = end2 + 1;
        number_ += 2;
        return 2;
      }
    }
#endif
    if (!Next(first)) return 0;
    return Next(second) ? 2 : 1;
  }
  // The number of the line Next gave last (1 for the first).
  int number() const {
    return number_;
  }
  // Where the next line starts, and going back (or ahead) to a place this cursor gave.
  size_t pos() const {
    return pos_;
  }
  void Seek(size_t pos, int number) {
    pos_ = pos;
    number_ = number;
  }

 private:
  // The line from `begin` to its line end at `end`, without a CR before it.
  std::string_view Cut(size_t begin, size_t end) const {
    if (end > begin && bytes_[end - 1] == '\r') --end;
    return bytes_.substr(begin, end - begin);
  }
  // Where the line starting at `pos` ends: its '\n', or the end of the bytes. A DXF file's lines
  // are mostly a few bytes long (group codes, numbers, handles), shorter than what a call to
  // memchr costs to set up: sixteen bytes at a time are looked at here first.
  size_t LineEnd(size_t pos) const {
    const char* base = bytes_.data();
    const size_t size = bytes_.size();
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi8('\n');
    for (int i = 0; i < 4 && pos + 16 <= size; ++i, pos += 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + pos));
      const unsigned mask =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, newline)));
      if (mask != 0) return pos + static_cast<size_t>(__builtin_ctz(mask));
    }
#endif
    const void* found = pos < size ? std::memchr(base + pos, '\n', size - pos) : nullptr;
    return found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - base) : size;
  }

  std::string_view bytes_;
  size_t pos_ = 0;
  int number_ = 0;
};

// Groups of an ASCII file one at a time, checked as Tokenize checks them (below).
class Lexer {
 public:
  Lexer(std::string_view bytes, bool utf8, bool cp932, bool escapes)
      : lines_(bytes), utf8_(utf8), cp932_(cp932), escapes_(escapes) {}
  // The next group, false after the last. Text that needs decoding goes to `store`; a pointer
  // group that holds no handle adds a warning. Throws ReadError as Tokenize does.
  bool Next(Group* g, std::deque<std::string>* store, std::vector<std::wstring>* warnings);
  LineCursor& lines() { return lines_; }

 private:
  LineCursor lines_;
  bool utf8_, cp932_, escapes_;
};

// Every group of the file in order, but comments (999 groups, wherever they stand). Throws
// ReadError for a code that is no number, a value that does not fit its code, or a code without
// its value. A pointer group (330, 340 ...) that holds
// no handle is kept as text, with a warning naming its line.
//
// With `defer`, the records of the first ENTITIES section are not made groups when its end is
// found (the first line "0" followed by a line "ENDSEC", looked for in the text without walking
// its lines): the section's name is followed by its ENDSEC in `groups`, and `deferred` says
// where its records are. Those lines are not checked here: the reader that takes them checks
// them as they come, and reads the file again without deferring when they are not what a plain
// section holds (see the DXF builder). A section without that end is read as any other.
Tokens Tokenize(std::string_view bytes, bool utf8, bool cp932, bool escapes,
                std::vector<std::wstring>* warnings, bool defer = false);

// The largest handle of the deferred section's records (their first group 5), walking its lines
// up to its end. False when a record has none, or one that is not hexadecimal digits, or the
// section's first group is no 0.
bool MaxRecordHandle(const DeferredSection& d, AcDbHandle* max);

// The text of a string group as UTF-8 (see above), in `store` when it is not `raw` itself; names
// (codes 0, 2, 9) lose their trailing blanks.
std::string_view DecodeText(int code, std::string_view raw, bool utf8, bool cp932, bool escapes,
                            std::deque<std::string>* store);

// True for a binary DXF file (its sentinel "AutoCAD Binary DXF", CR LF, SUB, NUL first).
bool IsBinaryDxf(std::string_view bytes);
// Every group of a binary DXF file in order, as the ASCII form of the same file would give them
// (reals as the shortest text of the same double, binary chunks as hexadecimal). Group codes are
// two bytes and values are little-endian, by the type of their code: reals eight bytes, 16-bit
// integers two, 32-bit four, 64-bit eight, booleans (290 to 299) one byte, binary chunks (310 to
// 319, 1004) a length byte and the bytes, text up to a NUL byte. Line numbers are those the groups
// would have in the ASCII form. Throws ReadError for a file that ends inside a group.
Tokens TokenizeBinary(std::string_view bytes, std::vector<std::wstring>* warnings);

// True for the text of a handle: one to sixteen hexadecimal digits ("0" is the null handle).
bool IsHandleText(std::string_view text);

// The value of a group the tokenizer checked, as a number or a handle.
double Real(const Group& g);
long long Int(const Group& g);
AcDbHandle Handle(const Group& g);
// The same for a text: the null handle for anything that is no handle.
AcDbHandle Handle(std::string_view text);

}  // namespace host::dxf_in
