// A resource script reader for the statements dialogs use: #define, DIALOG / DIALOGEX with their
// control statements, STRINGTABLE; other resources are skipped.
#include "resource_script.h"

#include <cctype>
#include <cstdlib>
#include <set>

#include "afxstr.h"
#include "winuser.h"

namespace platform::mfc {
namespace {

const std::map<std::string, long>& KnownSymbols() {
  static const std::map<std::string, long> symbols = {
#define S(name) {#name, (long)(name)}
      S(WS_OVERLAPPED),
      S(WS_POPUP),
      S(WS_CHILD),
      S(WS_MINIMIZE),
      S(WS_VISIBLE),
      S(WS_DISABLED),
      S(WS_CLIPSIBLINGS),
      S(WS_CLIPCHILDREN),
      S(WS_MAXIMIZE),
      S(WS_CAPTION),
      S(WS_BORDER),
      S(WS_DLGFRAME),
      S(WS_VSCROLL),
      S(WS_HSCROLL),
      S(WS_SYSMENU),
      S(WS_THICKFRAME),
      S(WS_GROUP),
      S(WS_TABSTOP),
      S(WS_MINIMIZEBOX),
      S(WS_MAXIMIZEBOX),
      S(WS_OVERLAPPEDWINDOW),
      S(WS_POPUPWINDOW),
      S(WS_EX_DLGMODALFRAME),
      S(WS_EX_NOPARENTNOTIFY),
      S(WS_EX_TOPMOST),
      S(WS_EX_TRANSPARENT),
      S(WS_EX_TOOLWINDOW),
      S(WS_EX_WINDOWEDGE),
      S(WS_EX_CLIENTEDGE),
      S(WS_EX_CONTROLPARENT),
      S(WS_EX_STATICEDGE),
      S(DS_SETFONT),
      S(DS_MODALFRAME),
      S(DS_3DLOOK),
      S(DS_FIXEDSYS),
      S(DS_CONTROL),
      S(DS_CENTER),
      S(DS_SHELLFONT),
      S(BS_PUSHBUTTON),
      S(BS_DEFPUSHBUTTON),
      S(BS_CHECKBOX),
      S(BS_AUTOCHECKBOX),
      S(BS_RADIOBUTTON),
      S(BS_3STATE),
      S(BS_AUTO3STATE),
      S(BS_GROUPBOX),
      S(BS_AUTORADIOBUTTON),
      S(BS_OWNERDRAW),
      S(BS_LEFTTEXT),
      S(BS_LEFT),
      S(BS_RIGHT),
      S(BS_CENTER),
      S(BS_TOP),
      S(BS_BOTTOM),
      S(BS_VCENTER),
      S(BS_PUSHLIKE),
      S(BS_MULTILINE),
      S(BS_FLAT),
      S(ES_LEFT),
      S(ES_CENTER),
      S(ES_RIGHT),
      S(ES_MULTILINE),
      S(ES_UPPERCASE),
      S(ES_LOWERCASE),
      S(ES_PASSWORD),
      S(ES_AUTOVSCROLL),
      S(ES_AUTOHSCROLL),
      S(ES_NOHIDESEL),
      S(ES_READONLY),
      S(ES_WANTRETURN),
      S(ES_NUMBER),
      S(SS_LEFT),
      S(SS_CENTER),
      S(SS_RIGHT),
      S(SS_ICON),
      S(SS_BLACKRECT),
      S(SS_GRAYRECT),
      S(SS_WHITERECT),
      S(SS_BLACKFRAME),
      S(SS_SIMPLE),
      S(SS_LEFTNOWORDWRAP),
      S(SS_OWNERDRAW),
      S(SS_BITMAP),
      S(SS_ETCHEDFRAME),
      S(SS_NOPREFIX),
      S(SS_NOTIFY),
      S(SS_CENTERIMAGE),
      S(SS_SUNKEN),
      S(CBS_SIMPLE),
      S(CBS_DROPDOWN),
      S(CBS_DROPDOWNLIST),
      S(CBS_OWNERDRAWFIXED),
      S(CBS_OWNERDRAWVARIABLE),
      S(CBS_AUTOHSCROLL),
      S(CBS_OEMCONVERT),
      S(CBS_SORT),
      S(CBS_HASSTRINGS),
      S(CBS_NOINTEGRALHEIGHT),
      S(CBS_DISABLENOSCROLL),
      S(LBS_NOTIFY),
      S(LBS_SORT),
      S(LBS_NOREDRAW),
      S(LBS_MULTIPLESEL),
      S(LBS_OWNERDRAWFIXED),
      S(LBS_OWNERDRAWVARIABLE),
      S(LBS_HASSTRINGS),
      S(LBS_USETABSTOPS),
      S(LBS_NOINTEGRALHEIGHT),
      S(LBS_MULTICOLUMN),
      S(LBS_WANTKEYBOARDINPUT),
      S(LBS_EXTENDEDSEL),
      S(LBS_DISABLENOSCROLL),
      S(LBS_NOSEL),
      S(LBS_STANDARD),
      S(IDOK),
      S(IDCANCEL),
      S(IDABORT),
      S(IDRETRY),
      S(IDIGNORE),
      S(IDYES),
      S(IDNO),
      S(IDC_STATIC),
#undef S
      {"LVS_ICON", 0x0000},
      {"LVS_REPORT", 0x0001},
      {"LVS_SMALLICON", 0x0002},
      {"LVS_LIST", 0x0003},
      {"LVS_SINGLESEL", 0x0004},
      {"LVS_SHOWSELALWAYS", 0x0008},
      {"LVS_SORTASCENDING", 0x0010},
      {"LVS_SORTDESCENDING", 0x0020},
      {"LVS_SHAREIMAGELISTS", 0x0040},
      {"LVS_NOLABELWRAP", 0x0080},
      {"LVS_AUTOARRANGE", 0x0100},
      {"LVS_EDITLABELS", 0x0200},
      {"LVS_OWNERDATA", 0x1000},
      {"LVS_NOSCROLL", 0x2000},
      {"LVS_ALIGNLEFT", 0x0800},
      {"LVS_OWNERDRAWFIXED", 0x0400},
      {"LVS_NOCOLUMNHEADER", 0x4000},
      {"LVS_NOSORTHEADER", 0x8000},
      {"TTS_ALWAYSTIP", 0x01},
      {"TTS_NOPREFIX", 0x02},
      {"LANG_JAPANESE", 0x11},
      {"SUBLANG_DEFAULT", 0x01},
      {"LANG_NEUTRAL", 0},
      {"SUBLANG_NEUTRAL", 0},
      {"SUBLANG_JAPANESE_JAPAN", 0x01},
  };
  return symbols;
}

struct Token {
  enum Kind { kEnd, kName, kNumber, kString, kPunct } kind = kEnd;
  std::string text;  // names, punctuation, strings (decoded, UTF-8)
  long number = 0;
  int line = 0;
  bool line_start = false;
};

class Parser {
 public:
  Parser(const std::string& text, ResourceScript* out) : src_(text), out_(out) {}

  bool Run(std::string* error) {
    Next();
    while (tok_.kind != Token::kEnd && ok_) Statement();
    if (!ok_ && error) *error = error_;
    return ok_;
  }

 private:
  void Fail(const std::string& what) {
    if (!ok_) return;
    ok_ = false;
    error_ = "line " + std::to_string(tok_.line) + ": " + what;
    tok_.kind = Token::kEnd;
  }

  // Lexer. Preprocessor lines are handled here: #define records, #include / #pragma and the
  // conditional lines are passed over (the headers come resolved), #ifdef of an unknown name
  // skips its block, as the resource compiler does for APSTUDIO_INVOKED sections.
  void Next() {
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
    tok_ = Token{};
    tok_.line = line_;
    if (pos_ >= src_.size()) return;
    char c = src_[pos_];
    if (c == '"' || ((c == 'L') && pos_ + 1 < src_.size() && src_[pos_ + 1] == '"')) {
      if (c == 'L') ++pos_;
      ++pos_;
      tok_.kind = Token::kString;
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
      tok_.kind = Token::kNumber;
      return;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t start = pos_;
      while (pos_ < src_.size() &&
             (std::isalnum(static_cast<unsigned char>(src_[pos_])) || src_[pos_] == '_')) {
        ++pos_;
      }
      tok_.kind = Token::kName;
      tok_.text = src_.substr(start, pos_ - start);
      return;
    }
    tok_.kind = Token::kPunct;
    tok_.text = std::string(1, c);
    ++pos_;
  }

  std::string RestOfLine() {
    size_t end = src_.find('\n', pos_);
    if (end == std::string::npos) end = src_.size();
    std::string rest = src_.substr(pos_, end - pos_);
    pos_ = end;
    return rest;
  }

  void Directive() {
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
      out_->symbols[name] = v;
      defined_.insert(name);
    } else if (word == "ifdef" || word == "ifndef") {
      bool defined = defined_.count(rest) > 0;
      if ((word == "ifdef") != defined) SkipConditional();
    } else if (word == "undef") {
      defined_.erase(rest);
    }
    // #include, #pragma, #if, #else, #endif, #error: nothing to do here.
  }

  // Skips to the matching #else or #endif of a false #ifdef.
  void SkipConditional() {
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

  bool EvalText(const std::string& text, long* value) {
    Parser sub(text, out_);
    sub.defined_ = defined_;
    sub.line_ = line_;
    sub.Next();
    *value = sub.Expr(0);
    return sub.ok_ && sub.tok_.kind == Token::kEnd;
  }

  bool IsPunct(const char* p) const { return tok_.kind == Token::kPunct && tok_.text == p; }
  bool IsName(const char* n) const { return tok_.kind == Token::kName && tok_.text == n; }

  long Symbol(const std::string& name) {
    auto it = out_->symbols.find(name);
    if (it != out_->symbols.end()) return it->second;
    auto known = KnownSymbols().find(name);
    if (known != KnownSymbols().end()) return known->second;
    Fail("unknown symbol " + name);
    return 0;
  }

  // Sums and negations wrap around, as the resource compiler's do, instead of overflowing.
  static long Wrapped(unsigned long bits) { return static_cast<long>(bits); }

  long Primary() {
    if (tok_.kind == Token::kNumber) {
      long v = tok_.number;
      Next();
      return v;
    }
    if (tok_.kind == Token::kName && tok_.text != "NOT") {
      long v = Symbol(tok_.text);
      Next();
      return v;
    }
    if (IsPunct("(")) {
      Next();
      long v = Expr(0);
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

  // | + - & over primaries, left to right (the resource compiler has no precedence to speak of).
  long Expr(long base) {
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

  // A style expression with NOT terms: starts from the statement's default style.
  DWORD Style(DWORD style) {
    bool first = true;
    for (;;) {
      if (IsName("NOT")) {
        Next();
        style &= ~static_cast<DWORD>(Primary());
      } else {
        long v = Primary();
        style |= static_cast<DWORD>(v);
      }
      (void)first;
      first = false;
      if (IsPunct("|")) {
        Next();
        continue;
      }
      break;
    }
    return style;
  }

  long Number() { return Expr(0); }

  void Comma() {
    if (!IsPunct(",")) {
      Fail("expected ,");
      return;
    }
    Next();
  }

  std::wstring String() {
    if (tok_.kind != Token::kString) {
      Fail("expected a string");
      return L"";
    }
    std::wstring s = WidenNarrow(tok_.text.data(), tok_.text.size());
    Next();
    return s;
  }

  bool IsBegin() const { return IsName("BEGIN") || IsPunct("{"); }
  bool IsEndBlock() const { return IsName("END") || IsPunct("}"); }

  void Statement() {
    if (IsName("STRINGTABLE")) {
      Next();
      while (!IsBegin() && tok_.kind != Token::kEnd && ok_) Next();
      StringTable();
      return;
    }
    if (IsName("LANGUAGE")) {
      Next();
      Number();
      Comma();
      Number();
      return;
    }
    // NAME-or-ID TYPE ...
    int start_line = tok_.line;
    long id = 0;
    bool numeric = true;
    if (tok_.kind == Token::kNumber) {
      id = tok_.number;
    } else if (tok_.kind == Token::kName) {
      auto it = out_->symbols.find(tok_.text);
      if (it != out_->symbols.end()) {
        id = it->second;
      } else {
        numeric = false;
      }
    } else {
      Fail("unexpected '" + tok_.text + "'");
      return;
    }
    Next();
    if (IsName("DIALOG") || IsName("DIALOGEX")) {
      if (!numeric) {
        Fail("dialog name is not a defined id");
        return;
      }
      Next();
      Dialog(static_cast<int>(id));
      return;
    }
    // Any other resource: skip its header line and its block, if it has one.
    while (ok_ && tok_.kind != Token::kEnd && !IsBegin() && tok_.line == start_line) Next();
    if (IsBegin()) SkipBlock();
  }

  void SkipBlock() {
    int depth = 0;
    do {
      if (IsBegin()) ++depth;
      if (IsEndBlock()) --depth;
      Next();
    } while (ok_ && depth > 0 && tok_.kind != Token::kEnd);
    if (depth > 0) Fail("missing END");
  }

  void StringTable() {
    if (!IsBegin()) {
      Fail("expected BEGIN");
      return;
    }
    Next();
    while (ok_ && !IsEndBlock()) {
      if (tok_.kind == Token::kEnd) {
        Fail("missing END");
        return;
      }
      long id = Number();
      if (IsPunct(",")) Next();
      out_->strings[static_cast<int>(id)] = String();
    }
    Next();
  }

  void Dialog(int id) {
    DialogTemplate d;
    d.id = id;
    d.x = Number();
    Comma();
    d.y = Number();
    Comma();
    d.cx = Number();
    Comma();
    d.cy = Number();
    if (IsPunct(",")) {  // help id
      Next();
      Number();
    }
    d.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    while (ok_ && !IsBegin()) {
      if (IsName("STYLE")) {
        Next();
        d.style = Style(0);
      } else if (IsName("EXSTYLE")) {
        Next();
        d.ex_style = Style(0);
      } else if (IsName("CAPTION")) {
        Next();
        d.caption = String();
      } else if (IsName("FONT")) {
        Next();
        d.font_size = Number();
        Comma();
        d.font_face = String();
        while (ok_ && IsPunct(",")) {
          Next();
          Number();
        }
      } else if (IsName("MENU") || IsName("CLASS")) {
        Next();
        Next();
      } else if (IsName("LANGUAGE")) {
        Next();
        Number();
        Comma();
        Number();
      } else if (IsName("CHARACTERISTICS") || IsName("VERSION")) {
        Next();
        Number();
      } else {
        Fail("unknown dialog statement '" + tok_.text + "'");
        return;
      }
    }
    Next();
    while (ok_ && !IsEndBlock()) {
      if (tok_.kind == Token::kEnd) {
        Fail("missing END of dialog");
        return;
      }
      Control(&d);
    }
    Next();
    if (ok_) out_->dialogs[id] = std::move(d);
  }

  void Rect(ControlTemplate* c) {
    c->x = Number();
    Comma();
    c->y = Number();
    Comma();
    c->cx = Number();
    Comma();
    c->cy = Number();
  }

  void OptionalStyles(ControlTemplate* c) {
    if (IsPunct(",")) {
      Next();
      c->style = Style(c->style);
      if (IsPunct(",")) {
        Next();
        c->ex_style = Style(0);
      }
    }
  }

  void Control(DialogTemplate* d) {
    ControlTemplate c;
    c.line = tok_.line;
    if (tok_.kind != Token::kName) {
      Fail("expected a control statement");
      return;
    }
    std::string kind = tok_.text;
    Next();
    const DWORD base = WS_CHILD | WS_VISIBLE;
    struct Text {
      const char* name;
      DWORD style;
    };
    static const std::map<std::string, std::pair<const wchar_t*, DWORD>> with_text = {
        {"LTEXT", {L"Static", SS_LEFT | WS_GROUP}},
        {"RTEXT", {L"Static", SS_RIGHT | WS_GROUP}},
        {"CTEXT", {L"Static", SS_CENTER | WS_GROUP}},
        {"PUSHBUTTON", {L"Button", BS_PUSHBUTTON | WS_TABSTOP}},
        {"DEFPUSHBUTTON", {L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP}},
        {"GROUPBOX", {L"Button", BS_GROUPBOX}},
        {"CHECKBOX", {L"Button", BS_CHECKBOX | WS_TABSTOP}},
        {"AUTOCHECKBOX", {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP}},
        {"RADIOBUTTON", {L"Button", BS_RADIOBUTTON}},
        {"AUTORADIOBUTTON", {L"Button", BS_AUTORADIOBUTTON}},
        {"STATE3", {L"Button", BS_3STATE | WS_TABSTOP}},
        {"AUTO3STATE", {L"Button", BS_AUTO3STATE | WS_TABSTOP}},
    };
    static const std::map<std::string, std::pair<const wchar_t*, DWORD>> without_text = {
        {"EDITTEXT", {L"Edit", ES_LEFT | WS_BORDER | WS_TABSTOP}},
        {"COMBOBOX", {L"ComboBox", CBS_SIMPLE | WS_TABSTOP}},
        {"LISTBOX", {L"ListBox", LBS_NOTIFY | WS_BORDER}},
    };
    if (kind == "CONTROL") {
      c.text = String();
      Comma();
      c.id = Number();
      Comma();
      if (tok_.kind == Token::kString) {
        c.class_name = String();
      } else if (tok_.kind == Token::kName) {
        static const std::map<std::string, const wchar_t*> classes = {
            {"BUTTON", L"Button"},   {"EDIT", L"Edit"},         {"STATIC", L"Static"},
            {"LISTBOX", L"ListBox"}, {"COMBOBOX", L"ComboBox"}, {"SCROLLBAR", L"ScrollBar"}};
        auto it = classes.find(tok_.text);
        if (it == classes.end()) {
          Fail("unknown control class " + tok_.text);
          return;
        }
        c.class_name = it->second;
        Next();
      } else {
        Fail("expected a control class");
        return;
      }
      Comma();
      c.style = Style(base);
      Comma();
      Rect(&c);
      if (IsPunct(",")) {
        Next();
        c.ex_style = Style(0);
      }
    } else if (auto t = with_text.find(kind); t != with_text.end()) {
      c.class_name = t->second.first;
      c.style = base | t->second.second;
      c.text = String();
      Comma();
      c.id = Number();
      Comma();
      Rect(&c);
      OptionalStyles(&c);
    } else if (auto n = without_text.find(kind); n != without_text.end()) {
      c.class_name = n->second.first;
      c.style = base | n->second.second;
      c.id = Number();
      Comma();
      Rect(&c);
      // A combo box's default (CBS_SIMPLE | WS_TABSTOP) applies only when no style is given:
      // or-ed into CBS_DROPDOWN it would make every editable box a drop-down list.
      if (kind == "COMBOBOX" && IsPunct(",")) c.style = base;
      OptionalStyles(&c);
    } else {
      Fail("unknown control statement '" + kind + "'");
      return;
    }
    if (ok_) d->controls.push_back(std::move(c));
  }

  std::string src_;
  size_t pos_ = 0;
  int line_ = 1;
  Token tok_;
  bool ok_ = true;
  std::string error_;
  ResourceScript* out_;
  std::set<std::string> defined_;
};

}  // namespace

bool ParseResourceScript(const std::string& text, ResourceScript* out, std::string* error) {
  *out = ResourceScript{};
  Parser parser(text, out);
  return parser.Run(error);
}

}  // namespace platform::mfc
