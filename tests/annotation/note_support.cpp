// The wiring note tests' session, and the shapes they compare entities by.
#include "note_support.h"

#include <Drag.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbelipse.h>
#include <dbents.h>
#include "platform/acad/dbhost.h"
#include <dbmain.h>
#include <dbsymtb.h>
#include <windows.h>

#include <cwchar>
#include <fstream>

#include "platform/win/text_encoding.h"
#include "tools/harnex_session.h"

namespace note_test {

namespace {

std::wstring TakeString(ACHAR* text) {
  std::wstring out = text ? text : L"";
  if (text) acutDelString(text);
  return out;
}

std::vector<Shape> ShapesOfBlock(AcDbObjectId block_id) {
  std::vector<Shape> shapes;
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, block_id, AcDb::kForRead) != Acad::eOk) return shapes;
  AcDbBlockTableRecordIterator* it = nullptr;
  if (block->newIterator(it) == Acad::eOk) {
    for (; !it->done(); it->step()) {
      AcDbEntity* entity = nullptr;
      if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
      shapes.push_back(ShapeOf(entity));
      entity->close();
    }
    delete it;
  }
  block->close();
  return shapes;
}

AcDbDatabase* Working() {
  return acdbHostApplicationServices()->workingDatabase();
}

}  // namespace

Shape ShapeOf(const AcDbEntity* entity) {
  Shape shape;
  shape.layer = TakeString(entity->layer());
  shape.colour = entity->colorIndex();
  shape.linetype = TakeString(entity->linetype());
  shape.line_weight = static_cast<int>(entity->lineWeight());
  if (const AcDbLine* line = AcDbLine::cast(entity)) {
    shape.type = L"LINE";
    shape.points = {line->startPoint(), line->endPoint()};
  } else if (const AcDbText* text = AcDbText::cast(entity)) {
    shape.type = L"TEXT";
    shape.points = {text->position(), text->alignmentPoint()};
    shape.text = text->textStringConst();
    shape.height = text->height();
    shape.width_factor = text->widthFactor();
  } else if (const AcDbEllipse* ellipse = AcDbEllipse::cast(entity)) {
    shape.type = L"ELLIPSE";
    shape.points = {ellipse->center(), ellipse->center() + ellipse->majorAxis()};
    shape.ratio = ellipse->radiusRatio();
    shape.start = ellipse->startAngle();
    shape.end = ellipse->endAngle();
  } else if (const AcDbBlockReference* reference = AcDbBlockReference::cast(entity)) {
    shape.type = L"INSERT";
    shape.points = {reference->position()};
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, reference->blockTableRecord(), AcDb::kForRead) == Acad::eOk) {
      shape.text = block->name();
      block->close();
    }
  } else {
    shape.type = L"?";
  }
  return shape;
}

std::vector<Shape> ShownShapes() {
  std::vector<Shape> shapes;
  const CDrag* drag = CDrag::Running();
  if (drag == nullptr) return shapes;
  for (const AcDbEntity* entity : drag->ShownEntities()) shapes.push_back(ShapeOf(entity));
  return shapes;
}

std::vector<Shape> BlockShapes(const std::wstring& name) {
  AcDbBlockTable* table = nullptr;
  if (Working()->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObjectId id;
  const bool found = table->getAt(name.c_str(), id) == Acad::eOk;
  table->close();
  return found ? ShapesOfBlock(id) : std::vector<Shape>{};
}

std::vector<std::wstring> NoteBlockNames() {
  std::vector<std::wstring> names;
  AcDbBlockTable* table = nullptr;
  if (Working()->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return names;
  AcDbBlockTableIterator* it = nullptr;
  if (table->newIterator(it) == Acad::eOk) {
    for (; !it->done(); it->step()) {
      AcDbBlockTableRecord* record = nullptr;
      if (it->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
      const std::wstring name = record->name();
      if (name.rfind(L"PXNT", 0) == 0 && !record->isErased()) names.push_back(name);
      record->close();
    }
    delete it;
  }
  table->close();
  return names;
}

std::vector<Shape> ModelSpaceShapes() {
  return ShapesOfBlock(Working()->modelSpaceId());
}

::testing::AssertionResult Near(const AcGePoint3d& a, const AcGePoint3d& e) {
  if (std::abs(a.x - e.x) < 1e-7 && std::abs(a.y - e.y) < 1e-7 && std::abs(a.z - e.z) < 1e-7) {
    return ::testing::AssertionSuccess();
  }
  wchar_t text[200];
  std::swprintf(text, 200, L"(%.12g, %.12g, %.12g) where (%.12g, %.12g, %.12g) was expected", a.x,
                a.y, a.z, e.x, e.y, e.z);
  return ::testing::AssertionFailure() << platform::WideToUtf8(text);
}

::testing::AssertionResult IsLine(const Shape& shape, const AcGePoint3d& start,
                                  const AcGePoint3d& end) {
  if (shape.type != L"LINE") {
    return ::testing::AssertionFailure() << platform::WideToUtf8(shape.type) << " is no LINE";
  }
  auto a = Near(shape.points[0], start);
  if (!a) return ::testing::AssertionFailure() << "start " << a.message();
  auto b = Near(shape.points[1], end);
  if (!b) return ::testing::AssertionFailure() << "end " << b.message();
  return ::testing::AssertionSuccess();
}

void NoteSessionTest::SetUp() {
  std::string error;
  folder_ = tools::SystemFolderCopy::Create("", &error);
  ASSERT_NE(folder_, nullptr) << error;
}

void NoteSessionTest::TearDown() {
  if (session_ != nullptr && session_->database() != nullptr) {
    EXPECT_EQ(platform::acad::DescribeOpenObjects(*session_->database()), L"")
        << "objects were left open";
  }
  session_.reset();
  folder_.reset();
}

void NoteSessionTest::WriteNoteSettings(
    const std::vector<std::pair<std::wstring, std::wstring>>& values) {
  std::wstring text = L"[自動複数配線注記設定]\r\n";
  for (const auto& [key, value] : values) text += key + L"=" + value + L"\r\n";
  std::ofstream out(folder_->system_folder() + "/ZazoZivi.ini", std::ios::binary | std::ios::trunc);
  out << "\xEF\xBB\xBF" << platform::WideToUtf8(text);
}

void NoteSessionTest::Start(const std::function<void(tools::DrawingBuilder&)>& build, bool palette) {
  // The palette opens on the sample project, so that its note boxes can be clicked.
  ASSERT_TRUE(folder_->RememberProject(L"サンプルビル", L"受変電から分電盤"));
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
  if (palette) {
    ASSERT_EQ(session_->RunScript(L"command RQ_HARNEX\n"), 0);
  }
  session_->ClearTranscript();
}

int NoteSessionTest::RunLines(const std::vector<std::wstring>& lines,
                              const std::function<void(size_t)>& before) {
  shown_.clear();
  size_t next = 0;
  session_->SetLineSource([this, &lines, &next, &before](std::wstring* line, int) {
    if (next > 0) shown_.push_back(ShownShapes());
    if (next >= lines.size()) return false;
    if (before) before(next);
    *line = lines[next++];
    return true;
  });
  const int status = session_->Run({});
  session_->SetLineSource(nullptr);
  return status;
}

std::wstring At(double x, double y) {
  wchar_t text[100];
  std::swprintf(text, 100, L"%.17g,%.17g", x, y);
  return text;
}

}  // namespace note_test
