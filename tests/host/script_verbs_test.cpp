// The verbs' table against itself: every form that help's syntax promises is read by the row's
// parser, each verb is found by its own spellings, and no two rows make the same kind of step.
#include "host/user/script_verbs.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "platform/win/text_encoding.h"

#include "host/user/script_words.h"

namespace host {
namespace {

std::string Utf8(std::wstring_view s) {
  return platform::WideToUtf8(std::wstring(s));
}

std::wstring AsciiUpper(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out) {
    if (c >= L'a' && c <= L'z') c = c - L'a' + L'A';
  }
  return out;
}

std::vector<std::wstring> Split(std::wstring_view s, wchar_t separator) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || s[i] == separator) {
      if (i > start) parts.emplace_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// What each word of a syntax stands for, as lines a user may write (an optional part: without
// it and with it). A syntax word missing here fails the test, so that a new one gets examples.
const std::map<std::wstring, std::vector<std::wstring>>& Placeholders() {
  static const std::map<std::wstring, std::vector<std::wstring>> kExamples = {
      {L"NAME", {L"LINE"}},
      {L"[ARG...]", {L"", L"a \"b c\" \"\""}},
      {L"H", {L"1A"}},
      {L"H[,H...]", {L"1A", L"1A,2b"}},
      {L"X,Y", {L"1,2"}},
      {L"X1,Y1", {L"0,0", L"-1.5, 2e1"}},
      {L"X2,Y2", {L"10,10", L"3 ,-4"}},
      {L"X,Y[,Z]", {L"1,2", L"1,-2.5,3e1"}},
      {L"CTRL", {L"1001"}},
      {L"TEXT", {L"新規 パターン", L"\"a # b\""}},
      {L"[TEXT]", {L"", L"12,5", L"\"\""}},
      {L"[ITEM]", {L"", L"屋内", L"\"貼り付け # 2\""}},
      {L"[I[,I...]]", {L"", L"0", L"0,2"}},
      {L"COL", {L"3"}},
      {L"[N]", {L"", L"7"}},
      {L"[VERB]", {L"", L"click", L"Color"}},
  };
  return kExamples;
}

// The lines that `syntax` (without its verb and @ID prefix) promises: each alternative of a|b,
// each word of one replaced by its examples in every combination. Words in lower case stand for
// themselves.
std::vector<std::wstring> ExampleArguments(std::wstring_view syntax, std::string* unknown) {
  std::vector<std::wstring> lines;
  for (const auto& alternative : Split(syntax, L'|')) {
    std::vector<std::wstring> partial = {L""};
    for (const auto& word : Split(alternative, L' ')) {
      std::vector<std::wstring> values = {word};
      if (word != AsciiLower(word)) {
        const auto it = Placeholders().find(word);
        if (it == Placeholders().end()) {
          // Appended in two steps: g++ 12 at -O3 reports a false overlap for " " + text.
          unknown->append(" ");
          unknown->append(Utf8(word));
          continue;
        }
        values = it->second;
      }
      std::vector<std::wstring> next;
      for (const auto& head : partial) {
        for (const auto& value : values) next.push_back(head + L" " + value);
      }
      partial = std::move(next);
    }
    lines.insert(lines.end(), partial.begin(), partial.end());
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

TEST(ScriptVerbsTest, EveryFormThatHelpShowsIsReadByItsVerb) {
  const std::wstring list = L"\n" + HelpText(L"");
  // The kind of step that each verb makes, to find two rows that share a parser by mistake.
  std::map<std::pair<int, int>, std::wstring> maker;
  for (const ScriptVerb& verb : ScriptVerbs()) {
    const std::string name = Utf8(verb.name);
    SCOPED_TRACE("verb " + name);
    // Found by its own name and alias in any case, so no earlier row hides it.
    EXPECT_EQ(AsciiLower(verb.name), verb.name);
    EXPECT_EQ(FindScriptVerb(verb.name), &verb);
    EXPECT_EQ(FindScriptVerb(AsciiUpper(verb.name)), &verb);
    if (!verb.alias.empty()) {
      EXPECT_EQ(FindScriptVerb(verb.alias), &verb);
      EXPECT_EQ(HelpText(verb.alias), HelpText(verb.name));
    }
    // Help lists it and shows its syntax, which begins with the verb as a line must.
    EXPECT_NE(list.find(L"\n" + std::wstring(verb.name) + L"  "), std::wstring::npos) << Utf8(list);
    EXPECT_EQ(HelpText(verb.name).rfind(std::wstring(verb.syntax) + L"\n", 0), 0u);
    const std::wstring head =
        (verb.window_action() ? std::wstring(L"[@ID] ") : std::wstring()) + std::wstring(verb.name);
    ASSERT_EQ(verb.syntax.substr(0, head.size()), head) << Utf8(verb.syntax);
    const std::wstring_view tail = verb.syntax.substr(head.size());
    ASSERT_TRUE(tail.empty() || tail.front() == L' ') << Utf8(verb.syntax);

    // Tab's keywords are the alternatives that the syntax shows.
    std::string unknown;
    const auto arguments = ExampleArguments(tail, &unknown);
    EXPECT_EQ(unknown, "") << "syntax words without examples in this test";
    EXPECT_EQ(verb.argument == VerbArgument::kKeyword, !verb.keywords.empty());
    for (const auto keyword : verb.keywords) {
      bool shown = false;
      for (const auto& alternative : Split(tail, L'|')) {
        const auto words = Split(alternative, L' ');
        shown = shown || (!words.empty() && words.front() == keyword);
      }
      EXPECT_TRUE(shown) << "keyword " << Utf8(keyword);
    }

    for (const auto& args : arguments) {
      std::vector<std::wstring> lines = {std::wstring(verb.name) + args};
      if (verb.window_action()) lines.push_back(L"@202 " + lines.front());
      for (const auto& line : lines) {
        std::vector<ScriptStep> steps;
        std::wstring error;
        ASSERT_TRUE(ReadScriptLine(line, 4, &steps, &error))
            << Utf8(line) << "\nerror: " << Utf8(error);
        ASSERT_EQ(steps.size(), 1u) << Utf8(line);
        const ScriptStep& step = steps.front();
        EXPECT_EQ(step.line, 4);
        EXPECT_EQ(step.action.template_id, line.front() == L'@' ? 202 : 0) << Utf8(line);
        const std::pair<int, int> kind{static_cast<int>(step.kind),
                                       static_cast<int>(step.action.kind)};
        const std::wstring& first_maker = maker.emplace(kind, verb.name).first->second;
        EXPECT_EQ(first_maker, verb.name)
            << Utf8(line) << " makes the step of " << Utf8(first_maker);
      }
    }
  }
}

}  // namespace
}  // namespace host
