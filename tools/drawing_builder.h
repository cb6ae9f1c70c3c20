// Builds drawings the way the maker's route tools draw them: route elements and part blocks as
// block references with "RQ_LINK" and "RQ_ATTR" XData and "ETAT"/"S001" attributes, connection
// points as POINT entities on RQ_CONNECT inside the block definitions, route groups as group
// objects. The demo and tests use it.
//
// Every call opens what it needs and closes it before it returns; nothing stays open. A call
// that the database refuses stops the builder: the failed() flag is set, the first error is
// kept, and later calls do nothing and return null ids.
#pragma once

#include <acdb.h>
#include <dbmain.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Where and how a block is placed: insertion point, rotation in degrees about Z, uniform scale.
struct Placement {
  double x = 0, y = 0;
  double rotation_degrees = 0;
  double scale = 1;
};

class DrawingBuilder {
 public:
  // Layers of the route tools and the applications of their XData.
  static constexpr const wchar_t* kConnectLayer = L"RQ_CONNECT";
  static constexpr const wchar_t* kAnnoLayer = L"RQ_ANNO";
  static constexpr const wchar_t* kTableLayer = L"RQ_TABLE";
  static constexpr const wchar_t* kLinkApp = L"RQ_LINK";
  static constexpr const wchar_t* kAttrApp = L"RQ_ATTR";

  // Prepares `db` (not owned): the three layers and the two registered applications.
  explicit DrawingBuilder(AcDbDatabase* db);
  DrawingBuilder(const DrawingBuilder&) = delete;
  DrawingBuilder& operator=(const DrawingBuilder&) = delete;

  // ---- Block definitions (a name that exists already is returned as it is) -----------------
  // A straight route segment from (0,0) to (length,0): two connection points and the line.
  AcDbObjectId DefineSegment(const std::wstring& name, double length);
  // A tee: connection points (-arm,0), (arm,0) and (0,arm), in that order, and its lines; with
  // `hatched` a solid hatch fills a box of half the arm around (0,0) (a hatched panel of a
  // route, when the name begins with "RBT").
  AcDbObjectId DefineTee(const std::wstring& name, double arm, bool hatched = false);
  // A part block (panel, load): a size × size box around (0,0) with one connection point at
  // (0,0); with `hatched` a solid hatch fills the box (the route tools' hatched panels).
  AcDbObjectId DefinePart(const std::wstring& name, double size, bool hatched = false);
  // A block that holds one reference of the block `inner` at `at` and nothing else: a
  // reference of it nests `inner` one level deeper (blocks inside blocks).
  AcDbObjectId DefineNesting(const std::wstring& name, const std::wstring& inner,
                             const Placement& at);

  // ---- References ----------------------------------------------------------------------------
  // A route element: RQ_LINK {"3"}, RQ_ATTR {S501, S004, S3B9, S002 with empty values},
  // attributes ETAT = `etat` and S001 = "".
  AcDbObjectId AddRouteElement(const std::wstring& block, const Placement& at,
                               const std::wstring& etat = L"1");
  // A part block: RQ_LINK {"0"}, RQ_ATTR {"S001|<part>|2|1|55|0|"}, attributes ETAT = `etat`
  // and S001 = `part_number`.
  AcDbObjectId AddPart(const std::wstring& block, const Placement& at,
                       const std::wstring& part_number, const std::wstring& etat = L"");
  // A straight route from (x1,y1) to (x2,y2) made of `count` segment references of the block
  // `block` (defined by the caller with the length of one piece), end to end.
  std::vector<AcDbObjectId> AddStraightRun(const std::wstring& block, double x1, double y1,
                                           double x2, double y2, int count);
  // A line in model space with no XData: a top-level entity that is no route element.
  AcDbObjectId AddLine(double x1, double y1, double x2, double y2);
  // A route group: a named group in the group dictionary holding `members` in order.
  AcDbObjectId AddGroup(const std::wstring& name, const std::vector<AcDbObjectId>& members);
  // Sets the header variable $DIMSCALE.
  void SetGlobalScale(double scale);

  // Replaces the XData of one application with the strings (one 1000 group each).
  bool SetStrings(AcDbObjectId id, const std::wstring& app,
                  const std::vector<std::wstring>& strings);

  // The record every route element starts with: TAG "|" "|" (empty value) and the tail fields.
  static std::wstring EmptyRecord(const std::wstring& tag);

  bool failed() const { return !error_.empty(); }
  const std::wstring& error() const { return error_; }
  AcDbDatabase* database() const { return db_; }

 private:
  // One entity of a block definition and its layer ("0" when empty).
  struct Piece {
    AcDbEntity* entity;
    std::wstring layer;
  };
  AcDbObjectId DefineBlock(const std::wstring& name, std::vector<Piece> pieces);
  AcDbObjectId AddReference(const std::wstring& block, const Placement& at,
                            const std::vector<std::pair<std::wstring, std::wstring>>& attributes);
  bool Check(Acad::ErrorStatus es, const wchar_t* what);
  void EnsureLayer(const std::wstring& name, int colour);

  AcDbDatabase* db_;
  std::wstring error_;
};

// The drawing handle of an id (0 for a null id), as scripts name entities.
uint64_t HandleOf(AcDbObjectId id);

}  // namespace tools
