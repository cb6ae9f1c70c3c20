// Result-buffer chains, utility strings and the command-line print of the ADS library.
#include <acutads.h>

#include <afxstr.h>

#include <cstdarg>
#include <cstring>
#include <cwchar>

#include "platform/win/user_session.h"

namespace platform::acad {

RbValueKind ValueKindOf(int restype) {
  // XData first: drawings hold millions of its items, and its codes are the last ranges below.
  if (restype >= 1000 && restype <= 1071) {
    const int c = restype;
    if (c == 1004) return RbValueKind::kBinary;
    if (c <= 1009) return RbValueKind::kString;
    if (c <= 1013) return RbValueKind::kPoint;
    if (c <= 1059) return RbValueKind::kReal;
    if (c <= 1070) return RbValueKind::kShort;
    return RbValueKind::kLong;
  }
  switch (restype) {
    case RTREAL:
    case RTANG:
    case RTORINT:
      return RbValueKind::kReal;
    case RTPOINT:
    case RT3DPOINT:
      return RbValueKind::kPoint;
    case RTSHORT:
      return RbValueKind::kShort;
    case RTLONG:
      return RbValueKind::kLong;
    case RTINT64:
      return RbValueKind::kInt64;
    case RTSTR:
    case RTDXF0:
      return RbValueKind::kString;
    case RTENAME:
    case RTPICKS:
      return RbValueKind::kName;
    case RTNONE:
    case RTVOID:
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
    case -3:
      return RbValueKind::kNone;
    default:
      break;
  }
  // DXF group codes, by the ranges of the DXF reference.
  int c = restype;
  if (c == -1 || c == -2) return RbValueKind::kName;
  if (c == -4 || (c >= 0 && c <= 9)) return RbValueKind::kString;
  if ((c >= 10 && c <= 19) || (c >= 110 && c <= 112) || (c >= 210 && c <= 219) ||
      (c >= 1010 && c <= 1013))
    return RbValueKind::kPoint;
  if ((c >= 20 && c <= 59) || (c >= 113 && c <= 149) || (c >= 220 && c <= 239) ||
      (c >= 460 && c <= 469) || (c >= 1014 && c <= 1059))
    return RbValueKind::kReal;
  if ((c >= 60 && c <= 79) || (c >= 170 && c <= 179) || (c >= 270 && c <= 299) ||
      (c >= 370 && c <= 389) || (c >= 400 && c <= 409) || (c >= 1060 && c <= 1070))
    return RbValueKind::kShort;
  if ((c >= 90 && c <= 99) || (c >= 420 && c <= 429) || (c >= 440 && c <= 459) || c == 1071)
    return RbValueKind::kLong;
  if (c >= 160 && c <= 169) return RbValueKind::kInt64;
  if ((c >= 330 && c <= 369) || (c >= 390 && c <= 399) || (c >= 480 && c <= 481))
    return RbValueKind::kName;
  if (c == 1004 || (c >= 310 && c <= 319)) return RbValueKind::kBinary;
  if ((c >= 100 && c <= 109) || (c >= 300 && c <= 329) || (c >= 410 && c <= 419) ||
      (c >= 430 && c <= 439) || (c >= 470 && c <= 479) || c == 999 || (c >= 1000 && c <= 1009))
    return RbValueKind::kString;
  return RbValueKind::kNone;
}

resbuf* CopyResbufChain(const resbuf* rb) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; rb != nullptr; rb = rb->rbnext) {
    resbuf* copy = acutNewRb(rb->restype);
    switch (ValueKindOf(rb->restype)) {
      case RbValueKind::kString:
        copy->resval.rstring = rb->resval.rstring ? acutNewString(rb->resval.rstring) : nullptr;
        break;
      case RbValueKind::kBinary:
        copy->resval.rbinary.clen = rb->resval.rbinary.clen;
        if (rb->resval.rbinary.clen > 0 && rb->resval.rbinary.buf != nullptr) {
          copy->resval.rbinary.buf = new char[rb->resval.rbinary.clen];
          std::memcpy(copy->resval.rbinary.buf, rb->resval.rbinary.buf, rb->resval.rbinary.clen);
        }
        break;
      default:
        copy->resval = rb->resval;
        break;
    }
    *tail = copy;
    tail = &copy->rbnext;
  }
  return head;
}

}  // namespace platform::acad

using platform::acad::RbValueKind;
using platform::acad::ValueKindOf;

resbuf* acutNewRb(int type) {
  resbuf* rb = new resbuf;
  std::memset(rb, 0, sizeof(*rb));
  rb->restype = static_cast<short>(type);
  return rb;
}

int acutRelRb(resbuf* rb) {
  while (rb != nullptr) {
    resbuf* next = rb->rbnext;
    RbValueKind kind = ValueKindOf(rb->restype);
    if (kind == RbValueKind::kString) delete[] rb->resval.rstring;
    if (kind == RbValueKind::kBinary) delete[] rb->resval.rbinary.buf;
    delete rb;
    rb = next;
  }
  return RTNORM;
}

resbuf* acutBuildList(int rtype, ...) {
  va_list args;
  va_start(args, rtype);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (int type = rtype; type != 0; type = va_arg(args, int)) {
    RbValueKind kind = ValueKindOf(type);
    bool known = kind != RbValueKind::kNone || type == -3 || (type >= 5014 && type <= 5021);
    if (!known) {
      acutRelRb(head);
      head = nullptr;
      break;
    }
    resbuf* rb = acutNewRb(type);
    switch (kind) {
      case RbValueKind::kString:
        rb->resval.rstring = acutNewString(va_arg(args, const ACHAR*));
        break;
      case RbValueKind::kReal:
        rb->resval.rreal = va_arg(args, double);
        break;
      case RbValueKind::kPoint: {
        const ads_real* p = va_arg(args, const ads_real*);
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
        break;
      }
      case RbValueKind::kShort:
        rb->resval.rint = static_cast<short>(va_arg(args, int));
        break;
      case RbValueKind::kLong:
        rb->resval.rlong = va_arg(args, int32_t);
        break;
      case RbValueKind::kInt64:
        rb->resval.mnInt64 = va_arg(args, int64_t);
        break;
      case RbValueKind::kName: {
        const int64_t* name = va_arg(args, const int64_t*);
        rb->resval.rlname[0] = name ? name[0] : 0;
        rb->resval.rlname[1] = name ? name[1] : 0;
        break;
      }
      case RbValueKind::kBinary: {
        const ads_binary* bin = va_arg(args, const ads_binary*);
        if (bin != nullptr && bin->clen > 0) {
          rb->resval.rbinary.clen = bin->clen;
          rb->resval.rbinary.buf = new char[bin->clen];
          std::memcpy(rb->resval.rbinary.buf, bin->buf, bin->clen);
        }
        break;
      }
      case RbValueKind::kNone:
        break;
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  va_end(args);
  return head;
}

int acutPrintf(const ACHAR* format, ...) {
  if (format == nullptr) return RTERROR;
  va_list args;
  va_start(args, format);
  CString text;
  text.FormatV(format, args);
  va_end(args);
  platform::PrintText(std::wstring_view(text.GetString(), text.GetLength()));
  return RTNORM;
}

ACHAR* acutNewString(const ACHAR* text) {
  if (text == nullptr) text = L"";
  size_t n = std::wcslen(text);
  ACHAR* copy = new ACHAR[n + 1];
  std::wmemcpy(copy, text, n + 1);
  return copy;
}

void acutDelString(ACHAR*& text) {
  delete[] text;
  text = nullptr;
}
