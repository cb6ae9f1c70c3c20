// Writing a saved file's pieces on a thread of their own (see dxf_write_sink.h).
#include "host/dxf/dxf_write_sink.h"

#include <utility>

namespace host::dxf_out {

void PieceSink::Put(TextBuffer* piece, bool last) {
  if (piece->empty()) return;
  if (!thread_.joinable()) {
    if (last) {
      // The only piece, or the last of a file whose pieces were all written here.
      if (std::fwrite(piece->data(), 1, piece->size(), file_) != piece->size()) failed_ = true;
      piece->clear();
      return;
    }
    thread_ = std::thread([this] { Run(); });
  }
  std::unique_lock<std::mutex> lock(mutex_);
  // One piece waits at most: the formatting waits for the disk rather than fill the memory.
  changed_.wait(lock, [this] { return !has_piece_; });
  std::swap(handed_, *piece);
  piece->clear();
  has_piece_ = true;
  changed_.notify_all();
}

void PieceSink::Run() {
  TextBuffer writing;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return has_piece_ || done_; });
      if (!has_piece_) return;
      // The buffer written last goes back as the room for the next piece (Put empties it).
      std::swap(writing, handed_);
      has_piece_ = false;
    }
    changed_.notify_all();
    const bool written = std::fwrite(writing.data(), 1, writing.size(), file_) == writing.size();
    if (!written) {
      std::lock_guard<std::mutex> lock(mutex_);
      failed_ = true;
    }
  }
}

bool PieceSink::Finish() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  return !failed_;
}

}  // namespace host::dxf_out
