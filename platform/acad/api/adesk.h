// Fixed-size integer and boolean types of the ObjectARX subset (the Adesk namespace).
#pragma once

#include <cstdint>

struct Adesk {
  typedef int8_t Int8;
  typedef int16_t Int16;
  typedef int32_t Int32;
  typedef int64_t Int64;
  typedef uint8_t UInt8;
  typedef uint16_t UInt16;
  typedef uint32_t UInt32;
  typedef uint64_t UInt64;
  typedef intptr_t IntPtr;
  typedef uintptr_t UIntPtr;
  typedef bool Boolean;
  static constexpr bool kFalse = false;
  static constexpr bool kTrue = true;
};
