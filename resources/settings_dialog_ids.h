// CNoteSetting, CCheckDlg and CListDetailDlg: resource ids of the note settings, settings check
// and list details dialogs (templates 208, 209 and 211).
#pragma once

// The note settings: sizes of the wiring notes and the leader's angle correction.
#define IDD_NOTE_SETTINGS 208
#define IDC_NOTE_TEXT_HEIGHT 388       // "文字高さ"
#define IDC_NOTE_TEXT_WIDTH 390        // "文字幅"
#define IDC_NOTE_LINE_GAP 392          // "行間隔"
#define IDC_NOTE_TEXT_OFFSET 393       // "文字開始位置オフセット"
#define IDC_NOTE_ANGLE_CORRECTION 394  // check box "引出線角度補正"
#define IDC_NOTE_CORRECTION_ANGLE 395  // the angle step, enabled while 394 is checked

// The settings check: the marking colour, "実行" and "クリア".
#define IDD_CHECK_SETTINGS 209
#define IDC_CHECK_COLOUR 217  // owner-drawn colour swatch
#define IDC_CHECK_CLEAR 359   // "クリア"
#define IDC_CHECK_RUN 396     // "実行"

// The list details: sizes of the wiring list table.
#define IDD_LIST_DETAIL 211
#define IDC_LIST_TEXT_HEIGHT 401   // "文字高さ"
#define IDC_LIST_TEXT_WIDTH 402    // "文字幅"
#define IDC_LIST_ROW_HEIGHT 403    // "表の行高さ"
#define IDC_LIST_LEFT_MARGIN 404   // "各項目の左側余白"
#define IDC_LIST_RIGHT_MARGIN 405  // "各項目の右側余白"
