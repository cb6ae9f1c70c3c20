// What the tests of the served session over HTTP share: a client that plays the page (requests,
// the push channel) and the fixture that boots a served session and runs it on the test's thread
// while the page's part runs on another.
#pragma once

#include "cli/served_session.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/win/text_encoding.h"
#include "tools/harnex_session.h"
#include "tools/system_folder.h"

namespace web_testing {

using nlohmann::json;
using Strings = std::vector<std::string>;

constexpr int kPalette = 200;
constexpr int kProjectListDialog = 203;
constexpr int kOpenProjectList = 201;  // the palette's "読込み"
constexpr int kSave = 207;             // the palette's "保存": disabled while no project is open
constexpr int kHiddenAssign = 339;     // a "自動付与" the palette keeps hidden
constexpr int kCancel = 2;
constexpr char kProjectListOpened[] = "[dialog 203 プロジェクト一覧]";

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the server answered: the status, the body as text and as JSON (an empty object when it
// is no JSON object, so that reading a field of it fails the test rather than throwing).
struct Reply {
  int status = 0;  // 0: no answer at all
  std::string content_type;
  std::string text;
  json body;
};

inline json ObjectOf(const std::string& text) {
  json object = json::parse(text, nullptr, false);
  return object.is_object() ? object : json::object();
}

inline Reply ReplyOf(const httplib::Result& result) {
  Reply reply;
  if (!result) return reply;
  reply.status = result->status;
  reply.content_type = result->get_header_value("Content-Type");
  reply.text = result->body;
  reply.body = ObjectOf(result->body);
  return reply;
}

// A refusal: the status and {"ok": false, "message": "..."}.
inline void ExpectRefused(const Reply& reply, int status, const std::string& what) {
  EXPECT_EQ(reply.status, status) << what << ": " << reply.text;
  EXPECT_TRUE(reply.content_type.starts_with("application/json"))
      << what << ": " << reply.content_type;
  EXPECT_EQ(reply.body.value("ok", true), false) << what;
  EXPECT_FALSE(reply.body.value("message", "").empty()) << what << ": " << reply.text;
}

// What a state (of /state or a push) shows: its windows and what waits ("" when it has none).
inline json WindowsOf(const json& state) {
  const json view = state.value("view", json::object());
  return view.is_object() ? view.value("windows", json::array()) : json::array();
}
inline std::string WaitOf(const json& state) {
  const json view = state.value("view", json::object());
  const json wait = view.is_object() ? view.value("wait", json::object()) : json::object();
  return wait.is_object() ? wait.value("kind", "") : "";
}

// `action` with a "padding" field that makes its JSON text `size` bytes long.
inline std::string Padded(json action, size_t size) {
  action["padding"] = "";
  const size_t bare = action.dump().size();
  action["padding"] = std::string(size > bare ? size - bare : 0, 'x');
  return action.dump();
}

// The node of window `window_template` (a dialog's template id) in the view's windows; it points
// into `node`.
inline const json* FindWindow(const json& node, int window_template) {
  if (node.is_array()) {
    for (const json& n : node) {
      if (const json* found = FindWindow(n, window_template)) return found;
    }
    return nullptr;
  }
  if (!node.is_object()) return nullptr;
  if (node.value("template", 0) == window_template) return &node;
  const auto children = node.find("children");
  return children != node.end() ? FindWindow(*children, window_template) : nullptr;
}

inline const json* FindControl(const json& window, int ctrl) {
  const auto children = window.find("children");
  if (children == window.end()) return nullptr;
  for (const json& child : *children) {
    if (child.value("ctrl", -1) == ctrl) return &child;
    if (const json* found = FindControl(child, ctrl)) return found;
  }
  return nullptr;
}

// Plays the page: requests to the server with the session's token, from the page's origin.
class Page {
 public:
  Page(int port, std::string token)
      : port_(port), token_(std::move(token)), client_("127.0.0.1", port) {
    client_.set_read_timeout(20, 0);
    // Paths go out exactly as the test writes them, escapes and all.
    client_.set_url_encode(false);
  }

  int port() const { return port_; }
  const std::string& token() const { return token_; }
  std::string origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
  // The page's client id, sent with every POST (empty: none).
  void set_client(std::string client) { client_id_ = std::move(client); }

  Reply Get(const std::string& path, const httplib::Headers& headers = {}) {
    return ReplyOf(client_.Get(path.c_str(), headers));
  }
  // A GET that stops at the first bytes of the answer: a push channel that is opened when it
  // should not be then fails the test instead of holding it.
  Reply Open(const std::string& path) {
    Reply reply;
    client_.Get(
        path.c_str(),
        [&](const httplib::Response& response) {
          reply.status = response.status;
          reply.content_type = response.get_header_value("Content-Type");
          return true;
        },
        [&](const char* data, size_t size) {
          reply.text.append(data, size);
          return false;
        });
    reply.body = ObjectOf(reply.text);
    return reply;
  }
  Reply Post(const std::string& path, const std::string& body, const httplib::Headers& headers) {
    return ReplyOf(client_.Post(path.c_str(), headers, body, "application/json"));
  }
  // A POST whose body comes in chunks (no Content-Length), as the page sends it.
  Reply SendChunked(const std::string& path, const std::string& body) {
    httplib::Headers headers = {{"Origin", origin()}, {"X-Harnex-Token", token_}};
    return ReplyOf(client_.Post(
        path.c_str(), headers,
        [&body](size_t offset, httplib::DataSink& sink) {
          if (offset < body.size()) {
            sink.write(body.data() + offset, std::min<size_t>(4096, body.size() - offset));
          } else {
            sink.done();
          }
          return true;
        },
        "application/json"));
  }
  // A POST as the page sends it.
  Reply Send(const std::string& path, const std::string& body) {
    httplib::Headers headers = {{"Origin", origin()}, {"X-Harnex-Token", token_}};
    if (!client_id_.empty()) headers.emplace("X-Harnex-Client", client_id_);
    return Post(path, body, headers);
  }
  Reply Act(const json& action) { return Send("/action", action.dump()); }

  json State() {
    const Reply reply = Get("/state?token=" + token_);
    EXPECT_EQ(reply.status, 200) << reply.text;
    return reply.body;
  }

  // Waits until the session waits for the page for the first time.
  bool WaitForSession() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      const Reply reply = Get("/state?token=" + token_);
      if (reply.status == 200 && reply.body.value("version", 0) >= 1) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

 private:
  int port_;
  std::string token_;
  std::string client_id_;
  httplib::Client client_;
};

// A page's push channel, read on a thread of its own until the server ends it.
class PushChannel {
 public:
  PushChannel(int port, const std::string& token, const std::string& client) {
    reader_ = std::thread([this, port, token, client] {
      httplib::Client http("127.0.0.1", port);
      http.set_read_timeout(30, 0);
      http.Get(("/events?token=" + token + "&client=" + client).c_str(),
               [this](const char* data, size_t size) {
                 Take(std::string(data, size));
                 return true;
               });
      std::lock_guard<std::mutex> lock(mutex_);
      closed_ = true;
      changed_.notify_all();
    });
  }
  ~PushChannel() { Join(); }

  // Waits for the first state; false when none came.
  bool WaitForFirst() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] {
      return !states_.empty() || closed_;
    }) && !states_.empty();
  }
  // Waits until the server ends the channel; then the states it pushed, in order.
  const std::vector<json>& Join() {
    if (reader_.joinable()) reader_.join();
    return states_;
  }

 private:
  void Take(const std::string& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    buffer_ += bytes;
    for (size_t end; (end = buffer_.find("\n\n")) != std::string::npos;) {
      const std::string event = buffer_.substr(0, end);
      buffer_.erase(0, end + 2);
      if (!event.starts_with("event: state\n")) continue;  // a keep-alive comment
      const size_t data = event.find("\ndata: ");
      if (data == std::string::npos) continue;
      states_.push_back(ObjectOf(event.substr(data + 7)));
    }
    changed_.notify_all();
  }

  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string buffer_;
  std::vector<json> states_;
  bool closed_ = false;
};

class PageServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    folder_ = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(folder_, nullptr) << error;
    host::Session::Options options = tools::HarnexSessionOptions();
    options.config_path = folder_->config_path();
    session_ = std::make_unique<host::Session>(options);
    ASSERT_TRUE(session_->Start());
    record_path_ = folder_->root() + "/record.hxs";
    cli::ServedSession::Options served_options;
    served_options.record_path = record_path_;
    served_ = std::make_unique<cli::ServedSession>(session_.get(), served_options);
    ASSERT_TRUE(served_->Start(&error)) << error;
    ASSERT_GT(served_->port(), 0);
    ASSERT_EQ(served_->token().size(), 32u);
  }

  void TearDown() override {
    served_.reset();
    if (session_) {
      for (const auto& error : session_->host_errors()) {
        ADD_FAILURE() << "host error: " << platform::WideToUtf8(error);
      }
    }
    session_.reset();
    folder_.reset();
  }

  // Opens the palette and runs the session on this thread while `page` plays the page on
  // another; then the page closes the session. A close that is not taken fails the test and ends
  // the session as SIGTERM does, so that a fault never hangs the test.
  void Serve(const std::function<void(Page&)>& page, const std::string& client = "") {
    const std::vector<host::ScriptStep> steps = {host::steps::Command(L"RQ_HARNEX")};
    served_->RecordSteps(steps);
    std::thread player([&] {
      Page p(served_->port(), served_->token());
      p.set_client(client);
      if (p.WaitForSession()) {
        page(p);
      } else {
        ADD_FAILURE() << "the session never waited for the page";
      }
      const Reply closed = p.Send("/close", "{}");
      if (closed.status != 200) {
        ADD_FAILURE() << "the close was refused: " << closed.status << " " << closed.text;
        ::kill(::getpid(), SIGTERM);
      }
    });
    session_->Run(steps);
    served_->Finish();
    player.join();
    EXPECT_EQ(served_->Terminated(), 0);
  }

  // Clicks "読込み", sees the project list open, cancels it, sees it closed: the good actions
  // that show the session still takes what the page sends.
  static void OpenAndCancelProjectList(Page& page) {
    const json before = page.State();
    const Reply opened =
        page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", kOpenProjectList}});
    EXPECT_EQ(opened.status, 200) << opened.text;
    EXPECT_EQ(opened.body.value("ok", false), true) << opened.text;
    const json open = page.State();
    EXPECT_GT(open.value("version", -1), before.value("version", -1));
    EXPECT_EQ(opened.body.value("version", -1), open.value("version", -1)) << opened.text;
    EXPECT_EQ(WaitOf(open), "dialog");
    EXPECT_NE(FindWindow(WindowsOf(open), kProjectListDialog), nullptr);
    const std::string transcript = open.value("transcript", "");
    EXPECT_NE(transcript.find(kProjectListOpened), std::string::npos) << transcript;

    const Reply cancelled =
        page.Act({{"action", "click"}, {"window", kProjectListDialog}, {"ctrl", kCancel}});
    EXPECT_EQ(cancelled.status, 200) << cancelled.text;
    EXPECT_EQ(cancelled.body.value("ok", false), true) << cancelled.text;
    const json closed = page.State();
    EXPECT_EQ(WaitOf(closed), "command");
    EXPECT_EQ(FindWindow(WindowsOf(closed), kProjectListDialog), nullptr);
  }

  Strings RecordedLines() const {
    std::istringstream in(Slurp(record_path_));
    Strings lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::string Transcript() const { return platform::WideToUtf8(session_->transcript()); }

  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<host::Session> session_;
  std::unique_ptr<cli::ServedSession> served_;
  std::string record_path_;
};

const Strings kOpenedAndCancelled = {"command RQ_HARNEX", "@200 click 201", "@203 click 2"};

}  // namespace web_testing
