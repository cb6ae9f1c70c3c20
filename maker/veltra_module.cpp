// Veltra.arx: the host configuration file path and the perpendicular foot, and the export table.
#include <Veltra.h>

#include <gegbl.h>
#include <gevec3d.h>

namespace {

std::wstring& IniFile() {
  static std::wstring path;
  return path;
}

}  // namespace

extern "C" const wchar_t* RQAddinGetIniFile() {
  return IniFile().c_str();
}

extern "C" int RQAddin_perpendicular(const AcGePoint3d& p1, const AcGePoint3d& p2,
                                     const AcGePoint3d& pick, AcGePoint3d& foot) {
  const AcGeVector3d direction = p2 - p1;
  const double length = direction.length();
  if (length <= AcGeContext::gTol.equalPoint()) return 1;
  const double along = (pick - p1).dotProduct(direction) / (length * length);
  foot = p1 + direction * along;
  return 0;
}

namespace veltra {

void SetIniFile(const std::wstring& path) {
  IniFile() = path;
}

std::map<std::string, void*> ExportTable() {
  return {
      {"RQAddinGetIniFile", reinterpret_cast<void*>(&RQAddinGetIniFile)},
      {"RQAddin_perpendicular", reinterpret_cast<void*>(&RQAddin_perpendicular)},
  };
}

}  // namespace veltra
