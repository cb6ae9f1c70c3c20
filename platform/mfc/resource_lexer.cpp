// Tokens, preprocessor lines and expressions of resource scripts.
#include "platform/mfc/resource_lexer.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "platform/mfc/resource_symbols.h"

namespace platform::mfc {

ScriptLexer::ScriptLexer(std::string text, std::map<std::string, long>* symbols)
    : src_(std::move(text)), symbols_(symbols) {}

void ScriptLexer::Fail(const std::string& what) {
  if (!ok_) return;
  ok_ = false;
  error_ = "line " + std::to_string(tok_.line) + ": " + what;
  tok_.kind = ScriptToken::kEnd;
}

void ScriptLexer::Next() {
  if (!ok_) return;
  bool at_line_start = pos_ == 0;
  for (;;) {
    while (pos_ < src_.size() && std::isspace(static_cast<unsigned char>(src_[pos_]))) {
      if (src_[pos_] == '\n') {
        ++line_;
        at_line_start = true;
      }
      ++pos_;
    }
    if (src_.compare(pos_, 2, "//") == 0) {
      while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
      continue;
    }
    if (src_.compare(pos_, 2, "/*") == 0) {
      size_t end = src_.find("*/", pos_ + 2);
      for (size_t k = pos_; k < std::min(end, src_.size()); ++k) line_ += src_[k] == '\n';
      pos_ = end == std::string::npos ? src_.size() : end + 2;
      continue;
    }
    if (pos_ < src_.size() && src_[pos_] == '#' && at_line_start) {
      Directive();
      continue;
    }
    break;
  }
  tok_ = ScriptToken{};
  tok_.line = line_;
  if (pos_ >= src_.size()) return;
  char c = src_[pos_];
  if (c == '"' || ((c == 'L') && pos_ + 1 < src_.size() && src_[pos_ + 1] == '"')) {
    if (c == 'L') ++pos_;
    ++pos_;
    tok_.kind = ScriptToken::kString;
    for (;;) {
      if (pos_ >= src_.size() || src_[pos_] == '\n') {
        Fail("unterminated string");
        return;
      }
      char d = src_[pos_++];
      if (d == '"') {
        if (pos_ < src_.size() && src_[pos_] == '"') {
          tok_.text += '"';
          ++pos_;
          continue;
        }
        break;
      }
      if (d == '\\' && pos_ < src_.size()) {
        char e = src_[pos_++];
        tok_.text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == '0' ? '\0' : e;
        continue;
      }
      tok_.text += d;
    }
    return;
  }
  if (std::isdigit(static_cast<unsigned char>(c))) {
    char* end = nullptr;
    tok_.number = std::strtol(src_.c_str() + pos_, &end, 0);
    pos_ = end - src_.c_str();
    while (pos_ < src_.size() &&
           (src_[pos_] == 'L' || src_[pos_] == 'l' || src_[pos_] == 'U' || src_[pos_] == 'u')) {
      ++pos_;
    }
    tok_.kind = ScriptToken::kNumber;
    return;
  }
  if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
    size_t start = pos_;
    while (pos_ < src_.size() &&
           (std::isalnum(static_cast<unsigned char>(src_[pos_])) || src_[pos_] == '_')) {
      ++pos_;
    }
    tok_.kind = ScriptToken::kName;
    tok_.text = src_.substr(start, pos_ - start);
    return;
  }
  tok_.kind = ScriptToken::kPunct;
  tok_.text = std::string(1, c);
  ++pos_;
}

std::string ScriptLexer::RestOfLine() {
  size_t end = src_.find('\n', pos_);
  if (end == std::string::npos) end = src_.size();
  std::string rest = src_.substr(pos_, end - pos_);
  pos_ = end;
  return rest;
}

void ScriptLexer::Directive() {
  ++pos_;  // '#'
  std::string line = RestOfLine();
  size_t a = line.find_first_not_of(" \t");
  if (a == std::string::npos) return;
  size_t b = line.find_first_of(" \t\r", a);
  std::string word = line.substr(a, b == std::string::npos ? std::string::npos : b - a);
  std::string rest = b == std::string::npos ? "" : line.substr(b);
  auto trim = [](std::string s) {
    size_t x = s.find_first_not_of(" \t\r");
    if (x == std::string::npos) return std::string();
    size_t y = s.find_last_not_of(" \t\r");
    s = s.substr(x, y - x + 1);
    size_t comment = s.find("//");
    if (comment != std::string::npos) s = s.substr(0, comment);
    y = s.find_last_not_of(" \t\r");
    return y == std::string::npos ? std::string() : s.substr(0, y + 1);
  };
  rest = trim(rest);
  if (word == "define") {
    size_t sp = rest.find_first_of(" \t");
    std::string name = rest.substr(0, sp);
    std::string value = sp == std::string::npos ? "" : trim(rest.substr(sp));
    long v = 0;
    if (!value.empty() && !EvalText(value, &v)) {
      ok_ = false;
      error_ = "line " + std::to_string(line_) + ": cannot evaluate #define " + name;
      return;
    }
    (*symbols_)[name] = v;
    defined_.insert(name);
  } else if (word == "ifdef" || word == "ifndef") {
    bool defined = defined_.count(rest) > 0;
    if ((word == "ifdef") != defined) SkipConditional();
  } else if (word == "undef") {
    defined_.erase(rest);
  }
  // #include, #pragma, #if, #else, #endif, #error: nothing to do here.
}

void ScriptLexer::SkipConditional() {
  int depth = 0;
  while (pos_ < src_.size()) {
    if (src_[pos_] == '\n') ++line_;
    ++pos_;
    size_t p = pos_;
    while (p < src_.size() && (src_[p] == ' ' || src_[p] == '\t')) ++p;
    if (p < src_.size() && src_[p] == '#') {
      std::string rest = src_.substr(p + 1, 6);
      if (rest.rfind("if", 0) == 0) ++depth;
      if (rest.rfind("endif", 0) == 0 || (depth == 0 && rest.rfind("else", 0) == 0)) {
        if (depth == 0) {
          pos_ = src_.find('\n', p);
          if (pos_ == std::string::npos) pos_ = src_.size();
          return;
        }
        if (rest.rfind("endif", 0) == 0) --depth;
      }
    }
  }
}

bool ScriptLexer::EvalText(const std::string& text, long* value) {
  ScriptLexer sub(text, symbols_);
  sub.defined_ = defined_;
  sub.line_ = line_;
  sub.Next();
  *value = sub.Expr();
  return sub.ok_ && sub.tok_.kind == ScriptToken::kEnd;
}

long ScriptLexer::Symbol(const std::string& name) {
  auto it = symbols_->find(name);
  if (it != symbols_->end()) return it->second;
  auto known = KnownResourceSymbols().find(name);
  if (known != KnownResourceSymbols().end()) return known->second;
  Fail("unknown symbol " + name);
  return 0;
}

long ScriptLexer::Primary() {
  struct Nest {
    int& n;
    explicit Nest(int& count) : n(++count) {}
    ~Nest() { --n; }
  } nest(nesting_);
  if (nesting_ > kMaxNesting) {
    Fail("expression nested too deeply");
    return 0;
  }
  if (tok_.kind == ScriptToken::kNumber) {
    long v = tok_.number;
    Next();
    return v;
  }
  if (tok_.kind == ScriptToken::kName && tok_.text != "NOT") {
    long v = Symbol(tok_.text);
    Next();
    return v;
  }
  if (IsPunct("(")) {
    Next();
    long v = Expr();
    if (!IsPunct(")")) Fail("expected )");
    Next();
    return v;
  }
  if (IsPunct("-")) {
    Next();
    return Wrapped(0UL - static_cast<unsigned long>(Primary()));
  }
  if (IsPunct("~")) {
    Next();
    return ~Primary();
  }
  Fail("expected a number or a name");
  return 0;
}

long ScriptLexer::Expr() {
  long v = Primary();
  while (ok_ && (IsPunct("|") || IsPunct("+") || IsPunct("-") || IsPunct("&"))) {
    char op = tok_.text[0];
    Next();
    long r = Primary();
    const unsigned long a = static_cast<unsigned long>(v), b = static_cast<unsigned long>(r);
    v = op == '|' ? (v | r) : op == '+' ? Wrapped(a + b) : op == '-' ? Wrapped(a - b) : (v & r);
  }
  return v;
}

}  // namespace platform::mfc
