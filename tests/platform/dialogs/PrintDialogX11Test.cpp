// The print and print setup dialogs as a person uses them under X: Print from a view sends its
// pages where the dialog says, Cancel prints nothing, and the paper chosen in Print Setup shapes
// every page.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../display/XvfbServer.h"
#include "../frames/FrameTestSupport.h"
#include "ScreenPerson.h"
#include "platform/files.h"
#include "platform/printing.h"
#include "platform/time.h"

namespace printscreen {

constexpr int kFolderEdit = 1201, kPrefixEdit = 1202, kAllPages = 1203, kPageRange = 1204, kFromEdit = 1205,
              kToEdit = 1206, kLandscape = 1212;

// A view of three pages, printed at a low resolution so that pages are small.
class CPagedView : public CView {
  DECLARE_DYNCREATE(CPagedView)
public:
  void OnDraw(CDC*) override {}
  BOOL OnPreparePrinting(CPrintInfo* info) override {
    info->SetMaxPage(3);
    info->m_nDpi = 30;
    return DoPreparePrinting(info);
  }
  void OnPrint(CDC* dc, CPrintInfo* info) override {
    printed.push_back(info->m_nCurPage);
    dc->FillSolidRect(&info->m_rectDraw, RGB(0, 0, 255));
  }
  static inline std::vector<UINT> printed;
};
IMPLEMENT_DYNCREATE(CPagedView, CView)

class CPrintApp : public CWinApp {
public:
  CPrintApp() : CWinApp("PrintTester") {}
  BOOL InitInstance() override {
    AddDocTemplate(new CSingleDocTemplate(frametest::IDR_MAINFRAME, RUNTIME_CLASS(frametest::CTestDoc),
                                          RUNTIME_CLASS(frametest::CTestFrame), RUNTIME_CLASS(CPagedView)));
    OnFileNew();
    return m_pMainWnd != nullptr;
  }

protected:
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPrintApp, CWinApp)
  ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
END_MESSAGE_MAP()

// Width and height of a PNG file, from its header.
SIZE PngSize(const std::string& path) {
  unsigned char header[24] = {};
  std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(header), sizeof header);
  auto word = [&](int at) { return static_cast<LONG>(header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]); };
  return SIZE{word(16), word(20)};
}

using screentest::ScreenPerson;
using screentest::ShownDialog;

class PrintDialogX11Test : public frametest::FrameFixture {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    m_person = std::make_unique<ScreenPerson>(name);
    ASSERT_TRUE(m_person->Ready());
    platform::Clock::SetManual(false);
    platform::ProgramPrinter() = platform::PrinterSetup{};
    CPagedView::printed.clear();
    m_oldFolder = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path());
    std::filesystem::create_directory(m_dir / "out");
    ASSERT_TRUE(m_app.InitInstance());
  }
  void TearDown() override {
    if (!m_oldFolder.empty()) std::filesystem::current_path(m_oldFolder);
    platform::ProgramPrinter() = platform::PrinterSetup{};
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
  }

  CView* View() const { return MainFrame()->GetActiveView(); }
  // Whether field of the print dialog shows text.
  bool Shows(int field, const char* text) const {
    HWND dialog = ShownDialog("Print");
    return dialog && screentest::TextOf(::GetDlgItem(dialog, field)) == text;
  }
  bool Focused(int field) const {
    HWND dialog = ShownDialog("Print");
    return dialog && ::GetFocus() == ::GetDlgItem(dialog, field);
  }
  // Once field shows text (typed just before), presses key: a person looks before going on.
  void TypeInto(int field, const char* text, KeySym key) {
    m_person->Then([=, this] { return Shows(field, text); }, [=, this] { m_person->Key(ShownDialog("Print"), key); });
  }
  bool Run(CWnd* target, UINT command) {
    return m_person->Drive([&] { target->SendMessage(WM_COMMAND, command, 0); });
  }
  std::vector<std::string> Written(const char* folder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir / folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  platform::TempDir m_dir;
  std::filesystem::path m_oldFolder;
  CPrintApp m_app;
  std::unique_ptr<ScreenPerson> m_person;
};

TEST_F(PrintDialogX11Test, PrintWritesTheChosenPagesIntoTheChosenFolderAndCancelWritesNone) {
  // The folder edit has the focus, Tab leads to the prefix; choosing Pages leads to the range.
  m_person->Then([&] { return ShownDialog("Print") != nullptr; },
                 [&] {
                   HWND dialog = ShownDialog("Print");
                   EXPECT_TRUE(m_person->Snapshot(dialog, "print-dialog.png"));
                   m_person->Type(dialog, "out");
                 });
  // A person looks at each field before going on to the next.
  TypeInto(kFolderEdit, "out", XK_Tab);
  m_person->Then([&] { return Focused(kPrefixEdit); }, [&] { m_person->Type(ShownDialog("Print"), "sheet-"); });
  m_person->Then([&] { return Shows(kPrefixEdit, "sheet-"); },
                 [&] { m_person->Click(::GetDlgItem(ShownDialog("Print"), kPageRange)); });
  m_person->Then([&] { return Focused(kFromEdit); }, [&] { m_person->Type(ShownDialog("Print"), "2"); });
  TypeInto(kFromEdit, "2", XK_Tab);
  m_person->Then([&] { return Focused(kToEdit); }, [&] { m_person->Type(ShownDialog("Print"), "3"); });
  TypeInto(kToEdit, "3", XK_Return);
  ASSERT_TRUE(Run(View(), ID_FILE_PRINT));
  EXPECT_EQ(CPagedView::printed, (std::vector<UINT>{2, 3}));
  EXPECT_EQ(Written("out"), (std::vector<std::string>{"sheet-1.png", "sheet-2.png"}));

  // The printer stays where it was sent: a cancelled job there writes nothing more.
  CPagedView::printed.clear();
  m_person->Then([&] { return ShownDialog("Print") != nullptr; },
                 [&] {
                   HWND dialog = ShownDialog("Print");
                   EXPECT_EQ(screentest::TextOf(::GetDlgItem(dialog, kPrefixEdit)), "sheet-");
                   EXPECT_EQ(::IsDlgButtonChecked(dialog, kAllPages), static_cast<UINT>(BST_CHECKED));
                   m_person->Click(screentest::ChildWithText(dialog, "Cancel"));
                 });
  ASSERT_TRUE(Run(View(), ID_FILE_PRINT));
  EXPECT_TRUE(CPagedView::printed.empty());
  EXPECT_EQ(Written("out").size(), 2u);

  // Printing there again asks first: No keeps the first sheets and leaves the dialog open for
  // another prefix; asked again, Yes prints the new sheets over them.
  const auto modified = [&] { return std::filesystem::last_write_time(m_dir / "out/sheet-1.png"); };
  const auto firstPrinted = modified();
  const auto answerReplace = [&](const char* button) {
    m_person->Then([&] { return Shows(kPrefixEdit, "sheet-"); }, [&] { m_person->Key(ShownDialog("Print"), XK_Return); });
    m_person->Then([] { return screentest::ShownMessageBox() != nullptr; },
                   [=, this] { m_person->Click(screentest::ChildWithText(screentest::ShownMessageBox(), button)); });
  };
  answerReplace("&No");
  m_person->Then([&] { return !screentest::ShownMessageBox() && Focused(kPrefixEdit); },
                 [&] { m_person->Key(ShownDialog("Print"), XK_Escape); });
  ASSERT_TRUE(Run(View(), ID_FILE_PRINT));
  EXPECT_TRUE(CPagedView::printed.empty());
  EXPECT_EQ(modified(), firstPrinted);
  answerReplace("&Yes");
  ASSERT_TRUE(Run(View(), ID_FILE_PRINT));
  EXPECT_EQ(CPagedView::printed, (std::vector<UINT>{1, 2, 3}));
  EXPECT_EQ(Written("out"), (std::vector<std::string>{"sheet-1.png", "sheet-2.png", "sheet-3.png"}));
  EXPECT_NE(modified(), firstPrinted);
}

TEST_F(PrintDialogX11Test, APageRangeOutsideTheDocumentIsRefusedAndTheDialogStays) {
  m_person->Then([&] { return ShownDialog("Print") != nullptr; },
                 [&] {
                   m_person->Type(ShownDialog("Print"), "out");
                 });
  m_person->Then([&] { return Shows(kFolderEdit, "out"); },
                 [&] { m_person->Click(::GetDlgItem(ShownDialog("Print"), kPageRange)); });
  m_person->Then([&] { return Focused(kFromEdit); }, [&] { m_person->Type(ShownDialog("Print"), "2"); });
  TypeInto(kFromEdit, "2", XK_Tab);
  m_person->Then([&] { return Focused(kToEdit); },
                 [&] { m_person->Type(ShownDialog("Print"), "4"); });  // the view has three pages
  TypeInto(kToEdit, "4", XK_Return);
  m_person->Then([&] { return screentest::ShownMessageBox() != nullptr; },
                 [&] { m_person->Key(screentest::ShownMessageBox(), XK_Return); });
  m_person->Then([&] { return !screentest::ShownMessageBox() && ShownDialog("Print"); },
                 [&] { m_person->Key(ShownDialog("Print"), XK_Escape); });
  ASSERT_TRUE(Run(View(), ID_FILE_PRINT));
  EXPECT_TRUE(CPagedView::printed.empty());
  EXPECT_TRUE(Written("out").empty());
}

TEST_F(PrintDialogX11Test, ThePaperAndOrientationOfPrintSetupShapeThePrintedPages) {
  m_person->Then([&] { return ShownDialog("Print Setup") != nullptr; },
                 [&] {
                   HWND dialog = ShownDialog("Print Setup");
                   EXPECT_TRUE(m_person->Snapshot(dialog, "print-setup-dialog.png"));
                   m_person->Key(dialog, XK_Down);  // the paper list has the focus: Letter
                   m_person->Click(::GetDlgItem(dialog, kLandscape));
                 });
  m_person->Then([&] { return ::IsDlgButtonChecked(ShownDialog("Print Setup"), kLandscape) == BST_CHECKED; },
                 [&] { m_person->Key(ShownDialog("Print Setup"), XK_Return); });
  ASSERT_TRUE(Run(MainFrame(), ID_FILE_PRINT_SETUP));

  m_person->Then([&] { return ShownDialog("Print") != nullptr; },
                 [&] {
                   m_person->Type(ShownDialog("Print"), "out");
                 });
  TypeInto(kFolderEdit, "out", XK_Return);
  ASSERT_TRUE(Run(View(), ID_FILE_PRINT));
  ASSERT_EQ(Written("out").size(), 3u);
  // Letter turned: 279 by 216 millimetres at 30 dots an inch.
  SIZE page = PngSize(m_dir / "out/printed-page-1.png");
  EXPECT_EQ(page.cx, 330);
  EXPECT_EQ(page.cy, 255);
}

}  // namespace printscreen
