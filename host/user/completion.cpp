// Tab completion of typed lines: actions, command names and control ids.
#include "host/user/completion.h"

#include <accmd.h>
#include <aced.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <memory>

#include "host/user/script_verbs.h"
#include "host/user/script_words.h"
#include "platform/mfc/window_system.h"

namespace host {
namespace {

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         AsciiLower(text.substr(0, prefix.size())) == AsciiLower(prefix);
}

// The controls below `window` (every descendant with an id), id to text.
void CollectControls(HWND window, std::map<int, std::wstring>* controls) {
  const platform::mfc::WindowRecord* record = platform::mfc::FindWindowRecord(window);
  if (record == nullptr) return;
  for (HWND child : record->children) {
    const platform::mfc::WindowRecord* c = platform::mfc::FindWindowRecord(child);
    if (c == nullptr) continue;
    if (c->id > 0 && c->id != 0xFFFF) controls->emplace(c->id, c->text);
    CollectControls(child, controls);
  }
}

HWND WindowOfTemplate(int template_id) {
  for (HWND h : platform::mfc::AllWindows()) {
    const platform::mfc::WindowRecord* r = platform::mfc::FindWindowRecord(h);
    if (r != nullptr && r->template_id == template_id) return h;
  }
  return nullptr;
}

std::vector<std::wstring> CommandNames() {
  std::vector<std::wstring> names = {L"ARXCOMMANDS", L"ARXLOAD", L"ARXUNLOAD"};
  AcEdCommandStack* stack = acedRegCmds;
  std::unique_ptr<AcEdCommandIterator> it(stack ? stack->iterator() : nullptr);
  for (; it && !it->done(); it->next()) names.emplace_back(it->command()->globalName());
  return names;
}

}  // namespace

std::wstring CommonPrefix(const std::vector<std::wstring>& candidates) {
  if (candidates.empty()) return L"";
  std::wstring prefix = candidates.front();
  for (const auto& c : candidates) {
    size_t n = 0;
    while (n < prefix.size() && n < c.size() && prefix[n] == c[n]) ++n;
    prefix.resize(n);
  }
  return prefix;
}

Completion CompleteTypedLine(std::wstring_view line) {
  Completion result;
  // The words before the one being completed.
  std::vector<std::wstring> words;
  size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i >= line.size()) {
      result.word_start = start;
      break;
    }
    words.emplace_back(line.substr(start, i - start));
  }
  const std::wstring_view word = line.substr(result.word_start);

  std::map<std::wstring, std::wstring> found;  // candidate to label
  auto offer = [&](std::wstring_view candidate, std::wstring_view label) {
    if (StartsWithNoCase(candidate, word)) found.emplace(candidate, label);
  };
  // "@ID VERB CTRL": the template prefix names the window.
  int template_id = 0;
  if (!words.empty() && !words.front().empty() && words.front().front() == L'@') {
    template_id = std::wcstol(words.front().c_str() + 1, nullptr, 10);
    words.erase(words.begin());
    if (template_id <= 0) return result;
  }
  if (words.empty()) {
    // The first word: any verb, or a command name; after @ID only a window action.
    for (const auto& v : ScriptVerbs()) {
      if (template_id == 0 || v.window_action()) offer(v.name, v.name);
    }
    if (template_id == 0) {
      for (const auto& name : CommandNames()) offer(name, name);
    }
  } else if (words.size() == 1) {
    // The word after a verb: what its row says the verb takes first.
    const ScriptVerb* verb = FindScriptVerb(words.front());
    const VerbArgument argument = verb ? verb->argument : VerbArgument::kOther;
    if (argument == VerbArgument::kControl) {
      const HWND window =
          template_id ? WindowOfTemplate(template_id) : platform::mfc::ActiveActionWindow();
      std::map<int, std::wstring> controls;
      if (window != nullptr) CollectControls(window, &controls);
      for (const auto& [id, text] : controls) {
        offer(std::to_wstring(id),
              text.empty() ? std::to_wstring(id) : std::to_wstring(id) + L" " + text);
      }
    } else if (template_id == 0 && argument == VerbArgument::kVerb) {
      for (const auto& v : ScriptVerbs()) offer(v.name, v.name);
    } else if (template_id == 0 && argument == VerbArgument::kKeyword) {
      for (const auto& w : verb->keywords) offer(w, w);
    }
  }
  for (auto& [candidate, label] : found) {
    result.candidates.push_back(candidate);
    result.labels.push_back(label);
  }
  return result;
}

}  // namespace host
