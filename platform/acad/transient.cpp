// The transient graphics of the graphics system.
#include <algorithm>

#include <acgitransient.h>

bool AcGiTransientManager::addTransient(AcGiDrawable* pDrawable, AcGiTransientDrawingMode mode,
                                        int subDrawingMode, const AcArray<int>&) {
  if (pDrawable == nullptr) return false;
  for (const Shown& s : shown_) {
    if (s.drawable == pDrawable) return false;
  }
  shown_.push_back({pDrawable, mode, subDrawingMode});
  return true;
}

bool AcGiTransientManager::eraseTransient(AcGiDrawable* pDrawable, const AcArray<int>&) {
  auto it = std::find_if(shown_.begin(), shown_.end(),
                         [&](const Shown& s) { return s.drawable == pDrawable; });
  if (it == shown_.end()) return false;
  shown_.erase(it);
  return true;
}

bool AcGiTransientManager::eraseTransients(AcGiTransientDrawingMode mode, int subDrawingMode,
                                           const AcArray<int>&) {
  std::erase_if(shown_,
                [&](const Shown& s) { return s.mode == mode && s.sub_mode == subDrawingMode; });
  return true;
}

void AcGiTransientManager::updateTransient(AcGiDrawable*, const AcArray<int>&) {}

std::vector<const AcGiDrawable*> ShownTransientsOf(const AcGiTransientManager& manager) {
  std::vector<const AcGiDrawable*> shown;
  for (const auto& s : manager.shown_) shown.push_back(s.drawable);
  return shown;
}

AcGiTransientManager* acgiGetTransientManager() {
  static AcGiTransientManager manager;
  return &manager;
}

namespace platform::acad {

std::vector<const AcGiDrawable*> ShownTransients() {
  return ShownTransientsOf(*acgiGetTransientManager());
}

}  // namespace platform::acad
