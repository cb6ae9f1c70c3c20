// The DXF reader: bytes to groups, groups to records, records to database objects.
#include "host/dxf/dxf_reader.h"

#include "platform/win/text_encoding.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>

#include "host/dxf/dxf_lexer.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_sections.h"
#include "host/dxf/heap_reserve.h"

namespace host {
namespace dxf_in {

void Builder::Build() {
  db_ = std::make_unique<AcDbDatabase>(false, true);
  CheckHandles();
  ReadHeader();
  // Objects made here take handles above the file's seed as well as above its handles.
  if (db_->handseed().value() < seed_.value()) db_->setHandseed(seed_);
  entity_seed_ = db_->handseed();
  seeded_before_entities_ = platform::acad::SeededObjectCount(*db_);
  ReadTables();
  EnsureDefaults();
  db_->setRoots(roots_);
  ReadBlocks();
  ReadEntities();
  ReadObjects();
  if (db_->handseed().value() < seed_.value()) db_->setHandseed(seed_);
  result_->database = std::move(db_);
}

}  // namespace dxf_in

using namespace dxf_in;

namespace {

// Runs `read`; an error it throws leaves *result without a drawing and with the error's message.
template <typename Read>
void Guarded(DxfReadResult* result, Read read) {
  try {
    read();
  } catch (const ReadError& e) {
    result->database.reset();
    result->error = e.message;
  } catch (const std::exception& e) {
    result->database.reset();
    result->error = L"the drawing cannot be read: " + platform::Utf8ToWide(e.what());
  }
}

// Reads an ASCII file; with `defer` its entities are read a run of records at a time (see
// Tokenize), and *deferred tells whether they were.
DxfReadResult ReadAscii(std::string_view bytes, bool defer, bool* deferred,
                        const DxfBytesDone& done) {
  DxfReadResult result;
  *deferred = false;
  Guarded(&result, [&] {
    std::string version, codepage;
    ScanHeader(bytes, &version, &codepage);
    if (!version.empty() && (version < "AC1015" || version > "AC1032"))
      throw ReadError{L"line 1: drawing version " + Narrow(version) +
                      L" is not supported (AC1015 to AC1032 are)"};
    const bool utf8 = version >= "AC1021";
    const bool cp932 = !utf8 && codepage == "ANSI_932";
    Tokens tokens = Tokenize(bytes, utf8, cp932, !utf8, &result.warnings, defer);
    *deferred = tokens.deferred.present;
    DxfFile file = ParseSections(std::move(tokens));
    const size_t warned = result.warnings.size();
    for (bool again = false;; again = true) {
      Builder builder(std::move(file), &result);
      builder.SetBytesDone(&done);
      try {
        builder.Build();
        break;
      } catch (const Builder::Restart& restart) {
        // Once at most: the largest handle is known from then on.
        if (again) throw ReadError{L"line 1: the drawing cannot be read"};
        file = builder.TakeFile();
        file.deferred.max_handle = restart.max_handle;
        result.warnings.resize(warned);
      }
    }
    if (result.version.empty()) result.version = Narrow(version);
  });
  return result;
}

}  // namespace

DxfReadResult ReadDxf(std::string_view bytes, const DxfBytesDone& done) {
  if (IsBinaryDxf(bytes)) {
    DxfReadResult result;
    Guarded(&result, [&] {
      Builder builder(ParseSections(TokenizeBinary(bytes, &result.warnings)), &result);
      builder.Build();
    });
    return result;
  }
  // A UTF-8 byte order mark is allowed before the first group.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  bool deferred = false;
  DxfReadResult result = ReadAscii(bytes, true, &deferred, done);
  // A file whose entities were read a run at a time and that fails (or warns while they are
  // read) is read again the whole way, so that it gets the same first error as always: the
  // groups of the whole file are checked before any record is built.
  if (!result.ok() && deferred) result = ReadAscii(bytes, false, &deferred, {});
  return result;
}

namespace {

// A regular file mapped into memory read-only, or nothing (empty, not regular, not mappable).
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
      void* p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (p != MAP_FAILED) {
        data_ = static_cast<const char*>(p);
        size_ = static_cast<size_t>(st.st_size);
      }
    }
    ::close(fd);
  }
  ~MappedFile() {
    if (data_ != nullptr) ::munmap(const_cast<char*>(data_), size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  bool ok() const { return data_ != nullptr; }
  std::string_view bytes() const { return {data_, size_}; }
  // Gives back the whole pages inside [from, to): they are read from the file again if needed.
  void Drop(const char* from, const char* to) const {
    static const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t first = (reinterpret_cast<uintptr_t>(from) + page - 1) / page * page;
    const uintptr_t last = reinterpret_cast<uintptr_t>(to) / page * page;
    if (first < last)
      ::madvise(reinterpret_cast<void*>(first), static_cast<size_t>(last - first), MADV_DONTNEED);
  }

 private:
  const char* data_ = nullptr;
  size_t size_ = 0;
};

// Files from this size on are read into heap reserved for them (see ReserveHeap).
constexpr size_t kReserveFrom = 16u << 20;

DxfReadResult TooLarge(const std::string& path) {
  DxfReadResult result;
  result.error = platform::Utf8ToWide(path) + L": the drawing is larger than " +
                 std::to_wstring(kMaxDxfFileBytes >> 20) + L" MiB and is not read";
  return result;
}

}  // namespace

DxfReadResult ReadDxfFile(const std::string& path) {
  // Too large a file is refused before it is mapped or read.
  if (struct stat st{}; ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                        static_cast<uint64_t>(st.st_size) > kMaxDxfFileBytes) {
    return TooLarge(path);
  }
  // Mapped rather than read: no copy of the bytes, and the pages of the entities, most of a large
  // drawing, go back as their records are built, so that the file and the drawing it makes are
  // not both held whole.
  if (MappedFile mapped(path); mapped.ok()) {
    // The drawing's objects take about three times the file: for a large one, that much heap is
    // reserved before they are made.
    if (mapped.bytes().size() >= kReserveFrom) ReserveHeap(3 * mapped.bytes().size());
    DxfReadResult result = ReadDxf(
        mapped.bytes(), [&mapped](const char* from, const char* to) { mapped.Drop(from, to); });
    if (!result.ok()) result.error = platform::Utf8ToWide(path) + L": " + result.error;
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    DxfReadResult result;
    result.error = platform::Utf8ToWide(path) + L": cannot be opened";
    return result;
  }
  // Read whole into one buffer of the file's size: the groups point into it.
  in.seekg(0, std::ios::end);
  const std::streamoff size = std::max<std::streamoff>(in.tellg(), 0);
  if (static_cast<uint64_t>(size) > kMaxDxfFileBytes) {
    return TooLarge(path);
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  in.seekg(0, std::ios::beg);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  DxfReadResult result = ReadDxf(bytes);
  if (!result.ok()) result.error = platform::Utf8ToWide(path) + L": " + result.error;
  return result;
}

}  // namespace host
