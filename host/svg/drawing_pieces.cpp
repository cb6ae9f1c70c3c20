// The drawing entity by entity, kept up to date from the database's notifications.
#include "host/svg/drawing_pieces.h"

#include <acgitransient.h>
#include <dbents.h>
#include <dbsymtb.h>

#include <cstdio>

#include "host/svg/svg_renderer.h"

namespace host {
namespace {

std::string HandleText(AcDbObjectId id) {
  AcDbHandle handle = id.handle();
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(handle.value()));
  return buf;
}

// `markup` with data-handle in every element at its top level (each begins with "<name ").
std::string WithHandle(const std::string& markup, const std::string& handle) {
  std::string out;
  out.reserve(markup.size() + 24);
  const std::string attribute = " data-handle=\"" + handle + "\"";
  int depth = 0;
  for (size_t i = 0; i < markup.size(); ++i) {
    const char c = markup[i];
    out += c;
    if (c != '<') continue;
    if (i + 1 < markup.size() && markup[i + 1] == '/') {
      --depth;
      continue;
    }
    if (depth == 0) {
      size_t name_end = markup.find_first_of(" />", i + 1);
      if (name_end == std::string::npos) continue;
      out.append(markup, i + 1, name_end - i - 1);
      out += attribute;
      i = name_end - 1;
    }
    // An element that is not closed at once holds others until its end tag.
    const size_t close = markup.find('>', i + 1);
    if (close != std::string::npos && markup[close - 1] != '/') ++depth;
  }
  return out;
}

}  // namespace

DrawingPieces::~DrawingPieces() {
  Detach();
}

void DrawingPieces::Detach() {
  if (db_ != nullptr) db_->removeReactor(this);
  db_ = nullptr;
  model_space_.setNull();
  order_.clear();
  index_.clear();
  dirty_.clear();
  dirty_order_.clear();
  new_tables_.clear();
  redraw_all_ = false;
}

void DrawingPieces::Attach(AcDbDatabase* db) {
  Detach();
  if (db == nullptr) return;
  db_ = db;
  model_space_ = db->modelSpaceId();
  db_->addReactor(this);
  DrawingChanges ignored;
  RedrawAll(&ignored);
}

std::vector<const DrawingPiece*> DrawingPieces::Pieces() const {
  std::vector<const DrawingPiece*> pieces;
  pieces.reserve(index_.size());
  for (const auto& piece : order_)
    if (piece) pieces.push_back(piece.get());
  return pieces;
}

void DrawingPieces::objectAppended(const AcDbDatabase*, const AcDbObject* object) {
  // A new layer or block definition has nothing drawn through it yet.
  if (AcDbLayerTableRecord::cast(object) != nullptr ||
      AcDbBlockTableRecord::cast(object) != nullptr) {
    new_tables_.insert(object->objectId().stub());
    return;
  }
  Remember(object);
}
void DrawingPieces::objectModified(const AcDbDatabase*, const AcDbObject* object) {
  Remember(object);
}
void DrawingPieces::objectErased(const AcDbDatabase*, const AcDbObject* object, Adesk::Boolean) {
  Remember(object);
}
void DrawingPieces::goodbye(const AcDbDatabase* dwg) {
  if (dwg == db_) {
    db_ = nullptr;  // the database is gone: nothing is removed from it
    Detach();
  }
}

void DrawingPieces::Remember(const AcDbObject* object) {
  if (redraw_all_) return;
  const AcDbObjectId id = object->objectId();
  if (id.isNull() || id == model_space_) return;
  // Layers and block definitions show through many entities, unless they are new.
  if (AcDbLayerTableRecord::cast(object) != nullptr ||
      AcDbBlockTableRecord::cast(object) != nullptr) {
    if (new_tables_.count(id.stub()) == 0) redraw_all_ = true;
    return;
  }
  if (AcDbEntity::cast(object) == nullptr) return;  // never drawn by itself
  if (dirty_.insert(id.stub()).second) dirty_order_.push_back(id);
}

bool DrawingPieces::Draw(AcDbObjectId id, DrawingPiece* out) const {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return false;
  const bool top = entity->ownerId() == model_space_;
  if (top) {
    const EntityPicture picture = RenderEntityPicture(entity);
    out->handle = HandleText(id);
    if (picture.elements == 1) {
      out->markup = WithHandle(picture.markup, out->handle);
    } else if (picture.elements > 1) {
      out->markup = "<g data-handle=\"" + out->handle + "\">" + picture.markup + "</g>";
    } else {
      out->markup.clear();
    }
    out->points = WithHandle(picture.points, out->handle);
    out->any = picture.any;
    out->min_x = picture.min_x;
    out->min_y = picture.min_y;
    out->max_x = picture.max_x;
    out->max_y = picture.max_y;
  }
  entity->close();
  return top;
}

void DrawingPieces::RedrawAll(DrawingChanges* changes) {
  redraw_all_ = false;
  dirty_.clear();
  dirty_order_.clear();
  new_tables_.clear();
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, model_space_, AcDb::kForRead) != Acad::eOk) return;
  const std::vector<AcDbObjectId> ids = space->entityIds();
  space->close();
  std::unordered_set<std::string> seen;
  for (const AcDbObjectId& id : ids) {
    if (id.isErased()) continue;
    DrawingPiece piece;
    if (!Draw(id, &piece)) continue;
    seen.insert(piece.handle);
    auto at = index_.find(piece.handle);
    if (at == index_.end()) {
      index_.emplace(piece.handle, order_.size());
      changes->added.push_back(piece);
      order_.push_back(std::make_unique<DrawingPiece>(std::move(piece)));
    } else if (order_[at->second]->markup != piece.markup) {
      changes->changed.push_back(piece);
      *order_[at->second] = std::move(piece);
    }
  }
  for (auto it = index_.begin(); it != index_.end();) {
    if (seen.count(it->first) != 0) {
      ++it;
      continue;
    }
    changes->erased.push_back(it->first);
    order_[it->second].reset();
    it = index_.erase(it);
  }
}

void DrawingPieces::Apply(AcDbObjectId id, DrawingChanges* changes) {
  const std::string handle = HandleText(id);
  auto at = index_.find(handle);
  DrawingPiece piece;
  if (id.isErased() || !Draw(id, &piece)) {
    // Erased, or not (any more) a top-level entity of model space.
    if (at != index_.end()) {
      changes->erased.push_back(handle);
      order_[at->second].reset();
      index_.erase(at);
    }
    return;
  }
  if (at == index_.end()) {
    index_.emplace(handle, order_.size());
    changes->added.push_back(piece);
    order_.push_back(std::make_unique<DrawingPiece>(std::move(piece)));
  } else if (order_[at->second]->markup != piece.markup) {
    changes->changed.push_back(piece);
    *order_[at->second] = std::move(piece);
  }
}

DrawingChanges DrawingPieces::TakeChanges() {
  DrawingChanges changes;
  if (db_ == nullptr) return changes;
  if (redraw_all_) {
    RedrawAll(&changes);
    return changes;
  }
  if (dirty_order_.empty()) {
    new_tables_.clear();
    return changes;
  }
  std::vector<AcDbObjectId> later;
  std::vector<AcDbObjectId> now;
  now.swap(dirty_order_);
  dirty_.clear();
  // An attribute is drawn with its reference; a changed entity inside a block definition
  // changes every reference to it.
  std::vector<AcDbObjectId> tops;
  for (const AcDbObjectId& id : now) {
    AcDbEntity* entity = nullptr;
    const Acad::ErrorStatus es = acdbOpenAcDbEntity(entity, id, AcDb::kForRead, true);
    if (es == Acad::eWasOpenedForWrite) {
      later.push_back(id);
      continue;
    }
    if (es != Acad::eOk) continue;
    const AcDbObjectId owner = entity->ownerId();
    const bool attribute = AcDbAttribute::cast(entity) != nullptr;
    entity->close();
    if (owner == model_space_ || owner.isNull()) {
      tops.push_back(id);
    } else if (attribute) {
      tops.push_back(owner);
    } else if (new_tables_.count(owner.stub()) != 0) {
      // Inside a new block definition: drawn through the new references to it.
    } else {
      redraw_all_ = true;
    }
  }
  if (redraw_all_) {
    RedrawAll(&changes);
  } else {
    std::unordered_set<AcDbStub*> done;
    for (const AcDbObjectId& id : tops)
      if (done.insert(id.stub()).second) Apply(id, &changes);
  }
  for (const AcDbObjectId& id : later)
    if (dirty_.insert(id.stub()).second) dirty_order_.push_back(id);
  if (later.empty()) new_tables_.clear();
  return changes;
}

std::string DrawingPieces::TemporaryMarkup() {
  std::string markup;
  int n = 0;
  for (const AcGiDrawable* drawable : platform::acad::ShownTransients()) {
    AcDbEntity* entity = AcDbEntity::cast(drawable);
    if (entity == nullptr || !entity->isReadEnabled()) continue;
    const EntityPicture picture = RenderEntityPicture(entity);
    markup += "<g data-temporary=\"" + std::to_string(n++) + "\">" + picture.markup +
              picture.points + "</g>";
  }
  return markup;
}

}  // namespace host
