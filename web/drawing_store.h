// The drawing as the pages have it: every entity's SVG piece by handle, the drag's temporary
// entities and the band of a highlighted circuit, with the deltas that lead from one revision to
// the next, so that a page gets only what changed.
//
//   GET /drawing   one line of JSON {"revision": R, "bounds": [X0, Y0, X1, Y1] or null,
//                   "temporary": "<g data-temporary=...>...", "band": "<path .../>..."}, then
//                   every entity's markup, a NUL character, and every entity's points (the
//                   markup of a large floor is sent as it is: neither escaped nor compressed)
//   in a push      "drawing": [{"base": R-1, "revision": R,
//                   "added": [[HANDLE, MARKUP, POINTS]...],
//                   "changed": [[HANDLE, MARKUP, POINTS]...], "erased": [HANDLE...],
//                   "temporary": MARKUP (when it changed), "band": MARKUP (when it changed),
//                   "bounds": [X0, Y0, X1, Y1] or null}...]
//                  or "drawing": {"reload": true} when the page is too far behind (it then asks
//                  for the whole drawing again)
//
// Bounds are the extent of the pieces in picture coordinates (Y down), for a page that fits the
// drawing into its view; they grow with what is drawn and stay as they are when something is
// erased (until the drawing is loaded again). Pieces are drawn in the order they first came; a changed piece keeps its place.
// Thread-safe: the
// session's thread changes it, the server's threads read it.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/svg/drawing_pieces.h"

namespace web {

class DrawingStore {
 public:
  // Deltas are kept back to this many revisions or this many bytes, whichever is less.
  static constexpr size_t kKeptDeltas = 256;
  static constexpr size_t kKeptBytes = 64u << 20;

  // Takes the changes (the whole drawing the first time); a new revision when anything changed.
  // `band` null: the band stays as it is.
  void Change(const host::DrawingChanges& changes, const std::string& temporary,
              const std::string* band);
  // The whole drawing, in drawing order, as a new revision without a delta: pages behind it
  // load it again.
  void Load(const std::vector<const host::DrawingPiece*>& pieces);

  uint64_t revision() const;
  // The text of /drawing.
  std::string Whole() const;
  // The JSON text of a push's "drawing" for a page that has `since`: an array of the deltas after
  // it (empty when none), or the reload object.
  std::string DeltasSince(uint64_t since) const;

 private:
  struct Piece {
    std::string handle;  // empty: erased
    std::string markup;
    std::string points;
    bool any = false;
    double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
  };
  struct Bounds {
    bool any = false;
    double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
    void Extend(const Piece& piece);
  };
  static Piece PieceOf(const host::DrawingPiece& piece);
  nlohmann::json BoundsJson() const;  // under the lock
  // Puts `piece` in its place (new ones last). Under the lock.
  void Put(const host::DrawingPiece& piece);

  struct Delta {
    uint64_t revision = 0;
    std::string json;
  };

  mutable std::mutex mutex_;
  std::vector<Piece> pieces_;
  std::unordered_map<std::string, size_t> index_;
  std::string temporary_;
  std::string band_;
  Bounds bounds_;
  uint64_t revision_ = 0;
  std::deque<Delta> deltas_;
  size_t delta_bytes_ = 0;
};

}  // namespace web
