#include "host/ports/Ports.h"

#include "platform/CodePages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

using namespace vorlect::ports;

TEST(Ports, ButtonSetsAndResults) {
  EXPECT_EQ(mbYesNoCancel.ToString(), "[mbYes,mbNo,mbCancel]");
  EXPECT_TRUE(mbOKCancel.Contains(mbCancel));
  EXPECT_FALSE(mbOKCancel.Contains(mbYes));
  EXPECT_EQ((ButtonSet{mbYes} + ButtonSet{mbNo}), (ButtonSet{mbNo, mbYes}));
  // The original numbering is part of the contract (stored and compared as integers).
  EXPECT_EQ(mrNone, 0);
  EXPECT_EQ(mrOk, 1);
  EXPECT_EQ(mrYes, 6);
  EXPECT_EQ(mrYesToAll, 10);
  for (MsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll})
    EXPECT_EQ(ButtonOfResult(ResultOfButton(b)), b);
  EXPECT_EQ(ResultOfButton(mbHelp), mrNone);
  EXPECT_FALSE(ButtonOfResult(mrNone));
}

TEST(Ports, ScriptedAnswersInOrderAndRecordsEverything) {
  ScriptedPorts script;
  ScopedPorts scope(script);
  script.queueAnswer(mrYes);
  script.queueAnswer(mrCancel);
  EXPECT_EQ(MessageDlg("Save changes to\rMain.dfm?", mtConfirmation, mbYesNoCancel, 17), mrYes);
  ShowMessage("Done.");  // an OK-only message takes no answer
  EXPECT_EQ(MessageDlg("Again?", mtWarning, mbYesNoCancel), mrCancel);
  ASSERT_EQ(script.messages().size(), 3u);
  const auto& first = script.messages()[0];
  EXPECT_EQ(first.text, "Save changes to\rMain.dfm?");
  EXPECT_EQ(first.type, mtConfirmation);
  EXPECT_EQ(first.buttons, mbYesNoCancel);
  EXPECT_EQ(first.helpCtx, 17);
  EXPECT_EQ(script.messages()[1].buttons, ButtonSet{mbOK});
  EXPECT_EQ(script.messages()[1].result, mrOk);
  EXPECT_EQ(script.pendingAnswers(), 0u);
}

TEST(Ports, ScriptedFailsLoudlyInsteadOfGuessing) {
  ScriptedPorts script;
  EXPECT_THROW(script.MessageDlg("Delete?", mtConfirmation, ButtonSet{mbYes, mbNo}, 0), ScriptError);
  script.queueAnswer(mrOk);  // not offered by a Yes/No question
  EXPECT_THROW(script.MessageDlg("Delete?", mtConfirmation, ButtonSet{mbYes, mbNo}, 0), ScriptError);
  EXPECT_EQ(script.pendingAnswers(), 1u);  // the misfit answer stays for inspection
  std::string value;
  EXPECT_THROW(script.InputQuery("c", "p", value), ScriptError);
  EXPECT_THROW(script.OpenFileDialog({}), ScriptError);
  EXPECT_EQ(script.messages().size(), 2u);  // failed questions are recorded too
}

TEST(Ports, ScriptedInputAndFileDialogs) {
  ScriptedPorts script;
  ScopedPorts scope(script);
  script.queueInput("Deutsch");
  script.queueInput(std::nullopt);
  std::string value = "proposal";
  EXPECT_TRUE(InputQuery("New language", "Name:", value));
  EXPECT_EQ(value, "Deutsch");
  EXPECT_FALSE(InputQuery("New language", "Name:", value));
  EXPECT_EQ(value, "Deutsch");  // unchanged on cancel
  EXPECT_EQ(script.inputs()[0].proposed, "proposal");

  script.queueFile("/tmp/out.csv");
  script.queueFile(std::nullopt);
  FileDialogOptions options{"Export", "CSV files|*.csv|All|*.*", "csv", "/tmp", ""};
  EXPECT_EQ(SaveFileDialog(options), "/tmp/out.csv");
  EXPECT_EQ(OpenFileDialog(options), std::nullopt);
  ASSERT_EQ(script.fileDialogs().size(), 2u);
  EXPECT_TRUE(script.fileDialogs()[0].save);
  EXPECT_EQ(script.fileDialogs()[1].options.filter, "CSV files|*.csv|All|*.*");
}

TEST(Ports, CliAnswersWithDefaultAndPrintsLineFeeds) {
  std::ostringstream out;
  CliPorts cli(mrNo, out);
  EXPECT_EQ(cli.MessageDlg("Overwrite\rfile?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  EXPECT_EQ(cli.MessageDlg("Continue?", mtWarning, mbOKCancel, 0), mrCancel);   // No not offered
  EXPECT_EQ(cli.MessageDlg("Retry?", mtError, mbAbortRetryIgnore, 0), mrAbort);
  EXPECT_EQ(cli.MessageDlg("All?", mtConfirmation, ButtonSet{mbYesToAll, mbAll}, 0), mrAll);
  EXPECT_EQ(cli.MessageDlg("Note", mtInformation, ButtonSet{mbOK}, 0), mrOk);
  std::string value = "x";
  EXPECT_FALSE(cli.InputQuery("c", "p", value));
  EXPECT_EQ(cli.SaveFileDialog({}), std::nullopt);
  const std::string text = out.str();
  EXPECT_NE(text.find("Confirm: Overwrite\nfile? [mbYes,mbNo,mbCancel] -> No\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Information: Note\n"), std::string::npos) << text;
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(Ports, CliConvertsAnsiTextForTheTerminal) {
  std::ostringstream out;
  CliPorts cli(mrCancel, out);
  cli.MessageDlg("Gr\xfc\xdf" "e", mtCustom, ButtonSet{mbOK}, 0);
  if (vorlect::platform::AnsiCodePage() != 1252) GTEST_SKIP() << "needs ANSI code page 1252";
  EXPECT_EQ(out.str(), "Message: Gr\xc3\xbc\xc3\x9f" "e\n");
}

TEST(Ports, DefaultPortsAreNonInteractive) {
  ASSERT_EQ(SetCurrentPorts(nullptr), nullptr);
  EXPECT_EQ(MessageDlg("Default?", mtConfirmation, ButtonSet{mbYes, mbNo}), mrNo);
  SetClipboardText("copied");
  EXPECT_EQ(GetClipboardText(), "copied");
}

TEST(Ports, SynchronizeRunsOnMainThread) {
  ScriptedPorts script;
  ScopedPorts scope(script);
  const auto mainId = std::this_thread::get_id();
  int direct = 0;
  Synchronize([&] { ++direct; });
  EXPECT_EQ(direct, 1);  // on the main thread: at once

  std::atomic<bool> workerDone{false};
  std::thread::id ranOn;
  std::string caught;
  std::thread worker([&] {
    Synchronize([&] { ranOn = std::this_thread::get_id(); });
    try {
      Synchronize([] { throw std::runtime_error("boom"); });
    } catch (const std::runtime_error& e) {
      caught = e.what();
    }
    workerDone = true;
  });
  int processed = 0;
  while (!workerDone) processed += ProcessSynchronizeQueue();
  worker.join();
  EXPECT_EQ(processed, 2);
  EXPECT_EQ(ranOn, mainId);
  EXPECT_EQ(caught, "boom");
}

TEST(Ports, FixedTextMetrics) {
  FontSpec font;  // 8 pt -> 11 px
  EXPECT_EQ(font.PixelHeight(), 11);
  font.height = -13;
  EXPECT_EQ(font.PixelHeight(), 13);
  EXPECT_EQ(MeasureText("abcd", font), (TextExtent{4 * 7, 13 + 2}));
  EXPECT_EQ(MeasureText("ab\r\nabcdef\rx", font), (TextExtent{6 * 7, 3 * 15}));
  EXPECT_EQ(TextWidth("", font), 0);
  EXPECT_EQ(TextHeight("", font), 15);
  font.bold = true;
  EXPECT_GT(TextWidth("abcd", font), 4 * 7);
}
