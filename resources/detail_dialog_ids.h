// CDetailDlg: resource ids of the wire size detail dialog (template 206).
#pragma once

#define IDD_SIZE_DETAIL 206
#define IDC_DETAIL_GROUP 376  // wire size groups
#define IDC_DETAIL_SIZE 378   // sizes of the chosen group
#define IDC_DETAIL_EARTH 380  // earth sizes
