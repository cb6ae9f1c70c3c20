// The tokens of a resource script (names, numbers, strings, punctuation), read one at a time.
// Preprocessor lines are handled on the way: #define records a symbol, #include, #pragma and the
// conditional lines are passed over (the headers come resolved), and #ifdef of an unknown name
// skips its block, as the resource compiler does for APSTUDIO_INVOKED sections. Expressions over
// numbers and names evaluate here too, so that #define values and statements share them.
#pragma once

#include <map>
#include <set>
#include <string>

namespace platform::mfc {

struct ScriptToken {
  enum Kind { kEnd, kName, kNumber, kString, kPunct } kind = kEnd;
  std::string text;  // names, punctuation, strings (decoded, UTF-8)
  long number = 0;
  int line = 0;
};

class ScriptLexer {
 public:
  // `symbols` gets each #define; names are looked up there first, then among Windows' own.
  ScriptLexer(std::string text, std::map<std::string, long>* symbols);

  // Reads the next token into tok_, handling the preprocessor lines before it; after a failure
  // the token stays kEnd.
  void Next();

 protected:
  // Fails with "line N: what" at the current token (the first failure counts) and ends the input.
  void Fail(const std::string& what);
  bool IsPunct(const char* p) const { return tok_.kind == ScriptToken::kPunct && tok_.text == p; }
  bool IsName(const char* n) const { return tok_.kind == ScriptToken::kName && tok_.text == n; }
  // Parentheses, signs and tildes nest at most kMaxNesting deep; deeper input fails instead of
  // running the stack out.
  long Primary();
  // | + - & over primaries, left to right (the resource compiler has no precedence to speak of).
  long Expr();

  ScriptToken tok_;
  bool ok_ = true;
  std::string error_;

 private:
  std::string RestOfLine();
  void Directive();
  // Skips to the matching #else or #endif of a false #ifdef.
  void SkipConditional();
  bool EvalText(const std::string& text, long* value);
  long Symbol(const std::string& name);
  // Sums and negations wrap around, as the resource compiler's do, instead of overflowing.
  static long Wrapped(unsigned long bits) { return static_cast<long>(bits); }
  static constexpr int kMaxNesting = 200;

  std::string src_;
  size_t pos_ = 0;
  int line_ = 1;
  std::map<std::string, long>* symbols_;
  std::set<std::string> defined_;
  int nesting_ = 0;
};

}  // namespace platform::mfc
