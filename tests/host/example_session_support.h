// A whole session on the example drawing (made by the drawing builder) with the bundled system
// folder copied and the palette open on the sample project's pattern 1F照明・コンセント, for
// scenario tests that drive it with script text and look at the transcript and the drawing.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dxf_test_support.h"
#include "host/dxf/dxf_writer.h"
#include "host/session/session.h"
#include "host/user/entity_view.h"
#include "platform/acad/dbhost.h"
#include "platform/win/text_encoding.h"
#include "tools/example_drawing.h"
#include "tools/harnex_session.h"
#include "tools/system_folder.h"

namespace host {

class ExampleSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    folder_ = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(folder_, nullptr) << error;
    ASSERT_TRUE(folder_->RememberProject(L"サンプルビル", L"1F照明・コンセント"));
  }
  void TearDown() override {
    if (session_ != nullptr && session_->database() != nullptr) {
      EXPECT_EQ(platform::acad::DescribeOpenObjects(*session_->database()), L"");
      EXPECT_TRUE(session_->host_errors().empty())
          << platform::WideToUtf8(session_->host_errors().front());
    }
    session_.reset();
    folder_.reset();
  }

  // Starts the session; with `palette` the palette is opened (RQ_HARNEX) and the transcript
  // cleared.
  void Start(int undo_steps = 50, bool palette = true) {
    Session::Options options = tools::HarnexSessionOptions();
    options.config_path = folder_->config_path();
    options.undo_steps = undo_steps;
    options.drawing = [](AcDbDatabase* db) { ASSERT_TRUE(tools::BuildExampleDrawing(db)); };
    session_ = std::make_unique<Session>(options);
    ASSERT_TRUE(session_->Start());
    if (!palette) return;
    ASSERT_EQ(session_->RunScript(L"command RQ_HARNEX\n"), 0) << Stop();
    session_->ClearTranscript();
  }

  // Runs script text and expects it to fit.
  void Run(const std::wstring& script) {
    ASSERT_EQ(session_->RunScript(script), 0) << Stop() << "\n"
                                              << platform::WideToUtf8(session_->transcript());
  }
  // Runs script lines one at a time, calling `before(i)` just before line i is given (so that
  // the drawing can be looked at between the lines of one command's prompts).
  void RunLines(const std::vector<std::wstring>& lines, const std::function<void(size_t)>& before) {
    size_t next = 0;
    session_->SetLineSource([&](std::wstring* line, int) {
      if (next >= lines.size()) return false;
      before(next);
      *line = lines[next++];
      return true;
    });
    const int status = session_->Run({});
    session_->SetLineSource(nullptr);
    ASSERT_EQ(status, 0) << Stop();
  }
  // What the command line shows for `script` alone (the transcript is cleared first).
  std::wstring Said(const std::wstring& script) {
    session_->ClearTranscript();
    Run(script);
    return Transcript();
  }
  std::string Stop() const { return platform::WideToUtf8(session_->stop_reason()); }
  std::string Dxf() const { return WriteDxf(*session_->database()); }
  std::wstring Transcript() const { return session_->transcript(); }
  std::wstring Entity(uint64_t handle) const {
    return DescribeEntity(session_->database(), handle);
  }
  bool Shows(const std::wstring& text) const {
    return Transcript().find(text) != std::wstring::npos;
  }

  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<Session> session_;
};

}  // namespace host
