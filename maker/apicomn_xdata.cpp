// Dravik.dll: string lists stored as an application's extended entity data.
#include <memory>

#include <acutads.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <ApiComn.h>

namespace {

// A resbuf chain freed with acutRelRb when it goes out of scope.
struct RbDeleter {
  void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using RbChain = std::unique_ptr<resbuf, RbDeleter>;

constexpr short kAppName = 1001;
constexpr short kString = 1000;

bool HasText(const wchar_t* text) {
  return text != nullptr && *text != L'\0';
}

// The strings of `app` on an open object into `list`; false when it has no XData of `app`.
bool ReadStrings(const AcDbObject* object, const wchar_t* app, CStringArray& list) {
  RbChain chain(object->xData(app));
  if (!chain) return false;
  // The chain starts with the 1001 group of `app`; any later 1001 would start another
  // application, which xData(app) does not give, but stop there all the same.
  for (const resbuf* rb = chain->rbnext; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == kAppName) break;
    if (rb->restype == kString) list.Add(rb->resval.rstring ? rb->resval.rstring : L"");
  }
  return true;
}

// Registers `app` in the object's database unless it is there already.
Acad::ErrorStatus EnsureRegApp(AcDbDatabase* db, const wchar_t* app) {
  if (db == nullptr) return Acad::eNotInDatabase;
  AcDbRegAppTable* table = nullptr;
  Acad::ErrorStatus es = db->getRegAppTable(table, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  if (table->has(app)) {
    table->close();
    return Acad::eOk;
  }
  es = table->upgradeOpen();
  if (es == Acad::eOk) {
    auto record = std::make_unique<AcDbRegAppTableRecord>();
    record->setName(app);
    es = table->add(record.get());
    if (es == Acad::eOk) record.release()->close();
  }
  table->close();
  return es;
}

// A chain of the 1001 name followed by one 1000 group per string.
RbChain BuildChain(const wchar_t* app, const CStringArray& first, const CStringArray& second) {
  RbChain head(acutNewRb(kAppName));
  head->resval.rstring = acutNewString(app);
  resbuf* tail = head.get();
  for (const CStringArray* list : {&first, &second}) {
    for (INT_PTR i = 0; i < list->GetSize(); ++i) {
      tail->rbnext = acutNewRb(kString);
      tail = tail->rbnext;
      tail->resval.rstring = acutNewString((*list)[i].GetString());
    }
  }
  return head;
}

}  // namespace

int ApiComn_extractAttributesArrayID(AcDbObjectId id, const wchar_t* app, CStringArray& list,
                                     int append) {
  if (!append) list.RemoveAll();
  if (!HasText(app)) return 1;
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, id, AcDb::kForRead) != Acad::eOk) return -1;
  const bool found = ReadStrings(object, app, list);
  object->close();
  return found ? 0 : 1;
}

int ApiComn_extractAttributesArray(AcDbObject* object, const wchar_t* app, CStringArray& list) {
  list.RemoveAll();
  if (object == nullptr || !HasText(app)) return 1;
  return ReadStrings(object, app, list) ? 0 : 1;
}

int ApiComn_appendAttributesArray(AcDbObjectId id, const wchar_t* app, const CStringArray& list,
                                  int replace) {
  if (!HasText(app)) return -1;
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, id, AcDb::kForWrite) != Acad::eOk) return -1;
  const int result = ApiComn_appendAttributesArray(object, app, list, replace);
  object->close();
  return result;
}

int ApiComn_appendAttributesArray(AcDbObject* object, const wchar_t* app, const CStringArray& list,
                                  int replace) {
  if (object == nullptr || !HasText(app)) return -1;
  CStringArray existing;
  if (!replace) ReadStrings(object, app, existing);
  Acad::ErrorStatus es = EnsureRegApp(object->database(), app);
  if (es == Acad::eOk) {
    RbChain chain = BuildChain(app, existing, list);
    es = object->setXData(chain.get());
  }
  return es == Acad::eOk ? 0 : static_cast<int>(es);
}

int ApiComn_replaceAttributesArrays(AcDbObject* object, const wchar_t* const* apps,
                                    const CStringArray* const* lists, int count) {
  if (object == nullptr || count <= 0) return -1;
  for (int i = 0; i < count; ++i)
    if (!HasText(apps[i])) return -1;
  for (int i = 0; i < count; ++i) {
    const Acad::ErrorStatus es = EnsureRegApp(object->database(), apps[i]);
    if (es != Acad::eOk) return static_cast<int>(es);
  }
  const CStringArray none;
  RbChain chain = BuildChain(apps[0], none, *lists[0]);
  resbuf* tail = chain.get();
  for (int i = 1; i < count; ++i) {
    while (tail->rbnext != nullptr) tail = tail->rbnext;
    tail->rbnext = BuildChain(apps[i], none, *lists[i]).release();
  }
  const Acad::ErrorStatus es = object->setXData(chain.get());
  return es == Acad::eOk ? 0 : static_cast<int>(es);
}

int ApiComn_removeXData(AcDbObjectId id, const wchar_t* app) {
  if (!HasText(app)) return -1;
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, id, AcDb::kForWrite) != Acad::eOk) return -1;
  Acad::ErrorStatus es = Acad::eOk;
  RbChain current(object->xData(app));
  if (current) {
    // The 1001 group alone removes the application's XData.
    RbChain name_only(acutNewRb(kAppName));
    name_only->resval.rstring = acutNewString(app);
    es = object->setXData(name_only.get());
  }
  object->close();
  return es == Acad::eOk ? 0 : static_cast<int>(es);
}
