// The blocks that hold finished notes and list tables: "PXNT0001", "PXNT0002", ... in the
// working drawing.
#pragma once

#include <dbid.h>
#include <gepnt3d.h>

class AcDbBlockTableRecord;

class AcDbBlockReference;

// The prefix of annotation block names; ApiComn_SpaceBlockName adds four digits.
inline constexpr wchar_t kAnnotationBlockPrefix[] = L"PXNT";

// Adds a new, empty block definition named with the first free "PXNT" number to the working
// drawing and returns a new block reference of it at `position` (rotation 0, scale 1), in no
// database: the caller owns it (adds it to a space, or deletes it). The definition is closed;
// the caller fills it through the reference's blockTableRecord(). Null when no name is free,
// the block table cannot be written or the reference cannot be made; a definition added before
// the failure is erased again.
AcDbBlockReference* MakeAnnotationBlock(const AcGePoint3d& position);

// Erases every entity of the block definition `record` (open for write), leaving the definition
// empty for a table built again or a note given up. Entities that cannot be opened stay.
void EraseBlockEntities(AcDbBlockTableRecord* record);

// Erases the block definition `block` with every entity in it, for a note or table that could
// not be finished. A definition that cannot be opened stays.
void DiscardAnnotationBlock(AcDbObjectId block);
