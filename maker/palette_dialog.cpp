// Dravik.dll: CPaletteDialog, a palette set around one modeless dialog.
#include <PaletteDialog.h>

CPaletteDialog::CPaletteDialog(CWnd* dialog, int /*layout*/) : dialog_(dialog) {}

void CPaletteDialog::DoModeless() {
  if (m_hWnd == nullptr || dialog_ == nullptr) return;
  if (!HostDialog(dialog_)) return;
  ShowWindow(SW_SHOW);
}
