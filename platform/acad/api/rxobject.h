// The runtime class system: AcRxObject, AcRxClass, the entry-point messages and result codes.
//
// Each class that takes part declares ACRX_DECLARE_MEMBERS(Class) in its body and defines
// ACRX_DEFINE_MEMBERS(Class, Parent, DxfName) in its .cpp. Then Class::cast(obj) gives null for
// an object of another class, obj->isKindOf(Class::desc()) tests the derivation and
// obj->isA()->name() gives the class name, as in the SDK.
#pragma once

#include <acadstrc.h>
#include <adesk.h>
#include <adsdef.h>

struct AcRx {
  enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 0,
    kUnloadAppMsg = 1,
    kLoadDwgMsg = 2,
    kUnloadDwgMsg = 3,
    kInvkSubrMsg = 4,
    kCfgMsg = 5,
    kEndMsg = 6,
    kQuitMsg = 7,
    kSaveMsg = 8,
    kDependencyMsg = 9,
    kNoDependencyMsg = 10,
    kOleUnloadAppMsg = 11,
    kPreQuitMsg = 12,
    kInitDialogMsg = 13,
    kEndDialogMsg = 14,
    kSuspendMsg = 15,
    kInitTabGroupMsg = 16,
    kEndTabGroupMsg = 17,
  };
  enum AppRetCode { kRetOK = 0, kRetError = 3 };
};

typedef void (*AcRxFunctionPtr)();

class AcRxClass {
 public:
  AcRxClass(const ACHAR* name, const AcRxClass* parent, const ACHAR* dxfName);
  AcRxClass(const AcRxClass&) = delete;
  AcRxClass& operator=(const AcRxClass&) = delete;

  const ACHAR* name() const { return name_; }
  // The DXF entity or object type ("LINE", "INSERT"), empty for abstract classes.
  const ACHAR* dxfName() const { return dxf_name_; }
  const AcRxClass* myParent() const { return parent_; }
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const ACHAR* name_;
  const AcRxClass* parent_;
  const ACHAR* dxf_name_;
};

#define ACRX_DECLARE_MEMBERS(CLASS)                                  \
 public:                                                             \
  static AcRxClass* desc();                                          \
  static CLASS* cast(const AcRxObject* inPtr) {                      \
    return (inPtr != nullptr && inPtr->isKindOf(CLASS::desc()))      \
               ? static_cast<CLASS*>(const_cast<AcRxObject*>(inPtr)) \
               : nullptr;                                            \
  }                                                                  \
  AcRxClass* isA() const override

#define ACRX_DEFINE_MEMBERS(CLASS, PARENT, DXFNAME)                  \
  AcRxClass* CLASS::desc() {                                         \
    static AcRxClass the_class(L"" #CLASS, PARENT::desc(), DXFNAME); \
    return &the_class;                                               \
  }                                                                  \
  AcRxClass* CLASS::isA() const {                                    \
    return CLASS::desc();                                            \
  }

class AcRxObject {
 public:
  AcRxObject() = default;
  virtual ~AcRxObject() = default;
  AcRxObject(const AcRxObject&) = delete;
  AcRxObject& operator=(const AcRxObject&) = delete;

  static AcRxClass* desc();
  static AcRxObject* cast(const AcRxObject* inPtr) { return const_cast<AcRxObject*>(inPtr); }
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* aClass) const { return isA()->isDerivedFrom(aClass); }

  // A new object of the same class with the same contents, or null for a class that cannot be
  // copied; and taking the contents of another object of the same class into this one
  // (eNotApplicable when this class cannot, eWrongObjectType for another class).
  virtual AcRxObject* clone() const { return nullptr; }
  virtual Acad::ErrorStatus copyFrom(const AcRxObject*) { return Acad::eNotApplicable; }
};
