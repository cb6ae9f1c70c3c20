// Automatic assignment on generated networks with rings, part blocks on the way, parts in state 3,
// hatched panels and loads of several rows: what a run leaves on every element (records, run
// markers, panel links) must be what the plain walk leaves, which follows every way again
// instead of taking the ways found by earlier traces as found.
#include <gtest/gtest.h>

#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include <gegbl.h>
#include "assignment_support.h"
#include "attributes/auto_assign.h"

namespace {

using attributes_test::RecordsOf;
using attributes_test::XDataStrings;

constexpr double kStep = 100;

// A grid network of `size` × `size` nodes, kStep apart. Each edge is left out, or is a route
// segment, a part block that a route passes through (some in state 3), or a hatched panel in
// its middle with a stub up to a load; loads of the names "A", "B", "C" and "Z" (no row) stand
// on some nodes. All in one route group; `terminal` is a segment of the bottom row.
struct Network {
  std::vector<AcDbObjectId> all;
  AcDbObjectId terminal;
};

void Build(tools::DrawingBuilder& b, unsigned seed, int size, bool jitter, Network* net) {
  b.DefineSegment(L"RT100", kStep);
  b.DefineSegment(L"RT50", kStep / 2);
  b.DefineSegment(L"PS100", kStep);
  b.DefinePart(L"LOAD", 20);
  b.DefineTee(L"RBT50", kStep / 2, /*hatched=*/true);
  std::mt19937 random(seed);
  auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  const wchar_t* const names[] = {L"A", L"B", L"C", L"Z"};
  auto name = [&]() { return std::wstring(names[random() % 4]); };
  // With `jitter`, elements are moved by none, a little over half or a little over the whole
  // of the point tolerance: ends that meet a neighbour need not meet the neighbour's other
  // neighbours at the same place.
  const double tolerance = AcGeContext::gTol.equalPoint();
  auto moved = [&](tools::Placement at) {
    if (jitter) {
      at.x += tolerance * 0.55 * static_cast<double>(random() % 3);
      at.y += tolerance * 0.55 * static_cast<double>(random() % 3);
    }
    return at;
  };
  net->all.clear();
  net->terminal = AcDbObjectId::kNull;
  for (int j = 0; j < size; ++j) {
    for (int i = 0; i < size; ++i) {
      const double x = kStep * i, y = kStep * j;
      for (int vertical = 0; vertical < 2; ++vertical) {
        if ((vertical ? j : i) == size - 1) continue;
        const tools::Placement at = moved({x, y, vertical ? 90.0 : 0.0});
        const bool bottom = j == 0 && !vertical;
        if (bottom && net->terminal.isNull() && i >= size / 2) {
          net->terminal = b.AddRouteElement(L"RT100", at);
          net->all.push_back(net->terminal);
        } else if (chance(20)) {
          continue;
        } else if (chance(12)) {
          net->all.push_back(b.AddPart(L"PS100", at, name(), chance(50) ? L"3" : L""));
        } else if (!vertical && chance(12)) {
          net->all.push_back(b.AddRouteElement(L"RBT50", moved({x + kStep / 2, y})));
          net->all.push_back(b.AddRouteElement(L"RT50", moved({x + kStep / 2, y, 90})));
          net->all.push_back(b.AddPart(L"LOAD", moved({x + kStep / 2, y + kStep / 2}), name()));
        } else {
          net->all.push_back(b.AddRouteElement(L"RT100", at));
        }
      }
      if (chance(15)) net->all.push_back(b.AddPart(L"LOAD", moved({x, y}), name()));
    }
  }
  b.AddGroup(L"NET", net->all);
}

class AutoAssignNetworkTest : public attributes_test::AssignmentTest {
 protected:
  void TearDown() override {
    SetAutoTraceRemembersFoundWays(true);
    AssignmentTest::TearDown();
  }

  // Runs the assignment on network `seed` of `size` with rows 0 to 2 named "A", "B", "C" and
  // ticked; what every element holds afterwards, one line each.
  std::vector<std::wstring> RunOn(unsigned seed, int size, bool jitter, bool remember) {
    AssignmentTest::TearDown();
    SetAutoTraceRemembersFoundWays(remember);
    Network net;
    StartSession([&](tools::DrawingBuilder& b) { Build(b, seed, size, jitter, &net); });
    OpenSamplePalette();
    wchar_t terminal[32];
    std::swprintf(terminal, 32, L"%llX",
                  static_cast<unsigned long long>(tools::HandleOf(net.terminal)));
    std::wstring script = L"type 258 A\ntype 259 B\ntype 260 C\n";
    script += L"click 238\nclick 239\nclick 240\nclick 387\npick ";
    script += terminal;
    script += L"\n";
    EXPECT_EQ(Run(script), 0) << session().stop_reason();
    EXPECT_NE(Transcript().find(L"設定が終了しました。"), std::wstring::npos) << Transcript();
    std::vector<std::wstring> held;
    for (AcDbObjectId id : net.all) {
      std::wstring line = std::to_wstring(tools::HandleOf(id)) + L":";
      for (const std::wstring& record : RecordsOf(id)) line += L" " + record;
      for (const wchar_t* app : {L"RQPX_AUTOFLAG", L"RQPX_BANLINK"}) {
        line += std::wstring(L" ") + app + L"=";
        for (const std::wstring& s : XDataStrings(id, app)) line += s + L";";
      }
      held.push_back(line);
    }
    return held;
  }

  // Compares the two walks on networks 1 to `networks`; the number of networks in which some
  // element took a row, so that the comparison is known to have seen writes.
  int Compare(unsigned networks, bool jitter) {
    int wired = 0;
    for (unsigned seed = 1; seed <= networks; ++seed) {
      const int size = 3 + static_cast<int>(seed % 3);
      const std::vector<std::wstring> plain = RunOn(seed, size, jitter, false);
      const std::vector<std::wstring> remembered = RunOn(seed, size, jitter, true);
      EXPECT_EQ(remembered.size(), plain.size());
      for (size_t i = 0; i < plain.size() && i < remembered.size(); ++i)
        EXPECT_EQ(remembered[i], plain[i]) << "network " << seed << ", element " << i;
      for (const std::wstring& line : plain) {
        if (line.find(L"S004|1") != std::wstring::npos) {
          ++wired;
          break;
        }
      }
    }
    return wired;
  }
};

TEST_F(AutoAssignNetworkTest, EveryElementHoldsWhatThePlainWalkLeaves) {
  EXPECT_GE(Compare(40, /*jitter=*/false), 20);
}

// Where meeting is not passed on (A meets B and B meets C at one place, A not C), a path may
// come back into the part of the network that an earlier trace found its way through without
// meeting its own path there.
TEST_F(AutoAssignNetworkTest, EveryElementHoldsWhatThePlainWalkLeavesWhereMeetingIsNotPassedOn) {
  EXPECT_GE(Compare(200, /*jitter=*/true), 60);
}

}  // namespace
