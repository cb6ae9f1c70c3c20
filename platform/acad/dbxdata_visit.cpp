// Reading an object's XData in place: visitXData over all of it or one application, and the
// applications a selection filter asks about.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include <dbmain.h>
#include "platform/acad/dbstub.h"
#include "platform/acad/dbxdata_packed.h"
#include "platform/win/text_encoding.h"

using platform::acad::internal::FindAppItems;
using platform::acad::internal::PackedItem;
using platform::acad::internal::Unpacker;

namespace platform::acad::internal {

bool AnyXDataApp(const AcDbObject* object, const std::function<bool(std::wstring_view)>& test) {
  object->assertReadEnabled();
  std::wstring name;
  for (Unpacker in(AcDbXDataAccess::Block(object)); !in.done();) {
    const PackedItem item = in.Read();
    if (item.code != 1001) continue;
    if (test(item.WideView(name))) return true;
  }
  return false;
}

}  // namespace platform::acad::internal

namespace {

// A packed item as visitXData hands it out; a string's UTF-8 goes into `text`, made again for
// each string, unless it is plain ASCII, which is handed out where the object holds it.
AcDbXDataItem Visible(const PackedItem& packed, std::string& text) {
  AcDbXDataItem item;
  item.code = packed.code;
  switch (packed.kind) {
    case platform::acad::RbValueKind::kString:
      text.clear();
      // As a chain's string would be read: up to its first null character.
      if (packed.form == 0) {
        const char* p = packed.value;
        // Plain ASCII (most of a drawing's XData) is handed out where it lies.
        uint32_t ascii = 0;
        while (ascii < packed.length && static_cast<unsigned char>(p[ascii]) - 1u < 0x7Fu) ++ascii;
        if (ascii == packed.length) {
          item.text = std::string_view(p, packed.length);
          break;
        }
        for (uint32_t i = 0; i < packed.length;) {
          // Runs of ASCII go as they are.
          uint32_t run = i;
          while (run < packed.length && static_cast<unsigned char>(p[run]) - 1u < 0x7Fu) ++run;
          text.append(p + i, run - i);
          i = run;
          if (i == packed.length || p[i] == 0) break;
          const auto c = static_cast<unsigned char>(p[i++]);
          text.push_back(static_cast<char>(0xC0 | (c >> 6)));
          text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
      } else if (packed.form == 1) {
        std::wstring wide;
        text = platform::WideToUtf8(packed.WideView(wide));
      }
      item.text = text;
      break;
    case platform::acad::RbValueKind::kBinary:
      if (packed.has_bytes) item.text = std::string_view(packed.value, packed.length);
      break;
    case platform::acad::RbValueKind::kPoint:
      std::memcpy(item.point, packed.value, sizeof item.point);
      break;
    case platform::acad::RbValueKind::kReal:
      item.real = packed.As<ads_real>();
      break;
    case platform::acad::RbValueKind::kShort:
      item.integer = packed.As<short>();
      break;
    case platform::acad::RbValueKind::kLong:
      item.integer = packed.As<int32_t>();
      break;
    default:
      break;
  }
  return item;
}

}  // namespace

void AcDbObject::visitXData(const std::function<void(const AcDbXDataItem&)>& visit) const {
  assertReadEnabled();
  std::string text;
  for (Unpacker in(xdata_); !in.done();) visit(Visible(in.Read(), text));
}

bool AcDbObject::visitXData(const ACHAR* regappName,
                            const std::function<void(const AcDbXDataItem&)>& visit) const {
  assertReadEnabled();
  const char *begin, *end;
  if (!FindAppItems(xdata_, regappName, &begin, &end)) return false;
  std::string text;
  std::wstring wide;  // a string's text, made again for each string
  for (Unpacker in(begin, end); !in.done();) {
    const PackedItem packed = in.Read();
    if (packed.kind != platform::acad::RbValueKind::kString) {
      visit(Visible(packed, text));
      continue;
    }
    AcDbXDataItem item;
    item.code = packed.code;
    item.wide = packed.WideView(wide);
    visit(item);
  }
  return true;
}
