// Helpers of the DXF tests: drawings written line by line.
#pragma once

#include <dbmain.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace host::testing {

// Joins groups given as code/value pairs into DXF text, the code right-aligned in three columns
// as the writer does, LF after each line.
std::string DxfText(std::initializer_list<std::pair<int, std::string>> groups);
std::string DxfText(const std::vector<std::pair<int, std::string>>& groups);

// A complete small AC1024 drawing: layer "RQ_CONNECT" (colour 3), application "RQ_LINK", a
// block "RT100" with a POINT and an ATTDEF, a model space INSERT (handle 30) with an ATTRIB
// (31) and SEQEND (32) and RQ_LINK XData, a LINE (33), the group dictionary with group "R1"
// holding 30 and 33. `extra_entities` go after the LINE, `extra_objects` at the end of OBJECTS.
std::vector<std::pair<int, std::string>> SmallDrawing(
    const std::vector<std::pair<int, std::string>>& extra_entities = {},
    const std::vector<std::pair<int, std::string>>& extra_objects = {});

// Where two texts first differ, by line ("line N: \"A\" against \"B\""), for a readable failure
// when two drawings or dumps should be equal.
std::string FirstDifference(const std::string& a, const std::string& b);

// The drawing saved, after checking that the save was not refused, and that loading it and
// saving again gives the same bytes. *warnings gets those of the first load.
std::string SaveTwice(const std::string& text, std::vector<std::wstring>* warnings = nullptr);

// What ezdxf (with the system's Python, which has it) prints when `script` runs on `doc`, the
// saved file read from `dir`, after a first line "errors N" with the count of its audit's errors.
std::string EzdxfOutput(const std::filesystem::path& dir, const std::string& saved,
                        const std::string& script);

// A test with a folder of its own for the files it writes (named after the test, removed after
// it), and ezdxf to read them.
class DxfFileTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // What ezdxf prints about the file when `script` runs on `doc` (see EzdxfOutput).
  std::string Ezdxf(const std::string& saved, const std::string& script) {
    return EzdxfOutput(dir_, saved, script);
  }

  std::filesystem::path dir_;
};

// The binary form of groups as the DXF reference lays it out: the sentinel, then per group a
// two-byte code and its value, little-endian, by the type of its code.
std::string BinaryDxf(const std::vector<std::pair<int, std::string>>& groups);

// The id of the object with that handle (hexadecimal) in the drawing, null when there is none.
AcDbObjectId IdOf(AcDbDatabase& db, const wchar_t* hex);

}  // namespace host::testing
