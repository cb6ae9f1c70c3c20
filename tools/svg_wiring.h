// Wiring marks in SVG pictures: a broad translucent band along the route elements that carry
// wiring information, so that a picture shows where assignments have gone.
//
// An element carries a system when one of its wires has that system number: the first wire's
// trunk number (the value of "S004") or the first field of a further wire's value ("PX" records,
// SYSTEM!SIZE!PANEL!CODE!), read as the note tool and the reports read them
// (attributes/element_wires.h). The band runs between its connection points (the POINT entities
// on RQ_CONNECT inside its block, transformed by the reference): straight along a segment, from
// the insertion point to each point of a fitting with three or more.
#pragma once

#include <dbmain.h>

#include <string>
#include <vector>

namespace tools {

// The system that stands for "any system": every element with a non-empty trunk number or a
// further wire is marked.
inline constexpr const wchar_t* kAnySystem = L"*";

// The system numbers of an element's wires, in record order (empty ones left out).
std::vector<std::wstring> SystemsOf(AcDbObjectId element);

// The band's paths over every model-space element that carries one of `systems`, one
// `<path d="..."/>` line each in picture coordinates, without stroke: the caller draws them as a
// band. Empty when `systems` is empty or no element matches.
std::string WiringBandPaths(AcDbDatabase& db, const std::vector<std::wstring>& systems);

// Every system number that an element of model space carries, sorted, each once.
std::vector<std::wstring> SystemsInDrawing(AcDbDatabase& db);

// `svg` (as RenderSvg wrote it for `db`) with the band drawn over every model-space element that
// carries one of `systems`. Nothing changes when `systems` is empty or no element matches.
std::string AddWiringMarks(const std::string& svg, AcDbDatabase& db,
                           const std::vector<std::wstring>& systems);

// RenderSvg with the marks of `systems`, written to `path` (created or replaced). False, with a
// message naming the file in `error`, when it cannot be written.
bool WriteMarkedSvgFile(AcDbDatabase& db, const std::string& path,
                        const std::vector<std::wstring>& systems, std::wstring* error);

}  // namespace tools
