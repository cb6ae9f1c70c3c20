// A small builder of route drawings for the maker's tests: a database made the working drawing
// of a document, route blocks with connection points, references with "RQ_LINK", groups.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <dbid.h>
#include <gepnt3d.h>

class AcDbDatabase;

namespace maker_test {

class TestDrawing {
 public:
  TestDrawing();
  ~TestDrawing();
  TestDrawing(const TestDrawing&) = delete;
  TestDrawing& operator=(const TestDrawing&) = delete;

  AcDbDatabase* db() const { return db_.get(); }

  void AddLayer(const wchar_t* name);
  // A block definition holding a line and, per point, a POINT entity on `point_layer`.
  AcDbObjectId AddBlock(const wchar_t* name, const std::vector<AcGePoint3d>& points,
                        const wchar_t* point_layer = L"RQ_CONNECT");
  // A reference in model space; `kind` >= 0 adds "RQ_LINK" XData with the kind in decimal.
  AcDbObjectId AddReference(const wchar_t* block, const AcGePoint3d& position,
                            double rotation = 0.0, double scale = 1.0, int kind = 3);
  AcDbObjectId AddGroup(const wchar_t* name, const std::vector<AcDbObjectId>& members);
  // The number of objects left open (must be 0 after every maker call).
  int OpenObjects() const;

 private:
  std::unique_ptr<AcDbDatabase> db_;
};

}  // namespace maker_test
