// The open drawing of a session, over the document manager and the editor of the stand-ins.
#include "host/session/drawing_document.h"

#include <acdocman.h>
#include <aced.h>
#include <acedads.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/selection_set.h"
#include <dbmain.h>
#include "platform/mfc/window_system.h"

namespace host {

DrawingDocument::DrawingDocument()
    : DrawingDocument(std::make_unique<AcDbDatabase>(true, false), L"Drawing1.dwg") {}

DrawingDocument::DrawingDocument(std::unique_ptr<AcDbDatabase> database, const std::wstring& name)
    : database_(std::move(database)) {
  platform::acad::OpenDocument(database_.get(), name);
}

DrawingDocument::~DrawingDocument() {
  ClearPickfirst();
  // Text still queued for the command line belongs to this drawing.
  std::wstring dropped;
  while (platform::acad::TakeQueuedInput(&dropped)) {
  }
  platform::acad::CloseDocument();
}

void DrawingDocument::SetPickfirst(const std::vector<uint64_t>& handles,
                                   std::vector<uint64_t>* missing) {
  ads_name set = {0, 0};
  bool have_set = false;
  for (uint64_t handle : handles) {
    AcDbObjectId id;
    ads_name entity = {0, 0};
    AcDbEntity* probe = nullptr;
    if (database_->getAcDbObjectId(id, false, AcDbHandle(handle)) != Acad::eOk ||
        acdbOpenAcDbEntity(probe, id, AcDb::kForRead) != Acad::eOk) {
      missing->push_back(handle);
      continue;
    }
    probe->close();
    acdbGetAdsName(entity, id);
    ads_name result = {0, 0};
    if (acedSSAdd(entity, have_set ? set : nullptr, result) == RTNORM) {
      ads_name_set(result, set);
      have_set = true;
    }
  }
  if (have_set) {
    acedSSSetFirst(set, nullptr);
    acedSSFree(set);
  } else {
    ClearPickfirst();
  }
}

void DrawingDocument::SetPickfirstInRectangle(double x1, double y1, double x2, double y2,
                                              bool crossing) {
  const ads_point a = {x1, y1, 0}, b = {x2, y2, 0};
  using platform::acad::RectangleSelection;
  platform::acad::SetPickfirst(platform::acad::InRectangle(
      a, b, crossing ? RectangleSelection::kCrossing : RectangleSelection::kWindow));
}

void DrawingDocument::ClearPickfirst() {
  acedSSSetFirst(nullptr, nullptr);
}

void DrawingDocument::PumpWindowMessages() {
  platform::mfc::RunIdle();
}

bool DrawingDocument::TakeQueuedInput(std::wstring* text) {
  return platform::acad::TakeQueuedInput(text);
}

namespace {

std::wstring KeyOf(const platform::acad::OpenObjectInfo& info) {
  return info.handle + L" " + info.mode;
}

std::wstring LineOf(const platform::acad::OpenObjectInfo& info) {
  return info.class_name + L" " + info.handle + L" left open for " + info.mode;
}

}  // namespace

std::vector<std::wstring> DrawingDocument::TakeLeftOpen() {
  // The open pointers are the forgetful command's; the host cannot close them for it. Each
  // object is reported once, not again after every later command.
  std::vector<std::wstring> lines;
  for (const auto& info : platform::acad::OpenObjects(*database_)) {
    if (reported_.insert(KeyOf(info)).second) lines.push_back(LineOf(info));
  }
  return lines;
}

void DrawingDocument::BeginHandler() {
  // Nothing open is the usual case, and costs no look at the drawing's objects.
  std::set<std::wstring> open;
  for (const auto& info : platform::acad::OpenObjects(*database_)) open.insert(KeyOf(info));
  open_before_.push_back(std::move(open));
}

std::vector<std::wstring> DrawingDocument::EndHandler() {
  std::vector<std::wstring> lines;
  if (open_before_.empty()) return lines;
  const std::set<std::wstring> before = std::move(open_before_.back());
  open_before_.pop_back();
  for (const auto& info : platform::acad::OpenObjects(*database_)) {
    const std::wstring key = KeyOf(info);
    if (before.count(key) == 0 && reported_.insert(key).second) lines.push_back(LineOf(info));
  }
  return lines;
}

}  // namespace host
