// Profile files at the size of the largest project: 50 patterns of 100 rows of nine keys.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win/file_system.h"
#include "platform/win/text_encoding.h"
#include <windows.h>

namespace {

constexpr int kSections = 50;
constexpr int kKeysPerSection = 900;

// A code page 932 project file of 45,000 keys, written as bytes.
struct ProjectFile {
  ProjectFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "harnex-bench-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    std::string bytes;
    for (int s = 1; s <= kSections; ++s) {
      char line[64];
      std::snprintf(line, sizeof line, "[PATTERN-%03d]\r\n", s);
      bytes += line;
      for (int k = 1; k <= kKeysPerSection; ++k) {
        std::snprintf(line, sizeof line, "KEY-%03d=\x93\x64\x93\x94 %d\r\n", k, k);  // 電灯
        bytes += line;
      }
    }
    std::FILE* f = std::fopen((folder + "/project.tpr").c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    path = platform::Utf8ToWide(folder) + L"\\project.tpr";
  }
  ~ProjectFile() {
    platform::FlushProfileFiles();
    std::filesystem::remove_all(folder);
  }
  std::string folder;
  std::wstring path;
};

ProjectFile& Project() {
  static ProjectFile project;
  return project;
}

// Reading every key, as loading the project does (the file is parsed once and then cached). The
// names are made before timing: formatting 45,000 of them with swprintf costs about 2.5 ms by
// itself, which would hide what the profile functions cost.
void BM_ReadAllKeys(benchmark::State& state) {
  const std::wstring& path = Project().path;
  std::vector<std::wstring> sections, keys;
  wchar_t name[32], value[128];
  for (int s = 1; s <= kSections; ++s) {
    std::swprintf(name, 32, L"PATTERN-%03d", s);
    sections.emplace_back(name);
  }
  for (int k = 1; k <= kKeysPerSection; ++k) {
    std::swprintf(name, 32, L"KEY-%03d", k);
    keys.emplace_back(name);
  }
  for (auto _ : state) {
    size_t total = 0;
    for (const std::wstring& section : sections)
      for (const std::wstring& key : keys)
        total +=
            GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value, 128, path.c_str());
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kSections * kKeysPerSection);
}
BENCHMARK(BM_ReadAllKeys)->Unit(benchmark::kMillisecond);

// The first read after the file changed on disk: reading and parsing the whole file.
void BM_ParseChangedFile(benchmark::State& state) {
  const std::wstring& path = Project().path;
  wchar_t value[128];
  for (auto _ : state) {
    platform::SetFileSystem(nullptr);  // forgets the cache
    GetPrivateProfileStringW(L"PATTERN-050", L"KEY-900", L"", value, 128, path.c_str());
  }
}
BENCHMARK(BM_ParseChangedFile)->Unit(benchmark::kMillisecond);

// One write to the large file, written to disk.
void BM_WriteOneKey(benchmark::State& state) {
  const std::wstring& path = Project().path;
  int n = 0;
  for (auto _ : state) {
    std::wstring v = std::to_wstring(n++ % 10);
    WritePrivateProfileStringW(L"PATTERN-025", L"KEY-450", v.c_str(), path.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
  }
}
BENCHMARK(BM_WriteOneKey)->Unit(benchmark::kMillisecond);

// Saving the whole project key by key into a new file, then flushing, as a save does.
void BM_SaveProject(benchmark::State& state) {
  const std::wstring temp = platform::Utf8ToWide(Project().folder) + L"\\PrjTemp.tpr";
  wchar_t section[32], key[32];
  for (auto _ : state) {
    DeleteFileW(temp.c_str());
    for (int s = 1; s <= kSections; ++s) {
      std::swprintf(section, 32, L"PATTERN-%03d", s);
      for (int k = 1; k <= kKeysPerSection; ++k) {
        std::swprintf(key, 32, L"KEY-%03d", k);
        WritePrivateProfileStringW(section, key, L"電灯", temp.c_str());
      }
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, temp.c_str());
  }
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
