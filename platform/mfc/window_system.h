// The headless window system under the MFC classes: window records, the class procedures of the
// standard controls, the posted-message queue, timers, focus and the host-facing pump.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <afxwin.h>
#include "platform/win/user_session.h"

namespace platform::mfc {

// One item of a combo box, list box or list view.
struct ItemRecord {
  std::wstring text;
  LPARAM data = 0;
  UINT state = 0;                      // list view: LVIS_* bits
  std::vector<std::wstring> subitems;  // list view: columns 1..n
};

struct ColumnRecord {
  std::wstring text;
  int width = 0;
  int format = 0;
};

// One tool of a tooltip window (TTM_ADDTOOL), with its own copy of the text.
struct ToolRecord {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  std::wstring text;
};

// What a tooltip window ("tooltips_class32") holds. A tracking tip is shown while tracking is
// active for one of its tools; it stands at the track position (screen coordinates), as large as
// its text in its font (one line: tips here never meet their maximum width) plus the margins,
// plus one pixel a side while it has WS_BORDER.
struct TooltipState {
  std::vector<ToolRecord> tools;
  bool tracking = false;
  int tracked = -1;  // the tool being tracked
  POINT track_position{0, 0};
  COLORREF background = 0;  // set from the system's tooltip colours at creation
  COLORREF text_colour = 0;
  RECT margin{0, 0, 0, 0};
  int max_width = -1;  // -1: none
};

struct TimerRecord {
  TIMERPROC proc = nullptr;
  UINT elapse = 0;  // milliseconds asked for; the main loop fires every timer once when idle
};

// Everything the window system knows about one window.
struct WindowRecord {
  std::wstring class_name;  // "Button", "Edit", "ComboBox", "ListBox", "Static",
                            // "SysListView32", "#32770" (dialog), or any other name
  int id = 0;
  DWORD style = 0;
  DWORD ex_style = 0;
  std::wstring text;
  RECT rect{};  // in the parent's client coordinates (screen coordinates for top-level and
                // popup windows, whose parent is their owner)
  bool maximized = false;
  RECT normal_rect{};  // while maximized: the rectangle that restoring gives back
  HWND parent = nullptr;
  std::vector<HWND> children;     // in creation (tab) order
  CWnd* wnd = nullptr;            // the attached object, not owned
  std::unique_ptr<CWnd> wrapper;  // made by CWnd::FromHandle when nothing is attached
  HFONT font = nullptr;
  int template_id = 0;  // dialogs made from a template
  LONG_PTR user_data = 0;
  std::map<UINT_PTR, TimerRecord> timers;
  // Control state.
  int check = 0;        // buttons: BST_*
  bool pushed = false;  // buttons
  std::vector<ItemRecord> items;
  int cur_sel = -1;                // combo box and list box
  int sel_start = 0, sel_end = 0;  // edit and combo box edit part
  std::wstring undo_text;
  bool can_undo = false;
  bool modified = false;
  int limit = 0;  // 0: the default limit
  bool dropped = false;
  int dropped_width = 0;
  HWND drop_list = nullptr;           // combo box: its drop-down list ("ComboLBox"), once shown
  TooltipState tooltip;               // "tooltips_class32" only
  std::vector<ColumnRecord> columns;  // list view
  DWORD lv_ex_style = 0;
  int invalidations = 0;  // times the window was invalidated (tests read it)
};

// The record of a live window, or null.
WindowRecord* FindWindowRecord(HWND hWnd);
// Makes a window; parent may be null. Returns its handle (never null).
HWND CreateWindowRecord(LPCWSTR class_name, LPCWSTR text, DWORD style, DWORD ex_style,
                        const RECT& rect, HWND parent, int id);
// The class procedure: what the window does by itself with a message.
LRESULT ClassWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Sends a WM_COMMAND notification from a control to its parent.
void NotifyParent(HWND control, UINT code);
// Every live top-level window and all their descendants, in creation order.
std::vector<HWND> AllWindows();

// Dispatches every posted message (each after PreTranslateMessage of its window chain).
// Returns how many were dispatched.
int PumpPostedMessages();
// Sends WM_TIMER once for every timer set when called (a timer killed by an earlier handler
// does not fire). Returns how many fired.
int FireTimers();
// What a message loop does when it goes idle between user actions: posted messages, then each
// timer once, then the messages those posted.
void RunIdle();

// Told around every handler run that the window system starts itself: each posted message it
// dispatches, each timer it fires and each user action it delivers to a window. The host checks
// there what a handler left behind (objects left open). Handlers that run inside another (a
// modal dialog's actions inside a click) are told too, each with its own pair of calls.
class DispatchObserver {
 public:
  virtual ~DispatchObserver() = default;
  virtual void BeforeHandler() = 0;
  // `what` names the event: "click 1001", "message 0x3403", "timer 1".
  virtual void AfterHandler(const std::wstring& what) = 0;
};
// Installs the observer (not owned; null removes it).
void SetDispatchObserver(DispatchObserver* observer);
// Tells the observer around one handler run: BeforeHandler when made, AfterHandler(what()) when
// it goes (`what` is only asked when there is an observer).
class ObservedHandler {
 public:
  explicit ObservedHandler(std::function<std::wstring()> what);
  ~ObservedHandler();
  ObservedHandler(const ObservedHandler&) = delete;
  ObservedHandler& operator=(const ObservedHandler&) = delete;

 private:
  std::function<std::wstring()> what_;
};

// Window actions of the user session: installed with platform::SetWindowActionHandler by the
// first window made, or explicitly here.
void InstallWindowActionDispatcher();
bool DispatchWindowAction(const platform::UserAction& action);
// The Enter key in `dialog`, as the dialog manager takes it: the push button that has the focus
// is pressed; otherwise the default push button's command is sent (IDOK when the dialog has
// none). A disabled button takes nothing. Returns the command id sent, or 0 when none was.
int PressEnter(HWND dialog);
// The window that takes actions without @ID when no modal dialog is open and no window was acted
// on yet (the palette). Not owned; null clears it.
void SetPaletteWindow(CWnd* window);
// The window that an action without @ID goes to, or null.
HWND ActiveActionWindow();
// The caption of the window that the window action `a` goes to: that of its dialog or popup
// when it goes to a child window; empty when no window takes it.
std::wstring CaptionOfActionWindow(const platform::UserAction& a);
// Modal dialogs, innermost last (maintained by CDialog::DoModal).
void PushModal(HWND dialog);
void PopModal(HWND dialog);
// Why DispatchWindowAction would refuse the window action `a` now, in the words of its mismatch
// ("no such window", "another dialog is open", "no such control", "the control is hidden", "not
// a button", "no such item", ...); empty when a window takes it. Changes nothing, so that a
// front end can refuse an action before it reaches the session.
std::wstring WindowActionRefusal(const platform::UserAction& a);

// Popup menus. A `menu` action makes the next TrackPopupMenu pick the item it names ("サイズ詳細"
// finds "サイズ詳細(&S)"); with no item the menu stays open: it waits for the user's next action
// (platform::WaitKind::kMenu), which picks with `menu CTRL ITEM` for the same control, closes it
// with `esc`, or closes it and goes on to whatever takes it. EndMenuPick ends the action: true
// when a menu took it.
void SetPendingMenuPick(const std::wstring& item_text, int line);
bool EndMenuPick();
// A menu item's text as the user reads it: "&" mnemonics and a trailing "(&S)" removed.
std::wstring StripMnemonic(const std::wstring& text);
struct MenuItemView {
  std::wstring text;  // with its mnemonic, as the application gave it
  bool greyed = false;
  bool separator = false;
};
// The menu that waits for the user's next action, or null: its owner, where it opened (screen
// coordinates) and its items.
struct OpenMenuView {
  HWND owner = nullptr;
  POINT at{0, 0};
  std::vector<MenuItemView> items;
};
const OpenMenuView* OpenMenu();
// Why the menu that waits would not take `item` (picked by its text, with or without the
// mnemonic): "no such item" or "the item \"...\" is greyed", as a `menu` action's mismatch says;
// empty when it takes it, or when no menu waits.
std::wstring OpenMenuRefusal(const std::wstring& item);

// The class procedure of tooltip windows; *handled is false for messages it leaves to the
// common window behaviour.
LRESULT TooltipProc(HWND tip, WindowRecord& r, UINT message, WPARAM wParam, LPARAM lParam,
                    bool* handled);
// Drops a combo box's list down or closes it, as the user's click on the arrow does: CBN_DROPDOWN
// goes to the parent first, then the list window ("ComboLBox", a popup owned by the box, as wide
// as the dropped width and holding the box's items) is shown under the box and asks the box for
// its colours (WM_CTLCOLORLISTBOX with the list's handle), as its painting would; closing hides
// it and sends CBN_CLOSEUP. Nothing happens when the state does not change.
void ShowComboDropList(HWND combo, bool show);

// The mouse moves to `point` (client coordinates of `window`): the cursor goes there and the
// window gets WM_MOUSEMOVE, as a user's hand on the mouse would make it.
void MoveMouse(HWND window, POINT point);

// Asks the parent of a control for its colours (WM_CTLCOLOR*), as painting would. Returns the
// brush; *text and *background get the colours the handlers set.
HBRUSH QueryControlColors(HWND control, COLORREF* text, COLORREF* background);
// Sends WM_DRAWITEM for an owner-drawn control to its parent and returns what was drawn.
std::vector<DrawOp> PaintOwnerDrawn(HWND control, UINT action, UINT state);

// The icon of a message box of MB_* type `type` as its transcript line names it: "stop",
// "question", "warning", "information" or "none".
const wchar_t* MessageBoxIconName(UINT type);

// Dialog base units of a font (pixels per 4 horizontal and 8 vertical dialog units).
SIZE DialogBaseUnits(const std::wstring& face, int point_size);

// Destroys every window and clears queues, timers, focus, clipboard and the modal stack (tests).
void ResetWindowSystem();

}  // namespace platform::mfc
