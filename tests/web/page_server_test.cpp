// The served session over HTTP without a browser: a test plays the page with cpp-httplib's client
// while the session runs on the test's thread. What the server refuses (token, Host, Origin,
// size, JSON, actions nothing waits for, paths that are not the page's files, a second page)
// leaves the session as it was; what it takes reaches the session and the record file.
#include "web/page_server_support.h"

#include <gtest/gtest.h>

namespace web_testing {
namespace {
TEST_F(PageServerTest, RefusesRequestsThatDoNotComeFromThePage) {
  Serve([](Page& page) {
    const json before = page.State();
    const std::string port = std::to_string(page.port());
    const std::string other_port = std::to_string(page.port() + 1);
    std::string near_token = page.token();  // the right length, one digit off
    near_token.back() = near_token.back() == '0' ? '1' : '0';
    const std::string token_query = "/state?token=" + page.token();

    // The token, in the query of a GET or the header of a POST.
    ExpectRefused(page.Get("/state"), 403, "GET without a token");
    ExpectRefused(page.Get("/state?token=0123"), 403, "GET with a wrong token");
    ExpectRefused(page.Get("/state?token=" + near_token), 403, "GET with a near token");
    ExpectRefused(page.Get("/?token=" + near_token), 403, "the page with a near token");
    ExpectRefused(page.Open("/events?client=A"), 403, "the push channel without a token");
    ExpectRefused(page.Open("/events?client=A&token=" + near_token), 403,
                  "the push channel with a near token");
    const std::string click =
        json{{"action", "click"}, {"window", kPalette}, {"ctrl", kOpenProjectList}}.dump();
    const std::string origin = page.origin();
    ExpectRefused(page.Post("/action", click, {{"Origin", origin}}), 403, "POST without a token");
    ExpectRefused(page.Post("/action", click, {{"Origin", origin}, {"X-Harnex-Token", "0123"}}),
                  403, "POST with a wrong token");
    ExpectRefused(page.Post("/action", click, {{"Origin", origin}, {"X-Harnex-Token", near_token}}),
                  403, "POST with a near token");
    ExpectRefused(page.Post("/close", "{}", {{"Origin", origin}, {"X-Harnex-Token", near_token}}),
                  403, "close with a near token");

    // The Host header names this server, or the page was reached through another name.
    ExpectRefused(page.Get(token_query, {{"Host", "evil.example:" + port}}), 403, "foreign Host");
    ExpectRefused(page.Get(token_query, {{"Host", "127.0.0.1:" + other_port}}), 403,
                  "Host of another port");
    ExpectRefused(page.Get(token_query, {{"Host", "127.0.0.1"}}), 403, "Host without its port");
    ExpectRefused(page.Post("/action", click,
                            {{"Host", "evil.example:" + port},
                             {"Origin", origin},
                             {"X-Harnex-Token", page.token()}}),
                  403, "POST with a foreign Host");
    EXPECT_EQ(page.Get(token_query, {{"Host", "localhost:" + port}}).status, 200);

    // A POST comes from the page's own origin; a GET needs none.
    const httplib::Headers token = {{"X-Harnex-Token", page.token()}};
    ExpectRefused(page.Post("/action", click, token), 403, "POST without Origin");
    ExpectRefused(page.Post("/action", click,
                            {{"Origin", "http://evil.example"}, {"X-Harnex-Token", page.token()}}),
                  403, "POST from a foreign origin");
    ExpectRefused(
        page.Post("/action", click,
                  {{"Origin", "http://127.0.0.1:" + other_port}, {"X-Harnex-Token", page.token()}}),
        403, "POST from another port");
    ExpectRefused(page.Post("/close", "{}", token), 403, "close without Origin");
    const Reply state = page.Get(token_query);
    EXPECT_EQ(state.status, 200) << state.text;
    EXPECT_EQ(state.body, before);

    EXPECT_EQ(page.State(), before);
    OpenAndCancelProjectList(page);
  });
  EXPECT_NE(Transcript().find(kProjectListOpened), std::string::npos) << Transcript();
  EXPECT_EQ(RecordedLines(), kOpenedAndCancelled);

  // The session has ended: what comes now is told so, and the record stays as it was.
  Page late(served_->port(), served_->token());
  ExpectRefused(late.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", kOpenProjectList}}),
                410, "an action after the end");
  ExpectRefused(late.Send("/close", "{}"), 410, "a close after the end");
  EXPECT_EQ(late.State().value("ended", false), true);
  EXPECT_EQ(RecordedLines(), kOpenedAndCancelled);
}

TEST_F(PageServerTest, RefusesActionsTheSessionCannotTake) {
  Serve([](Page& page) {
    const json before = page.State();
    const json windows = WindowsOf(before);
    const json* palette = FindWindow(windows, kPalette);
    ASSERT_NE(palette, nullptr) << before.dump();
    const json* save = FindControl(*palette, kSave);
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(save->value("visible", false));
    ASSERT_FALSE(save->value("enabled", true))
        << "the palette's save button is enabled: " << save->dump();
    // (Its hidden OK and Cancel take clicks: they are Enter and Esc.)
    const json* hidden = FindControl(*palette, kHiddenAssign);
    ASSERT_NE(hidden, nullptr);
    ASSERT_FALSE(hidden->value("visible", true))
        << "the hidden button is shown: " << hidden->dump();

    // What is no action at all.
    ExpectRefused(page.Send("/action", "{\"action\":"), 400, "malformed JSON");
    ExpectRefused(page.Send("/action", ""), 400, "an empty body");
    ExpectRefused(page.Send("/close", "{"), 400, "a close of malformed JSON");
    ExpectRefused(page.Act(json::array({"click", 200, 201})), 400, "a list");
    ExpectRefused(page.Act({{"action", "fly"}}), 400, "an unknown action");
    ExpectRefused(page.Act({{"ctrl", kOpenProjectList}}), 400, "no action name");
    ExpectRefused(page.Act({{"action", "click"}, {"window", kPalette}}), 400, "no ctrl");
    ExpectRefused(page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", "201"}}), 400,
                  "ctrl as a string");
    ExpectRefused(page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", 201.5}}), 400,
                  "ctrl as a fraction");
    ExpectRefused(page.Act({{"action", "type"}, {"window", kPalette}, {"ctrl", 308}}), 400,
                  "type without text");
    ExpectRefused(page.Send("/line", "{\"text\":\"LINE\"}"), 400, "a line without \"line\"");
    ExpectRefused(page.Act({{"action", "pickat"}, {"x", 1}}), 400, "a pick without y");
    ExpectRefused(page.Act({{"action", "point"}, {"x", "1"}, {"y", 2}}), 400, "x as a string");
    ExpectRefused(page.Act({{"action", "move"}, {"x", 1e300}, {"y", 2}}), 400, "x out of range");
    ExpectRefused(page.Act({{"action", "preselect"}, {"mode", "lasso"}, {"from", {0, 0}},
                            {"to", {1, 1}}}),
                  400, "a selection neither window nor crossing");
    ExpectRefused(page.Act({{"action", "preselect"}, {"mode", "window"}, {"from", {0, 0}}}), 400,
                  "a window without its second corner");
    ExpectRefused(page.Act({{"action", "preselect"}, {"mode", "window"}, {"from", {0}},
                            {"to", {1, 1}}}),
                  400, "a corner of one number");

    // What names nothing.
    ExpectRefused(page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", 9999}}), 404,
                  "an unknown control");
    ExpectRefused(page.Act({{"action", "click"}, {"window", 777}, {"ctrl", kOpenProjectList}}), 404,
                  "an unknown window");

    // What nothing waits for, or the control refuses.
    ExpectRefused(page.Act({{"action", "answer"}, {"answer", "yes"}}), 409, "an answer, no box");
    ExpectRefused(page.Act({{"action", "colour"}, {"colour", 3}}), 409, "a colour, no dialog");
    ExpectRefused(page.Act({{"action", "colour"}}), 409, "a cancel, no colour dialog");
    // The drawing's clicks answer prompts: at the command prompt a pick, a point or a cursor
    // sample would stop the session, so they are refused before it sees them.
    ExpectRefused(page.Act({{"action", "pickat"}, {"x", 3300}, {"y", 8000}}), 409,
                  "a pick at the command prompt");
    ExpectRefused(page.Act({{"action", "point"}, {"x", 3300}, {"y", 8000}}), 409,
                  "a point at the command prompt");
    ExpectRefused(page.Act({{"action", "move"}, {"x", 3300}, {"y", 8000}}), 409,
                  "a cursor sample at the command prompt");
    ExpectRefused(page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", kSave}}), 409,
                  "a disabled button");
    ExpectRefused(page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", kHiddenAssign}}),
                  409, "a hidden button");

    // The size limit, 64 KiB, whether the body states its length or comes in chunks: at the
    // limit the action reaches the session (which refuses an answer nothing waits for), over it
    // not even a good action does.
    const size_t limit = 64 * 1024;
    const std::string at_limit = Padded({{"action", "answer"}, {"answer", "yes"}}, limit);
    const std::string over_limit =
        Padded({{"action", "click"}, {"window", kPalette}, {"ctrl", kOpenProjectList}}, limit + 1);
    ASSERT_EQ(at_limit.size(), limit);
    ASSERT_EQ(over_limit.size(), limit + 1);
    ExpectRefused(page.Send("/action", at_limit), 409, "an action at the limit");
    ExpectRefused(page.SendChunked("/action", at_limit), 409, "a chunked action at the limit");
    ExpectRefused(page.Send("/action", over_limit), 413, "a body over the limit");
    ExpectRefused(page.SendChunked("/action", over_limit), 413, "a chunked body over the limit");
    ExpectRefused(page.SendChunked("/action", std::string(1024 * 1024, ' ')), 413,
                  "a chunked body of 1 MiB");

    EXPECT_EQ(page.State(), before);

    // While the project list waits, the close and the palette's controls wait too. (The click
    // that opens it comes in chunks.)
    ASSERT_EQ(
        page.SendChunked(
                "/action",
                json{{"action", "click"}, {"window", kPalette}, {"ctrl", kOpenProjectList}}.dump())
            .status,
        200);
    const json open = page.State();
    ExpectRefused(page.Send("/close", "{}"), 409, "a close while a dialog waits");
    ExpectRefused(page.Act({{"action", "enter"}}), 409, "Enter while a dialog waits");
    ExpectRefused(page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", kOpenProjectList}}),
                  409, "the palette under the dialog");
    EXPECT_EQ(page.State(), open);
    ASSERT_EQ(
        page.Act({{"action", "click"}, {"window", kProjectListDialog}, {"ctrl", kCancel}}).status,
        200);

    OpenAndCancelProjectList(page);
  });
  EXPECT_EQ(RecordedLines(), (Strings{"command RQ_HARNEX", "@200 click 201", "@203 click 2",
                                      "@200 click 201", "@203 click 2"}));
}

TEST_F(PageServerTest, ServesOnlyThePagesOwnFiles) {
  Serve([](Page& page) {
    const json before = page.State();
    const std::string page_folder = tools::BundledExamplesDir() + "/../web/page/";
    const std::string query = "?token=" + page.token();
    struct File {
      const char* path;
      const char* file;
      const char* type;
    };
    for (const File& f :
         {File{"/", "index.html", "text/html"}, File{"/index.html", "index.html", "text/html"},
          File{"/page.js", "page.js", "text/javascript"},
          File{"/page.css", "page.css", "text/css"}}) {
      const Reply reply = page.Get(f.path + query);
      EXPECT_EQ(reply.status, 200) << f.path;
      EXPECT_TRUE(reply.content_type.starts_with(f.type)) << f.path << ": " << reply.content_type;
      const std::string bytes = Slurp(page_folder + f.file);
      ASSERT_FALSE(bytes.empty()) << page_folder + f.file;
      EXPECT_TRUE(reply.text == bytes) << f.path;
    }
    ExpectRefused(page.Get("/page.js"), 403, "a page file without the token");
    for (const char* path :
         {"/../etc/passwd", "/..%2F..%2Fetc%2Fpasswd", "/%2e%2e/CMakeLists.txt", "//etc/passwd",
          "/page.js/../../x", "/web/page/page.js", "/page/page.js", "/./page.js", "/PAGE.JS",
          "/page.js%00", "/index.html/", "/CMakeLists.txt"}) {
      ExpectRefused(page.Get(path + query), 404, path);
    }
    EXPECT_EQ(page.State(), before);
    OpenAndCancelProjectList(page);
  });
  EXPECT_EQ(RecordedLines(), kOpenedAndCancelled);
}

TEST_F(PageServerTest, TheFirstOpenPageSendsTheActionsAndTheOthersWatch) {
  std::unique_ptr<PushChannel> first;
  std::unique_ptr<PushChannel> second;
  std::string last_transcript;
  Serve(
      [&](Page& page) {
        first = std::make_unique<PushChannel>(page.port(), page.token(), "A");
        ASSERT_TRUE(first->WaitForFirst());
        second = std::make_unique<PushChannel>(page.port(), page.token(), "B");
        ASSERT_TRUE(second->WaitForFirst());
        const json before = page.State();

        page.set_client("B");
        const Reply watcher =
            page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", kOpenProjectList}});
        ExpectRefused(watcher, 409, "an action of the second page");
        EXPECT_NE(watcher.body.value("message", "").find("another page"), std::string::npos)
            << watcher.text;
        ExpectRefused(page.Send("/close", "{}"), 409, "a close of the second page");
        page.set_client("");
        ExpectRefused(
            page.Act({{"action", "click"}, {"window", kPalette}, {"ctrl", kOpenProjectList}}), 409,
            "an action of a page without a client id");
        EXPECT_EQ(page.State(), before);

        page.set_client("A");
        OpenAndCancelProjectList(page);
        last_transcript = page.State().value("transcript", "");
      },
      "A");

  const std::vector<json>& a = first->Join();
  const std::vector<json>& b = second->Join();
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  for (const json& state : a) EXPECT_EQ(state.value("control", false), true) << state.dump();
  // (Once the first page's channel has ended, the second may be told it has control: at the end
  // that means nothing.)
  for (const json& state : b) {
    if (!state.value("ended", false)) {
      EXPECT_EQ(state.value("control", true), false) << state.dump();
    }
  }
  // Each page is told the end.
  EXPECT_EQ(a.back().value("ended", false), true);
  EXPECT_EQ(b.back().value("ended", false), true);
  // The controlling page saw the project list open and close, each pushed when the session
  // waited again, and the transcript came in pieces that join into the whole.
  bool saw_list = false;
  std::string joined;
  int version = 0;
  for (const json& state : a) {
    ASSERT_TRUE(state.contains("version")) << state.dump();
    EXPECT_GE(state.value("version", -1), version);
    version = state.value("version", -1);
    if (FindWindow(WindowsOf(state), kProjectListDialog) != nullptr) saw_list = true;
    const json piece = state.value("transcript", json::object());
    ASSERT_TRUE(piece.is_object()) << state.dump();
    EXPECT_EQ(piece.value("from", size_t{0}), joined.size());
    joined += piece.value("text", "");
  }
  EXPECT_TRUE(saw_list);
  EXPECT_EQ(joined, last_transcript);
  EXPECT_EQ(RecordedLines(), kOpenedAndCancelled);
}

}  // namespace
}  // namespace web_testing
