// CMainDlg's import button: rows of a pattern of any project, inserted into the current
// pattern before the marked row.
#include <windows.h>

#include <memory>

#include "dialogs/harnex_resource_scope.h"
#include "dialogs/pattern_import_dialog.h"
#include "palette/main_dialog.h"

// The rows go in as "項目挿入" would insert them one by one, so the import stops with its notice
// where the pattern is full; each inserted row marks the project modified, so the save questions
// ask for them.
void CMainDlg::OnImportRows() {
  editor_.CollectPage();
  if (editor_.MarkedRow() < 0) {
    AfxMessageBox(kNoInsertPositionMessage, MB_ICONINFORMATION);
    return;
  }
  // Harnex's resources are current from before the dialog is made until it has ended.
  auto resources = std::make_unique<HarnexResourceScope>();
  CInsDataDlg dialog(this);
  const INT_PTR result = dialog.DoModal();
  resources.reset();
  if (result != IDOK) return;
  editor_.InsertImportedRows(dialog.GetRows());
  dialog.ClearRows();
}
