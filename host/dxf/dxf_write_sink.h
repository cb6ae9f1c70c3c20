// The pieces of a saved file, written on a thread of their own while the next is formatted.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "host/dxf/dxf_write_format.h"

namespace host::dxf_out {

// Only the pieces' bytes are shared: what is in the database is formatted on the caller's
// thread. A file of one piece (most drawings) is written on the caller's thread, without a
// thread of its own.
class PieceSink {
 public:
  explicit PieceSink(std::FILE* file) : file_(file) {}
  ~PieceSink() { Finish(); }
  PieceSink(const PieceSink&) = delete;
  PieceSink& operator=(const PieceSink&) = delete;

  // Takes the piece to be written after those before; *piece is given back empty (with the room
  // of a piece written before, once there is one) for the next. `last`: no piece follows.
  void Put(TextBuffer* piece, bool last);
  // Waits until every piece is written; false when any write failed.
  bool Finish();

 private:
  void Run();

  std::FILE* file_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  TextBuffer handed_;  // the piece handed over and not yet taken, or the room for the next
  bool has_piece_ = false;
  bool done_ = false;
  bool failed_ = false;
};

}  // namespace host::dxf_out
