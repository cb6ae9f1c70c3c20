// The runtime class tree behind isKindOf, cast and desc.
#include <rxobject.h>

AcRxClass::AcRxClass(const ACHAR* name, const AcRxClass* parent, const ACHAR* dxfName)
    : name_(name), parent_(parent), dxf_name_(dxfName ? dxfName : L"") {}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c != nullptr; c = c->parent_)
    if (c == other) return true;
  return false;
}

AcRxClass* AcRxObject::desc() {
  static AcRxClass the_class(L"AcRxObject", nullptr, L"");
  return &the_class;
}

AcRxClass* AcRxObject::isA() const {
  return desc();
}
