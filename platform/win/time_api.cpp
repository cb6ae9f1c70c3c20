// Local time through a clock that tests can fix, and the FILETIME conversions.
#include <time.h>

#include <cerrno>
#include <chrono>
#include <optional>

#include <mscrt.h>
#include <winbase.h>

namespace {

constexpr int64_t kEpochDifference = 116444736000000000LL;  // 1601 to 1970 in 100 ns
constexpr int64_t kTicksPerSecond = 10000000;

std::optional<SYSTEMTIME>& FixedClock() {
  static std::optional<SYSTEMTIME> fixed;
  return fixed;
}

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int64_t>(yoe) + era * 400 + (*m <= 2);
}

int64_t Ticks(const FILETIME& ft) {
  return static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

FILETIME FromTicks(int64_t t) {
  return FILETIME{static_cast<DWORD>(static_cast<uint64_t>(t) & 0xFFFFFFFF),
                  static_cast<DWORD>(static_cast<uint64_t>(t) >> 32)};
}

// The seconds since 1970 that a fixed local time stands for in this process's time zone.
time_t FixedSeconds(const SYSTEMTIME& st) {
  struct tm tm {};
  tm.tm_year = st.wYear - 1900;
  tm.tm_mon = st.wMonth - 1;
  tm.tm_mday = st.wDay;
  tm.tm_hour = st.wHour;
  tm.tm_min = st.wMinute;
  tm.tm_sec = st.wSecond;
  tm.tm_isdst = -1;
  return mktime(&tm);
}

}  // namespace

namespace platform {
void SetClockForTesting(const SYSTEMTIME* local_time) {
  if (local_time) {
    FixedClock() = *local_time;
  } else {
    FixedClock().reset();
  }
}
}  // namespace platform

void GetLocalTime(LPSYSTEMTIME lpSystemTime) {
  if (!lpSystemTime) return;
  if (FixedClock()) {
    *lpSystemTime = *FixedClock();
    FILETIME ft;
    // Recomputed so that the weekday is always right for the date.
    SystemTimeToFileTime(lpSystemTime, &ft);
    FileTimeToSystemTime(&ft, lpSystemTime);
    return;
  }
  auto now = std::chrono::system_clock::now().time_since_epoch();
  int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  time_t secs = static_cast<time_t>(ms / 1000);
  struct tm tm {};
  localtime_r(&secs, &tm);
  *lpSystemTime = SYSTEMTIME{static_cast<WORD>(tm.tm_year + 1900), static_cast<WORD>(tm.tm_mon + 1),
                             static_cast<WORD>(tm.tm_wday),        static_cast<WORD>(tm.tm_mday),
                             static_cast<WORD>(tm.tm_hour),        static_cast<WORD>(tm.tm_min),
                             static_cast<WORD>(tm.tm_sec),         static_cast<WORD>(ms % 1000)};
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
  if (!lpFileTime || !lpSystemTime || Ticks(*lpFileTime) < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t t = Ticks(*lpFileTime) - kEpochDifference;
  int64_t secs = t >= 0 ? t / kTicksPerSecond : -((-t + kTicksPerSecond - 1) / kTicksPerSecond);
  const int64_t rest = t - secs * kTicksPerSecond;
  int64_t days = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
  const int64_t in_day = secs - days * 86400;
  int64_t y;
  unsigned m, d;
  CivilFromDays(days, &y, &m, &d);
  if (y > 30827) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpSystemTime = SYSTEMTIME{static_cast<WORD>(y),
                             static_cast<WORD>(m),
                             static_cast<WORD>(((days % 7) + 11) % 7),  // 1970-01-01: Thursday
                             static_cast<WORD>(d),
                             static_cast<WORD>(in_day / 3600),
                             static_cast<WORD>(in_day / 60 % 60),
                             static_cast<WORD>(in_day % 60),
                             static_cast<WORD>(rest / 10000)};
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime) {
  if (!lpSystemTime || !lpFileTime || lpSystemTime->wMonth < 1 || lpSystemTime->wMonth > 12 ||
      lpSystemTime->wDay < 1 || lpSystemTime->wDay > 31 || lpSystemTime->wHour > 23 ||
      lpSystemTime->wMinute > 59 || lpSystemTime->wSecond > 59 || lpSystemTime->wYear < 1601) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const SYSTEMTIME& st = *lpSystemTime;
  int64_t secs = DaysFromCivil(st.wYear, st.wMonth, st.wDay) * 86400 + st.wHour * 3600 +
                 st.wMinute * 60 + st.wSecond;
  *lpFileTime = FromTicks(secs * kTicksPerSecond + st.wMilliseconds * 10000 + kEpochDifference);
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime) {
  if (!lpFileTime || !lpLocalFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t t = Ticks(*lpFileTime);
  time_t secs = static_cast<time_t>((t - kEpochDifference) / kTicksPerSecond);
  struct tm tm {};
  localtime_r(&secs, &tm);
  *lpLocalFileTime = FromTicks(t + static_cast<int64_t>(tm.tm_gmtoff) * kTicksPerSecond);
  return TRUE;
}

__time64_t _time64(__time64_t* timer) {
  __time64_t now = FixedClock() ? static_cast<__time64_t>(FixedSeconds(*FixedClock()))
                                : static_cast<__time64_t>(time(nullptr));
  if (timer) *timer = now;
  return now;
}

errno_t _localtime64_s(struct tm* result, const __time64_t* timer) {
  if (!result || !timer) return EINVAL;
  time_t secs = static_cast<time_t>(*timer);
  if (!localtime_r(&secs, result)) return EINVAL;
  return 0;
}
