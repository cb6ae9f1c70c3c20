// AcGiDrawable: what the graphics system can draw. Every database object is one; the transient
// graphics (acgitransient.h) take them too.
#pragma once

#include <rxobject.h>

class AcGiDrawable : public AcRxObject {
 protected:
  AcGiDrawable() = default;
};
