// RQ_HARNEX_LIST: the wiring list table of the palette's current pattern, placed by dragging.
#include <VuRida.h>
#include <acui.h>
#include <acutads.h>

#include "annotation/draw_note.h"
#include "annotation/list_drag.h"
#include "app/command_handlers.h"
#include "app/harnex_module.h"
#include "app/palette_access.h"
#include "dialogs/harnex_resource_scope.h"

namespace {

constexpr wchar_t kNoSettings[] = L"\nERROR:設定ﾃﾞｰﾀが取得出来ません。";

void DropPlacement() {
  CDrawNote* old = NoteDragInstance;
  NoteDragInstance = nullptr;
  delete old;
}

}  // namespace

void CmdDrawList() {
  const PaletteAccess* palette = PaletteAccessInstance();
  if (palette == nullptr) {
    acutPrintf(kNoSettings);
    DropPlacement();
    return;
  }
  const int mode = kDrawNoteModeTrunkList + palette->GetPatternType();
  DropPlacement();
  {
    HarnexResourceScope resources;
    NoteDragInstance = new CDrawNote(mode, acedGetAcadFrame());
    NoteDragInstance->Create();
  }
  CDrawNote& note = *NoteDragInstance;
  palette->GetAllRowData(note.rows);
  note.scale = VuRida_GetGlobalScale();
  if (LockCurrentDocument(true)) {
    StartList(note);
    LockCurrentDocument(false);
  }
  DropPlacement();
}
