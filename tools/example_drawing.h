// The bundled example drawing: the first floor of a small office building with its electrical
// routes, drawn as the maker's route tools draw them, and the code that makes it again.
//
// What it holds (millimetres, $INSUNITS 4, drawn for 1:100 so $DIMSCALE is 100):
//   - the floor plan: walls, a corridor, rooms with their names, the outdoor yard to the east;
//   - the riser: a pull box (KK_PB, route element, state 1) in the EPS and the terminal segment
//     from it into the floor's network;
//   - a plain lighting panel "1F-L1" (part block with two connection points: supply and
//     branch side) and a hatched power panel "1F-P1" (RBT block with a solid hatch and three
//     connection points, a route element), both fed from the riser through a tee;
//   - six loads (part blocks, "S001" and "ETAT" attributes, "S001" also in "RQ_ATTR"): "L-1" and
//     "L-2" behind the lighting panel, "空調室外機 AC-1", "空調室外機 AC-2", "換気扇 EF-1" and
//     "給水ポンプ" behind the power panel;
//   - route segments (RT<length>), bends (RB_L250) and tees (RB_T250) whose connection points
//     meet end to end, so every load is reached from its panel and every panel from the
//     terminal segment;
//   - two route groups: "ROUTE01" (riser, trunk, the power panel and everything behind it, the
//     lighting panel at its end) and "ROUTE02" (the lighting panel and its branch to L-1, L-2).
//
// The drawing is made the same way every time: a new database gets the same handles in the same
// order, so the file it writes is the same byte for byte.
#pragma once

#include <string>

class AcDbDatabase;

namespace tools {

// Where the example lives, relative to the bundled examples folder (BundledExamplesDir()).
inline constexpr const char* kExampleDrawingName = "drawings/office_1f.dxf";

// Fills `db` (a new drawing, not owned) with the example. False when the database refused a
// step; the first error then goes to *error when given. Nothing is left open either way.
bool BuildExampleDrawing(AcDbDatabase* db, std::wstring* error = nullptr);

// The DXF text of the example, made in a fresh database. Empty, with *error, when it cannot be
// built.
std::string ExampleDrawingDxf(std::wstring* error = nullptr);

// Makes the example and writes it to `path` (through a temporary file, as every save does).
// False with *error naming what failed.
bool WriteExampleDrawing(const std::string& path, std::wstring* error);

// The checked-in example: BundledExamplesDir() + "/" + kExampleDrawingName.
std::string BundledExampleDrawingPath();

}  // namespace tools
