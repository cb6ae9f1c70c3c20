// CProjList and CNewProjDlg: resource ids of the project list and project name dialogs
// (templates 203 and 202).
#pragma once

// The name dialog: one name for a new project or pattern, a project copy or a pattern saved
// under another name (the caption and prompt are set at run time).
#define IDD_NAME_INPUT 202
#define IDC_NAME_EDIT 346    // the name
#define IDC_NAME_PROMPT 358  // the prompt of the mode

// The project list.
#define IDD_PROJECT_LIST 203
#define IDC_LIST_DELETE 359    // "削除"
#define IDC_LIST_PROJECTS 360  // the list view, made at initialisation (not in the template)
#define IDC_LIST_COPY 361      // "コピー"
