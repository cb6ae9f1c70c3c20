// Transient graphics: drawables shown on the screen that belong to no drawing (a drag's
// preview). The graphics system keeps them until they are erased; a headless host has no screen
// and lists them instead, so that views and pictures of the drawing show what the user sees.
#pragma once

#include <vector>

#include <acarray.h>
#include <drawable.h>

enum AcGiTransientDrawingMode {
  kAcGiMain = 0,
  kAcGiSprite,
  kAcGiDirectShortTerm,
  kAcGiHighlight,
  kAcGiDirectTopmost,
  kAcGiContrast,
  kAcGiDrawingModeCount
};

class AcGiTransientManager {
 public:
  // Shows `pDrawable` (not owned; it must stay alive until erased). False for null or a
  // drawable already shown. The mode and viewports are kept for the caller; every transient is
  // shown in the one view.
  bool addTransient(AcGiDrawable* pDrawable, AcGiTransientDrawingMode mode, int subDrawingMode,
                    const AcArray<int>& viewportNumbers);
  // Stops showing it; false when it was not shown.
  bool eraseTransient(AcGiDrawable* pDrawable, const AcArray<int>& viewportNumbers);
  // Stops showing every transient of that mode and sub-mode.
  bool eraseTransients(AcGiTransientDrawingMode mode, int subDrawingMode,
                       const AcArray<int>& viewportNumbers);
  // The drawable changed: it is drawn anew (views read it when they are made).
  void updateTransient(AcGiDrawable* pDrawable, const AcArray<int>& viewportNumbers);

 private:
  struct Shown {
    AcGiDrawable* drawable;
    AcGiTransientDrawingMode mode;
    int sub_mode;
  };
  friend std::vector<const AcGiDrawable*> ShownTransientsOf(const AcGiTransientManager&);
  std::vector<Shown> shown_;
};

// The process's transient graphics.
AcGiTransientManager* acgiGetTransientManager();

namespace platform::acad {

// The host's view: the drawables shown now, in the order they were added.
std::vector<const AcGiDrawable*> ShownTransients();

}  // namespace platform::acad
