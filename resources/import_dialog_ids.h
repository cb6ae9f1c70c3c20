// CInsDataDlg: resource ids of the pattern import dialog (template 204).
#pragma once

#define IDD_IMPORT_ROWS 204
#define IDC_IMPORT_LIST 360     // the list view of the pattern's rows, made at initialisation
#define IDC_IMPORT_PROJECT 362  // the project box
#define IDC_IMPORT_PATTERN 363  // the pattern box
