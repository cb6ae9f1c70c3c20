// The drawing entity by entity, kept up to date from the database's notifications.
#include "host/svg/drawing_pieces.h"

#include <acgitransient.h>
#include <dbents.h>
#include <dbsymtb.h>


#include "host/svg/svg_renderer.h"
#include "platform/win/text_encoding.h"

namespace host {
namespace {

std::string HandleText(AcDbObjectId id) {
  ACHAR text[24] = {};
  id.handle().getIntoAsciiBuffer(text, 24);
  return platform::WideToUtf8(text);
}

// `element` (one element: "<name ...") with the attribute after its name.
std::string WithAttribute(const std::string& element, const std::string& attribute) {
  const size_t name_end = element.find_first_of(" />", 1);
  if (element.empty() || element[0] != '<' || name_end == std::string::npos) return element;
  return element.substr(0, name_end) + attribute + element.substr(name_end);
}

std::string Joined(const std::vector<std::string>& elements, const std::string& attribute) {
  std::string out;
  for (const std::string& element : elements) out += WithAttribute(element, attribute);
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
    const std::string attribute = " data-handle=\"" + out->handle + "\"";
    if (picture.elements.size() == 1) {
      out->markup = WithAttribute(picture.elements[0], attribute);
    } else if (picture.elements.size() > 1) {
      out->markup = "<g" + attribute + ">" + Joined(picture.elements, "") + "</g>";
    } else {
      out->markup.clear();
    }
    out->points = Joined(picture.points, attribute);
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
    Keep(std::move(piece), changes);
  }
  std::vector<std::string> gone;
  for (const auto& [handle, place] : index_)
    if (seen.count(handle) == 0) gone.push_back(handle);
  for (const std::string& handle : gone) Forget(handle, changes);
}

void DrawingPieces::Keep(DrawingPiece piece, DrawingChanges* changes) {
  auto at = index_.find(piece.handle);
  if (at == index_.end()) {
    index_.emplace(piece.handle, order_.size());
    changes->added.push_back(piece);
    order_.push_back(std::make_unique<DrawingPiece>(std::move(piece)));
    return;
  }
  DrawingPiece& kept = *order_[at->second];
  if (kept.markup == piece.markup && kept.points == piece.points) return;
  changes->changed.push_back(piece);
  kept = std::move(piece);
}

void DrawingPieces::Forget(const std::string& handle, DrawingChanges* changes) {
  auto at = index_.find(handle);
  if (at == index_.end()) return;
  changes->erased.push_back(handle);
  order_[at->second].reset();
  index_.erase(at);
}

void DrawingPieces::Apply(AcDbObjectId id, DrawingChanges* changes) {
  DrawingPiece piece;
  if (id.isErased() || !Draw(id, &piece)) {
    // Erased, or not (any more) a top-level entity of model space.
    Forget(HandleText(id), changes);
    return;
  }
  Keep(std::move(piece), changes);
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
    markup += "<g data-temporary=\"" + std::to_string(n++) + "\">" + Joined(picture.elements, "") +
              Joined(picture.points, "") + "</g>";
  }
  return markup;
}

}  // namespace host
