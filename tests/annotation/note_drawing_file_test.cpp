// A committed note in the saved drawing: the DXF keeps it as a block definition and an INSERT
// that an independent reader (ezdxf) sees with the same entities, our own reader reads it back
// the same, and the SVG picture shows it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"
#include "host/svg/svg_renderer.h"
#include "note_support.h"
#include "platform/win/text_encoding.h"

namespace note_test {
namespace {

namespace fs = std::filesystem;

// A segment from (0,0) to (100,0) with the wires of one element; $DIMSCALE 1 and the default
// settings: h = 2, wf = 0.8, p = 4.5, o = 4.
class NoteDrawingFileTest : public NoteSessionTest {
 protected:
  void SetUp() override {
    NoteSessionTest::SetUp();
    dir_ = fs::temp_directory_path() / ("harnex_note_file_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    NoteSessionTest::TearDown();
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(NoteDrawingFileTest, TheSavedNoteIsABlockAndAnInsertThatEzdxfAndOurReaderSee) {
  Start([](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT100", 100);
    const AcDbObjectId id = b.AddRouteElement(L"RT100", {0, 0, 0, 1}, L"0");
    b.SetStrings(id, tools::DrawingBuilder::kAttrApp,
                 {L"S501|DK|2|1|55|0|", L"S004|1L-1|2|1|55|0|", L"S002|IV5.5|2|1|55|0|"});
  });
  // F = (40,0); the tick is (40,1)-(40,-1); E = (40,31): 90 degrees from T0, a step.
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 40,0.5", L"move 40,31",
                      L"point 40,31", L"move 60,40", L"point 60,40", L"esc"}),
            0)
      << session().stop_reason();
  const fs::path dxf = dir_ / "notes.dxf";
  std::wstring error;
  ASSERT_TRUE(host::WriteDxfFile(*session().database(), dxf.string(), &error))
      << platform::WideToUtf8(error);

  const std::string script = dir_ / "read.py";
  std::ofstream(script) << "import ezdxf\n"
                           "doc = ezdxf.readfile('" +
                               dxf.string() +
                               "')\n"
                               "print('errors', len(doc.audit().errors))\n"
                               "ins = [e for e in doc.modelspace() if e.dxftype() == 'INSERT' "
                               "and e.dxf.name.startswith('PXNT')]\n"
                               "f = lambda *v: ' '.join('%.6f' % (round(x, 6) + 0.0) for x in v)\n"
                               "for i in ins: print('insert', i.dxf.name, f(i.dxf.insert.x, "
                               "i.dxf.insert.y), i.dxf.layer)\n"
                               "blk = doc.blocks.get('PXNT0001')\n"
                               "print('block', ' '.join(e.dxftype() for e in blk))\n"
                               "print('layers', ' '.join(e.dxf.layer for e in blk))\n"
                               "print('colours', set(e.dxf.color for e in blk))\n"
                               "t = [e for e in blk if e.dxftype() == 'TEXT'][0]\n"
                               "print('text', t.dxf.text, f(t.dxf.insert.x, t.dxf.insert.y, "
                               "t.dxf.height))\n"
                               "el = [e for e in blk if e.dxftype() == 'ELLIPSE'][0]\n"
                               "print('ellipse', f(el.dxf.center.x, el.dxf.center.y, "
                               "el.dxf.major_axis.x, el.dxf.major_axis.y, el.dxf.ratio))\n";
  const fs::path out = dir_ / "read.out";
  const int status =
      std::system(("/usr/bin/python3 " + script + " > " + out.string() + " 2>&1").c_str());
  const std::string seen = Slurp(out);
  ASSERT_EQ(status, 0) << seen;
  // One line "IV5.5（電灯幹線）": relative to F the box starts at E - F = (0,31), the text at
  // (0 + 4, 31 + 1) with height 2; the mark's major axis (0,0.5) across the route, ratio 0.8.
  EXPECT_EQ(seen,
            "errors 0\n"
            "insert PXNT0001 40.000000 0.000000 RQ_TABLE\n"
            "block ELLIPSE LINE LINE LINE LINE TEXT LINE LINE\n"
            "layers RQ_TABLE RQ_TABLE RQ_TABLE RQ_TABLE RQ_TABLE RQ_ANNO RQ_TABLE RQ_TABLE\n"
            "colours {256}\n"
            "text IV5.5（電灯幹線） 4.000000 32.000000 2.000000\n"
            "ellipse 0.000000 0.000000 0.000000 0.500000 0.800000\n");

  // Our reader reads the same block back, and the picture shows the note's text.
  host::DxfReadResult read = host::ReadDxf(Slurp(dxf));
  ASSERT_TRUE(read.ok()) << platform::WideToUtf8(read.error);
  EXPECT_EQ(host::WriteDxf(*read.database), Slurp(dxf));
  const std::string svg = host::RenderSvg(*session().database());
  EXPECT_NE(svg.find("IV5.5（電灯幹線）"), std::string::npos);
}

}  // namespace
}  // namespace note_test
