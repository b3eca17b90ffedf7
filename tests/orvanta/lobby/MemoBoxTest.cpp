// The memo file and the memo box, headless: what is kept goes to "./Message.dat" and comes back
// from it byte for byte, and nothing half written ever replaces it.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include <platform/controls.h>
#include <platform/files.h>
#include <platform/messageloop.h>
#include <platform/msgbox.h>
#include <platform/resources.h>
#include <platform/uiscript.h>

#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/MemoFile.h"
#include "orvanta/lobby/SendMessageDlg.h"
#include "orvanta/resources/OrvantaResources.h"

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs body in a child process as an ordinary user, so that file modes hold (root ignores them);
// the child's exit code: 0 when body held, 1 when not, 2 when the user could not be changed.
int AsOrdinaryUser(const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(2);
    ::_exit(body() ? 0 : 1);
  }
  int status = -1;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

// A folder every user may enter and write to, removed with its files.
class SharedFolder {
public:
  SharedFolder() {
    char name[] = "/tmp/memo-box-XXXXXX";
    if (::mkdtemp(name)) {
      m_path = name;
      ::chmod(name, 0777);
    }
  }
  ~SharedFolder() {
    if (!m_path.empty())
      std::filesystem::remove_all(m_path);
  }
  const std::string& Path() const { return m_path; }

private:
  std::string m_path;
};

class MemoScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND wnd) override {
    dialogs.push_back(templateId);
    if (templateId != CSendMessageDlg::kTemplateId)
      return IDCANCEL;
    CWnd* dialog = CWnd::FromHandle(wnd);
    CString receiver;
    dialog->GetDlgItemText(CSendMessageDlg::kReceiverEdit, receiver);
    receivers.push_back(receiver.str());
    dialog->SetDlgItemText(CSendMessageDlg::kReceiverEdit, "someone-else");
    dialog->SetDlgItemText(CSendMessageDlg::kTextEdit, "thanks");
    return IDOK;
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    shown.push_back(text);
    return answer;
  }
  int answer{IDYES};
  std::vector<UINT> dialogs;
  std::vector<std::string> receivers;
  std::vector<std::string> shown;
};

class MemoBoxTest : public ::testing::Test {
protected:
  MemoBoxTest() {
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-memo-box-tests");
    RegisterOrvantaResources(module.Handle());
    m_resources.emplace(module.Handle());
  }
  ~MemoBoxTest() override {
    if (box && box->m_hWnd)
      box->DestroyWindow();
    box.reset();
    platform::ResetMessageQueue();
  }
  void OpenBox() {
    box = std::make_unique<CMemoBoxDlg>(nullptr, CString(path.c_str()));
    ASSERT_TRUE(box->CreateHidden(nullptr));
  }
  std::vector<std::string> Ids() {
    std::vector<std::string> ids;
    for (int i = 0; i < box->GetList().GetItemCount(); ++i) ids.push_back(box->GetList().GetItemText(i, 2).str());
    return ids;
  }

  platform::TempDir folder;
  std::string path{folder.Path() + "/Message.dat"};
  MemoScript script;
  platform::ScopedUiScript scoped{&script};
  std::unique_ptr<CMemoBoxDlg> box;
  std::optional<platform::ResourceScope> m_resources;
};

TEST(MemoFileTest, TextsParseAndComposeAsTheFileHoldsThem) {
  EXPECT_TRUE(CMemoFile::Parse("/").empty());
  EXPECT_TRUE(CMemoFile::Parse("").empty());
  const CString text = CString("/||2026-12-01 10:00|amy|Amy|hello there|/||2026-12-02|bo|") + Cp949("보람") + "|" +
                       Cp949("안녕하세요") + "|/";
  const std::vector<CMemoEntry> memos = CMemoFile::Parse(text);
  ASSERT_EQ(memos.size(), 2u);
  EXPECT_EQ(memos[0].date, "2026-12-01 10:00");
  EXPECT_EQ(memos[0].id, "amy");
  EXPECT_EQ(memos[0].contents, "hello there");
  EXPECT_EQ(memos[1].name, Cp949("보람"));
  EXPECT_EQ(CMemoFile::Compose(memos), text);
  // A record cut short gives empty fields and no more records than the file's separators.
  const std::vector<CMemoEntry> cut = CMemoFile::Parse("/||d|x");
  EXPECT_TRUE(cut.empty());
  const std::vector<CMemoEntry> shortRecord = CMemoFile::Parse("/||d|/");
  ASSERT_EQ(shortRecord.size(), 1u);
  EXPECT_EQ(shortRecord[0].date, "d");
  EXPECT_EQ(shortRecord[0].id, "");
}

TEST(MemoFileTest, SeparatorsInsideFieldsComeBackUnchangedAndPlainFilesReadAsBefore) {
  // Memos from the server may hold "/" and "|"; each must come back as it was, one memo each.
  const std::vector<CMemoEntry> memos = {
      {"2026/12/01 09:00", "amy", "Amy", "see http://x.example/a"},
      {"d", "b|o", "B/o", "a|b/c||//"},
      {"", "", "", ""},
      {"\xFF", "x\xFFs", "/|\xFF", CString(Cp949("바둑/한판")) + "|" + Cp949("어때요?")},
  };
  const CString text = CMemoFile::Compose(memos);
  EXPECT_EQ(std::count(text.str().begin(), text.str().end(), '/'), static_cast<long>(memos.size()) + 1) << text.str();
  const std::vector<CMemoEntry> back = CMemoFile::Parse(text);
  ASSERT_EQ(back.size(), memos.size());
  for (std::size_t i = 0; i < memos.size(); ++i) {
    EXPECT_EQ(back[i].date, memos[i].date) << i;
    EXPECT_EQ(back[i].id, memos[i].id) << i;
    EXPECT_EQ(back[i].name, memos[i].name) << i;
    EXPECT_EQ(back[i].contents, memos[i].contents) << i;
  }
  // A file of plain fields (as every earlier file is) reads and writes byte for byte, whatever
  // other marks its texts hold.
  const CString plain = CString("/||2026-12-01|amy|Amy|50% off \\ C:\\go \"quoted\" s b|/||d|") + Cp949("보람") + "|" +
                        Cp949("보람") + "|" + Cp949("잘 지내요?") + "|/";
  const std::vector<CMemoEntry> old = CMemoFile::Parse(plain);
  ASSERT_EQ(old.size(), 2u);
  EXPECT_EQ(old[0].contents, "50% off \\ C:\\go \"quoted\" s b");
  EXPECT_EQ(CMemoFile::Compose(old), plain);
}

TEST_F(MemoBoxTest, AMemoFromTheServerWithSeparatorsIsKeptWhole) {
  OpenBox();
  box->AddMemo("2026/12/01 09:00", "amy", "Amy", "see http://x.example/a | ok");
  box->GetList().SetCheck(0, TRUE);
  box->SaveMemos();
  box->DestroyWindow();
  OpenBox();
  ASSERT_EQ(box->GetList().GetItemCount(), 1);
  EXPECT_EQ(box->GetList().GetItemText(0, 1), "2026/12/01 09:00");
  EXPECT_EQ(box->GetList().GetItemText(0, 4), "see http://x.example/a | ok");
  EXPECT_TRUE(box->GetList().GetCheck(0));
  // Saved again unchanged, it stays one memo.
  const std::string once = ReadBytes(path);
  box->SaveMemos();
  EXPECT_EQ(ReadBytes(path), once);
}

TEST_F(MemoBoxTest, TheTextEndsAtANulLikeTheStoredBuffer) {
  WriteBytes(path, std::string("/||d1|a|A|one|/") + '\0' + "||d2|b|B|two|/");
  OpenBox();
  EXPECT_EQ(Ids(), std::vector<std::string>{"a"});
}

// A Message.dat this user may not write, or one in a folder this user may not write to, is left
// as it is: the box shows no kept memos, and a save writes nothing and leaves no temporary file.
TEST_F(MemoBoxTest, AFileThatCannotBeWrittenIsLeftAlone) {
  SharedFolder shared;
  ASSERT_FALSE(shared.Path().empty());
  const std::string kept = "/||d|amy|Amy|kept for years|/";
  struct Case {
    const char* what;
    mode_t fileMode;
    mode_t folderMode;
  };
  const Case cases[] = {
      {"read-only file in a writable folder", 0444, 0777},
      {"writable file in a read-only folder", 0666, 0555},
  };
  for (const Case& c : cases) {
    const std::string file = shared.Path() + "/Message.dat";
    ::chmod(shared.Path().c_str(), 0777);
    std::filesystem::remove(file);
    WriteBytes(file, kept);
    ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
    ASSERT_EQ(::chmod(shared.Path().c_str(), c.folderMode), 0);
    const int result = AsOrdinaryUser([&] {
      CMemoBoxDlg child(nullptr, CString(file.c_str()));
      if (!child.CreateHidden(nullptr))
        return false;
      const bool openedEmpty = c.fileMode != 0444 || child.GetList().GetItemCount() == 0;
      child.AddMemo("2026-12-09", "bo", "Bo", "new one");
      child.GetList().SetCheck(child.GetList().GetItemCount() - 1, TRUE);
      child.SaveMemos();
      const bool refused = !CMemoFile::WriteText(CString(file.c_str()), "/");
      child.DestroyWindow();
      return openedEmpty && refused;
    });
    ::chmod(shared.Path().c_str(), 0777);
    EXPECT_EQ(result, 0) << c.what;
    EXPECT_EQ(ReadBytes(file), kept) << c.what;
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp")) << c.what;
  }
  // A file that may be written is replaced whole, with no temporary left behind.
  const std::string file = shared.Path() + "/Message.dat";
  ::chmod(file.c_str(), 0666);
  ASSERT_TRUE(CMemoFile::WriteText(CString(file.c_str()), "/||d|b|B|new|/"));
  EXPECT_EQ(ReadBytes(file), "/||d|b|B|new|/");
  EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
}

TEST_F(MemoBoxTest, KeptMemosComeBackCheckedAndByteForByte) {
  const std::string stored = "/||2026-12-01 10:00|amy|Amy|hello there|/||2026-12-02|bo|" +
                             std::string(Cp949("보람")) + "|" + std::string(Cp949("잘 지내요?")) + "|/";
  WriteBytes(path, stored);
  OpenBox();
  EXPECT_EQ(Ids(), (std::vector<std::string>{"amy", "bo"}));
  EXPECT_TRUE(box->GetList().GetCheck(0));
  EXPECT_TRUE(box->GetList().GetCheck(1));
  EXPECT_EQ(box->GetTip(), "You can read a saved message by selecting the item.");
  EXPECT_NE(box->GetTipTimerId(), 0u);
  box->SaveMemos();
  EXPECT_EQ(ReadBytes(path), stored);
  EXPECT_EQ(box->GetTipTimerId(), 0u);

  // A memo from the server, one cleared check box: the file holds the checked rows in list order.
  box->AddMemo("2026-12-03", "cy", "Cy", "new one");
  box->GetList().SetCheck(2, TRUE);
  box->GetList().SetCheck(0, FALSE);
  box->SelectNewest();
  EXPECT_EQ(box->GetContents(), "new one");
  box->SaveMemos();
  EXPECT_EQ(ReadBytes(path), "/||2026-12-02|bo|" + std::string(Cp949("보람")) + "|" + std::string(Cp949("잘 지내요?")) +
                                 "|/||2026-12-03|cy|Cy|new one|/");
}

TEST_F(MemoBoxTest, NoFileGivesAnEmptyBoxAndAnEmptyBoxWritesNothing) {
  OpenBox();
  EXPECT_EQ(box->GetList().GetItemCount(), 0);
  box->SaveMemos();
  EXPECT_FALSE(std::filesystem::exists(path));
  WriteBytes(path, "/");
  box->LoadMemos();
  EXPECT_EQ(box->GetList().GetItemCount(), 0);
}

TEST_F(MemoBoxTest, DeletingAsksFirstAndDeleteAllKeepsTheFile) {
  WriteBytes(path, "/||d1|a|A|one|/||d2|b|B|two|/||d3|c|C|three|/");
  OpenBox();
  // Nothing selected: no question, nothing deleted.
  box->SendMessage(WM_COMMAND, CMemoBoxDlg::kDeleteCommand);
  EXPECT_TRUE(script.shown.empty());
  box->GetList().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  script.answer = IDNO;
  box->SendMessage(WM_COMMAND, CMemoBoxDlg::kDeleteCommand);
  EXPECT_EQ(Ids(), (std::vector<std::string>{"a", "b", "c"}));
  script.answer = IDYES;
  box->SendMessage(WM_COMMAND, CMemoBoxDlg::kDeleteCommand);
  EXPECT_EQ(Ids(), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(script.shown.back(), "Do you wish to delete the selected message?");
  box->SendMessage(WM_COMMAND, CMemoBoxDlg::kDeleteAllCommand);
  EXPECT_EQ(script.shown.back(), "Do you wish to delete all memos?");
  EXPECT_EQ(box->GetList().GetItemCount(), 0);
  box->SaveMemos();
  EXPECT_EQ(ReadBytes(path), "/||d1|a|A|one|/||d2|b|B|two|/||d3|c|C|three|/");
}

TEST_F(MemoBoxTest, AReplyGoesToTheSenderWhateverTheReceiverBoxSays) {
  WriteBytes(path, "/||d1|amy|Amy|one|/||d2|bo|Bo|two|/");
  OpenBox();
  std::vector<std::pair<std::string, std::string>> sent;
  box->SetMemoSender([&](const CString& to, const CString& text) { sent.emplace_back(to.str(), text.str()); });
  box->SendMessage(WM_COMMAND, CMemoBoxDlg::kReplyCommand);
  EXPECT_TRUE(script.dialogs.empty());  // no row selected
  box->GetList().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  box->SendMessage(WM_COMMAND, CMemoBoxDlg::kReplyCommand);
  EXPECT_EQ(script.receivers, std::vector<std::string>{"bo"});
  EXPECT_EQ(sent, (std::vector<std::pair<std::string, std::string>>{{"bo", "thanks"}}));
}

TEST_F(MemoBoxTest, OkOnlyHidesTheBoxAndColumnClicksSort) {
  WriteBytes(path, "/||d1|b|20|x|/||d2|a|3|y|/||d3|c|100|z|/");
  OpenBox();
  box->ShowWindow(SW_SHOW);
  box->SendMessage(WM_COMMAND, MAKEWPARAM(CMemoBoxDlg::kOkButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(box->GetDlgItem(CMemoBoxDlg::kOkButton)->m_hWnd));
  EXPECT_FALSE(box->IsWindowVisible());
  EXPECT_EQ(box->GetList().GetItemCount(), 3);
  NMLISTVIEW click{};
  click.hdr.hwndFrom = box->GetList().m_hWnd;
  click.hdr.idFrom = CMemoBoxDlg::kMemoList;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iSubItem = 3;  // names sort as numbers
  box->SendMessage(WM_NOTIFY, CMemoBoxDlg::kMemoList, reinterpret_cast<LPARAM>(&click));
  box->SendMessage(WM_NOTIFY, CMemoBoxDlg::kMemoList, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(Ids(), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
