// Helpers of the DXF tests.
#include "dxf_test_support.h"

#include <gtest/gtest.h>
#include "platform/win/text_encoding.h"
#include <unistd.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"

namespace host::testing {

std::string DxfText(const std::vector<std::pair<int, std::string>>& groups) {
  std::string text;
  for (const auto& [code, value] : groups) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%3d\n", code);
    text += buf;
    text += value;
    text += '\n';
  }
  return text;
}

std::string DxfText(std::initializer_list<std::pair<int, std::string>> groups) {
  return DxfText(std::vector<std::pair<int, std::string>>(groups));
}

std::vector<std::pair<int, std::string>> SmallDrawing(
    const std::vector<std::pair<int, std::string>>& extra_entities,
    const std::vector<std::pair<int, std::string>>& extra_objects) {
  std::vector<std::pair<int, std::string>> g = {
      {0, "SECTION"},
      {2, "HEADER"},
      {9, "$ACADVER"},
      {1, "AC1024"},
      {9, "$DWGCODEPAGE"},
      {3, "ANSI_932"},
      {9, "$HANDSEED"},
      {5, "100"},
      {9, "$DIMSCALE"},
      {40, "2.5"},
      {9, "$INSUNITS"},
      {70, "4"},
      {0, "ENDSEC"},
      {0, "SECTION"},
      {2, "TABLES"},
      {0, "TABLE"},
      {2, "LTYPE"},
      {5, "5"},
      {330, "0"},
      {100, "AcDbSymbolTable"},
      {70, "1"},
      {0, "LTYPE"},
      {5, "14"},
      {330, "5"},
      {100, "AcDbSymbolTableRecord"},
      {100, "AcDbLinetypeTableRecord"},
      {2, "Continuous"},
      {70, "0"},
      {3, "Solid line"},
      {72, "65"},
      {73, "0"},
      {40, "0.0"},
      {0, "ENDTAB"},
      {0, "TABLE"},
      {2, "LAYER"},
      {5, "2"},
      {330, "0"},
      {100, "AcDbSymbolTable"},
      {70, "2"},
      {0, "LAYER"},
      {5, "10"},
      {330, "2"},
      {100, "AcDbSymbolTableRecord"},
      {100, "AcDbLayerTableRecord"},
      {2, "0"},
      {70, "0"},
      {62, "7"},
      {6, "Continuous"},
      {0, "LAYER"},
      {5, "11"},
      {330, "2"},
      {100, "AcDbSymbolTableRecord"},
      {100, "AcDbLayerTableRecord"},
      {2, "RQ_CONNECT"},
      {70, "0"},
      {62, "3"},
      {6, "Continuous"},
      {290, "0"},
      {0, "ENDTAB"},
      {0, "TABLE"},
      {2, "APPID"},
      {5, "9"},
      {330, "0"},
      {100, "AcDbSymbolTable"},
      {70, "2"},
      {0, "APPID"},
      {5, "12"},
      {330, "9"},
      {100, "AcDbSymbolTableRecord"},
      {100, "AcDbRegAppTableRecord"},
      {2, "ACAD"},
      {70, "0"},
      {0, "APPID"},
      {5, "13"},
      {330, "9"},
      {100, "AcDbSymbolTableRecord"},
      {100, "AcDbRegAppTableRecord"},
      {2, "RQ_LINK"},
      {70, "0"},
      {0, "ENDTAB"},
      {0, "TABLE"},
      {2, "BLOCK_RECORD"},
      {5, "1"},
      {330, "0"},
      {100, "AcDbSymbolTable"},
      {70, "3"},
      {0, "BLOCK_RECORD"},
      {5, "1F"},
      {330, "1"},
      {100, "AcDbSymbolTableRecord"},
      {100, "AcDbBlockTableRecord"},
      {2, "*Model_Space"},
      {0, "BLOCK_RECORD"},
      {5, "1B"},
      {330, "1"},
      {100, "AcDbSymbolTableRecord"},
      {100, "AcDbBlockTableRecord"},
      {2, "*Paper_Space"},
      {0, "BLOCK_RECORD"},
      {5, "20"},
      {330, "1"},
      {100, "AcDbSymbolTableRecord"},
      {100, "AcDbBlockTableRecord"},
      {2, "RT100"},
      {0, "ENDTAB"},
      {0, "ENDSEC"},
      {0, "SECTION"},
      {2, "BLOCKS"},
      {0, "BLOCK"},
      {5, "21"},
      {330, "20"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbBlockBegin"},
      {2, "RT100"},
      {70, "2"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {3, "RT100"},
      {1, ""},
      {0, "POINT"},
      {5, "22"},
      {330, "20"},
      {100, "AcDbEntity"},
      {8, "RQ_CONNECT"},
      {100, "AcDbPoint"},
      {10, "100.0"},
      {20, "0.0"},
      {30, "0.0"},
      {0, "ATTDEF"},
      {5, "23"},
      {330, "20"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbText"},
      {10, "0.0"},
      {20, "5.0"},
      {30, "0.0"},
      {40, "2.5"},
      {1, ""},
      {100, "AcDbAttributeDefinition"},
      {3, "state"},
      {2, "ETAT"},
      {70, "0"},
      {0, "ENDBLK"},
      {5, "24"},
      {330, "20"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbBlockEnd"},
      {0, "BLOCK"},
      {5, "25"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbBlockBegin"},
      {2, "*Model_Space"},
      {70, "0"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {3, "*Model_Space"},
      {1, ""},
      {0, "ENDBLK"},
      {5, "26"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbBlockEnd"},
      {0, "BLOCK"},
      {5, "27"},
      {330, "1B"},
      {100, "AcDbEntity"},
      {67, "1"},
      {8, "0"},
      {100, "AcDbBlockBegin"},
      {2, "*Paper_Space"},
      {70, "0"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {3, "*Paper_Space"},
      {1, ""},
      {0, "ENDBLK"},
      {5, "28"},
      {330, "1B"},
      {100, "AcDbEntity"},
      {67, "1"},
      {8, "0"},
      {100, "AcDbBlockEnd"},
      {0, "ENDSEC"},
      {0, "SECTION"},
      {2, "ENTITIES"},
      {0, "INSERT"},
      {5, "30"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {62, "5"},
      {100, "AcDbBlockReference"},
      {66, "1"},
      {2, "RT100"},
      {10, "10.0"},
      {20, "20.0"},
      {30, "0.0"},
      {50, "90.0"},
      {1001, "RQ_LINK"},
      {1000, "3"},
      {1070, "7"},
      {1071, "70000"},
      {1040, "1.5"},
      {1010, "1.0"},
      {1020, "2.0"},
      {1030, "3.0"},
      {1002, "{"},
      {1005, "33"},
      {1002, "}"},
      {0, "ATTRIB"},
      {5, "31"},
      {330, "30"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbText"},
      {10, "10.0"},
      {20, "25.0"},
      {30, "0.0"},
      {40, "2.5"},
      {1, "1"},
      {100, "AcDbAttribute"},
      {2, "ETAT"},
      {70, "0"},
      {0, "SEQEND"},
      {5, "32"},
      {330, "30"},
      {100, "AcDbEntity"},
      {8, "0"},
      {0, "LINE"},
      {5, "33"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "RQ_CONNECT"},
      {100, "AcDbLine"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {11, "50.0"},
      {21, "25.0"},
      {31, "0.0"},
  };
  g.insert(g.end(), extra_entities.begin(), extra_entities.end());
  const std::vector<std::pair<int, std::string>> objects = {
      {0, "ENDSEC"},
      {0, "SECTION"},
      {2, "OBJECTS"},
      {0, "DICTIONARY"},
      {5, "C"},
      {330, "0"},
      {100, "AcDbDictionary"},
      {281, "1"},
      {3, "ACAD_GROUP"},
      {350, "D"},
      {0, "DICTIONARY"},
      {5, "D"},
      {330, "C"},
      {100, "AcDbDictionary"},
      {281, "1"},
      {3, "R1"},
      {350, "40"},
      {0, "GROUP"},
      {5, "40"},
      {330, "D"},
      {100, "AcDbGroup"},
      {300, "route 1"},
      {70, "0"},
      {71, "1"},
      {340, "30"},
      {340, "33"},
  };
  g.insert(g.end(), objects.begin(), objects.end());
  g.insert(g.end(), extra_objects.begin(), extra_objects.end());
  g.push_back({0, "ENDSEC"});
  g.push_back({0, "EOF"});
  return g;
}

AcDbObjectId IdOf(AcDbDatabase& db, const wchar_t* hex) {
  AcDbObjectId id;
  db.getAcDbObjectId(id, false, AcDbHandle(hex));
  return id;
}

std::string SaveTwice(const std::string& text, std::vector<std::wstring>* warnings) {
  DxfReadResult first = ReadDxf(text);
  EXPECT_TRUE(first.ok()) << platform::WideToUtf8(first.error);
  if (!first.ok()) return "";
  if (warnings != nullptr) *warnings = first.warnings;
  std::wstring fault;
  const std::string saved = WriteDxf(*first.database, &fault);
  EXPECT_EQ(fault, L"") << "the save was refused";
  DxfReadResult second = ReadDxf(saved);
  EXPECT_TRUE(second.ok()) << platform::WideToUtf8(second.error);
  if (!second.ok()) return saved;
  EXPECT_TRUE(WriteDxf(*second.database) == saved) << "the second save differs from the first";
  return saved;
}

void DxfFileTest::SetUp() {
  dir_ = std::filesystem::temp_directory_path() /
         ("harnex_dxf_" + std::to_string(::getpid()) + "_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir_);
}

void DxfFileTest::TearDown() {
  std::filesystem::remove_all(dir_);
}

std::string EzdxfOutput(const std::filesystem::path& dir, const std::string& saved,
                        const std::string& script) {
  const auto dxf = dir / "saved.dxf";
  std::ofstream(dxf, std::ios::binary) << saved;
  const auto py = dir / "check.py";
  std::ofstream(py) << "import ezdxf\ndoc = ezdxf.readfile(r'" << dxf.string() << "')\n"
                    << "print('errors', len(doc.audit().errors))\n"
                    << script;
  const auto out = dir / "check.out";
  const int status =
      std::system(("/usr/bin/python3 " + py.string() + " > " + out.string() + " 2>&1").c_str());
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  EXPECT_EQ(status, 0) << text.str();
  return text.str();
}

// The binary form of groups as the DXF reference lays it out: the sentinel, then per group a
// two-byte code and its value, little-endian.
std::string BinaryDxf(const std::vector<std::pair<int, std::string>>& groups) {
  std::string out("AutoCAD Binary DXF\r\n\x1a\0", 22);
  auto put = [&](std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  for (const auto& [code, value] : groups) {
    put(static_cast<std::uint16_t>(code), 2);
    const int c = code;
    const bool real = (c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) ||
                      (c >= 460 && c <= 469) || (c >= 1010 && c <= 1059);
    long long n = 0;
    std::from_chars(value.data(), value.data() + value.size(), n);
    if (real) {
      double d = 0;
      std::from_chars(value.data(), value.data() + value.size(), d);
      put(std::bit_cast<std::uint64_t>(d), 8);
    } else if ((c >= 60 && c <= 79) || (c >= 170 && c <= 179) || (c >= 270 && c <= 289) ||
               (c >= 370 && c <= 409) || (c >= 1060 && c <= 1070)) {
      put(static_cast<std::uint64_t>(n), 2);
    } else if ((c >= 90 && c <= 99) || (c >= 420 && c <= 429) || (c >= 440 && c <= 459) ||
               c == 1071) {
      put(static_cast<std::uint64_t>(n), 4);
    } else if (c >= 160 && c <= 169) {
      put(static_cast<std::uint64_t>(n), 8);
    } else if (c >= 290 && c <= 299) {
      put(static_cast<std::uint64_t>(n), 1);
    } else if ((c >= 310 && c <= 319) || c == 1004) {
      put(value.size() / 2, 1);
      for (size_t i = 0; i + 1 < value.size(); i += 2)
        put(std::stoul(value.substr(i, 2), nullptr, 16), 1);
    } else {
      out += value;
      out.push_back('\0');
    }
  }
  return out;
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  std::istringstream sa(a), sb(b);
  std::string la, lb;
  for (int line = 1;; ++line) {
    const bool more_a = static_cast<bool>(std::getline(sa, la));
    const bool more_b = static_cast<bool>(std::getline(sb, lb));
    if (!more_a && !more_b) return "no difference";
    if (la != lb || more_a != more_b)
      return "line " + std::to_string(line) + ": \"" + la + "\" against \"" + lb + "\"";
  }
}

}  // namespace host::testing
