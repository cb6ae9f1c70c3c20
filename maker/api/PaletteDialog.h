// CPaletteDialog: an AutoCAD palette set that hosts one modeless dialog.
//
// Use: construct with the dialog (already created modeless) and the flag 1, Create the palette
// set (title, style, rectangle, parent, palette-set style), then DoModeless to show it with the
// dialog inside. The palette set's own settings (auto-rollup, opacity) apply as usual. The
// dialog stays owned by the caller and must outlive the palette set's use of it.
#pragma once

#include <adui.h>

class CPaletteDialog : public CAdUiPaletteSet {
 public:
  // `layout` 1: the dialog fills the palette set, the only layout this library offers (other
  // values are taken as 1).
  CPaletteDialog(CWnd* dialog, int layout);
  CPaletteDialog(const CPaletteDialog&) = delete;
  CPaletteDialog& operator=(const CPaletteDialog&) = delete;

  // Puts the dialog into the palette set and shows both. Nothing happens before Create or
  // when the dialog has no window.
  void DoModeless();

  CWnd* GetDialog() const { return dialog_; }

 private:
  CWnd* dialog_;
};
