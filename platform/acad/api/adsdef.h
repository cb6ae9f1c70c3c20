// The ADS types: ACHAR, points, entity names, result buffers, result codes and group types.
#pragma once

#include <cstdint>

typedef wchar_t ACHAR;
typedef double ads_real;
typedef ads_real ads_point[3];
typedef int64_t ads_name[2];
typedef ads_real ads_matrix[4][4];
typedef ads_real* ads_pointp;
typedef int64_t* ads_namep;

enum { X = 0, Y = 1, Z = 2 };
enum { T = 3 };

// Result codes of the ADS functions.
#define RTNONE 5000   // no result: an empty response
#define RTREAL 5001   // real number
#define RTPOINT 5002  // 2D point (z is 0)
#define RTSHORT 5003  // short integer
#define RTANG 5004    // angle
#define RTSTR 5005    // string
#define RTENAME 5006  // entity name
#define RTPICKS 5007  // selection set name
#define RTORINT 5008  // orientation
#define RT3DPOINT 5009
#define RTLONG 5010
#define RTVOID 5014
#define RTLB 5016  // list begin
#define RTLE 5017  // list end
#define RTDOTE 5018
#define RTNIL 5019
#define RTDXF0 5020  // group 0 in a selection filter
#define RTT 5021
#define RTRESBUF 5023
#define RTMODELESS 5027
#define RTINT64 5031

#define RTNORM 5100
#define RTERROR (-5001)
#define RTCAN (-5002)
#define RTREJ (-5003)
#define RTFAIL (-5004)
#define RTKWORD (-5005)
#define RTINPUTTRUNCATED (-5008)

struct ads_binary {
  short clen;
  char* buf;
};

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  ACHAR* rstring;
  int32_t rlong;
  int64_t mnInt64;
  ads_name rlname;
  ads_binary rbinary;
  unsigned char ihandle[8];
};

// One link of a result-buffer chain. Chains made by the library are freed with acutRelRb,
// which also frees the strings and binary chunks they own.
struct resbuf {
  resbuf* rbnext;
  short restype;
  ads_u_val resval;
};

inline void ads_point_set(const ads_point from, ads_point to) {
  to[0] = from[0];
  to[1] = from[1];
  to[2] = from[2];
}
inline void ads_name_set(const ads_name from, ads_name to) {
  to[0] = from[0];
  to[1] = from[1];
}
inline void ads_name_clear(ads_name name) {
  name[0] = name[1] = 0;
}
inline bool ads_name_nil(const ads_name name) {
  return name[0] == 0 && name[1] == 0;
}
inline bool ads_name_equal(const ads_name a, const ads_name b) {
  return a[0] == b[0] && a[1] == b[1];
}

// What a result buffer of a given type holds: the SDK decides this from the type code (an RT
// code or a DXF group code), and so do acutNewRb, acutRelRb and acutBuildList.
namespace platform::acad {
enum class RbValueKind { kNone, kString, kReal, kPoint, kShort, kLong, kInt64, kName, kBinary };
RbValueKind ValueKindOf(int restype);
}  // namespace platform::acad
