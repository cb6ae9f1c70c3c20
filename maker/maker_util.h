// Small helpers shared by the maker's libraries: owned ADS strings and resbuf chains, the
// working drawing.
#pragma once

#include <memory>

#include <acutads.h>
#include <dbid.h>

class AcDbDatabase;

namespace maker {

// A string returned by the host as a new ACHAR* (AcDbEntity::layer() ...), freed on scope exit.
class AdsString {
 public:
  explicit AdsString(ACHAR* text) : text_(text) {}
  ~AdsString() { acutDelString(text_); }
  AdsString(const AdsString&) = delete;
  AdsString& operator=(const AdsString&) = delete;
  const ACHAR* get() const { return text_; }

 private:
  ACHAR* text_;
};

struct RbDeleter {
  void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using RbChain = std::unique_ptr<resbuf, RbDeleter>;

// Whether `ids` holds `id`.
inline bool Contains(const AcDbObjectIdArray& ids, const AcDbObjectId& id) {
  for (int i = 0; i < ids.length(); ++i) {
    if (ids[i] == id) return true;
  }
  return false;
}

// The working drawing, or null.
AcDbDatabase* WorkingDatabase();

}  // namespace maker
