// A resource script reader for the statements dialogs use: #define, DIALOG / DIALOGEX with their
// control statements, STRINGTABLE; other resources are skipped.
#include "platform/mfc/resource_script.h"

#include <afxstr.h>
#include "platform/mfc/resource_lexer.h"
#include <winuser.h>

namespace platform::mfc {
namespace {

class Parser : private ScriptLexer {
 public:
  Parser(const std::string& text, ResourceScript* out)
      : ScriptLexer(text, &out->symbols), out_(out) {}

  bool Run(std::string* error) {
    Next();
    while (tok_.kind != Token::kEnd && ok_) Statement();
    if (!ok_ && error) *error = error_;
    return ok_;
  }

 private:
  using Token = ScriptToken;

  // A style expression with NOT terms: starts from the statement's default style.
  DWORD Style(DWORD style) {
    for (;;) {
      if (IsName("NOT")) {
        Next();
        style &= ~static_cast<DWORD>(Primary());
      } else {
        long v = Primary();
        style |= static_cast<DWORD>(v);
      }
      if (IsPunct("|")) {
        Next();
        continue;
      }
      break;
    }
    return style;
  }

  long Number() { return Expr(); }

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
  ResourceScript* out_;
};

}  // namespace

bool ParseResourceScript(const std::string& text, ResourceScript* out, std::string* error) {
  *out = ResourceScript{};
  Parser parser(text, out);
  return parser.Run(error);
}

}  // namespace platform::mfc
