// Writes a drawing database as an ASCII DXF file of AutoCAD 2010 (AC1024): UTF-8 text, LF line
// ends, every object under its own handle.
//
// What the reader kept as groups (unmodelled entities, objects, tables, header variables, and
// the unmodelled groups of modelled objects) is written back as it was read, in its place;
// modelled objects are written from their current state. A block, or a block reference with
// attributes, that has no BLOCK/ENDBLK/SEQEND of its own yet gets one with a new handle, so the
// drawing may grow by those objects; $HANDSEED is written above every handle in use. Erased
// objects are left out.
#pragma once

#include <dbmain.h>

#include <string>

namespace host {

// The file's bytes. Every record is checked as it is written (sections, tables and blocks
// closed, every POLYLINE and attributed INSERT closed by its SEQEND, no SEQEND, VERTEX or ATTRIB
// outside its sequence): a drawing whose file would not open again gives no bytes, and *fault
// (when given) says why ("the POLYLINE 2A is not closed by a SEQEND"); else *fault is empty.
std::string WriteDxf(AcDbDatabase& db, std::wstring* fault = nullptr);

// Writes the file through a temporary file next to it, then renames it over the target, so
// that a failed save leaves the old file as it was. False with *error (naming the path) when
// it cannot be written, or when its structure would break (the check of WriteDxf).
bool WriteDxfFile(AcDbDatabase& db, const std::string& path, std::wstring* error);

}  // namespace host
