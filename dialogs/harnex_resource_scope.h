// Harnex's own resources made current around a dialog that Harnex opens.
//
// The dialog templates live in Harnex.arx, but MFC looks for templates in the current resource
// module, which is the host's while a command or a palette handler runs. Whoever opens one of
// Harnex's dialogs holds one of these from before the dialog is constructed until after it has
// ended:
//
//   {
//     HarnexResourceScope resources;
//     CNewProjDlg dialog(CNewProjDlg::kCopyProject, this);
//     dialog.DoModal();
//   }
//
// Scopes nest: each restores the handle that was current when it began.
#pragma once

#include <acdocman.h>

#include "app/harnex_module.h"

class HarnexResourceScope {
 public:
  HarnexResourceScope() { acDocManager->pushResourceHandle(ModuleInstance); }
  ~HarnexResourceScope() { acDocManager->popResourceHandle(); }
  HarnexResourceScope(const HarnexResourceScope&) = delete;
  HarnexResourceScope& operator=(const HarnexResourceScope&) = delete;
};
