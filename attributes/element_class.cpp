// How Harnex classifies a route element: route kind, block class, state and derived tests.
#include "attributes/element_class.h"

#include <windows.h>

#include <ApiComn.h>
#include <AttributeData.h>
#include <RootComn.h>
#include <VuRida.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <memory>

#include "attributes/attribute_record.h"

namespace {

constexpr const wchar_t* kStateTag = L"ETAT";

bool StartsWith(const CString& text, const wchar_t* prefix) {
  const int length = static_cast<int>(wcslen(prefix));
  return text.GetLength() >= length && text.Left(length) == prefix;
}

// The definition of block reference `id`, or null when it is none or cannot be opened.
AcDbObjectId DefinitionOf(AcDbObjectId id) {
  AcDbBlockReference* reference = nullptr;
  if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) return AcDbObjectId::kNull;
  const AcDbObjectId definition = reference->blockTableRecord();
  reference->close();
  return definition;
}

bool DefinitionHasHatch(AcDbObjectId definitionId) {
  AcDbBlockTableRecord* definition = nullptr;
  if (acdbOpenObject(definition, definitionId, AcDb::kForRead) != Acad::eOk) return false;
  AcDbBlockTableRecordIterator* raw = nullptr;
  bool found = false;
  if (definition->newIterator(raw) == Acad::eOk) {
    std::unique_ptr<AcDbBlockTableRecordIterator> it(raw);
    for (; !it->done() && !found; it->step()) {
      AcDbEntity* entity = nullptr;
      if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
      found = AcDbHatch::cast(entity) != nullptr;
      entity->close();
    }
  }
  definition->close();
  return found;
}

}  // namespace

BlockClass BlockClassOfName(const CString& blockName) {
  if (StartsWith(blockName, L"KK")) return BlockClass::KK;
  if (StartsWith(blockName, L"RT")) return BlockClass::RT;
  if (StartsWith(blockName, L"RB")) {
    switch (blockName[2]) {  // L'\0' for a name of two characters
      case L'T':
        return BlockClass::RBT;
      case L'S':
        return BlockClass::RBS;
      default:
        return BlockClass::RB;
    }
  }
  return BlockClass::Other;
}

BlockClass ElementClassOf(AcDbObjectId id) {
  CString name;
  if (VuRida_GetIDByBlockName(id, name) != 0) return BlockClass::Other;
  return BlockClassOfName(name);
}

int RouteKindOf(AcDbObjectId id, int preset) {
  int kind = preset;
  // On failure the maker leaves `kind` alone, so the preset stands.
  RootComn_GetBlockRootKind(id, kind);
  return kind;
}

int EtatValue(AcDbObjectId id) {
  if (id.isNull()) return 0;
  return _wtoi(CAttributeData::GetValueAttID(id, kStateTag));
}

bool EtatIsRoute(AcDbObjectId id) {
  const int state = EtatValue(id);
  return state == 1 || state == 2;
}

bool EtatIsThree(AcDbObjectId id) {
  return EtatValue(id) == 3;
}

bool IsHatchedPanel(AcDbObjectId id) {
  if (ElementClassOf(id) != BlockClass::RBT) return false;
  const AcDbObjectId definition = DefinitionOf(id);
  return !definition.isNull() && DefinitionHasHatch(definition);
}

bool HasLinkData(AcDbObjectId id) {
  if (id.isNull()) return false;
  CStringArray unused;
  return ApiComn_extractAttributesArrayID(id, kLinkApp, unused, 0) == 0;
}

bool IsCheckableElement(AcDbObjectId id) {
  const int kind = RouteKindOf(id, -1);
  const bool routeBlock = kind == kRouteKindElement || (kind == kRouteKindPart && EtatIsRoute(id));
  if (!routeBlock) return false;
  CString name;
  if (VuRida_GetIDByBlockName(id, name) == 0 && StartsWith(name, L"RBT")) return false;
  return true;
}
