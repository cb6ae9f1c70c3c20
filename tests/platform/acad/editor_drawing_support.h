// A small drawing for the editor's tests: lines, texts, blocks and references in a working
// database that the editor functions see.
#pragma once

#include <cstdint>
#include <memory>

#include <dbents.h>
#include <dbmain.h>

namespace editor_test {

class TestDrawing {
 public:
  TestDrawing();  // a new drawing, made the working database
  ~TestDrawing();
  TestDrawing(const TestDrawing&) = delete;
  TestDrawing& operator=(const TestDrawing&) = delete;

  AcDbDatabase* db() const { return db_.get(); }
  AcDbObjectId modelSpace() const { return db_->modelSpaceId(); }

  // Appends an entity (taking it) to model space or to a block; returns its id.
  AcDbObjectId Append(AcDbEntity* entity, AcDbObjectId owner = AcDbObjectId::kNull);
  AcDbObjectId Line(double x0, double y0, double x1, double y1,
                    AcDbObjectId owner = AcDbObjectId::kNull);
  AcDbObjectId Block(const wchar_t* name);
  AcDbObjectId Insert(AcDbObjectId block, double x, double y, double rotation = 0, double scale = 1,
                      AcDbObjectId owner = AcDbObjectId::kNull);
  AcDbObjectId Layer(const wchar_t* name, bool frozen);
  void SetLayer(AcDbObjectId entity, const wchar_t* layer);
  // Registers the application and gives the entity one string of XData of it.
  void AddXData(AcDbObjectId entity, const wchar_t* app);

  uint64_t Handle(AcDbObjectId id) const { return id.handle().value(); }
  // Every object open at this moment, as the host's left-open check lists them ("" for none).
  std::wstring OpenObjects() const;

 private:
  std::unique_ptr<AcDbDatabase> db_;
};

}  // namespace editor_test
