// Utility functions of the ADS library: result-buffer chains, strings and the command-line print.
#pragma once

#include <adsdef.h>

// A new result buffer of that type, its value zeroed (strings null), rbnext null. The caller
// frees it with acutRelRb.
resbuf* acutNewRb(int type);
// Frees a whole chain, with the strings and binary chunks its links own. Null is allowed.
int acutRelRb(resbuf* rb);
// Builds a chain from (type, value) pairs ended by a 0 type. The value's C type follows the type
// code: const ACHAR* for strings, double for reals, const ads_real* for points, int for shorts,
// int32_t for longs, int64_t for 64-bit integers, const int64_t* for entity names; no value for
// RTLB, RTLE, RTDOTE, RTNIL, RTT, RTVOID and -3. Returns null for an unknown type code.
resbuf* acutBuildList(int rtype, ...);
// Prints to the command line: the format follows MFC's Unicode rules (%s is a wide string).
// Returns RTNORM, or RTERROR for a null format.
int acutPrintf(const ACHAR* format, ...);
// A copy of the string owned by the caller (free with acutDelString).
ACHAR* acutNewString(const ACHAR* text);
void acutDelString(ACHAR*& text);

namespace platform::acad {
// A deep copy of a whole chain (null for null), freed with acutRelRb.
resbuf* CopyResbufChain(const resbuf* rb);
}  // namespace platform::acad
