// AcCmColor: an entity or layer colour by AutoCAD colour index (ByBlock 0, 1..255, ByLayer 256).
#pragma once

#include <adesk.h>

class AcCmColor {
 public:
  enum ColorMethod { kByLayer = 0xC0, kByBlock = 0xC1, kByACI = 0xC3, kForeground = 0xC7 };

  AcCmColor() = default;
  ColorMethod colorMethod() const {
    return index_ == 256 ? kByLayer : index_ == 0 ? kByBlock : kByACI;
  }
  bool isByLayer() const { return index_ == 256; }
  bool isByBlock() const { return index_ == 0; }
  bool isByACI() const { return index_ >= 1 && index_ <= 255; }
  Adesk::UInt16 colorIndex() const { return index_; }
  // Accepts 0 to 256; other values are refused (returns false, colour unchanged).
  bool setColorIndex(Adesk::UInt16 index) {
    if (index > 256) return false;
    index_ = index;
    return true;
  }
  void setByLayer() { index_ = 256; }
  void setByBlock() { index_ = 0; }
  bool operator==(const AcCmColor& other) const { return index_ == other.index_; }
  bool operator!=(const AcCmColor& other) const { return index_ != other.index_; }

 private:
  Adesk::UInt16 index_ = 256;
};
