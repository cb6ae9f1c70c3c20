// Dravik.dll: CDrag, the drag jig that reports cursor samples and inputs to its owner window.
#include <Drag.h>

#include <algorithm>
#include <cstddef>
#include <utility>

#include <acedads.h>
#include <acgitransient.h>
#include <acutads.h>
#include <dbmain.h>

namespace {

// acedGrRead's input types.
constexpr int kKeyboard = 2;
constexpr int kPick = 3;
constexpr int kSample = 5;
constexpr int kEnterKey = 13;
constexpr int kSpaceKey = 32;

CDrag*& RunningJig() {
  static CDrag* running = nullptr;
  return running;
}

void ShowPrompt(const CString& prompt) {
  acutPrintf(L"\n%s: ", prompt.GetString());
}

}  // namespace

CDrag::CDrag(int /*flags*/) {}

CDrag::~CDrag() {
  if (RunningJig() == this) RunningJig() = nullptr;
  RemoveAll(1);
}

void CDrag::SyncShown() {
  // While the drag runs, its enabled entities are on the screen as transient graphics; before
  // and after it, none is.
  std::vector<AcDbEntity*> wanted;
  if (RunningJig() == this) {
    for (const Item& item : items_) {
      if (item.enabled && item.entity != nullptr) wanted.push_back(item.entity);
    }
  }
  AcGiTransientManager* screen = acgiGetTransientManager();
  const AcArray<int> viewports;
  for (AcDbEntity* entity : shown_) {
    if (std::find(wanted.begin(), wanted.end(), entity) == wanted.end())
      screen->eraseTransient(entity, viewports);
  }
  for (AcDbEntity* entity : wanted) {
    if (std::find(shown_.begin(), shown_.end(), entity) == shown_.end()) {
      screen->addTransient(entity, kAcGiDirectShortTerm, 0, viewports);
    } else {
      screen->updateTransient(entity, viewports);  // a handler may have moved it
    }
  }
  shown_ = std::move(wanted);
}

int CDrag::Append(AcDbEntity* entity, const wchar_t* tag, int data) {
  Item item;
  item.entity = entity;
  item.tag = tag ? tag : L"";
  item.data = data;
  items_.push_back(item);
  SyncShown();
  return static_cast<int>(items_.size()) - 1;
}

AcDbEntity* CDrag::At(int index, int* data, CString* tag) const {
  if (index < 0 || index >= Length()) return nullptr;
  const Item& item = items_[index];
  if (data != nullptr) *data = item.data;
  if (tag != nullptr) *tag = item.tag;
  return item.entity;
}

int CDrag::Length() const {
  return static_cast<int>(items_.size());
}

void CDrag::RemoveAll(int release) {
  std::vector<Item> items;
  items.swap(items_);
  SyncShown();  // off the screen before they go
  if (!release) return;
  for (Item& item : items) {
    if (item.entity == nullptr) continue;
    // An entity in a database belongs to it: we only end our open. One in none is ours.
    if (item.entity->objectId().isNull()) {
      delete item.entity;
    } else if (item.entity->isReadEnabled() || item.entity->isWriteEnabled()) {
      item.entity->close();
    }
  }
}

int CDrag::SetEntEnable(int index, int enable) {
  if (index < 0 || index >= Length()) return 1;
  items_[index].enabled = enable != 0;
  SyncShown();
  return 0;
}

bool CDrag::IsEntEnabled(int index) const {
  return index >= 0 && index < Length() && items_[index].enabled;
}

void CDrag::DistEnabled(int enabled, double textHeight, int colour, double xOffset, double yOffset,
                        int decimals, const wchar_t* font, int follow) {
  readout_.enabled = enabled;
  readout_.text_height = textHeight;
  readout_.colour = colour;
  readout_.x_offset = xOffset;
  readout_.y_offset = yOffset;
  readout_.decimals = decimals;
  readout_.font = font ? font : L"";
  readout_.follow = follow;
}

LRESULT CDrag::Report(CWnd* owner, UINT message, dragdata& data) {
  const CString before = data.prompt;
  const LRESULT result = owner->SendMessage(message, 0, reinterpret_cast<LPARAM>(&data));
  SyncShown();
  if (data.prompt != before) ShowPrompt(data.prompt);
  return result;
}

int CDrag::Dynamic(CWnd* owner, const wchar_t* prompt, bool allowNull, const AcGePoint3d* basePoint,
                   double rotation, double xScale, double yScale, double zScale) {
  if (owner == nullptr || basePoint != nullptr || rotation != 0.0 || xScale != 1.0 ||
      yScale != 1.0 || zScale != 1.0 || RunningJig() != nullptr) {
    return RTERROR;
  }
  dragdata data;
  data.drag = this;
  data.prompt = prompt ? prompt : L"";
  ShowPrompt(data.prompt);
  RunningJig() = this;
  SyncShown();
  int outcome = RTCAN;
  for (;;) {
    int type = 0;
    resbuf input = {};
    if (acedGrRead(1, &type, &input) != RTNORM) break;  // Esc, or the input ended
    if (type == kSample || type == kPick) {
      point_ = AcGePoint3d(input.resval.rpoint[0], input.resval.rpoint[1], input.resval.rpoint[2]);
      data.status = RTNORM;
    } else if (type == kKeyboard && allowNull &&
               (input.resval.rint == kEnterKey || input.resval.rint == kSpaceKey)) {
      data.status = -1;
    } else {
      continue;  // other keys and buttons mean nothing to a drag
    }
    if (type == kSample) {
      if (Report(owner, DRAG_MSG_SAMPLE, data) == 0) {
        outcome = RTNORM;
        break;
      }
      continue;
    }
    Report(owner, DRAG_MSG_NOTIFY, data);
    if (Report(owner, DRAG_MSG_INPUT, data) == 0) {
      outcome = RTNORM;
      break;
    }
  }
  if (RunningJig() == this) RunningJig() = nullptr;
  SyncShown();
  return outcome;
}

CDrag* CDrag::Running() {
  return RunningJig();
}

std::vector<const AcDbEntity*> CDrag::ShownEntities() const {
  std::vector<const AcDbEntity*> shown;
  for (const Item& item : items_) {
    if (item.enabled && item.entity != nullptr) shown.push_back(item.entity);
  }
  return shown;
}
