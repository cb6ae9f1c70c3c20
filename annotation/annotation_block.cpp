// The annotation block maker shared by notes and list tables.
#include "annotation/annotation_block.h"

#include <ApiComn.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <cwchar>

namespace {

// Adds an empty block definition `name` to the drawing's block table; its id, or null.
AcDbObjectId AddBlockDefinition(AcDbDatabase* db, const wchar_t* name) {
  AcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, AcDb::kForWrite) != Acad::eOk) return AcDbObjectId();
  auto* record = new AcDbBlockTableRecord;
  AcDbObjectId id;
  if (record->setName(name) != Acad::eOk || table->add(id, record) != Acad::eOk) {
    delete record;
    table->close();
    return AcDbObjectId();
  }
  record->close();
  table->close();
  return id;
}

}  // namespace

void EraseBlockEntities(AcDbBlockTableRecord* record) {
  AcDbBlockTableRecordIterator* it = nullptr;
  if (record->newIterator(it) != Acad::eOk) return;
  for (; !it->done(); it->step()) {
    AcDbEntity* entity = nullptr;
    if (it->getEntity(entity, AcDb::kForWrite) != Acad::eOk) continue;
    entity->erase();
    entity->close();
  }
  delete it;
}

void DiscardAnnotationBlock(AcDbObjectId block) {
  AcDbBlockTableRecord* record = nullptr;
  if (acdbOpenObject(record, block, AcDb::kForWrite) != Acad::eOk) return;
  EraseBlockEntities(record);
  record->erase();
  record->close();
}

AcDbBlockReference* MakeAnnotationBlock(const AcGePoint3d& position) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (db == nullptr) return nullptr;
  // The prefix, four digits and the terminator.
  wchar_t name[16] = {};
  std::wcscpy(name, kAnnotationBlockPrefix);
  if (ApiComn_SpaceBlockName(name, 4) != 0) return nullptr;
  const AcDbObjectId block = AddBlockDefinition(db, name);
  if (block.isNull()) return nullptr;
  AcDbBlockReference* reference = nullptr;
  if (ApiComn_CreateInsert(reference, name, position, 0.0, 1.0, 1.0, 1.0) != 0) {
    DiscardAnnotationBlock(block);
    return nullptr;
  }
  return reference;
}
