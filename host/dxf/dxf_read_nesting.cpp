// The DXF reader's check of block nesting: a drawing whose blocks hold themselves, nest deeper
// than the host follows, or expand through their references to more entities than it can draw
// in reasonable time is refused, naming the line of the reference that makes it so.
#include "platform/acad/block_nesting.h"
#include <dbents.h>
#include <dbsymtb.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "host/dxf/dxf_lexer.h"
#include "host/dxf/dxf_read_builder.h"

namespace host::dxf_in {
namespace {

// Entities reached through block references, counted once for every reference path, may be a
// million, or 64 times the entities the file holds when that is more. A large floor has hundreds
// of thousands of references, each to a block of a few entities, and a plan may repeat a symbol
// of fifty entities all over: both stay within a small multiple of the file. Without a cap, a few
// kilobytes of blocks inserting each other ten times over would expand to billions.
constexpr long long kMaxEntitiesThroughReferences = 1'000'000;
constexpr long long kMaxExpansion = 64;

struct Reference {
  AcDbObjectId block;  // the block it inserts
  int line;
};

struct Node {
  std::vector<Reference> references;  // of the block's own entities
  enum { kNew, kOnPath, kDone } state = kNew;
  int depth = 0;          // references one inside the other below this block
  long long reached = 0;  // entities reached through its references (capped)
  long long own = -1;     // its own entities (-1: not counted yet)
};

std::wstring BlockName(AcDbObjectId id) {
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, id, AcDb::kForRead) != Acad::eOk) return L"?";
  std::wstring name = block->name();
  block->close();
  return name;
}

long long OwnEntities(AcDbObjectId id) {
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, id, AcDb::kForRead) != Acad::eOk) return 0;
  const long long count = static_cast<long long>(block->entityIds().size());
  block->close();
  return count;
}

}  // namespace

void Builder::CheckBlockNesting() {
  using platform::acad::kMaxBlockNesting;
  std::unordered_map<AcDbObjectId, Node> nodes;
  // The walk starts at the blocks in the order the file holds their references, so that the
  // line it names does not depend on how the map is laid out.
  std::vector<AcDbObjectId> starts;
  for (const ReferenceRead& r : references_) {
    nodes[r.owner].references.push_back({r.block, r.line});
    starts.push_back(r.owner);
    starts.push_back(r.block);
  }
  // Every inserted block has its node now: the walk below adds nothing to the map.
  for (const AcDbObjectId& block : starts) nodes[block];
  if (references_.empty()) return;
  long long entities_read = 0;
  AcDbBlockTable* table = nullptr;
  if (acdbOpenObject(table, roots_.block_table, AcDb::kForRead) == Acad::eOk) {
    for (const AcDbObjectId& block : table->recordIds()) entities_read += OwnEntities(block);
    table->close();
  }
  const long long cap = std::max(kMaxEntitiesThroughReferences, kMaxExpansion * entities_read);

  // Depth first, without recursion: a chain of many thousand blocks must not need as much stack.
  struct Visit {
    AcDbObjectId block;
    size_t next = 0;  // the reference to follow next
  };
  for (const AcDbObjectId& start : starts) {
    std::vector<Visit> path{{start}};
    while (!path.empty()) {
      Visit& visit = path.back();
      Node& node = nodes.at(visit.block);
      if (node.state == Node::kDone && visit.next == 0) {
        path.pop_back();
        continue;
      }
      node.state = Node::kOnPath;
      if (visit.next < node.references.size()) {
        const Reference& ref = node.references[visit.next++];
        Node& inner = nodes.at(ref.block);
        if (inner.state == Node::kOnPath) {
          const std::wstring name = BlockName(ref.block);
          throw ReadError{
              LineError(ref.line, ref.block == visit.block
                                      ? L"the block \"" + name + L"\" is inserted into itself"
                                      : L"the block \"" + name +
                                            L"\" is inserted into itself through "
                                            L"other blocks")};
        }
        if (inner.state == Node::kNew) path.push_back({ref.block});
        continue;
      }
      // Every inner block is done: this one's depth and count follow from theirs.
      for (const Reference& ref : node.references) {
        Node& inner = nodes.at(ref.block);
        if (inner.own < 0) inner.own = OwnEntities(ref.block);
        if (inner.depth + 1 > kMaxBlockNesting)
          throw ReadError{LineError(ref.line, L"blocks are nested more than " +
                                                  std::to_wstring(kMaxBlockNesting) + L" deep")};
        node.depth = std::max(node.depth, inner.depth + 1);
        node.reached += inner.own + inner.reached;
        if (node.reached > cap)
          throw ReadError{LineError(
              ref.line, L"the blocks expand to more than " + std::to_wstring(cap) + L" entities")};
      }
      node.state = Node::kDone;
      path.pop_back();
    }
  }
}

}  // namespace host::dxf_in
