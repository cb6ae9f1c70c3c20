// The host module's exports: the configuration file path and the perpendicular foot.
#include <gtest/gtest.h>

#include <Veltra.h>

namespace {

TEST(VeltraModuleTest, IniFileIsWhatTheHostSet) {
  veltra::SetIniFile(L"/tmp/システム/host.ini");
  EXPECT_STREQ(L"/tmp/システム/host.ini", RQAddinGetIniFile());
  veltra::SetIniFile(L"");
  ASSERT_NE(nullptr, RQAddinGetIniFile());
  EXPECT_STREQ(L"", RQAddinGetIniFile());
}

TEST(VeltraModuleTest, ExportTableNamesBothExports) {
  const auto exports = veltra::ExportTable();
  ASSERT_EQ(2u, exports.size());
  auto get_ini = reinterpret_cast<RQAddinGetIniFileProc>(exports.at("RQAddinGetIniFile"));
  veltra::SetIniFile(L"a.ini");
  EXPECT_STREQ(L"a.ini", get_ini());
  auto perpendicular =
      reinterpret_cast<RQAddinPerpendicularProc>(exports.at("RQAddin_perpendicular"));
  AcGePoint3d foot;
  EXPECT_EQ(0,
            perpendicular(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(3, 4, 0), foot));
  EXPECT_TRUE(foot.isEqualTo(AcGePoint3d(3, 0, 0)));
}

TEST(VeltraModuleTest, PerpendicularFoot) {
  AcGePoint3d foot(-1, -1, -1);
  // A diagonal segment: the foot of (0, 10) on the line y = x is (5, 5).
  EXPECT_EQ(0, RQAddin_perpendicular(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 2, 0),
                                     AcGePoint3d(0, 10, 0), foot));
  EXPECT_NEAR(5.0, foot.x, 1e-12);
  EXPECT_NEAR(5.0, foot.y, 1e-12);
  // Beyond the end of the segment, on the line's extension; the order of the points is free.
  EXPECT_EQ(0, RQAddin_perpendicular(AcGePoint3d(10, 3, 0), AcGePoint3d(20, 3, 0),
                                     AcGePoint3d(-5, 8, 0), foot));
  EXPECT_TRUE(foot.isEqualTo(AcGePoint3d(-5, 3, 0)));
  // Coinciding points give no line: an error and the output untouched.
  foot = AcGePoint3d(7, 7, 7);
  EXPECT_NE(0, RQAddin_perpendicular(AcGePoint3d(1, 1, 0), AcGePoint3d(1, 1, 0),
                                     AcGePoint3d(4, 4, 0), foot));
  EXPECT_TRUE(foot.isEqualTo(AcGePoint3d(7, 7, 7)));
}

}  // namespace
