// The page's server: HTTP on the loopback address (cpp-httplib), its checks, the push channel
// and the hand-over of requests to the session's thread.
#include "web/page_server.h"

#include <httplib.h>

#include <condition_variable>
#include <cstdio>
#include <future>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "platform/win/text_encoding.h"
#include "web/page_assets.h"

namespace web {

std::string NewToken() {
  std::random_device random;
  std::string token;
  for (int i = 0; i < 4; ++i) {
    char part[9];
    std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(random()));
    token += part;
  }
  return token;
}

namespace {

struct Answered {
  int status = 200;
  std::string message;
  nlohmann::json fields;  // more of the answer, an object or null
};

struct Pending {
  PageRequest request;
  std::promise<Answered> reply;
};

// Equal strings in a time that does not depend on where they differ.
bool SameSecret(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  unsigned char differ = 0;
  for (size_t i = 0; i < a.size(); ++i) differ |= static_cast<unsigned char>(a[i] ^ b[i]);
  return differ == 0;
}

void Answer(httplib::Response& res, int status, const std::string& message, uint64_t version,
            const nlohmann::json& fields = nullptr) {
  nlohmann::json body = {{"ok", status < 300}};
  if (fields.is_object()) body.update(fields);
  if (!message.empty()) body["message"] = message;
  if (status < 300) body["version"] = version;
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  res.set_content(body.dump(), "application/json");
}

}  // namespace

class PageServer::Impl {
 public:
  Impl(PageServer* owner, Options options) : owner_(owner), options_(std::move(options)) {}

  bool Start(std::string* error);
  void Stop();

  // Session thread.
  void Publish(const nlohmann::json& view, const std::wstring& transcript);
  bool NextRequest(PageRequest* out);
  void Refuse(int status, const std::string& message);
  void AnswerWith(const nlohmann::json& fields);
  void Accept();
  bool TakeEsc();
  void Finish();
  void Wake();

 private:
  struct Connection {
    uint64_t id = 0;
    std::string client;
    bool saw_end = false;
    uint64_t drawing_sent = 0;  // the drawing's revision the page has been sent
  };

  // The checks every request passes first; false when `res` holds the refusal.
  bool Admit(const httplib::Request& req, httplib::Response& res) const;
  // Reads a POST's body into *body; false when it is over the limit.
  bool ReadBody(const httplib::ContentReader& reader, std::string* body) const;
  void Post(PageRequest::Kind kind, const httplib::ContentReader& reader,
            const httplib::Request& req, httplib::Response& res);
  void Events(const httplib::Request& req, httplib::Response& res);
  void State(httplib::Response& res);
  // The message of one push: what `connection` has not been sent yet. Under the lock.
  std::string Message(Connection& connection, size_t* transcript_sent) const;
  bool IsController(const std::string& client) const;

  PageServer* owner_;
  Options options_;
  httplib::Server server_;
  std::thread listener_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Pending>> queue_;
  std::shared_ptr<Pending> current_;
  std::vector<std::shared_ptr<Pending>> accepted_;
  bool woken_ = false;
  std::string view_ = "{}";
  std::string transcript_;  // UTF-8
  size_t transcript_chars_ = 0;
  uint64_t version_ = 0;
  uint64_t generation_ = 0;  // grows with every publish and every change of who has control
  bool ended_ = false;
  bool stopping_ = false;
  std::vector<Connection> connections_;
  uint64_t next_connection_ = 1;
};

bool PageServer::Impl::Admit(const httplib::Request& req, httplib::Response& res) const {
  const std::string port = std::to_string(owner_->port_);
  const std::string host = req.get_header_value("Host");
  if (host != "127.0.0.1:" + port && host != "localhost:" + port) {
    Answer(res, 403, "the Host header must name this server, 127.0.0.1:" + port, 0);
    return false;
  }
  std::string token = req.get_header_value("X-Harnex-Token");
  if (token.empty()) token = req.get_param_value("token");
  if (token.empty()) {
    Answer(res, 403, "the session's token is missing", 0);
    return false;
  }
  if (!SameSecret(token, owner_->token_)) {
    Answer(res, 403, "wrong token", 0);
    return false;
  }
  if (req.method == "POST") {
    const std::string origin = req.get_header_value("Origin");
    if (origin != "http://127.0.0.1:" + port && origin != "http://localhost:" + port) {
      Answer(res, 403, "a request that changes the session must come from the page", 0);
      return false;
    }
  }
  return true;
}

bool PageServer::Impl::IsController(const std::string& client) const {
  return !connections_.empty() && connections_.front().client == client;
}

bool PageServer::Impl::Start(std::string* error) {
  server_.new_task_queue = [] { return new httplib::ThreadPool(32); };
  server_.set_payload_max_length(options_.max_body);
  server_.set_keep_alive_timeout(2);
  // Answers are small and wanted at once: no waiting for the peer's acknowledgement of the
  // headers before the body goes (Nagle's algorithm against a delayed ACK costs 40 ms).
  server_.set_tcp_nodelay(true);
  server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    return Admit(req, res) ? httplib::Server::HandlerResponse::Unhandled
                           : httplib::Server::HandlerResponse::Handled;
  });
  // The POSTs read their bodies themselves: httplib's limit holds only against a stated
  // Content-Length, and a chunked body would be read whole, at any size.
  const auto post = [this](PageRequest::Kind kind) {
    return [this, kind](const httplib::Request& req, httplib::Response& res,
                        const httplib::ContentReader& reader) { Post(kind, reader, req, res); };
  };
  server_.Post("/action", post(PageRequest::Kind::kAction));
  server_.Post("/line", post(PageRequest::Kind::kLine));
  server_.Post("/close", post(PageRequest::Kind::kClose));
  server_.Post("/highlight", post(PageRequest::Kind::kHighlight));
  server_.Get("/drawing", [this](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    // Not a type the server compresses: brotli at its default quality would take seconds over a
    // large floor, on a loopback connection where compression saves nothing.
    res.set_content(owner_->drawing_.Whole(), "application/vnd.harnex.drawing+json");
  });
  server_.Get("/events",
              [this](const httplib::Request& req, httplib::Response& res) { Events(req, res); });
  server_.Get("/state", [this](const httplib::Request&, httplib::Response& res) { State(res); });
  // Everything else is one of the page's own files or nothing: the path is looked up, never
  // joined to a folder, so ".." and encoded slashes reach no file.
  server_.Get(R"(/.*)", [](const httplib::Request& req, httplib::Response& res) {
    const PageAsset* asset = FindPageAsset(req.path);
    if (asset == nullptr) {
      Answer(res, 404, "no such page file", 0);
      return;
    }
    res.set_header("Cache-Control", "no-store");
    res.set_content(asset->bytes, asset->size, asset->content_type);
  });
  server_.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return;
    const char* why = res.status == 404   ? "no such page file"
                      : res.status == 413 ? "the request is too large"
                                          : "the request cannot be read";
    Answer(res, res.status, why, 0);
  });
  int port = options_.port;
  if (port == 0) {
    port = server_.bind_to_any_port("127.0.0.1");
    if (port < 0) {
      *error = "cannot listen on 127.0.0.1";
      return false;
    }
  } else if (!server_.bind_to_port("127.0.0.1", port)) {
    *error = "cannot listen on 127.0.0.1:" + std::to_string(port);
    return false;
  }
  owner_->port_ = port;
  listener_ = std::thread([this] { server_.listen_after_bind(); });
  return true;
}

void PageServer::Impl::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
  }
  changed_.notify_all();
  server_.stop();
  if (listener_.joinable()) listener_.join();
}

bool PageServer::Impl::ReadBody(const httplib::ContentReader& reader, std::string* body) const {
  // What is over the limit is read and dropped, so that the client is there for the answer.
  bool over = false;
  const bool read = reader([&](const char* data, size_t size) {
    if (!over && size <= options_.max_body - body->size()) {
      body->append(data, size);
    } else {
      over = true;
      body->clear();
    }
    return true;
  });
  return read && !over;
}

void PageServer::Impl::Post(PageRequest::Kind kind, const httplib::ContentReader& reader,
                            const httplib::Request& req, httplib::Response& res) {
  std::string text;
  if (!ReadBody(reader, &text)) {
    Answer(res, 413, "the request is too large", 0);
    return;
  }
  auto pending = std::make_shared<Pending>();
  pending->request.kind = kind;
  pending->request.body = nlohmann::json::parse(text, nullptr, false);
  if (pending->request.body.is_discarded()) {
    Answer(res, 400, "malformed JSON", 0);
    return;
  }
  std::future<Answered> reply = pending->reply.get_future();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ended_) {
      Answer(res, 410, "the session has ended", 0);
      return;
    }
    const std::string client = req.get_header_value("X-Harnex-Client");
    if (!connections_.empty() && !IsController(client)) {
      Answer(res, 409, "another page sends this session's actions; this page only shows it", 0);
      return;
    }
    queue_.push_back(pending);
  }
  changed_.notify_all();
  if (reply.wait_for(options_.reply_wait) != std::future_status::ready) {
    Answer(res, 202, "the session is still working on it", 0);
    return;
  }
  const Answered answer = reply.get();
  std::lock_guard<std::mutex> lock(mutex_);
  Answer(res, answer.status, answer.message, version_, answer.fields);
}

std::string PageServer::Impl::Message(Connection& connection, size_t* transcript_sent) const {
  size_t from = *transcript_sent <= transcript_.size() ? *transcript_sent : 0;
  nlohmann::json transcript = {{"from", from}, {"text", transcript_.substr(from)}};
  *transcript_sent = transcript_.size();
  const uint64_t drawing = owner_->drawing_.revision();
  const std::string deltas = owner_->drawing_.DeltasSince(connection.drawing_sent);
  connection.drawing_sent = drawing;
  // The view is already JSON text: it goes in as it is.
  return "{\"control\":" + std::string(IsController(connection.client) ? "true" : "false") +
         ",\"version\":" + std::to_string(version_) + ",\"ended\":" + (ended_ ? "true" : "false") +
         ",\"transcript\":" + transcript.dump() + ",\"view\":" + view_ +
         ",\"drawing_revision\":" + std::to_string(drawing) + ",\"drawing\":" + deltas + "}";
}

void PageServer::Impl::Events(const httplib::Request& req, httplib::Response& res) {
  const std::string client = req.get_param_value("client");
  uint64_t id = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      Answer(res, 410, "the session has ended", 0);
      return;
    }
    id = next_connection_++;
    connections_.push_back(Connection{id, client, false, owner_->drawing_.revision()});
    ++generation_;
  }
  changed_.notify_all();
  res.set_header("Cache-Control", "no-store");
  auto sent_generation = std::make_shared<uint64_t>(0);
  auto transcript_sent = std::make_shared<size_t>(0);
  res.set_chunked_content_provider(
      "text/event-stream",
      [this, id, sent_generation, transcript_sent](size_t, httplib::DataSink& sink) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10),
                          [&] { return stopping_ || generation_ != *sent_generation; });
        if (stopping_) return false;
        if (generation_ == *sent_generation) {
          lock.unlock();
          static const char kKeepAlive[] = ": still here\n\n";
          return sink.write(kKeepAlive, sizeof kKeepAlive - 1);
        }
        auto it = std::find_if(connections_.begin(), connections_.end(),
                               [&](const Connection& c) { return c.id == id; });
        if (it == connections_.end()) return false;
        const std::string event =
            "event: state\ndata: " + Message(*it, transcript_sent.get()) + "\n\n";
        *sent_generation = generation_;
        const bool end = ended_;
        if (end) it->saw_end = true;
        lock.unlock();
        if (end) changed_.notify_all();
        if (!sink.write(event.data(), event.size())) return false;
        if (end) sink.done();
        return true;
      },
      [this, id](bool) {
        {
          std::lock_guard<std::mutex> lock(mutex_);
          std::erase_if(connections_, [&](const Connection& c) { return c.id == id; });
          ++generation_;
        }
        changed_.notify_all();
      });
}

void PageServer::Impl::State(httplib::Response& res) {
  std::lock_guard<std::mutex> lock(mutex_);
  res.set_header("Cache-Control", "no-store");
  res.set_content(
      "{\"version\":" + std::to_string(version_) + ",\"ended\":" + (ended_ ? "true" : "false") +
          ",\"transcript\":" + nlohmann::json(transcript_).dump() + ",\"view\":" + view_ + "}",
      "application/json");
}

void PageServer::Impl::Publish(const nlohmann::json& view, const std::wstring& transcript) {
  std::vector<std::shared_ptr<Pending>> answered;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    view_ = view.dump();
    if (transcript.size() < transcript_chars_) {
      transcript_.clear();
      transcript_chars_ = 0;
    }
    transcript_ += platform::WideToUtf8(std::wstring_view(transcript).substr(transcript_chars_));
    transcript_chars_ = transcript.size();
    ++version_;
    ++generation_;
    answered.swap(accepted_);
  }
  changed_.notify_all();
  for (auto& pending : answered) pending->reply.set_value(Answered{200, "", nullptr});
}

bool PageServer::Impl::NextRequest(PageRequest* out) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return !queue_.empty() || woken_; });
  woken_ = false;
  if (queue_.empty()) return false;
  current_ = queue_.front();
  queue_.pop_front();
  *out = current_->request;
  return true;
}

void PageServer::Impl::Refuse(int status, const std::string& message) {
  std::shared_ptr<Pending> pending;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending.swap(current_);
  }
  if (pending) pending->reply.set_value(Answered{status, message, nullptr});
}

void PageServer::Impl::AnswerWith(const nlohmann::json& fields) {
  std::shared_ptr<Pending> pending;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending.swap(current_);
  }
  if (pending) pending->reply.set_value(Answered{200, "", fields});
}

void PageServer::Impl::Accept() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (current_) accepted_.push_back(std::move(current_));
  current_.reset();
}

bool PageServer::Impl::TakeEsc() {
  std::shared_ptr<Pending> esc;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.empty() || queue_.front()->request.kind != PageRequest::Kind::kAction) return false;
    const nlohmann::json& body = queue_.front()->request.body;
    if (!body.is_object() || body.value("action", "") != "esc") return false;
    esc = queue_.front();
    queue_.pop_front();
  }
  esc->reply.set_value(Answered{200, "", nullptr});
  return true;
}

void PageServer::Impl::Finish() {
  std::vector<std::shared_ptr<Pending>> answered;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (ended_) return;
    ended_ = true;
    ++version_;
    ++generation_;
    answered.swap(accepted_);
    if (current_) answered.push_back(std::move(current_));
    current_.reset();
    for (auto& pending : queue_) pending->reply.set_value(Answered{410, "the session has ended", nullptr});
    queue_.clear();
  }
  changed_.notify_all();
  for (auto& pending : answered) pending->reply.set_value(Answered{200, "", nullptr});
  // Every open page is told before the server goes.
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, std::chrono::seconds(2), [&] {
    return std::all_of(connections_.begin(), connections_.end(),
                       [](const Connection& c) { return c.saw_end; });
  });
}

void PageServer::Impl::Wake() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
  }
  changed_.notify_all();
}

PageServer::PageServer(Options options) : impl_(std::make_unique<Impl>(this, options)) {
  token_ = options.token.empty() ? NewToken() : options.token;
}

PageServer::~PageServer() {
  impl_->Finish();
  impl_->Stop();
}

bool PageServer::Start(std::string* error) {
  return impl_->Start(error);
}
std::string PageServer::Url() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + token_;
}
void PageServer::Publish(const nlohmann::json& view, const std::wstring& transcript) {
  impl_->Publish(view, transcript);
}
bool PageServer::NextRequest(PageRequest* out) {
  return impl_->NextRequest(out);
}
void PageServer::Refuse(int status, const std::string& message) {
  impl_->Refuse(status, message);
}
void PageServer::Reply(const nlohmann::json& fields) {
  impl_->AnswerWith(fields);
}
void PageServer::Accept() {
  impl_->Accept();
}
bool PageServer::TakeEsc() {
  return impl_->TakeEsc();
}
void PageServer::Finish() {
  impl_->Finish();
}
void PageServer::Wake() {
  impl_->Wake();
}

}  // namespace web
