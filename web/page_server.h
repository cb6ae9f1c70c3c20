// The page's server: serves the page's own files on the loopback address, pushes the session's
// state to every open page (Server-Sent Events) and hands what a page sends to the session's
// thread, which alone touches the session.
//
//   GET  /?token=T              the page (index.html); /page.js, /page.css likewise
//   GET  /events?token=T&client=C
//                               the push channel: an "event: state" with a JSON object
//                               {"control": bool, "version": N, "ended": bool,
//                                "transcript": {"from": BYTES, "text": "..."}, "view": {...}}
//                               whenever the session waits again (the transcript's new text
//                               only; "from" is where it goes in the UTF-8 transcript)
//                               and "drawing": the drawing's deltas since the last push
//                               (web/drawing_store.h)
//   GET  /state?token=T         the newest view and the whole transcript, for tests
//   GET  /drawing?token=T       the whole drawing as the pages show it (web/drawing_store.h)
//   POST /action  {"action": ...}   (web/page_action.h)
//   POST /line    {"line": "..."}   a line of the command line, read as a typed line
//   POST /close   {}                ends the session as the end of input at the command prompt
//   POST /highlight {"system": S}   shows the band of the circuit S on the drawing ("": none)
// POSTs carry the token in the header X-Harnex-Token (or the query) and the page's client id in
// X-Harnex-Client. A POST is answered when the session has taken it and waits again:
// {"ok": true, "version": N}; a refusal is a 4xx answer {"ok": false, "message": "..."}.
//
// Refused without touching the session: no token or a wrong one (403), a Host header that is not
// 127.0.0.1:PORT or localhost:PORT (403, against DNS rebinding), a POST whose Origin is not the
// page's own (403), a body over the limit, of a stated length or chunked (413), malformed JSON
// (400), a path that is not one of the page's files (404), a POST from a page while another page
// holds the session (409: the first page whose push channel is open sends the actions; the others
// only watch, and are told "control": false), anything after the session ended (410).
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "web/drawing_store.h"

namespace web {

struct PageRequest {
  enum class Kind { kAction, kLine, kClose, kHighlight };
  Kind kind = Kind::kAction;
  nlohmann::json body;
};

class PageServer {
 public:
  struct Options {
    int port = 0;       // 0: a free port
    std::string token;  // empty: a new random 128-bit token
    size_t max_body = 64 * 1024;
    // How long a POST waits for the session before it is answered 202 (still running).
    std::chrono::milliseconds reply_wait{30000};
  };

  explicit PageServer(Options options);
  // Stops the server (Finish first when it was not called).
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  // Binds 127.0.0.1 and starts serving. False with a message when the port cannot be bound.
  bool Start(std::string* error);
  int port() const { return port_; }
  const std::string& token() const { return token_; }
  // "http://127.0.0.1:PORT/?token=T"
  std::string Url() const;

  // ---- The session's thread.
  // The session waits again: `view` is what the pages show, `transcript` the whole command line
  // so far. Requests taken since the last publish are answered {"ok": true}.
  void Publish(const nlohmann::json& view, const std::wstring& transcript);
  // The drawing the pages show; changed before a Publish, which pushes what changed.
  DrawingStore& drawing() { return drawing_; }
  // Waits for the next request. False when Wake was called and no request is queued.
  bool NextRequest(PageRequest* out);
  // Refuses the request NextRequest gave.
  void Refuse(int status, const std::string& message);
  // Answers the request NextRequest gave at once, {"ok": true} with `fields` (an object) added.
  void Reply(const nlohmann::json& fields);
  // The request NextRequest gave is taken by the session: it is answered at the next Publish.
  void Accept();
  // Takes the next request when it is an Esc ({"action": "esc"}): a break of a long loop.
  bool TakeEsc();
  // The session ended: pages are told, requests left are answered, the server stops.
  void Finish();

  // ---- Any thread (not a signal handler): makes a NextRequest that waits return.
  void Wake();

 private:
  class Impl;
  DrawingStore drawing_;
  std::unique_ptr<Impl> impl_;
  int port_ = 0;
  std::string token_;
};

// A new random 128-bit token as 32 hexadecimal digits.
std::string NewToken();

}  // namespace web
