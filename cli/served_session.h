// A session served to a web page (harnex-host --serve): the page's requests become the session's
// input lines on its own thread, every wait is published to the page, and, with a record file,
// every line the session is given is written there as a session-script line as it happens, so
// that the session can be replayed headless.
//
//   what the page sends          what the session gets
//   an action ({"action": ...})  its script line ("@200 click 221"), after the check that
//                                refuses what nothing waits for (web/page_action.h)
//   a command-line line          the line read as typed at the terminal (host/user/typed_line.h)
//   close                        at the command prompt the end of input as Ctrl-D: with unsaved
//                                palette edits the palette is closed first ("@200 click 2",
//                                whose question the page answers); elsewhere refused (409)
//   Esc while a command works    the break of a long loop (acedUsrBrk)
//   highlight {"system": S}      nothing: the band of circuit S is shown on the page's drawing
//                                (as --highlight marks the picture), "" clears it; answered with
//                                {"systems": [...]}, every system number the drawing carries
//
// At every wait the page's drawing is brought up to date: the entities changed since (by
// handle), the drag's temporary entities and the band (web/drawing_store.h).
//
// SIGTERM, SIGHUP and SIGINT end the session at the next wait (a long loop at its next Esc
// check): Terminated() is then the signal, and the caller writes the recovery project as a typed
// session does.
#pragma once

#include <atomic>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/session/session.h"
#include "host/svg/drawing_pieces.h"
#include "web/page_server.h"

namespace cli {

class ServedSession {
 public:
  struct Options {
    int port = 0;             // 0: a free port
    std::string record_path;  // empty: nothing is recorded
    std::string token;        // empty: a new random token
  };

  ServedSession(host::Session* session, Options options);
  ~ServedSession();
  ServedSession(const ServedSession&) = delete;
  ServedSession& operator=(const ServedSession&) = delete;

  // Opens the record file, starts the server and installs the line source. False with a
  // message for the user when the file cannot be written or the port cannot be bound.
  bool Start(std::string* error);
  std::string Url() const { return server_.Url(); }
  int port() const { return server_.port(); }
  const std::string& token() const { return server_.token(); }

  // Records the steps of the script that runs before the page takes over.
  void RecordSteps(const std::vector<host::ScriptStep>& steps);

  // The signal that ended the session, else 0.
  int Terminated() const { return terminated_.load(); }

  // The session has ended and its files are written: the pages are told and the server stops.
  void Finish();

 private:
  bool NextLine(std::wstring* line);
  // Handles one request; true with *line when the session is to get a line, false (the request
  // answered) when it is not. *end is set when the session is to end.
  bool Handle(const web::PageRequest& request, std::wstring* line, bool* end);
  bool HandleAction(const nlohmann::json& body, std::wstring* line);
  bool HandleLine(const nlohmann::json& body, std::wstring* line);
  bool HandleClose(std::wstring* line, bool* end);
  void HandleHighlight(const nlohmann::json& body);
  // Brings the pages' drawing up to date with the session's.
  void SyncDrawing();
  // The pages see the session as it is now: its drawing and its view.
  void PublishState();
  std::string Band() const;
  void Record(const std::wstring& line);
  void WatchSignals();

  host::Session* session_;
  Options options_;
  web::PageServer server_;
  host::DrawingPieces pieces_;
  std::wstring highlighted_;  // the system whose band is shown, empty for none
  bool band_changed_ = false;
  std::FILE* record_ = nullptr;
  std::deque<std::wstring> lines_;  // lines of one request not yet given
  int typed_lines_ = 0;
  bool closing_palette_ = false;
  std::atomic<int> terminated_{0};
  std::atomic<bool> stop_watching_{false};
  std::thread signal_watcher_;
};

}  // namespace cli
