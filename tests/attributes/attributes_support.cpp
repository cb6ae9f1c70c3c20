// A host session on a route drawing for the tests of the wiring attribute record.
#include "attributes_support.h"

#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include "platform/acad/dbhost.h"
#include "tools/harnex_session.h"
#include <dbmain.h>
#include <dbsymtb.h>

namespace attributes_test {

void RouteDrawingTest::StartSession(const std::function<void(tools::DrawingBuilder&)>& build) {
  std::string error;
  folder_ = tools::SystemFolderCopy::Create("", &error);
  ASSERT_NE(folder_, nullptr) << error;
  host::Session::Options options = tools::HarnexSessionOptions();
  options.config_path = folder_->config_path();
  std::wstring build_error;
  options.drawing = [&build, &build_error](AcDbDatabase* db) {
    tools::DrawingBuilder builder(db);
    build(builder);
    build_error = builder.error();
  };
  session_ = std::make_unique<host::Session>(options);
  ASSERT_TRUE(session_->Start());
  ASSERT_EQ(build_error, L"");
}

void RouteDrawingTest::StartSessionOnFile(const std::string& dxf) {
  std::string error;
  folder_ = tools::SystemFolderCopy::Create("", &error);
  ASSERT_NE(folder_, nullptr) << error;
  host::Session::Options options = tools::HarnexSessionOptions();
  options.config_path = folder_->config_path();
  options.drawing_file = dxf;
  session_ = std::make_unique<host::Session>(options);
  ASSERT_TRUE(session_->Start());
}

void RouteDrawingTest::TearDown() {
  if (session_ == nullptr) return;
  EXPECT_EQ(platform::acad::DescribeOpenObjects(*session_->database()), L"")
      << "objects were left open";
  session_.reset();
  folder_.reset();
}

void RouteDrawingTest::Queue(std::vector<host::ScriptStep> steps) {
  session_->user().Add(std::move(steps));
}

std::vector<std::wstring> XDataStrings(AcDbObjectId id, const wchar_t* app, bool* found) {
  std::vector<std::wstring> strings;
  if (found != nullptr) *found = false;
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, id, AcDb::kForRead) != Acad::eOk) return strings;
  resbuf* chain = object->xData(app);
  object->close();
  if (chain == nullptr) return strings;
  if (found != nullptr) *found = true;
  for (const resbuf* rb = chain->rbnext; rb != nullptr && rb->restype != 1001; rb = rb->rbnext) {
    if (rb->restype == 1000) strings.emplace_back(rb->resval.rstring ? rb->resval.rstring : L"");
  }
  acutRelRb(chain);
  return strings;
}

bool HasXData(AcDbObjectId id, const wchar_t* app) {
  bool found = false;
  XDataStrings(id, app, &found);
  return found;
}

int ColourOf(AcDbObjectId id) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return -1;
  const int colour = entity->colorIndex();
  entity->close();
  return colour;
}

std::vector<int> AttributeColoursOf(AcDbObjectId id) {
  std::vector<int> colours;
  AcDbBlockReference* reference = nullptr;
  if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) return colours;
  AcDbObjectIterator* it = reference->attributeIterator();
  for (; !it->done(); it->step()) colours.push_back(ColourOf(it->objectId()));
  delete it;
  reference->close();
  return colours;
}

void SetColour(AcDbObjectId id, int colour) {
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
  entity->setColorIndex(static_cast<Adesk::UInt16>(colour), true);
  entity->close();
}

AcDbObjectId FirstEntityOfBlock(const wchar_t* block) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTable* table = nullptr;
  if (db == nullptr || db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) {
    return AcDbObjectId::kNull;
  }
  AcDbBlockTableRecord* record = nullptr;
  const Acad::ErrorStatus es = table->getAt(block, record, AcDb::kForRead);
  table->close();
  if (es != Acad::eOk) return AcDbObjectId::kNull;
  AcDbBlockTableRecordIterator* it = nullptr;
  AcDbObjectId first;
  if (record->newIterator(it) == Acad::eOk) {
    if (!it->done()) it->getEntityId(first);
    delete it;
  }
  record->close();
  return first;
}

std::vector<std::wstring> ToVector(const CStringArray& list) {
  std::vector<std::wstring> strings;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) strings.push_back(list[i].str());
  return strings;
}

void Fill(CStringArray& list, const std::vector<std::wstring>& strings) {
  list.RemoveAll();
  for (const auto& s : strings) list.Add(s.c_str());
}

int CountOf(const std::wstring& haystack, const std::wstring& text) {
  int count = 0;
  for (size_t at = haystack.find(text); at != std::wstring::npos;
       at = haystack.find(text, at + text.size())) {
    ++count;
  }
  return count;
}

}  // namespace attributes_test
