// Palette rows written into route elements' record lists, and wires read back as note lines,
// with the sample project's first pattern in the palette (rows in assignment_support.h).
#include "attributes/row_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/harnex_module.h"
#include "assignment_support.h"
#include "attributes/run_marks.h"
#include "palette/main_dialog.h"

namespace {

using attributes_test::ColourOf;
using attributes_test::CountOf;
using attributes_test::Records;
using attributes_test::RecordsOf;
using attributes_test::RowList;
using attributes_test::SetColour;
using attributes_test::ToVector;
using attributes_test::XDataStrings;
using Strings = std::vector<std::wstring>;

// Without a palette for as long as it lives, as after the user closed it.
class PaletteGone {
 public:
  PaletteGone() : saved_(PaletteInstance) { PaletteInstance = nullptr; }
  ~PaletteGone() { PaletteInstance = saved_; }

 private:
  CMainDlg* saved_;
};

class RowWriterTest : public attributes_test::AssignmentTest {
 protected:
  // One route element with `records`, one line without any XData; the palette opens unless
  // `open` is false.
  void StartWith(const Records& records, bool open = true) {
    StartSession([this, &records](tools::DrawingBuilder& b) {
      b.DefineSegment(L"RT100", 100);
      element_ = b.AddRouteElement(L"RT100", {0, 0});
      b.SetStrings(element_, L"RQ_ATTR", records);
      line_ = b.AddLine(0, 50, 100, 50);
    });
    if (open) OpenSamplePalette();
  }
  AcDbObjectId element_, line_;
  CUIntArray rows_;
};

TEST_F(RowWriterTest, RowsGoToTheFourRecordsAndNumberedWireRecordsWithTheChosenConduit) {
  // An element the settings check had recoloured (red, its colour 3 saved), with two wires
  // from an earlier assignment.
  StartWith({L"S501|E1|2|1|55|0|", L"S004|OLD|2|1|55|0|", L"PX02|A!B!C!D!|2|1|55|0|",
             L"S3B9|L-9|2|1|55|0|", L"S002|X|2|1|55|0|", L"$P13|3|2|1|55|0|",
             L"PX07|E!F!G!H!|2|1|55|0|"});
  SetColour(element_, 1);
  ASSERT_EQ(PaletteInstance->GetConduitChoice(), 3) << "the pattern's choice: underground";

  ASSERT_TRUE(WriteRows(element_, RowList(rows_, {0, 1, 2})));
  EXPECT_EQ(RecordsOf(element_),
            (Records{L"S501|DK|2|1|55|0|", L"S004|1L-1|2|1|55|0|", L"S3B9|P-1,L-1|2|1|55|0|",
                     L"S002|CV22sq-3C E8 (FEP50)|2|1|55|0|", L"$P13||2|1|55|0|",
                     L"PX02|1P-1!CVT60sq E14 (FEP80)!P-1,L-2!DR!|2|1|55|0|",
                     L"PX03|E-1!FP14sq-3C E8 (FEP50)!非常用発電機!HJ!|2|1|55|0|"}));
  EXPECT_EQ(ColourOf(element_), 3) << "the saved colour comes back";

  // Outdoors: row 2 has no outdoor conduit, so its size is the wire size alone.
  ASSERT_EQ(Run(L"click 400\nclick 399\n"), 0) << session().stop_reason();
  ASSERT_EQ(PaletteInstance->GetConduitChoice(), 2);
  ASSERT_TRUE(WriteRows(element_, RowList(rows_, {2, 0})));
  EXPECT_EQ(RecordsOf(element_),
            (Records{L"S501|HJ|2|1|55|0|", L"S004|E-1|2|1|55|0|", L"S3B9|非常用発電機|2|1|55|0|",
                     L"S002|FP14sq-3C E8|2|1|55|0|", L"$P13||2|1|55|0|",
                     L"PX02|1L-1!CV22sq-3C E8 (GP36)!P-1,L-1!DK!|2|1|55|0|"}));

  // No conduit box checked: the wire size alone, and the one row leaves no wire record.
  ASSERT_EQ(Run(L"click 399\n"), 0) << session().stop_reason();
  ASSERT_EQ(PaletteInstance->GetConduitChoice(), 0);
  ASSERT_TRUE(WriteRows(element_, RowList(rows_, {1})));
  EXPECT_EQ(RecordsOf(element_),
            (Records{L"S501|DR|2|1|55|0|", L"S004|1P-1|2|1|55|0|", L"S3B9|P-1,L-2|2|1|55|0|",
                     L"S002|CVT60sq E14|2|1|55|0|", L"$P13||2|1|55|0|"}));
  EXPECT_EQ(Transcript().find(L"ERROR"), std::wstring::npos) << Transcript();
}

TEST_F(RowWriterTest, AWriteThatFailsSaysWhyAndKeepsWhatWasWrittenBefore) {
  StartWith(attributes_test::UntouchedRecords());
  // No record list at all.
  EXPECT_FALSE(WriteRows(line_, RowList(rows_, {0})));
  EXPECT_NE(Transcript().find(L"\nERROR:複数配線属性が設定取得出来ません。"), std::wstring::npos);
  EXPECT_FALSE(WriteRowAuto(line_, 0));
  EXPECT_EQ(CountOf(Transcript(), L"\nERROR:複数配線属性が設定取得出来ません。"), 2);

  // The palette has no row 150: the first row stays written.
  EXPECT_FALSE(WriteRows(element_, RowList(rows_, {0, 150})));
  EXPECT_NE(Transcript().find(L"\nERROR:設定ﾃﾞｰﾀが取得出来ません。"), std::wstring::npos);
  EXPECT_EQ(RecordsOf(element_),
            (Records{L"S501|DK|2|1|55|0|", L"S004|1L-1|2|1|55|0|", L"S3B9|P-1,L-1|2|1|55|0|",
                     L"S002|CV22sq-3C E8 (FEP50)|2|1|55|0|"}));

  // The palette closed meanwhile.
  {
    PaletteGone gone;
    session().ClearTranscript();
    EXPECT_FALSE(WriteRows(element_, RowList(rows_, {1})));
    EXPECT_FALSE(WriteRowAuto(element_, 1));
    EXPECT_EQ(CountOf(Transcript(), L"\nERROR:設定画面が見つかりません。"), 2) << Transcript();
    CStringArray lines;
    EXPECT_FALSE(ReadWiringLines(element_, lines));
  }
  EXPECT_EQ(RecordsOf(element_)[0], L"S501|DK|2|1|55|0|");
  EXPECT_FALSE(attributes_test::HasXData(element_, L"RQPX_AUTOFLAG"));
}

TEST_F(RowWriterTest, AListThatWouldPassTheDrawingsXDataLimitIsRefusedWhole) {
  // The drawing keeps at most 16,383 bytes of XData per entity, each string costing 3 bytes
  // and 2 per character: "3" of RQ_LINK (15 with its header) and 10 + 4 × 33 + 3 + 2 × 8090
  // of RQ_ATTR come to 16,340. The first row adds 33 characters, 66 bytes: too many.
  Records records = attributes_test::UntouchedRecords();
  records.push_back(L"MEMO|" + std::wstring(8085, L'x'));
  StartWith(records);
  EXPECT_FALSE(WriteRows(element_, RowList(rows_, {0})));
  EXPECT_NE(Transcript().find(L"\nERROR:複数配線属性が設定出来ません。"), std::wstring::npos);
  EXPECT_EQ(RecordsOf(element_), records);
  EXPECT_FALSE(WriteRowAuto(element_, 0));
  EXPECT_EQ(CountOf(Transcript(), L"\nERROR:複数配線属性が設定出来ません。"), 2);
  EXPECT_FALSE(attributes_test::HasXData(element_, L"RQPX_AUTOFLAG")) << "no marker either";
}

TEST_F(RowWriterTest, AutomaticWritesReplaceOnTheFirstWriteOfARunAndAddAfterwards) {
  StartWith({L"S501||2|1|55|0|", L"S004||2|1|55|0|", L"S3B9||2|1|55|0|", L"S002||2|1|55|0|",
             L"PX04|old!old!old!old!|2|1|55|0|"});
  ASSERT_TRUE(WriteRowAuto(element_, 0));
  EXPECT_EQ(RecordsOf(element_),
            (Records{L"S501|DK|2|1|55|0|", L"S004|1L-1|2|1|55|0|", L"S3B9|P-1,L-1|2|1|55|0|",
                     L"S002|CV22sq-3C E8 (FEP50)|2|1|55|0|"}));
  EXPECT_EQ(XDataStrings(element_, L"RQPX_AUTOFLAG"), Strings{L"1"});

  ASSERT_TRUE(WriteRowAuto(element_, 1));
  ASSERT_TRUE(WriteRowAuto(element_, 2));
  EXPECT_EQ(RecordsOf(element_),
            (Records{L"S501|DK|2|1|55|0|", L"S004|1L-1|2|1|55|0|", L"S3B9|P-1,L-1|2|1|55|0|",
                     L"S002|CV22sq-3C E8 (FEP50)|2|1|55|0|",
                     L"PX02|1P-1!CVT60sq E14 (FEP80)!P-1,L-2!DR!|2|1|55|0|",
                     L"PX03|E-1!FP14sq-3C E8 (FEP50)!非常用発電機!HJ!|2|1|55|0|"}));
  EXPECT_EQ(XDataStrings(element_, L"RQPX_AUTOFLAG"), Strings{L"4"});

  // A new run: the markers are cleared first, so the next write starts the element afresh.
  AcDbObjectIdArray ids;
  ids.append(element_);
  ClearRunMarks(ids);
  ASSERT_TRUE(WriteRowAuto(element_, 2));
  EXPECT_EQ(RecordsOf(element_),
            (Records{L"S501|HJ|2|1|55|0|", L"S004|E-1|2|1|55|0|", L"S3B9|非常用発電機|2|1|55|0|",
                     L"S002|FP14sq-3C E8 (FEP50)|2|1|55|0|"}));
  EXPECT_EQ(XDataStrings(element_, L"RQPX_AUTOFLAG"), Strings{L"1"});
}

// The colour that the settings check saved comes back with the first automatic write and is
// then gone, so a later write leaves the element's colour alone; an element that another reader
// has open cannot be written, and keeps its list and its marker.
TEST_F(RowWriterTest, AnAutomaticWriteGivesTheSavedColourBackOnceAndNeedsTheElementToItself) {
  StartWith({L"S501||2|1|55|0|", L"S004||2|1|55|0|", L"S3B9||2|1|55|0|", L"S002||2|1|55|0|",
             L"$P13|3|2|1|55|0|"});
  SetColour(element_, 1);
  const Records first{L"S501|DK|2|1|55|0|", L"S004|1L-1|2|1|55|0|", L"S3B9|P-1,L-1|2|1|55|0|",
                      L"S002|CV22sq-3C E8 (FEP50)|2|1|55|0|", L"$P13||2|1|55|0|"};
  ASSERT_TRUE(WriteRowAuto(element_, 0));
  EXPECT_EQ(RecordsOf(element_), first);
  EXPECT_EQ(ColourOf(element_), 3);
  EXPECT_EQ(XDataStrings(element_, L"RQPX_AUTOFLAG"), Strings{L"1"});

  SetColour(element_, 5);
  ASSERT_TRUE(WriteRowAuto(element_, 1));
  Records second = first;
  second.push_back(L"PX02|1P-1!CVT60sq E14 (FEP80)!P-1,L-2!DR!|2|1|55|0|");
  EXPECT_EQ(RecordsOf(element_), second);
  EXPECT_EQ(ColourOf(element_), 5) << "nothing saved any more";
  EXPECT_EQ(XDataStrings(element_, L"RQPX_AUTOFLAG"), Strings{L"3"});

  AcDbObject* reader = nullptr;
  ASSERT_EQ(acdbOpenObject(reader, element_, AcDb::kForRead), Acad::eOk);
  EXPECT_FALSE(WriteRowAuto(element_, 2));
  reader->close();
  EXPECT_EQ(CountOf(Transcript(), L"\nERROR:複数配線属性が設定出来ません。"), 1) << Transcript();
  EXPECT_EQ(CountOf(Transcript(), L"ERROR"), 1) << Transcript();
  EXPECT_EQ(RecordsOf(element_), second);
  EXPECT_EQ(XDataStrings(element_, L"RQPX_AUTOFLAG"), Strings{L"3"});
}

// At the drawing's limit of 16,383 XData bytes per entity (10 per application and 3 + 2 per
// character of each string; RQ_LINK's "3" takes 15), an automatic write keeps the list and the
// marker apart: the list is taken when it fits beside the marker the element has, even when the
// new marker then no longer fits, and refused when it only fits beside a shorter new marker.
TEST_F(RowWriterTest, AtTheXDataLimitTheListIsTakenWhenItFitsBesideTheMarkerItFinds) {
  const auto bytes = [](const Records& strings) {
    size_t total = 10;
    for (const auto& s : strings) total += 3 + 2 * s.size();
    return total;
  };
  // A list that with `added` comes to `target` bytes: the wires PX02 to PX08 when `wires`, and
  // a memo that fills up.
  const auto padded = [&bytes](bool wires, const std::wstring& added, size_t target) {
    Records records = attributes_test::UntouchedRecords();
    for (int i = 2; wires && i <= 8; ++i)
      records.push_back(L"PX0" + std::to_wstring(i) + L"|a!b!c!d!|2|1|55|0|");
    Records with = records;
    with.push_back(added);
    const size_t memo = (target - bytes(with) - 3) / 2;  // characters of the memo record
    records.push_back(L"MEMO|" + std::wstring(memo - 5, L'x'));
    with = records;
    with.push_back(added);
    EXPECT_EQ(bytes(with), target);
    return records;
  };

  // Marker "9" (15 bytes) becomes "10" (17): the list with PX09 takes 16,353 bytes, which fits
  // beside the old marker (15 + 16,353 + 15 = 16,383) but not beside the new one.
  const std::wstring px09 = L"PX09|1P-1!CVT60sq E14 (FEP80)!P-1,L-2!DR!|2|1|55|0|";
  const Records nine = padded(true, px09, 16353);
  StartWith(nine);
  ASSERT_TRUE(WriteAutoFlag(element_, 9));
  EXPECT_TRUE(WriteRowAuto(element_, 1));
  Records after = nine;
  after.push_back(px09);
  EXPECT_EQ(RecordsOf(element_), after);
  EXPECT_EQ(XDataStrings(element_, L"RQPX_AUTOFLAG"), Strings{L"9"}) << "the marker did not fit";
  EXPECT_EQ(Transcript().find(L"ERROR"), std::wstring::npos) << Transcript();

  // Marker "100" (19 bytes) with no wires: the next write adds PX02 and the marker becomes "3"
  // (15). A list of 16,350 bytes fits beside "3" but not beside "100": refused, nothing changes.
  const std::wstring px02 = L"PX02|1P-1!CVT60sq E14 (FEP80)!P-1,L-2!DR!|2|1|55|0|";
  const Records hundred = padded(false, px02, 16350);
  ASSERT_TRUE(session().database() != nullptr);
  tools::DrawingBuilder builder(session().database());
  ASSERT_TRUE(builder.SetStrings(element_, L"RQ_ATTR", hundred));
  ASSERT_TRUE(WriteAutoFlag(element_, 100));
  EXPECT_FALSE(WriteRowAuto(element_, 1));
  EXPECT_EQ(CountOf(Transcript(), L"\nERROR:複数配線属性が設定出来ません。"), 1) << Transcript();
  EXPECT_EQ(RecordsOf(element_), hundred);
  EXPECT_EQ(XDataStrings(element_, L"RQPX_AUTOFLAG"), Strings{L"100"});
}

TEST_F(RowWriterTest, WiresReadBackAsNoteLinesWithConstructionItemNames) {
  StartWith({L"S501|E2|2|1|55|0|", L"S004|1L-3|2|1|55|0|", L"S3B9|L-2|2|1|55|0|",
             L"S002|VVF2.0-3C E2.0 (PF22)|2|1|55|0|",
             L"PX02| 1L-2 ! VVF1.6-3C !L-1! E1,E2 !|2|1|55|0|",  // blanks go, code cut at ","
             L"PX03|A!B!C|2|1|55|0|",                            // three parts: skipped
             L"PX04|1P-2!CVV1.25sq-2C!AC-1!,M1!|2|1|55|0|",      // leading ",": not cut
             L"PX05|E-1!FP14sq-3C E8!G!HJ!|2|1|55|0|",           // a trunk code
             L"PX06|1P-3!CVV2sq-2C!AC-2!,M2!|2|1|55|0|",         // a code that is listed
             L"XPX6|Z!Z!Z!Z!|2|1|55|0|"},                        // no "PX" tag
            false);
  // The general list gets an item whose code begins with a comma, so that cutting it would
  // show; the palette reads the lists when it opens.
  {
    std::ofstream list(folder().system_folder() + "/複数配線/一般/工事項目.dat",
                       std::ios::binary | std::ios::app);
    list << ",M2|予備動力\n";
  }
  OpenSamplePalette();
  CStringArray lines;
  lines.Add(L"left over");
  ASSERT_TRUE(ReadWiringLines(element_, lines));
  EXPECT_EQ(ToVector(lines),
            (Strings{L"1L-3!VVF2.0-3C E2.0 (PF22)!コンセント!", L"1L-2!VVF1.6-3C!電灯!",
                     L"1P-2!CVV1.25sq-2C!不明!", L"E-1!FP14sq-3C E8!非常電源幹線!",
                     L"1P-3!CVV2sq-2C!予備動力!"}));

  // Without "S501" the first line's name is empty, not "不明"; missing values are empty.
  ASSERT_TRUE(session().database() != nullptr);
  tools::DrawingBuilder builder(session().database());
  ASSERT_TRUE(builder.SetStrings(element_, L"RQ_ATTR", {L"S004|1L-3|2|1|55|0|"}));
  ASSERT_TRUE(ReadWiringLines(element_, lines));
  EXPECT_EQ(ToVector(lines), Strings{L"1L-3!!!"});

  EXPECT_FALSE(ReadWiringLines(line_, lines));
  EXPECT_EQ(lines.GetSize(), 0);
}

TEST(RowSizeTextTest, TheConduitOfTheChoiceFollowsTheWireSizeWhenThereIsOne) {
  CStringArray row;
  for (const wchar_t* field :
       {L"E1", L"1L-1", L"L-1", L"VVF1.6-2C", L"(PF16)", L"", L"(FEP30)", L"○", L"memo"})
    row.Add(field);
  const struct {
    int choice;
    const wchar_t* size;
  } cases[] = {{0, L"VVF1.6-2C"},         {1, L"VVF1.6-2C (PF16)"}, {2, L"VVF1.6-2C"},
               {3, L"VVF1.6-2C (FEP30)"}, {4, L"VVF1.6-2C"},        {-1, L"VVF1.6-2C"}};
  for (const auto& c : cases) {
    EXPECT_EQ(RowSizeText(row, c.choice), CString(c.size)) << "choice " << c.choice;
  }
  CStringArray short_row;
  short_row.Add(L"E1");
  EXPECT_EQ(RowSizeText(short_row, 1), CString(L"")) << "missing fields read as empty";
}

}  // namespace
