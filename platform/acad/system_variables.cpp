// The editor's system variables: ERRNO, DIMSCALE and PICKBOX through acedGetVar/acedSetVar.
#include "platform/acad/system_variables.h"

#include <cwctype>
#include <string>

#include <acedads.h>
#include "platform/acad/hit_test.h"

namespace platform::acad {
namespace {
int g_errno = 0;

std::wstring Upper(const ACHAR* s) {
  std::wstring u = s ? s : L"";
  for (auto& c : u) c = static_cast<wchar_t>(std::towupper(c));
  return u;
}
}  // namespace

void SetErrno(int value) {
  g_errno = value;
}
int Errno() {
  return g_errno;
}
void ResetSystemVariables() {
  g_errno = 0;
}

}  // namespace platform::acad

int acedGetVar(const ACHAR* sym, struct resbuf* result) {
  if (result == nullptr) return RTERROR;
  const std::wstring name = platform::acad::Upper(sym);
  if (name == L"ERRNO") {
    result->restype = RTSHORT;
    result->resval.rint = static_cast<short>(platform::acad::g_errno);
    return RTNORM;
  }
  if (name == L"DIMSCALE") {
    result->restype = RTREAL;
    result->resval.rreal = platform::acad::GlobalScale();
    return RTNORM;
  }
  if (name == L"PICKBOX") {
    result->restype = RTSHORT;
    result->resval.rint = 3;  // AutoCAD's default; the aperture itself is in drawing units
    return RTNORM;
  }
  return RTERROR;
}

int acedSetVar(const ACHAR* sym, const struct resbuf* val) {
  if (val == nullptr) return RTERROR;
  const std::wstring name = platform::acad::Upper(sym);
  if (name == L"ERRNO" && val->restype == RTSHORT) {
    platform::acad::g_errno = val->resval.rint;
    return RTNORM;
  }
  if (name == L"DIMSCALE" && (val->restype == RTREAL || val->restype == RTSHORT)) {
    const double v = val->restype == RTREAL ? val->resval.rreal : val->resval.rint;
    return platform::acad::SetGlobalScale(v) ? RTNORM : RTERROR;
  }
  return RTERROR;
}
