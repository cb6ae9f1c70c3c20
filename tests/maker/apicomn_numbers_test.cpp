// Number parsing and angle conversion of the utility library.
#include <gtest/gtest.h>

#include <cmath>

#include <ApiComn.h>

namespace {

TEST(ApiComnNumbersTest, AtofReadsTheLeadingDecimalNumber) {
  const struct {
    const wchar_t* text;
    double value;
  } cases[] = {
      {L"2.5", 2.5}, {L"  -3", -3.0}, {L"+4.25", 4.25}, {L"12abc", 12.0}, {L"1.5e2m", 150.0},
      {L".5", 0.5},  {L"7.", 7.0},    {L"3e", 3.0},     {L"abc", 0.0},    {L"", 0.0},
      {L"-", 0.0},   {L"inf", 0.0},   {L"0x10", 0.0},   {L"１２", 0.0},  // full-width digits are no
                                                                         // number
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.value, ApiComn_atof(c.text)) << c.text;
  EXPECT_DOUBLE_EQ(0.0, ApiComn_atof(nullptr));
}

TEST(ApiComnNumbersTest, AngleConversions) {
  EXPECT_DOUBLE_EQ(M_PI / 2, ApiComn_ConvToRadian(90.0));
  EXPECT_DOUBLE_EQ(-M_PI, ApiComn_ConvToRadian(-180.0));
  EXPECT_DOUBLE_EQ(45.0, ApiComn_ConvToAngle(M_PI / 4));
  EXPECT_NEAR(123.4, ApiComn_ConvToAngle(ApiComn_ConvToRadian(123.4)), 1e-12);
}

}  // namespace
