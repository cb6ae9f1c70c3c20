// The drawing as a page shows it: every top-level entity of model space drawn on its own (an SVG
// group carrying its handle), kept up to date from the database's notifications, so that after an
// action only what changed is drawn and sent again.
//
// What makes an entity's piece change: the entity itself appended, modified or erased, or an
// attribute of a block reference (the reference is drawn again). A change to anything else that a
// picture shows through many entities (a layer, a block definition or an entity inside one) draws
// the whole drawing again and compares it with what was shown, so that the delta stays exact.
// Objects the picture never shows (dictionaries, groups, XData-only changes that draw the same)
// give no change.
//
// Single-threaded: used on the session's thread, as the database is.
#pragma once

#include <dbmain.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace host {

// An entity's piece, with its extent in picture coordinates. Every element carries the entity's
// handle (data-handle): an entity drawn as one element is that element, one drawn as several is a
// `<g data-handle="1A">` around them, and its points are apart (one path a colour, each with the
// handle too), so that a page can leave them out from far away. One element per entity keeps a
// large floor light for a browser.
struct DrawingPiece {
  std::string handle;  // upper-case hexadecimal, as DXF writes it
  std::string markup;  // empty when the entity draws only points
  std::string points;  // empty when it draws none
  bool any = false;
  double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
};

// What changed since the last TakeChanges.
struct DrawingChanges {
  std::vector<DrawingPiece> added;    // drawn last, in the order of model space
  std::vector<DrawingPiece> changed;  // drawn where they were
  std::vector<std::string> erased;    // handles
  bool empty() const { return added.empty() && changed.empty() && erased.empty(); }
};

class DrawingPieces : public AcDbDatabaseReactor {
 public:
  DrawingPieces() = default;
  ~DrawingPieces() override;
  DrawingPieces(const DrawingPieces&) = delete;
  DrawingPieces& operator=(const DrawingPieces&) = delete;

  // Draws every entity of `db`'s model space and listens to `db` from now on (another database
  // given before is forgotten).
  void Attach(AcDbDatabase* db);
  AcDbDatabase* database() const { return db_; }

  // The pieces shown now, in drawing order.
  std::vector<const DrawingPiece*> Pieces() const;
  // What changed since Attach or the last call, drawn now. Objects still open for write are
  // left for the next call.
  DrawingChanges TakeChanges();
  // The transient graphics shown now (a drag's entities), each a `<g data-temporary="N">` group
  // (N counts from 0), in the order they are shown. Empty when none is shown.
  static std::string TemporaryMarkup();

  // AcDbDatabaseReactor: remembers what changed.
  void objectAppended(const AcDbDatabase* dwg, const AcDbObject* object) override;
  void objectModified(const AcDbDatabase* dwg, const AcDbObject* object) override;
  void objectErased(const AcDbDatabase* dwg, const AcDbObject* object,
                    Adesk::Boolean erased) override;
  void goodbye(const AcDbDatabase* dwg) override;

 private:
  void Detach();
  void Remember(const AcDbObject* object);
  // Draws `id` when it is a top-level entity of model space; false when it is not one.
  bool Draw(AcDbObjectId id, DrawingPiece* out) const;
  void RedrawAll(DrawingChanges* changes);
  void Apply(AcDbObjectId id, DrawingChanges* changes);
  // Keeps `piece`: added when it is new, changed when it draws otherwise than before.
  void Keep(DrawingPiece piece, DrawingChanges* changes);
  // Drops the piece of `handle`, when there is one, as erased.
  void Forget(const std::string& handle, DrawingChanges* changes);

  AcDbDatabase* db_ = nullptr;
  AcDbObjectId model_space_;
  std::vector<std::unique_ptr<DrawingPiece>> order_;  // erased ones become null
  std::unordered_map<std::string, size_t> index_;     // handle → place in order_
  std::unordered_set<AcDbStub*> dirty_;
  std::vector<AcDbObjectId> dirty_order_;  // appended ones keep model space's order
  // Layers and block definitions appended since the last TakeChanges: what changes in them
  // shows through the new entities that use them.
  std::unordered_set<AcDbStub*> new_tables_;
  bool redraw_all_ = false;
};

}  // namespace host
