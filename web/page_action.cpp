// Page actions: JSON to UserAction, and what refuses them before the session sees them.
#include "web/page_action.h"

#include <algorithm>
#include <cmath>

#include "host/user/typed_line.h"
#include "platform/mfc/window_system.h"
#include "platform/win/text_encoding.h"

namespace web {
namespace {

using platform::ActionKind;
using platform::WaitKind;

struct ActionName {
  const char* name;
  ActionKind kind;
};
constexpr ActionName kActions[] = {
    {"click", ActionKind::kClick},   {"type", ActionKind::kType},
    {"choose", ActionKind::kChoose}, {"rows", ActionKind::kRows},
    {"header", ActionKind::kHeader}, {"menu", ActionKind::kMenu},
    {"answer", ActionKind::kAnswer}, {"colour", ActionKind::kColour},
    {"enter", ActionKind::kEnter},   {"esc", ActionKind::kEsc},
    {"pickat", ActionKind::kPickAt}, {"point", ActionKind::kPoint},
    {"move", ActionKind::kMove},     {"preselect", ActionKind::kPreselect},
};

// Drawing coordinates: finite numbers. (A page sends what its pointer is over.)
bool Real(const nlohmann::json& body, const char* key, double* out, std::string* error) {
  const auto it = body.find(key);
  if (it == body.end() || !it->is_number() || !std::isfinite(it->get<double>()) ||
      std::abs(it->get<double>()) > 1e15) {
    *error = std::string("\"") + key + "\" must be a drawing coordinate";
    return false;
  }
  *out = it->get<double>();
  return true;
}

// A corner [X, Y] of a rectangle.
bool Corner(const nlohmann::json& body, const char* key, double* x, double* y,
            std::string* error) {
  const auto it = body.find(key);
  if (it == body.end() || !it->is_array() || it->size() != 2) {
    *error = std::string("\"") + key + "\" must be a corner [X, Y]";
    return false;
  }
  const nlohmann::json xy = {{"x", (*it)[0]}, {"y", (*it)[1]}};
  return Real(xy, "x", x, error) && Real(xy, "y", y, error);
}

// The prompts that a point on the drawing answers.
bool PointedAt(const platform::Wait& wait) {
  return wait.kind == WaitKind::kPrompt &&
         (wait.input == "entity" || wait.input == "select" || wait.input == "point" ||
          wait.input == "corner" || wait.input == "drag");
}

bool Int(const nlohmann::json& body, const char* key, bool required, int* out, std::string* error) {
  const auto it = body.find(key);
  if (it == body.end()) {
    if (required) *error = std::string("\"") + key + "\" is missing";
    return !required;
  }
  if (!it->is_number_integer() || *it < -2147483647 || *it > 2147483647) {
    *error = std::string("\"") + key + "\" must be an integer";
    return false;
  }
  *out = it->get<int>();
  return true;
}

bool Text(const nlohmann::json& body, const char* key, bool required, std::wstring* out,
          std::string* error) {
  const auto it = body.find(key);
  if (it == body.end()) {
    if (required) *error = std::string("\"") + key + "\" is missing";
    return !required;
  }
  if (!it->is_string()) {
    *error = std::string("\"") + key + "\" must be a string";
    return false;
  }
  *out = platform::Utf8ToWide(it->get<std::string>());
  return true;
}

bool WindowFields(const nlohmann::json& body, platform::UserAction* out, std::string* error) {
  return Int(body, "window", false, &out->template_id, error) &&
         Int(body, "ctrl", true, &out->control, error);
}

// Why what waits does not take `action`; empty when it does, or when only the windows can tell.
std::string WaitRefusal(const platform::UserAction& action, const platform::Wait& wait) {
  const bool box = wait.kind == WaitKind::kBox;
  const bool colour = wait.kind == WaitKind::kColour;
  switch (action.kind) {
    case ActionKind::kAnswer: {
      if (!box) return "no message box waits for an answer";
      const auto answers = host::BoxAnswers(wait.box_type);
      if (std::find(answers.begin(), answers.end(), action.text) == answers.end()) {
        return "the box has no answer \"" + platform::WideToUtf8(action.text) + "\"";
      }
      return "";
    }
    case ActionKind::kColour:
      if (!colour) return "no colour dialog waits";
      if (action.numbers.empty()) return "";
      if (action.numbers[0] < 0 || action.numbers[0] > 256 ||
          ((action.numbers[0] == 0 || action.numbers[0] == 256) && !wait.allow_meta)) {
        return "the colour dialog has no colour " + std::to_string(action.numbers[0]);
      }
      return "";
    case ActionKind::kEnter:
    case ActionKind::kEsc:
      if (box) return "a message box waits for an answer";
      if (colour) return "the colour dialog waits";
      if (wait.kind == WaitKind::kDialog) return "a dialog waits: click 1 or click 2";
      if (wait.kind == WaitKind::kMenu && action.kind == ActionKind::kEnter) {
        return "a menu waits for an item";
      }
      return "";
    case ActionKind::kPickAt:
    case ActionKind::kPoint:
      if (!PointedAt(wait)) return "no prompt waits for a point on the drawing";
      return "";
    case ActionKind::kMove:
      if (wait.kind != WaitKind::kPrompt) return "no prompt follows the cursor";
      return "";
    case ActionKind::kPreselect:
      if (wait.kind != WaitKind::kCommandPrompt) return "a selection is made at the command prompt";
      return "";
    default:  // window actions
      if (box) return "a message box waits for an answer";
      if (colour) return "the colour dialog waits";
      return "";
  }
}

// A menu that waits takes only its own items that are not greyed.
std::string MenuItemRefusal(const platform::UserAction& action) {
  const platform::mfc::OpenMenuView* menu = platform::mfc::OpenMenu();
  if (menu == nullptr || action.kind != ActionKind::kMenu || action.text.empty() ||
      action.control != ::GetDlgCtrlID(menu->owner)) {
    return "";
  }
  return platform::WideToUtf8(platform::mfc::OpenMenuRefusal(action.text));
}

}  // namespace

bool ReadPageAction(const nlohmann::json& body, platform::UserAction* out, std::string* error) {
  if (!body.is_object()) {
    *error = "an action must be a JSON object";
    return false;
  }
  const auto name = body.find("action");
  if (name == body.end() || !name->is_string()) {
    *error = "\"action\" must name an action";
    return false;
  }
  const auto known = std::find_if(std::begin(kActions), std::end(kActions),
                                  [&](const ActionName& a) { return *name == a.name; });
  if (known == std::end(kActions)) {
    *error = "no action \"" + name->get<std::string>() + "\"";
    return false;
  }
  *out = platform::UserAction{};
  out->kind = known->kind;
  switch (out->kind) {
    case ActionKind::kClick:
      return WindowFields(body, out, error);
    case ActionKind::kType:
    case ActionKind::kChoose:
      return WindowFields(body, out, error) && Text(body, "text", true, &out->text, error);
    case ActionKind::kMenu:
      return WindowFields(body, out, error) && Text(body, "item", false, &out->text, error);
    case ActionKind::kHeader: {
      int column = 0;
      if (!WindowFields(body, out, error) || !Int(body, "column", true, &column, error)) {
        return false;
      }
      out->numbers = {column};
      return true;
    }
    case ActionKind::kRows: {
      if (!WindowFields(body, out, error)) return false;
      const auto rows = body.find("rows");
      if (rows == body.end() || !rows->is_array()) {
        *error = "\"rows\" must be a list of row numbers";
        return false;
      }
      for (const auto& row : *rows) {
        if (!row.is_number_integer() || row < 0 || row > 2147483647) {
          *error = "\"rows\" must be a list of row numbers";
          return false;
        }
        out->numbers.push_back(row.get<int>());
      }
      return true;
    }
    case ActionKind::kAnswer:
      return Text(body, "answer", true, &out->text, error);
    case ActionKind::kColour: {
      int colour = 0;
      if (!body.contains("colour")) return true;
      if (!Int(body, "colour", true, &colour, error)) return false;
      out->numbers = {colour};
      return true;
    }
    case ActionKind::kPickAt:
    case ActionKind::kPoint:
    case ActionKind::kMove:
      return Real(body, "x", &out->x, error) && Real(body, "y", &out->y, error);
    case ActionKind::kPreselect: {
      std::wstring mode;
      if (!Text(body, "mode", true, &mode, error)) return false;
      if (mode != L"window" && mode != L"crossing") {
        *error = "\"mode\" must be \"window\" or \"crossing\"";
        return false;
      }
      out->text = mode;
      return Corner(body, "from", &out->x, &out->y, error) &&
             Corner(body, "to", &out->x2, &out->y2, error);
    }
    default:
      return true;
  }
}

std::string RefusalOf(const platform::UserAction& action, int* status) {
  *status = 409;
  const platform::Wait wait = platform::CurrentWait();
  if (std::string why = WaitRefusal(action, wait); !why.empty()) return why;
  if (!action.IsWindowAction()) return "";
  if (std::string why = MenuItemRefusal(action); !why.empty()) return why;
  const std::wstring why = platform::mfc::WindowActionRefusal(action);
  if (why == L"no such window" || why == L"no such control") *status = 404;
  return platform::WideToUtf8(why);
}

}  // namespace web
