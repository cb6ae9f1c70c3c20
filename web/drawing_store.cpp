// The pages' drawing: pieces by handle and the deltas between revisions.
#include "web/drawing_store.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace web {

void DrawingStore::Bounds::Extend(const Piece& piece) {
  if (!piece.any) return;
  if (!any) {
    *this = {true, piece.min_x, piece.min_y, piece.max_x, piece.max_y};
    return;
  }
  min_x = std::min(min_x, piece.min_x);
  min_y = std::min(min_y, piece.min_y);
  max_x = std::max(max_x, piece.max_x);
  max_y = std::max(max_y, piece.max_y);
}

DrawingStore::Piece DrawingStore::PieceOf(const host::DrawingPiece& piece) {
  return {piece.handle, piece.markup,  piece.points, piece.any,
          piece.min_x,  piece.min_y,   piece.max_x,  piece.max_y};
}

nlohmann::json DrawingStore::BoundsJson() const {
  if (!bounds_.any) return nullptr;
  return nlohmann::json::array({bounds_.min_x, bounds_.min_y, bounds_.max_x, bounds_.max_y});
}

void DrawingStore::Put(const host::DrawingPiece& piece) {
  Piece kept = PieceOf(piece);
  bounds_.Extend(kept);
  auto at = index_.find(piece.handle);
  if (at == index_.end()) {
    index_.emplace(piece.handle, pieces_.size());
    pieces_.push_back(std::move(kept));
  } else {
    pieces_[at->second] = std::move(kept);
  }
}

void DrawingStore::Change(const host::DrawingChanges& changes, const std::string& temporary,
                          const std::string* band) {
  const bool temporary_changed = temporary != temporary_;
  const bool band_changed = band != nullptr && *band != band_;
  if (changes.empty() && !temporary_changed && !band_changed) return;
  nlohmann::json delta = nlohmann::json::object();
  std::lock_guard<std::mutex> lock(mutex_);
  delta["base"] = revision_;
  delta["revision"] = ++revision_;
  const auto put = [this](const std::vector<host::DrawingPiece>& pieces) {
    nlohmann::json list = nlohmann::json::array();
    for (const host::DrawingPiece& piece : pieces) {
      Put(piece);
      list.push_back({piece.handle, piece.markup, piece.points});
    }
    return list;
  };
  nlohmann::json added = put(changes.added);
  nlohmann::json changed = put(changes.changed);
  nlohmann::json erased = nlohmann::json::array();
  for (const std::string& handle : changes.erased) {
    auto at = index_.find(handle);
    if (at == index_.end()) continue;
    pieces_[at->second] = {};
    index_.erase(at);
    erased.push_back(handle);
  }
  delta["added"] = std::move(added);
  delta["changed"] = std::move(changed);
  delta["erased"] = std::move(erased);
  if (temporary_changed) {
    temporary_ = temporary;
    delta["temporary"] = temporary_;
  }
  if (band_changed) {
    band_ = *band;
    delta["band"] = band_;
  }
  delta["bounds"] = BoundsJson();
  Delta kept{revision_, delta.dump()};
  delta_bytes_ += kept.json.size();
  deltas_.push_back(std::move(kept));
  while (deltas_.size() > kKeptDeltas || (deltas_.size() > 1 && delta_bytes_ > kKeptBytes)) {
    delta_bytes_ -= deltas_.front().json.size();
    deltas_.pop_front();
  }
}

void DrawingStore::Load(const std::vector<const host::DrawingPiece*>& pieces) {
  std::lock_guard<std::mutex> lock(mutex_);
  pieces_.clear();
  index_.clear();
  bounds_ = {};
  for (const host::DrawingPiece* piece : pieces) Put(*piece);
  temporary_.clear();
  band_.clear();
  deltas_.clear();
  delta_bytes_ = 0;
  // The revision goes on growing, so that a page never takes the new drawing for the old one.
  ++revision_;
}

uint64_t DrawingStore::revision() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return revision_;
}

std::string DrawingStore::Whole() const {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t size = 2;
  for (const Piece& piece : pieces_) size += piece.markup.size() + piece.points.size();
  std::string out = nlohmann::json{{"revision", revision_},
                                   {"bounds", BoundsJson()},
                                   {"temporary", temporary_},
                                   {"band", band_}}
                        .dump();
  out += '\n';
  out.reserve(out.size() + size);
  for (const Piece& piece : pieces_) out += piece.markup;
  out += '\0';
  for (const Piece& piece : pieces_) out += piece.points;
  return out;
}

std::string DrawingStore::DeltasSince(uint64_t since) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (since >= revision_) return "[]";
  if (deltas_.empty() || deltas_.front().revision > since + 1) return "{\"reload\":true}";
  std::string out = "[";
  for (const Delta& delta : deltas_) {
    if (delta.revision <= since) continue;
    if (out.size() > 1) out += ',';
    out += delta.json;
  }
  return out + "]";
}

}  // namespace web
