// RQ_HARNEX: the one palette of the process, made on first use and shown again when hidden.
#include "palette/palette_command.h"

#include <PaletteDialog.h>
#include <acui.h>

#include "app/command_handlers.h"
#include "app/harnex_module.h"
#include "dialogs/harnex_resource_scope.h"
#include "palette/main_dialog.h"
#include "project/last_project.h"
#include "project/project_file.h"

namespace {

// The objects behind PaletteInstance and PaletteSetInstance. When the palette closes it clears
// PaletteInstance; the objects stay here until the next palette command replaces them. What is
// left at the end of the process is left to it, as the windows are: freeing a window object
// after the window system has gone would touch what no longer exists.
CMainDlg* palette = nullptr;
CPaletteDialog* paletteSet = nullptr;

// Makes the palette when there is none (a palette that closed is freed now: it could not free
// itself inside its own handler) and a palette set around it. False when the palette's template
// cannot be found.
bool CreatePalette() {
  HarnexResourceScope resources;
  if (!PaletteInstance) {
    delete palette;
    palette = new CMainDlg(CWnd::FromHandle(adsw_acadMainWnd()));
    PaletteInstance = palette;
    if (!palette->Create()) {
      PaletteInstance = nullptr;
      return false;
    }
  }
  delete paletteSet;
  paletteSet = new CPaletteDialog(PaletteInstance, 1);
  PaletteSetInstance = paletteSet;
  paletteSet->Create(kPaletteSetTitle, kPaletteSetWindowStyle, CRect(0, 0, 0, 0),
                     acedGetAcadFrame(), kPaletteSetStyle);
  paletteSet->DoModeless();
  return true;
}

}  // namespace

void CmdShowPalette() {
  if (PaletteSetInstance && ::IsWindow(PaletteSetInstance->GetSafeHwnd())) {
    if (!PaletteSetInstance->IsWindowVisible()) {
      acedGetAcadFrame()->ShowControlBar(PaletteSetInstance, TRUE, TRUE);
    }
  } else if (!CreatePalette()) {
    return;
  }
  // The palette's own window shows again too, whatever hid it inside its set.
  if (PaletteInstance && ::IsWindow(PaletteInstance->GetSafeHwnd()) &&
      !PaletteInstance->IsWindowVisible()) {
    PaletteInstance->ShowWindow(SW_SHOW);
  }
  const PaletteSetSettings settings =
      ReadPaletteSetSettings(ProjectFolderFromConfig(ConfigIniPath));
  if (settings.autoRollupOn) PaletteSetInstance->SetAutoRollup(TRUE);
  PaletteSetInstance->SetOpacity(settings.opacity);
}
