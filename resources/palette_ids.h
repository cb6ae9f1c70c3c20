// CMainDlg: resource ids of the palette dialog (template 200) and its controls.
#pragma once

#define IDD_PALETTE 200

// Project and pattern.
#define IDC_PROJECT_OPEN 201     // "読込み"
#define IDC_PROJECT_NEW 202      // "新規"
#define IDC_PATTERN_BOX 203      // the pattern names, in list order
#define IDC_PATTERN_NEW 204      // "新規"
#define IDC_PATTERN_DELETE 205   // "削除"
#define IDC_PATTERN_SAVE_AS 206  // "別名保存"
#define IDC_PROJECT_SAVE 207     // "保存"
#define IDC_PAGE_PREVIOUS 208    // "<<"
#define IDC_PAGE_NEXT 209        // ">>"
#define IDC_PATTERN_IMPORT 210   // "取込"
#define IDC_TYPE_TRUNK 211       // "幹線"
#define IDC_TYPE_GENERAL 212     // "一般"
#define IDC_SEARCH_TEXT 213      // system number to search for
#define IDC_PROJECT_NAME 345     // read-only
#define IDC_CONDUIT_INDOOR 398   // "屋内"
#define IDC_CONDUIT_OUTDOOR 399  // "屋外"
#define IDC_CONDUIT_BURIED 400   // "地中"

// The ten control rows of the row area: the id of a column's control in the first row; the
// control of row i (0 to 9) has that id + i. The columns are named by the project file's
// romanised keys (PatternColumn): KOUJI construction item, KEITOU system number, BAN panel or
// load, HSIZE1 wire size, HSIZE2 to HSIZE4 conduit sizes, ONRACK on a rack, MEMO remarks.
#define IDC_ROW_MARK 218    // radio buttons: the row that row operations act at
#define IDC_ROW_KOUJI 228   // construction item, drop-down list
#define IDC_ROW_CHECK 238   // check boxes: the rows the drawing commands use
#define IDC_ROW_KEITOU 248  // system number
#define IDC_ROW_BAN 258     // panel or load name
#define IDC_ROW_HSIZE2 278  // conduit size indoors
#define IDC_ROW_HSIZE3 288  // conduit size outdoors
#define IDC_ROW_HSIZE4 298  // conduit size underground
#define IDC_ROW_MEMO 308    // remarks
#define IDC_ROW_ONRACK 347  // check boxes: on a cable rack
#define IDC_ROW_HSIZE1 364  // wire size, edit with the size detail menu
#define IDC_ROW_COUNT 10

// The row area's frame (its text is the page label) and buttons.
#define IDC_PAGE_FRAME 357     // "Page:%d"
#define IDC_ROW_UP 328         // "↑"
#define IDC_ROW_DOWN 329       // "↓"
#define IDC_ROW_INSERT 330     // "項目挿入"
#define IDC_ROW_DELETE 331     // "項目削除"
#define IDC_ROW_CHECK_ALL 332  // "全て選択"
#define IDC_ROW_UNCHECK 333    // "選択解除"
#define IDC_SEARCH 334         // "系統番号"

// Commands and note options.
#define IDC_CHECK_SETTINGS 335   // "設定確認"
#define IDC_MANUAL_SET 336       // "個別付与"
#define IDC_AUTO_SET_SPARE 339   // hidden and disabled, without a function
#define IDC_DRAW_NOTE 340        // "配線情報記入"
#define IDC_NOTE_TRUNK_NO 341    // "幹線番号を記入"
#define IDC_NOTE_WIRE_SIZE 342   // "配線ｻｲｽﾞを記入"
#define IDC_NOTE_WORK_KIND 343   // "工事区分を記入"
#define IDC_DRAW_LIST 344        // "リスト作成"
#define IDC_AUTO_SET 387         // "自動付与"
#define IDC_SPLIT_DUCT 389       // "打込配管"
#define IDC_EQUIPMENT_NO 391     // "盤番号設定"
#define IDC_LIST_SETTINGS 402    // "詳"
