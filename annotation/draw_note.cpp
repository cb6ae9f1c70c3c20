// CDrawNote: the hidden window of one placement and the dispatch of the jig's messages by mode.
#include "annotation/draw_note.h"

#include <VuRida.h>

#include "annotation/list_drag.h"
#include "annotation/note_drag.h"
#include "app/harnex_module.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CDrawNote, CDialog)
ON_MESSAGE(DRAG_MSG_SAMPLE, &CDrawNote::OnDragSample)
ON_MESSAGE(DRAG_MSG_INPUT, &CDrawNote::OnDragInput)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CDrawNote::CDrawNote(int mode, CWnd* parent)
    : CDialog(IDD_DRAW_NOTE, parent), parent(parent), mode(mode) {}

CDrawNote::~CDrawNote() {
  VuRida_RemoveAllFree(rows);
  if (m_hWnd) DestroyWindow();
}

BOOL CDrawNote::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  return CDialog::Create(nIDTemplate, pParentWnd);
}

BOOL CDrawNote::Create() {
  return Create(IDD_DRAW_NOTE, parent);
}

LRESULT CDrawNote::OnDragSample(WPARAM, LPARAM lParam) {
  auto* data = reinterpret_cast<dragdata*>(lParam);
  if (data == nullptr || data->drag == nullptr) return 0;
  if (mode == kDrawNoteModeNote) return NoteDragSample(*this, *data);
  return ListDragSample(*this, *data);
}

LRESULT CDrawNote::OnDragInput(WPARAM, LPARAM lParam) {
  auto* data = reinterpret_cast<dragdata*>(lParam);
  if (data == nullptr || data->drag == nullptr) return 0;
  if (mode == kDrawNoteModeNote) return NoteDragInput(*this, *data);
  return ListDragInput(*this, *data);
}

void CDrawNote::OnDestroy() {
  if (NoteDragInstance == this) {
    NoteDragInstance = nullptr;
    orphaned_ = true;
  }
  CDialog::OnDestroy();
}

void CDrawNote::PostNcDestroy() {
  CDialog::PostNcDestroy();
  if (orphaned_) delete this;
}
