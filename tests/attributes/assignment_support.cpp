// The assignment tests' session: a route drawing and the palette on the sample project.
#include "assignment_support.h"

#include <windows.h>

#include <acdocman.h>



namespace attributes_test {

void AssignmentTest::OpenSamplePalette(const wchar_t* pattern) {
  ASSERT_TRUE(folder().RememberProject(L"サンプルビル", pattern));
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << session().stop_reason();
  session().ClearTranscript();
}

int AssignmentTest::Run(const std::wstring& script) {
  return session().RunScript(script);
}

int AssignmentTest::LockCount() {
  AcApDocument* document = acDocManager->curDocument();
  return document ? document->lockCount() : -1;
}

Records RecordsOf(AcDbObjectId id) {
  return XDataStrings(id, L"RQ_ATTR");
}

Records UntouchedRecords() {
  return {L"S501||2|1|55|0|", L"S004||2|1|55|0|", L"S3B9||2|1|55|0|", L"S002||2|1|55|0|"};
}

CUIntArray& RowList(CUIntArray& list, const std::vector<int>& rows) {
  list.RemoveAll();
  for (int row : rows) list.Add(static_cast<UINT>(row));
  return list;
}

}  // namespace attributes_test
