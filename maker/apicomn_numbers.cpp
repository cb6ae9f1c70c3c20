// Dravik.dll: number parsing and angle conversion.
#include <charconv>
#include <cmath>
#include <cwctype>
#include <numbers>
#include <string>

#include <ApiComn.h>

double ApiComn_atof(const wchar_t* text) {
  if (text == nullptr) return 0.0;
  const wchar_t* p = text;
  while (*p == L' ' || *p == L'\t' || *p == L'\r' || *p == L'\n') ++p;
  // Collect the longest decimal prefix ourselves: wcstod would also take "inf", "nan" and
  // hexadecimal forms, and depends on the C locale's decimal point.
  std::string number;
  if (*p == L'+' || *p == L'-') number += static_cast<char>(*p++);
  bool digits = false;
  while (*p >= L'0' && *p <= L'9') {
    number += static_cast<char>(*p++);
    digits = true;
  }
  if (*p == L'.') {
    number += '.';
    ++p;
    while (*p >= L'0' && *p <= L'9') {
      number += static_cast<char>(*p++);
      digits = true;
    }
  }
  if (!digits) return 0.0;
  if (*p == L'e' || *p == L'E') {
    const wchar_t* q = p + 1;
    std::string exponent = "e";
    if (*q == L'+' || *q == L'-') exponent += static_cast<char>(*q++);
    if (*q >= L'0' && *q <= L'9') {
      while (*q >= L'0' && *q <= L'9') exponent += static_cast<char>(*q++);
      number += exponent;
    }
  }
  if (number[0] == '+') number.erase(0, 1);  // from_chars takes no plus sign
  double value = 0.0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

double ApiComn_ConvToRadian(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

double ApiComn_ConvToAngle(double radians) {
  return radians * 180.0 / std::numbers::pi;
}
