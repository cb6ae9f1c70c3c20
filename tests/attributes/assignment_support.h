// Scenario tests of the assignment commands and the row writer: a route drawing made by the
// drawing builder, and the palette open on the bundled sample project, whose first pattern
// "受変電から分電盤" (trunk, conduit choice underground) has three rows:
//
//   row  code  system  panel/load     wire size       indoors  outdoors  underground
//   0    DK    1L-1    P-1,L-1        CV22sq-3C E8    (GP36)   (GP36)    (FEP50)
//   1    DR    1P-1    P-1,L-2        CVT60sq E14     (GP54)   (GP54)    (FEP80)
//   2    HJ    E-1     非常用発電機   FP14sq-3C E8    (GP36)             (FEP50)
//
// (codes from the trunk list: DK 電灯幹線, DR 動力幹線, HJ 非常電源幹線). The row check boxes are
// 238 + row, the conduit boxes 398 屋内, 399 屋外, 400 地中.
#pragma once

#include <afxcoll.h>
#include <dbid.h>

#include <string>
#include <vector>

#include "attributes_support.h"

namespace attributes_test {

using Records = std::vector<std::wstring>;

class AssignmentTest : public RouteDrawingTest {
 protected:
  // Opens the palette on the sample project's pattern `pattern` (through LastProj.ini, as the
  // palette restores the last project), then clears the transcript.
  void OpenSamplePalette(const wchar_t* pattern = L"受変電から分電盤");
  // Runs script text; the result is the session's exit status.
  int Run(const std::wstring& script);
  const std::wstring& Transcript() { return session().transcript(); }
  // The lock count of the current document (0 when no command holds it).
  static int LockCount();
};

// The "RQ_ATTR" records of an element, read straight from its XData.
Records RecordsOf(AcDbObjectId id);

// The records of an element as the route tools leave it: S501, S004, S3B9, S002 with empty
// values.
Records UntouchedRecords();

// `list` made the row indices `rows`; returns it.
CUIntArray& RowList(CUIntArray& list, const std::vector<int>& rows);

}  // namespace attributes_test
