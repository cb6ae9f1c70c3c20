// AcDbHandle and AcDbObjectId: how database objects are named and referred to.
#pragma once

#include <cstddef>
#include <functional>

#include <acarray.h>
#include <adesk.h>
#include <adsdef.h>

class AcDbDatabase;
class AcRxClass;
struct AcDbStub;

// A drawing handle: a 64-bit number, written in upper-case hexadecimal in files and scripts.
class AcDbHandle {
 public:
  AcDbHandle() = default;
  AcDbHandle(Adesk::UInt64 value) : value_(value) {}  // NOLINT: as the SDK converts
  // Parses hexadecimal digits; anything else gives the null handle.
  explicit AcDbHandle(const ACHAR* hex);

  bool isNull() const { return value_ == 0; }
  void setNull() { value_ = 0; }
  Adesk::UInt64 value() const { return value_; }
  operator Adesk::UInt64() const { return value_; }
  AcDbHandle& operator++() {
    ++value_;
    return *this;
  }
  // Writes the hexadecimal form with its terminator; false when the buffer is too small.
  bool getIntoAsciiBuffer(ACHAR* buffer, size_t bufferLength) const;

 private:
  Adesk::UInt64 value_ = 0;
};

// Refers to one object of a database. Ids stay valid while their database lives, also for erased
// objects. Comparison and hashing are by identity.
class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  explicit AcDbObjectId(AcDbStub* stub) : stub_(stub) {}

  static const AcDbObjectId kNull;

  bool isNull() const { return stub_ == nullptr; }
  void setNull() { stub_ = nullptr; }
  // The object's handle (null handle for the null id).
  AcDbHandle handle() const;
  AcDbDatabase* database() const;
  // True when the id names an object that is erased.
  bool isErased() const;
  // True when the id names an object (erased or not).
  bool isValid() const;
  // The class of the object named, or null.
  AcRxClass* objectClass() const;

  bool operator==(const AcDbObjectId& other) const { return stub_ == other.stub_; }
  bool operator!=(const AcDbObjectId& other) const { return stub_ != other.stub_; }
  bool operator<(const AcDbObjectId& other) const;
  AcDbStub* stub() const { return stub_; }

 private:
  AcDbStub* stub_ = nullptr;
};

typedef AcArray<AcDbObjectId> AcDbObjectIdArray;

template <>
struct std::hash<AcDbObjectId> {
  size_t operator()(const AcDbObjectId& id) const noexcept {
    return std::hash<const void*>()(id.stub());
  }
};
