// The served session's line source: requests of the page in, views of the session out.
#include "cli/served_session.h"

#include <csignal>
#include <ctime>

#include <pthread.h>

#include "cli/session_end.h"
#include "host/user/script_writer.h"
#include "host/user/typed_line.h"
#include "tools/svg_wiring.h"
#include "platform/win/text_encoding.h"
#include "platform/win/user_session.h"
#include "web/page_action.h"
#include "web/session_view.h"

namespace cli {
namespace {

sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  sigaddset(&set, SIGINT);
  return set;
}

web::PageServer::Options ServerOptions(const ServedSession::Options& options) {
  web::PageServer::Options server;
  server.port = options.port;
  server.token = options.token;
  return server;
}

}  // namespace

ServedSession::ServedSession(host::Session* session, Options options)
    : session_(session), options_(std::move(options)), server_(ServerOptions(options_)) {}

ServedSession::~ServedSession() {
  Finish();
  stop_watching_ = true;
  if (signal_watcher_.joinable()) signal_watcher_.join();
  if (record_ != nullptr) std::fclose(record_);
  session_->SetLineSource(nullptr);
  session_->user().SetBreakPoll(nullptr);
}

bool ServedSession::Start(std::string* error) {
  if (!options_.record_path.empty()) {
    record_ = std::fopen(options_.record_path.c_str(), "wb");
    if (record_ == nullptr) {
      *error = "cannot write the record file " + options_.record_path;
      return false;
    }
  }
  // The ending signals are taken by a thread of their own, so that the server's threads (made
  // next, with the same mask) and the session's never see them.
  const sigset_t ending = EndingSignals();
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);
  signal_watcher_ = std::thread([this] { WatchSignals(); });
  if (!server_.Start(error)) return false;
  host::ScriptedUser& user = session_->user();
  user.SetTypedInput(true);
  user.SetBoxesWait(true);
  user.SetBreakPoll([this] {
    if (terminated_ != 0) return true;
    if (!server_.TakeEsc()) return false;
    Record(L"break");
    return true;
  });
  session_->SetLineSource([this](std::wstring* line, int) { return NextLine(line); });
  return true;
}

void ServedSession::WatchSignals() {
  const sigset_t ending = EndingSignals();
  const timespec tick{0, 100 * 1000 * 1000};
  while (!stop_watching_) {
    const int signal = sigtimedwait(&ending, nullptr, &tick);
    if (signal > 0) {
      terminated_ = signal;
      server_.Wake();
    }
  }
}

void ServedSession::RecordSteps(const std::vector<host::ScriptStep>& steps) {
  for (const host::ScriptStep& step : steps) Record(host::ScriptLineOf(step));
}

void ServedSession::Record(const std::wstring& line) {
  if (record_ == nullptr) return;
  const std::string bytes = platform::WideToUtf8(line) + "\n";
  std::fwrite(bytes.data(), 1, bytes.size(), record_);
  std::fflush(record_);
}

void ServedSession::Finish() {
  server_.Finish();
}

bool ServedSession::NextLine(std::wstring* line) {
  if (!lines_.empty()) {
    *line = std::move(lines_.front());
    lines_.pop_front();
    return true;
  }
  if (terminated_ != 0) return false;
  if (closing_palette_ && platform::CurrentWait().kind == platform::WaitKind::kCommandPrompt) {
    // The close began by closing the palette: closed, the session ends; still open (its
    // question was cancelled or its save failed), the user goes on.
    closing_palette_ = false;
    if (!PaletteIsOpen()) return false;
  }
  // The session waits: the pages see it as it is now. A refused request changes nothing, so
  // that nothing is published again until the session takes one.
  PublishState();
  for (;;) {
    web::PageRequest request;
    if (!server_.NextRequest(&request)) {
      if (terminated_ != 0) return false;
      continue;
    }
    bool end = false;
    if (Handle(request, line, &end)) return true;
    if (end) return false;
  }
}

bool ServedSession::Handle(const web::PageRequest& request, std::wstring* line, bool* end) {
  switch (request.kind) {
    case web::PageRequest::Kind::kAction:
      return HandleAction(request.body, line);
    case web::PageRequest::Kind::kLine:
      return HandleLine(request.body, line);
    case web::PageRequest::Kind::kClose:
      return HandleClose(line, end);
    case web::PageRequest::Kind::kHighlight:
      HandleHighlight(request.body);
      return false;
  }
  return false;
}

bool ServedSession::HandleAction(const nlohmann::json& body, std::wstring* line) {
  platform::UserAction action;
  std::string error;
  if (!web::ReadPageAction(body, &action, &error)) {
    server_.Refuse(400, error);
    return false;
  }
  int status = 0;
  if (const std::string why = web::RefusalOf(action, &status); !why.empty()) {
    server_.Refuse(status, why);
    return false;
  }
  *line = host::ScriptLineOf(action);
  Record(*line);
  server_.Accept();
  return true;
}

bool ServedSession::HandleLine(const nlohmann::json& body, std::wstring* line) {
  if (!body.is_object() || !body.contains("line") || !body["line"].is_string()) {
    server_.Refuse(400, "\"line\" must be the text of a line");
    return false;
  }
  const std::wstring text = platform::Utf8ToWide(body["line"].get<std::string>());
  std::vector<host::ScriptStep> steps;
  std::wstring error;
  if (!host::ReadTypedLine(text, ++typed_lines_, platform::CurrentWait(), &steps, &error)) {
    server_.Refuse(422, platform::WideToUtf8(error));
    return false;
  }
  if (steps.empty()) {  // a blank line at the command prompt
    server_.Refuse(200, "");
    return false;
  }
  for (const host::ScriptStep& step : steps) {
    lines_.push_back(host::ScriptLineOf(step));
    Record(lines_.back());
  }
  *line = std::move(lines_.front());
  lines_.pop_front();
  server_.Accept();
  return true;
}

bool ServedSession::HandleClose(std::wstring* line, bool* end) {
  if (platform::CurrentWait().kind != platform::WaitKind::kCommandPrompt) {
    server_.Refuse(409, "something waits for an answer: answer or cancel it first");
    return false;
  }
  server_.Accept();
  if (PaletteHasUnsavedEdits()) {
    // The palette closes as Esc closes it, and asks its question on the page.
    closing_palette_ = true;
    *line = L"@200 click 2";
    Record(*line);
    return true;
  }
  *end = true;
  return false;
}

void ServedSession::SyncDrawing() {
  AcDbDatabase* db = session_->database();
  if (db != pieces_.database()) {
    pieces_.Attach(db);
    server_.drawing().Load(pieces_.Pieces());
    band_changed_ = !highlighted_.empty();
  }
  const host::DrawingChanges changes = pieces_.TakeChanges();
  // A circuit's band follows what the drawing's elements carry now.
  if (!highlighted_.empty() && !changes.empty()) band_changed_ = true;
  std::string band;
  if (band_changed_) band = Band();
  server_.drawing().Change(changes, host::DrawingPieces::TemporaryMarkup(),
                           band_changed_ ? &band : nullptr);
  band_changed_ = false;
}

std::string ServedSession::Band() const {
  AcDbDatabase* db = session_->database();
  if (db == nullptr || highlighted_.empty()) return "";
  return tools::WiringBandPaths(*db, {highlighted_});
}

void ServedSession::HandleHighlight(const nlohmann::json& body) {
  if (!body.is_object() || !body.contains("system") || !body["system"].is_string()) {
    server_.Refuse(400, "\"system\" must be a system number, or \"\" for none");
    return;
  }
  highlighted_ = platform::Utf8ToWide(body["system"].get<std::string>());
  band_changed_ = true;
  nlohmann::json systems = nlohmann::json::array();
  if (AcDbDatabase* db = session_->database()) {
    for (const std::wstring& system : tools::SystemsInDrawing(*db))
      systems.push_back(platform::WideToUtf8(system));
  }
  server_.Reply({{"systems", std::move(systems)}});
  // Nothing else changed: the pages get the band with the same view.
  PublishState();
}

void ServedSession::PublishState() {
  SyncDrawing();
  server_.Publish(web::SessionView(session_->transcript()), session_->transcript());
}

}  // namespace cli
