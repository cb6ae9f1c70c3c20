// ProjectModel: the order of the pattern list and which pattern is current.
#include "project/project_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<PatternData> Named(const wchar_t* name) {
  auto pattern = std::make_unique<PatternData>();
  pattern->name = name;
  return pattern;
}

std::wstring Names(const ProjectModel& project) {
  std::wstring names;
  for (int i = 0; i < project.PatternCount(); ++i) {
    if (i) names += L",";
    names += project.Pattern(i)->name.str();
    if (i == project.CurrentIndex()) names += L"*";
  }
  return names;
}

ProjectModel& Fill(ProjectModel& project, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names) project.AddPattern(Named(name));
  return project;
}

TEST(ProjectModelList, KeepsOrderAndOneCurrentPattern) {
  ProjectModel project;
  EXPECT_EQ(project.Current(), nullptr);
  EXPECT_EQ(project.CurrentIndex(), -1);
  Fill(project, {L"A", L"B", L"C"});
  EXPECT_EQ(Names(project), L"A*,B,C") << "the first pattern becomes current";
  EXPECT_TRUE(project.SetCurrent(2));
  EXPECT_FALSE(project.SetCurrent(3));
  EXPECT_FALSE(project.SetCurrent(-1));
  EXPECT_EQ(Names(project), L"A,B,C*");
  EXPECT_EQ(project.Pattern(3), nullptr);
  EXPECT_EQ(project.AddPattern(nullptr), nullptr);
  EXPECT_EQ(project.PatternCount(), 3);
}

TEST(ProjectModelList, RemovingKeepsTheOthersInOrder) {
  struct Case {
    int current;
    int removed;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {2, 2, L"A,B*,D"},  // the current one: its predecessor takes over
      {0, 0, L"B*,C,D"},  // the current first one: its successor takes over
      {2, 0, L"B,C*,D"},  // one before the current: the current one stays current
      {1, 3, L"A,B*,C"},  // one after the current
  };
  for (const Case& c : cases) {
    ProjectModel project;
    Fill(project, {L"A", L"B", L"C", L"D"});
    project.SetCurrent(c.current);
    EXPECT_TRUE(project.RemovePattern(c.removed));
    EXPECT_EQ(Names(project), c.expected) << "current " << c.current << " removed " << c.removed;
  }
  ProjectModel single;
  Fill(single, {L"A"});
  EXPECT_FALSE(single.RemovePattern(1));
  EXPECT_TRUE(single.RemovePattern(0));
  EXPECT_EQ(single.Current(), nullptr);
  EXPECT_EQ(single.CurrentIndex(), -1);
}

TEST(ProjectModelList, FindsNamesExactlyOrIgnoringCase) {
  ProjectModel project;
  project.SetName(L"Proj");
  Fill(project, {L"Light", L"LIGHT", L"ｐｏｗｅｒ"});
  EXPECT_EQ(project.FindPattern(L"LIGHT"), 1);
  EXPECT_EQ(project.FindPattern(L"light"), -1);
  EXPECT_EQ(project.FindPattern(L"light", true), 0) << "the first of equal names";
  EXPECT_EQ(project.FindPattern(nullptr), -1);
  project.ClearPatterns();
  EXPECT_EQ(project.PatternCount(), 0);
  EXPECT_EQ(project.CurrentIndex(), -1);
  EXPECT_EQ(project.Name(), L"Proj") << "clearing the list keeps the name";
}

}  // namespace
