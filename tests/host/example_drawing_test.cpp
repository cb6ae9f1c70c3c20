// The bundled example drawing: made again it is the checked-in file, it loads, its routes join
// every panel with its loads and the terminal segment, and ezdxf audits it without errors.
#include "tools/example_drawing.h"

#include <acdocman.h>
#include <acutads.h>
#include <dbents.h>
#include <dbgroup.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include "platform/win/text_encoding.h"
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "attributes/element_class.h"
#include "host/dxf/dxf_objects.h"
#include "dxf_test_support.h"
#include "host/dxf/dxf_reader.h"
#include <ApiComn.h>
#include <AttributeData.h>
#include <RootComn.h>
#include <VuRida.h>

namespace host {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using testing::FirstDifference;

TEST(ExampleDrawingTest, MakingItAgainGivesTheCheckedInFile) {
  const std::string path = tools::BundledExampleDrawingPath();
  const std::string checked_in = Slurp(path);
  ASSERT_FALSE(checked_in.empty()) << "nothing at " << path;
  std::wstring error;
  const std::string made = tools::ExampleDrawingDxf(&error);
  ASSERT_FALSE(made.empty()) << platform::WideToUtf8(error);
  EXPECT_TRUE(made == checked_in) << FirstDifference(made, checked_in)
                                  << "\n(make it again with harnex-host --make-example " << path
                                  << ")";
}

// Runs the built program (it sits in the build folder above the tests' folder) and gives its
// exit status; what it wrote to standard error goes to *err.
int RunProgram(const std::string& args, std::string* err) {
  const fs::path program = fs::current_path().parent_path() / "harnex-host";
  if (!fs::exists(program)) {
    *err = "no program at " + program.string();
    return -1;
  }
  const fs::path err_file =
      fs::temp_directory_path() / ("harnex_example_err_" + std::to_string(::getpid()));
  const std::string command =
      program.string() + " " + args + " </dev/null >/dev/null 2>" + err_file.string();
  const int raw = std::system(command.c_str());
  *err = Slurp(err_file);
  fs::remove(err_file);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(ExampleDrawingTest, TheProgramMakesItAgain) {
  const fs::path dir =
      fs::temp_directory_path() / ("harnex_make_example_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path out = dir / "plan.dxf";
  std::string err;
  ASSERT_EQ(RunProgram("--make-example " + out.string(), &err), 0) << err;
  EXPECT_TRUE(Slurp(out) == Slurp(tools::BundledExampleDrawingPath()));

  EXPECT_EQ(RunProgram("--make-example " + (dir / "missing" / "plan.dxf").string(), &err), 1);
  EXPECT_NE(err.find("missing/plan.dxf: cannot be written"), std::string::npos) << err;
  EXPECT_EQ(RunProgram("--make-example " + out.string() + " --no-host-module", &err), 1);
  EXPECT_NE(err.find("--make-example takes no other options"), std::string::npos) << err;
  fs::remove_all(dir);
}

// ---- The drawing as the route tools and Harnex see it ----

class ExampleRoutesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DxfReadResult read = ReadDxfFile(tools::BundledExampleDrawingPath());
    ASSERT_TRUE(read.ok()) << platform::WideToUtf8(read.error);
    for (const auto& warning : read.warnings) ADD_FAILURE() << platform::WideToUtf8(warning);
    db_ = std::move(read.database);
    platform::acad::OpenDocument(db_.get(), L"office_1f.dxf");

    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, db_->modelSpaceId(), AcDb::kForRead), Acad::eOk);
    const std::vector<AcDbObjectId> ids = space->entityIds();
    space->close();
    for (const AcDbObjectId& id : ids) {
      if (!HasLinkData(id)) continue;
      elements_.append(id);
      const int kind = RouteKindOf(id, -1);
      if (kind == kRouteKindPart) parts_[Name(id)] = id;
      if (kind == kRouteKindElement && IsHatchedPanel(id)) hatched_.push_back(id);
      if (kind == kRouteKindElement && ElementClassOf(id) == BlockClass::KK) kk_.push_back(id);
    }
  }
  void TearDown() override {
    if (db_ == nullptr) return;
    EXPECT_EQ(platform::acad::DescribeOpenObjects(*db_), L"");
    platform::acad::CloseDocument();
  }

  static std::wstring Name(AcDbObjectId id) {
    return CAttributeData::GetValueAttID(id, L"S001").GetString();
  }
  static AcGePoint3dArray Points(AcDbObjectId id) {
    AcGePoint3dArray points;
    VuRida_GetConnectPoint(id, points, RQCONECT_LAYER, nullptr);
    return points;
  }
  // The members of `list` that meet `from` at `point`.
  static std::vector<AcDbObjectId> Neighbours(const AcDbObjectIdArray& list, AcDbObjectId from,
                                              const AcGePoint3d& point) {
    AcDbObjectIdArray found;
    int count = 0;
    if (RootComn_GetConnectBlock7(list, from, point, found, count, 0, 3) != 0) return {};
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < found.length(); ++i) ids.push_back(found[i]);
    return ids;
  }
  // Everything reached from `start` by going from connection point to connection point within
  // `list`. With `stop_at_panels`, part blocks and hatched panels other than `start` are
  // reached but not gone through, as a wiring trace ends at the next panel.
  static std::set<AcDbObjectId> Reach(const AcDbObjectIdArray& list, AcDbObjectId start,
                                      bool stop_at_panels) {
    std::set<AcDbObjectId> reached{start};
    std::vector<AcDbObjectId> todo{start};
    while (!todo.empty()) {
      const AcDbObjectId at = todo.back();
      todo.pop_back();
      if (stop_at_panels && at != start &&
          (RouteKindOf(at, -1) == kRouteKindPart || IsHatchedPanel(at))) {
        continue;
      }
      const AcGePoint3dArray points = Points(at);
      for (int i = 0; i < points.length(); ++i) {
        for (const AcDbObjectId& next : Neighbours(list, at, points[i])) {
          if (reached.insert(next).second) todo.push_back(next);
        }
      }
    }
    return reached;
  }
  std::set<std::wstring> PartNames(const std::set<AcDbObjectId>& ids) const {
    std::set<std::wstring> names;
    for (const AcDbObjectId& id : ids) {
      if (RouteKindOf(id, -1) == kRouteKindPart) names.insert(Name(id));
    }
    return names;
  }
  // The route tools' terminal segment: the one segment that leaves the riser's KK element.
  AcDbObjectId Terminal() const {
    if (kk_.size() != 1) return AcDbObjectId::kNull;
    const AcGePoint3dArray points = Points(kk_[0]);
    if (points.length() != 1) return AcDbObjectId::kNull;
    const std::vector<AcDbObjectId> next = Neighbours(elements_, kk_[0], points[0]);
    return next.size() == 1 ? next[0] : AcDbObjectId::kNull;
  }

  std::vector<AcDbObjectId> Elements() const {
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < elements_.length(); ++i) ids.push_back(elements_[i]);
    return ids;
  }

  std::unique_ptr<AcDbDatabase> db_;
  AcDbObjectIdArray elements_;  // every entity with "RQ_LINK" data, in drawing order
  std::map<std::wstring, AcDbObjectId> parts_;
  std::vector<AcDbObjectId> hatched_, kk_;
};

const std::set<std::wstring> kLoads = {
    L"L-1", L"L-2", L"空調室外機 AC-1", L"空調室外機 AC-2", L"換気扇 EF-1", L"給水ポンプ"};

TEST_F(ExampleRoutesTest, PanelsLoadsAndElementsCarryTheRouteToolsData) {
  std::set<std::wstring> names;
  for (const auto& [name, id] : parts_) names.insert(name);
  std::set<std::wstring> expected = kLoads;
  expected.insert(L"1F-L1");
  EXPECT_EQ(names, expected);
  for (const auto& [name, id] : parts_) {
    CStringArray records;
    ASSERT_EQ(ApiComn_extractAttributesArrayID(id, L"RQ_ATTR", records, 0), 0) << name;
    ASSERT_EQ(records.GetSize(), 1) << name;
    EXPECT_EQ(std::wstring(records[0].GetString()), L"S001|" + name + L"|2|1|55|0|");
    EXPECT_EQ(EtatValue(id), 0) << name;
  }
  // One hatched panel, with its supply and two feeders.
  ASSERT_EQ(hatched_.size(), 1u);
  EXPECT_EQ(ElementClassOf(hatched_[0]), BlockClass::RBT);
  EXPECT_EQ(Points(hatched_[0]).length(), 3);
  // Every route element starts with the four empty records and stands in its route, except
  // the two plain segments of the outdoor run (RT6050, state 0).
  int plain = 0;
  for (const AcDbObjectId& id : Elements()) {
    if (RouteKindOf(id, -1) != kRouteKindElement) continue;
    CStringArray records;
    ASSERT_EQ(ApiComn_extractAttributesArrayID(id, L"RQ_ATTR", records, 0), 0);
    ASSERT_EQ(records.GetSize(), 4);
    EXPECT_EQ(std::wstring(records[0].GetString()), L"S501||2|1|55|0|");
    EXPECT_EQ(std::wstring(records[3].GetString()), L"S002||2|1|55|0|");
    CString block;
    VuRida_GetIDByBlockName(id, block);
    if (block == L"RT6050") {
      EXPECT_EQ(EtatValue(id), 0);
      ++plain;
    } else {
      EXPECT_TRUE(EtatIsRoute(id)) << block.GetString();
    }
  }
  EXPECT_EQ(plain, 2);
  // Segments, bends and tees make up the routes.
  std::map<BlockClass, int> classes;
  for (const AcDbObjectId& id : Elements()) ++classes[ElementClassOf(id)];
  EXPECT_GE(classes[BlockClass::RT], 20);
  EXPECT_GE(classes[BlockClass::RB], 10);
  EXPECT_EQ(VuRida_GetGlobalScale(), 100.0);
  EXPECT_EQ(DxfHeaderValue(*db_, L"$INSUNITS"), L"4");
}

TEST_F(ExampleRoutesTest, EveryConnectionPointMeetsAnotherElement) {
  // No route ends in the air: the drawing's routes are joined end to end exactly.
  for (const AcDbObjectId& id : Elements()) {
    const AcGePoint3dArray points = Points(id);
    ASSERT_GT(points.length(), 0);
    for (int i = 0; i < points.length(); ++i) {
      const AcGePoint3d& p = points[i];
      EXPECT_FALSE(Neighbours(elements_, id, p).empty())
          << "nothing meets " << platform::WideToUtf8(Name(id)) << " (handle "
          << id.handle().value() << ") at " << p.x << "," << p.y;
    }
  }
}

TEST_F(ExampleRoutesTest, EachPanelReachesItsLoadsAndTheTerminalSegment) {
  const AcDbObjectId terminal = Terminal();
  ASSERT_FALSE(terminal.isNull()) << "no single segment leaves the riser's KK element";
  EXPECT_EQ(ElementClassOf(terminal), BlockClass::RT);
  EXPECT_EQ(Points(terminal).length(), 2);
  ASSERT_EQ(parts_.count(L"1F-L1"), 1u);
  ASSERT_EQ(hatched_.size(), 1u);

  const std::set<AcDbObjectId> from_lighting = Reach(elements_, parts_[L"1F-L1"], true);
  EXPECT_EQ(PartNames(from_lighting), (std::set<std::wstring>{L"1F-L1", L"L-1", L"L-2"}));
  EXPECT_TRUE(from_lighting.count(terminal));
  EXPECT_TRUE(from_lighting.count(hatched_[0]));

  const std::set<AcDbObjectId> from_power = Reach(elements_, hatched_[0], true);
  EXPECT_EQ(PartNames(from_power),
            (std::set<std::wstring>{L"1F-L1", L"空調室外機 AC-1", L"空調室外機 AC-2",
                                    L"換気扇 EF-1", L"給水ポンプ"}));
  EXPECT_TRUE(from_power.count(terminal));

  // Each load, followed through its panel, reaches the terminal segment.
  for (const std::wstring& load : kLoads) {
    ASSERT_EQ(parts_.count(load), 1u) << platform::WideToUtf8(load);
    EXPECT_TRUE(Reach(elements_, parts_[load], false).count(terminal))
        << platform::WideToUtf8(load);
  }
}

TEST_F(ExampleRoutesTest, RouteGroupsFromTheTerminalCoverTheWholeNetwork) {
  const AcDbObjectId terminal = Terminal();
  ASSERT_FALSE(terminal.isNull());
  int count = 0;
  AcDbObjectIdArray groups;
  CStringArray names;
  CUIntArray sizes;
  ASSERT_EQ(RootComn_GetRootGroups(terminal, count, groups, names, sizes, 3, 0), 0);
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(names[0].GetString(), L"ROUTE01");
  // The lighting branch is its own route, joined to the first through the lighting panel.
  ASSERT_EQ(RootComn_GetRootGroups(parts_[L"L-1"], count, groups, names, sizes, 3, 0), 0);
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(names[0].GetString(), L"ROUTE02");
  ASSERT_EQ(RootComn_GetRootGroups(parts_[L"1F-L1"], count, groups, names, sizes, 3, 0), 0);
  EXPECT_EQ(count, 2);

  // The two groups hold every route element and part block, the lighting panel in both.
  std::set<AcDbObjectId> members;
  int total = 0;
  for (int i = 0; i < count; ++i) {
    AcDbGroup* group = nullptr;
    ASSERT_EQ(acdbOpenObject(group, groups[i], AcDb::kForRead), Acad::eOk);
    AcDbObjectIdArray ids;
    group->allEntityIds(ids);
    group->close();
    total += ids.length();
    for (int k = 0; k < ids.length(); ++k) members.insert(ids[k]);
  }
  const std::vector<AcDbObjectId> all = Elements();
  EXPECT_EQ(members, std::set<AcDbObjectId>(all.begin(), all.end()));
  EXPECT_EQ(total, elements_.length() + 1);
}

// ---- ezdxf ----

bool EzdxfInstalled() {
  return std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
}

TEST(ExampleDrawingTest, EzdxfAuditsItWithoutErrorsAndSeesOurElements) {
  if (!EzdxfInstalled()) GTEST_SKIP() << "python3-ezdxf is not installed for /usr/bin/python3";
  const fs::path dir = fs::temp_directory_path() / ("harnex_ezdxf_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "audit.py") << R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("errors", len(auditor.errors))
for e in auditor.errors:
    print("error", e.message)
inserts = [e for e in doc.modelspace() if e.dxftype() == "INSERT" and e.has_xdata("RQ_LINK")]
kinds = [e.get_xdata("RQ_LINK")[0].value for e in inserts]
print("elements", kinds.count("3"), "parts", kinds.count("0"))
for e in inserts:
    if e.get_xdata("RQ_LINK")[0].value == "0":
        print("part", e.get_attrib_text("S001"), e.get_xdata("RQ_ATTR")[0].value)
hatched = [b.name for b in doc.blocks if any(x.dxftype() == "HATCH" for x in b)]
print("hatched", " ".join(hatched))
for name, group in sorted(doc.groups):
    print("group", name, len(group))
)";
  const fs::path out = dir / "audit.out";
  const std::string command = "/usr/bin/python3 " + (dir / "audit.py").string() + " " +
                              tools::BundledExampleDrawingPath() + " >" + out.string() + " 2>&1";
  const int status = std::system(command.c_str());
  const std::string text = Slurp(out);
  fs::remove_all(dir);
  ASSERT_EQ(status, 0) << text;
  EXPECT_NE(text.find("errors 0\n"), std::string::npos) << text;
  // What ezdxf counts is what our own reader found.
  DxfReadResult read = ReadDxfFile(tools::BundledExampleDrawingPath());
  ASSERT_TRUE(read.ok());
  int elements = 0, parts = 0;
  std::map<std::wstring, int> groups;
  for (AcDbObjectId id : platform::acad::AllObjectIds(*read.database)) {
    AcDbObject* object = nullptr;
    if (acdbOpenObject(object, id, AcDb::kForRead) != Acad::eOk) continue;
    if (AcDbBlockReference::cast(object) != nullptr &&
        object->ownerId() == read.database->modelSpaceId()) {
      resbuf* link = object->xData(L"RQ_LINK");
      if (link != nullptr && link->rbnext != nullptr) {
        const std::wstring kind = link->rbnext->resval.rstring;
        elements += kind == L"3";
        parts += kind == L"0";
      }
      acutRelRb(link);
    } else if (auto* group = AcDbGroup::cast(object)) {
      groups[group->name()] = static_cast<int>(group->numEntities());
    }
    object->close();
  }
  EXPECT_NE(
      text.find("elements " + std::to_string(elements) + " parts " + std::to_string(parts) + "\n"),
      std::string::npos)
      << text;
  for (const std::wstring& load : kLoads) {
    const std::string name = platform::WideToUtf8(load);
    EXPECT_NE(text.find("part " + name + " S001|" + name + "|2|1|55|0|\n"), std::string::npos)
        << text;
  }
  EXPECT_NE(text.find("hatched RBT_P1200\n"), std::string::npos) << text;
  for (const auto& [name, size] : groups) {
    EXPECT_NE(text.find("group " + platform::WideToUtf8(name) + " " + std::to_string(size) + "\n"),
              std::string::npos)
        << text;
  }
  EXPECT_EQ(groups.size(), 2u);
}

}  // namespace
}  // namespace host
