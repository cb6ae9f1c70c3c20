// Dravik.dll: string lists stored as an application's extended entity data.
#include <memory>
#include <vector>

#include <acutads.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <ApiComn.h>

namespace {

constexpr short kAppName = 1001;
constexpr short kString = 1000;

bool HasText(const wchar_t* text) {
  return text != nullptr && *text != L'\0';
}

// The strings of `app` on an open object into `list`; false when it has no XData of `app`.
// Read in place: a check over a floor reads every element's records.
bool ReadStrings(const AcDbObject* object, const wchar_t* app, CStringArray& list) {
  return object->visitXData(app, [&](const AcDbXDataItem& item) {
    if (item.code == kString)
      list.Add(CString(item.wide.data(), static_cast<int>(item.wide.size())));
  });
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

// A chain of 1001 names, each followed by one 1000 group per string, over the strings' own
// text: setXData only reads a chain, so nothing is copied onto the heap for it.
class StringChain {
 public:
  void AddApp(const wchar_t* app) { Add(kAppName, app); }
  void AddStrings(const CStringArray& list) {
    for (INT_PTR i = 0; i < list.GetSize(); ++i) Add(kString, list[i].GetString());
  }
  // The chain, linked once all is added.
  const resbuf* Head() {
    for (size_t i = 0; i + 1 < links_.size(); ++i) links_[i].rbnext = &links_[i + 1];
    return links_.empty() ? nullptr : links_.data();
  }

 private:
  void Add(short code, const wchar_t* text) {
    resbuf link{};
    link.restype = code;
    link.resval.rstring = const_cast<wchar_t*>(text);
    links_.push_back(link);
  }
  std::vector<resbuf> links_;
};

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
    StringChain chain;
    chain.AddApp(app);
    chain.AddStrings(existing);
    chain.AddStrings(list);
    es = object->setXData(chain.Head());
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
  StringChain chain;
  for (int i = 0; i < count; ++i) {
    chain.AddApp(apps[i]);
    chain.AddStrings(*lists[i]);
  }
  const Acad::ErrorStatus es = object->setXData(chain.Head());
  return es == Acad::eOk ? 0 : static_cast<int>(es);
}

int ApiComn_removeXData(AcDbObjectId id, const wchar_t* app) {
  if (!HasText(app)) return -1;
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, id, AcDb::kForWrite) != Acad::eOk) return -1;
  Acad::ErrorStatus es = Acad::eOk;
  if (object->visitXData(app, [](const AcDbXDataItem&) {})) {
    // The 1001 group alone removes the application's XData.
    StringChain name_only;
    name_only.AddApp(app);
    es = object->setXData(name_only.Head());
  }
  object->close();
  return es == Acad::eOk ? 0 : static_cast<int>(es);
}
