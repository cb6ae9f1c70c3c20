// RQ_HARNEX_DRAWNOTE and RQ_HARNEX_LOCATE: the note tool's pick loop. DRAWNOTE makes the
// placement object and starts LOCATE; each LOCATE places at most one note and sends itself
// again, until the user answers the element pick with Enter or Esc.
#include <ApiComn.h>
#include <VuRida.h>
#include <acedads.h>
#include <acui.h>
#include <acutads.h>
#include <adsdef.h>

#include "annotation/draw_note.h"
#include "annotation/note_geometry.h"
#include "annotation/note_lines.h"
#include "app/command_handlers.h"
#include "app/harnex_module.h"
#include "app/palette_access.h"
#include "attributes/element_class.h"
#include "attributes/route_pick.h"
#include "dialogs/harnex_resource_scope.h"

namespace {

constexpr wchar_t kLocateCommand[] = L"RQ_HARNEX_LOCATE";
constexpr wchar_t kPickPrompt[] = L"\n配線を選択:";
constexpr wchar_t kNoPlacement[] = L"\n設定画面が表示されていません。\n";
constexpr wchar_t kNoWiring[] = L"\n複数配線情報が設定されていません。\n";

void SendLocate() {
  ApiComn_sendCommand(kLocateCommand, 1, 0, 1);
}

// Notes are written for wiring elements only: route elements, or blocks standing in a route,
// of the classes KK and RT.
bool TakesNote(AcDbObjectId element) {
  if (RouteKindOf(element, -1) != kRouteKindElement && !EtatIsRoute(element)) return false;
  const BlockClass blockClass = ElementClassOf(element);
  return blockClass == BlockClass::KK || blockClass == BlockClass::RT;
}

}  // namespace

void CmdDrawNote() {
  HarnexResourceScope resources;
  // Cleared before the delete: the old window's destruction must see it as no longer current.
  CDrawNote* old = NoteDragInstance;
  NoteDragInstance = nullptr;
  delete old;
  NoteDragInstance = new CDrawNote(kDrawNoteModeNote, acedGetAcadFrame());
  NoteDragInstance->Create();
  NoteDragInstance->scale = VuRida_GetGlobalScale();
  SendLocate();
}

void CmdLocate() {
  if (NoteDragInstance == nullptr || PaletteAccessInstance() == nullptr) {
    acutPrintf(kNoPlacement);
    return;
  }
  if (!LockCurrentDocument(true)) return;
  AcDbObjectId picked, element;
  AcGePoint3d pickPoint;
  if (PickRouteElement(kPickPrompt, picked, pickPoint, element) != RTNORM) {
    LockCurrentDocument(false);
    return;
  }
  if (TakesNote(element)) {
    CStringArray lines;
    // Asked again after the pick, which the user may have answered by closing the palette; the
    // element's wires then cannot be read, as ReadWiringLines says.
    const PaletteAccess* palette = PaletteAccessInstance();
    if (palette == nullptr || !BuildNoteLines(element, *palette, lines)) {
      acutPrintf(kNoWiring);
    } else {
      CDrawNote& note = *NoteDragInstance;
      note.lines.RemoveAll();
      note.lines.Append(lines);
      note.element = element;
      note.pickPoint = pickPoint;
      StartNote(note);
    }
  }
  LockCurrentDocument(false);
  SendLocate();
}
