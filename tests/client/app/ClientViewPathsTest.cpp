// The view's own paths, as the program takes them: relay lines reaching its labels, clocks and
// buttons, the toggles of its modeless dialogs, the frame's start-up size and its smallest width,
// full screen, the screen check, the login limit, About, the exit question, right click, and
// Help, Open and Save As through the file-dialog answers of the UI script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "ClientSessionSupport.h"
#include "client/widgets/HoverButton.h"
#include "platform/gdi.h"
#include "platform/testinput.h"
#include "support/SnapshotPath.h"

namespace {

using clienttest::Session;

std::string Str(const CString& text) { return std::string(static_cast<const char*>(text)); }

CRect ChildRect(CWnd& parent, int id) {
  CRect rect;
  parent.GetDlgItem(id)->GetWindowRect(&rect);
  parent.ScreenToClient(&rect);
  return rect;
}

bool Enabled(CClientView& view, int id) { return view.GetDlgItem(id)->IsWindowEnabled() != FALSE; }

TEST(ClientViewPathsTest, RelayLinesReachTheLabelsClocksAndButtons) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay("gi|bn|Kim\n", [&] { return s.Text(IDC_BLACK_NAME).Find("Kim") == 0; }));

  // A name line repaints the view under its transparent label, so no trace of the old name stays.
  s.frame->ShowWindow(SW_SHOW);
  view.UpdateWindow();
  CRect pending;
  ASSERT_FALSE(view.GetUpdateRect(&pending));
  const char* line = "gi|bn|Park";
  view.DoReceive(static_cast<int>(std::strlen(line)), line);
  EXPECT_EQ(s.Text(IDC_BLACK_NAME).Find("Park"), 0);
  ASSERT_TRUE(view.GetUpdateRect(&pending));
  CRect overlap;
  EXPECT_TRUE(overlap.IntersectRect(&pending, ChildRect(view, IDC_BLACK_NAME)));

  // Both clocks from "sr"; black takes a white stone and the capture labels count it.
  ASSERT_TRUE(s.Relay("am|001|b|ba|1999999000|010000|010000\n"
                      "am|002|w|aa|1999999001|010000|010000\n"
                      "am|003|b|ab|1999999002|010000|010000\n"
                      "sr|012345|020304\n"
                      "eh\n",
                      [&] { return view.IsHistoryComplete() && view.GetBoard().GetLastMove() == 3; }));
  EXPECT_EQ(Str(s.Text(IDC_WHITE_CLOCK)), "01 : 23 : 45");
  EXPECT_EQ(Str(s.Text(IDC_BLACK_CLOCK)), "02 : 03 : 04");
  EXPECT_EQ(Str(s.Text(IDC_BLACK_CAPTURES)), "Capture :   1");
  EXPECT_EQ(Str(s.Text(IDC_WHITE_CAPTURES)), "Capture :   0");

  // A diagram filed for the move on the board makes "ref" available; one for another move not.
  auto* ref = dynamic_cast<CHoverButton*>(view.GetDlgItem(IDC_BTN_REF));
  ASSERT_NE(ref, nullptr);
  ref->EnableButton(FALSE);
  ASSERT_TRUE(s.Relay("ar|2|1|b|cc|x\ner|2|1\n", [&] { return view.GetDiagrams().GetDiagramCount(2) == 1; }));
  EXPECT_FALSE(Enabled(view, IDC_BTN_REF));
  ASSERT_TRUE(s.Relay("ar|3|1|b|cc|x\ner|3|1\n", [&] { return view.GetDiagrams().GetDiagramCount(3) == 1; }));
  EXPECT_TRUE(Enabled(view, IDC_BTN_REF));
  EXPECT_EQ(ref->GetDrawState(), CHoverButton::kNormal);
}

// After "eh": "playinfo" for any login; "voice" and "delay" only with a voice stream.
TEST(ClientViewPathsTest, ButtonsAfterTheHistoryFollowTheVoiceStream) {
  struct Case {
    const char* name;
    bool voice;
    const char* lines;
    bool voiceButton;
  };
  const Case cases[] = {
      {"text commentary", false, "mu|null\neh\n", false},
      {"voice commentary", true, "mu|rtsp://127.0.0.1/relay.rm\neh\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    s.script.voice = c.voice;
    s.Start();
    ASSERT_NE(s.view, nullptr);
    CClientView& view = *s.view;
    EXPECT_FALSE(Enabled(view, IDC_BTN_DELAY));
    ASSERT_TRUE(s.Relay(c.lines, [&] { return view.IsHistoryComplete(); }));
    EXPECT_TRUE(Enabled(view, IDC_BTN_PLAYINFO));
    EXPECT_EQ(Enabled(view, IDC_BTN_VOICE), c.voiceButton);
    EXPECT_EQ(Enabled(view, IDC_BTN_DELAY), c.voiceButton);
    view.OnDisconnectCommand();
    EXPECT_FALSE(Enabled(view, IDC_BTN_PLAYINFO));
    EXPECT_FALSE(Enabled(view, IDC_BTN_DELAY));
  }
}

TEST(ClientViewPathsTest, TheModelessDialogsToggleAndCloseThroughTheView) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay("am|001|b|pd|1999999000|010000|010000\neh\n", [&] { return view.IsHistoryComplete(); }));
  struct Toggle {
    const char* name;
    UINT command;
    int button;
    std::function<bool()> open;
  };
  const Toggle toggles[] = {
      {"user move", ID_USER_MOVE, IDC_BTN_SELF, [&] { return view.IsUserMoveDialogOpen(); }},
      {"game diagram", ID_GAME_DIAGRAM, IDC_BTN_REF, [&] { return view.IsDiagramDialogOpen(); }},
  };
  for (const Toggle& t : toggles) {
    SCOPED_TRACE(t.name);
    view.SendMessage(WM_COMMAND, t.command, 0);
    ASSERT_TRUE(t.open());
    view.SendMessage(WM_COMMAND, t.command, 0);
    EXPECT_FALSE(t.open());
    // The form's button opens it too; its own Cancel asks the view, which closes it.
    view.SendMessage(WM_COMMAND, MAKEWPARAM(t.button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(view.GetDlgItem(t.button)->GetSafeHwnd()));
    ASSERT_TRUE(t.open());
    HWND dialog = nullptr;
    for (HWND w : platform::AllWindows()) {
      if (::IsWindowVisible(w) && dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(w)) != nullptr) dialog = w;
    }
    ASSERT_NE(dialog, nullptr);
    ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
    platform::PumpMessages();
    EXPECT_FALSE(t.open());
    EXPECT_FALSE(::IsWindow(dialog));
  }
}

TEST(ClientViewPathsTest, TheFrameFitsTheFormAndItsSmallestWidthKeepsThePanelWhole) {
  Session s;
  s.script.login = false;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  CRect client;
  view.GetClientRect(&client);
  EXPECT_EQ(client.Size(), view.GetTotalSize());  // sized to the form at start-up

  // Narrowed as far as the frame lets a person, the panel still ends inside the view, clear of
  // the board and its coordinates.
  const CSize least = s.frame->GetMinTrackSize();
  CRect frame;
  s.frame->GetWindowRect(&frame);
  s.frame->SetWindowPos(nullptr, 0, 0, least.cx, frame.Height(), SWP_NOMOVE | SWP_NOZORDER);
  view.GetClientRect(&client);
  CRect board;
  view.GetBoard().GetWindowRect(&board);
  view.ScreenToClient(&board);
  const CRect photo = ChildRect(view, IDC_BLACK_PHOTO);
  const CRect input = ChildRect(view, IDC_QUESTION_EDIT);
  EXPECT_GE(client.right, input.right + 22);  // the panel's edge lies beyond the input's end
  EXPECT_GE(client.right, photo.right);
  const int panelLeft = ChildRect(view, IDC_WHITE_PHOTO).left - (view.GetPanelWidth() - 2 * CClientView::kPhotoWidth) / 3;
  EXPECT_GE(panelLeft, board.right + 10);
  EXPECT_EQ(panelLeft + view.GetPanelWidth(), client.right);
}

// A control's rectangle on the screen.
CRect ScreenRect(CWnd& window) {
  CRect rect;
  window.GetWindowRect(&rect);
  return rect;
}

// On the smallest screen the program accepts, the whole window is on the screen with every pane
// in it; the coordinates stay clear of the button bar, and with the bar hidden the board leaves
// the panel its room.
TEST(ClientViewPathsTest, OnAnEightHundredBySixHundredScreenTheWholeWindowFits) {
  const SIZE screen = platform::GetScreenSize();
  platform::SetScreenSize(SIZE{800, 600});
  struct Restore {
    SIZE size;
    ~Restore() { platform::SetScreenSize(size); }
  } restore{screen};
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay("gi|bn|Kim Relay\ngi|wn|Lee Viewer\nam|001|b|pd|1999999000|010000|010000\neh\n",
                      [&] { return view.IsHistoryComplete(); }));
  const CRect desk(0, 0, 800, 600);
  const CRect frame = ScreenRect(*s.frame);
  CRect inside;
  EXPECT_TRUE(inside.IntersectRect(&frame, &desk) && inside == frame) << frame.left << "," << frame.top << " "
                                                                      << frame.Width() << "x" << frame.Height();
  // Everything a person uses is on the screen, inside the view or the frame.
  const CRect viewRect = ScreenRect(view);
  for (int id : {IDC_BTN_EXIT, IDC_BTN_VOICE, IDC_BTN_LAST, IDC_QUESTION_EDIT, IDC_ANSWER_PANE, IDC_COMMENT_PANE,
                 IDC_BLACK_PHOTO, IDC_BLACK_CLOCK}) {
    SCOPED_TRACE(id);
    const CRect control = ScreenRect(*view.GetDlgItem(id));
    EXPECT_TRUE(inside.IntersectRect(&control, &viewRect) && inside == control);
    EXPECT_GT(control.Height(), 0);
  }
  const CRect status = ScreenRect(s.frame->GetStatusBar());
  EXPECT_TRUE(::IsWindowVisible(s.frame->GetStatusBar().GetSafeHwnd()));
  EXPECT_TRUE(inside.IntersectRect(&status, &desk) && inside == status);
  EXPECT_LE(viewRect.bottom, status.top);
  // The board's letters (a row under it) end above the first row of buttons.
  const CRect board = ScreenRect(view.GetBoard());
  const CRect first = ScreenRect(*view.GetDlgItem(IDC_BTN_FIRST));
  EXPECT_LE(board.bottom + 11, first.top);
  s.frame->UpdateWindow();
  platform::PumpMessages();
  ASSERT_TRUE(platform::SaveSurfacePng(s.frame->GetSafeHwnd(), testsupport::SnapshotPath("client_800x600.png").c_str()));

  // The bar hidden: the board grows into the height, but only as far as the width beside the panel
  // allows; the panel stays whole in the window.
  view.SendMessage(WM_COMMAND, ID_VIEW_BUTTONBAR, 0);
  platform::PumpMessages();
  const CRect grown = ScreenRect(view.GetBoard());
  EXPECT_GE(grown.Height(), board.Height());
  const CRect client = [&] {
    CRect rect;
    view.GetClientRect(&rect);
    view.ClientToScreen(&rect);
    return rect;
  }();
  for (int id : {IDC_BLACK_PHOTO, IDC_BLACK_NAME, IDC_QUESTION_EDIT, IDC_COMMENT_PANE}) {
    SCOPED_TRACE(id);
    const CRect control = ScreenRect(*view.GetDlgItem(id));
    EXPECT_LE(control.right, client.right);
    EXPECT_GE(control.left, grown.right + 10);  // clear of the board's numbers
  }
  EXPECT_LE(grown.bottom + 11, client.bottom);
  s.frame->UpdateWindow();
  platform::PumpMessages();
  ASSERT_TRUE(platform::SaveSurfacePng(s.frame->GetSafeHwnd(),
                                       testsupport::SnapshotPath("client_800x600_no_bar.png").c_str()));
  // And back: the bar returns below the board with the letters clear of it.
  view.SendMessage(WM_COMMAND, ID_VIEW_BUTTONBAR, 0);
  platform::PumpMessages();
  EXPECT_LE(ScreenRect(view.GetBoard()).bottom + 11, ScreenRect(*view.GetDlgItem(IDC_BTN_FIRST)).top);
}

TEST(ClientViewPathsTest, FullScreenAboutRightClickAndTheExitQuestion) {
  Session s;
  s.script.login = false;
  CString aboutTitle, aboutText;
  HICON aboutIcon = nullptr;
  s.script.onDialog = [&](UINT templateId, HWND dialog) -> std::optional<INT_PTR> {
    if (templateId == IDD_ABOUTBOX) {
      char text[128] = {};
      ::GetWindowText(dialog, text, sizeof text);
      aboutTitle = text;
      ::GetWindowText(::GetDlgItem(dialog, IDC_ABOUT_VERSION), text, sizeof text);
      aboutText = text;
      aboutIcon = reinterpret_cast<HICON>(::SendDlgItemMessage(dialog, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
    }
    return IDOK;
  };
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;

  // Full screen puts the frame's caption and menu above the screen; the second press restores it.
  CRect before;
  s.frame->GetWindowRect(&before);
  view.SendMessage(WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
  EXPECT_TRUE(s.frame->IsFullScreen());
  EXPECT_TRUE(s.frame->IsZoomed());
  view.SendMessage(WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
  EXPECT_FALSE(s.frame->IsFullScreen());
  EXPECT_FALSE(s.frame->IsZoomed());
  CRect after;
  s.frame->GetWindowRect(&after);
  EXPECT_EQ(after, before);

  // About shows the program's name, version and picture.
  s.frame->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
  EXPECT_EQ(Str(aboutTitle), "Ondrivo Client Information");
  EXPECT_EQ(Str(aboutText), "Ondrivo Client Version 1.0");
  EXPECT_NE(aboutIcon, nullptr);

  // A right click on the form shows the next move.
  ASSERT_TRUE(view.OpenRecordFile(TEST_DATA_DIR "/relay-demo.sgf"));
  view.OnMoveFirst();
  platform::input::Click(view.GetSafeHwnd(), CPoint(5, 5), platform::input::Button::Right);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 1);

  // "exit" asks first: Cancel keeps the program, OK closes the frame.
  s.script.messageAnswer = IDCANCEL;
  view.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_EXIT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(view.GetDlgItem(IDC_BTN_EXIT)->GetSafeHwnd()));
  platform::PumpMessages();
  ASSERT_FALSE(s.script.messages.empty());
  EXPECT_EQ(s.script.messages.back(), "Will you exit the program?");
  ASSERT_TRUE(::IsWindow(s.frame->GetSafeHwnd()));
  s.script.messageAnswer = IDOK;
  HWND frame = s.frame->GetSafeHwnd();
  view.ConfirmExit();
  ASSERT_TRUE(Session::WaitFor([&] { return !::IsWindow(frame); }));
}

TEST(ClientViewPathsTest, TheScreenCheckAndTheLoginsSixteenCharacters) {
  {
    const SIZE screen = platform::GetScreenSize();
    platform::SetScreenSize(SIZE{799, 600});
    Session s;
    s.Start();
    platform::SetScreenSize(screen);
    ASSERT_FALSE(s.script.messages.empty());
    EXPECT_EQ(s.script.messages.front(), "This program desire above 800x600 resolution.");
    // The view's window is gone (the object with it: only windows are asked).
    for (HWND w : platform::AllWindows()) EXPECT_EQ(dynamic_cast<CClientView*>(CWnd::FromHandlePermanent(w)), nullptr);
  }
  {
    const SIZE screen = platform::GetScreenSize();
    platform::SetScreenSize(SIZE{800, 600});
    Session s;
    s.script.login = false;
    s.Start();
    platform::SetScreenSize(screen);
    ASSERT_NE(s.view, nullptr);
    EXPECT_TRUE(::IsWindow(s.view->GetSafeHwnd()));
    EXPECT_TRUE(s.script.messages.empty());
  }
  {
    // Seventeen characters typed into the user name: the sixteenth is the last one taken.
    Session s;
    std::string typed;
    s.script.onLogin = [&](HWND dialog) {
      HWND user = ::GetDlgItem(dialog, IDC_LOGIN_USER);
      ::SetFocus(user);
      platform::input::TypeText("abcdefghijklmnopq");
      char text[64] = {};
      ::GetWindowText(user, text, sizeof text);
      typed = text;
    };
    s.script.login = false;
    s.Start();
    EXPECT_EQ(typed, "abcdefghijklmnop");
  }
}

// Open, Save As and Help as the menu gives them: the file dialogs' answers come from the UI
// script (the on-screen dialogs are the platform's), Help hands the address to the opener.
TEST(ClientViewPathsTest, OpenSaveAsAndHelpFromTheMenu) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "client-view-paths";
  fs::create_directories(folder);
  const std::string saved = (folder / "saved.sgf").string();
  fs::remove(saved);
  Session s;
  s.script.login = false;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;

  s.script.filePath = TEST_DATA_DIR "/relay-demo.sgf";
  view.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  ASSERT_EQ(s.script.fileDialogs.size(), 1u);
  EXPECT_TRUE(s.script.fileDialogs[0].open);
  EXPECT_EQ(s.script.fileDialogs[0].filter, Cp949("sgf 파일 (*.sgf)|*.sgf||"));
  const int moves = view.GetBoard().GetLastMove();
  EXPECT_GT(moves, 50);

  s.script.filePath = saved;
  view.SendMessage(WM_COMMAND, ID_FILE_SAVE_AS, 0);
  ASSERT_EQ(s.script.fileDialogs.size(), 2u);
  EXPECT_FALSE(s.script.fileDialogs[1].open);
  ASSERT_TRUE(fs::exists(saved));
  view.OpenRecordFile(saved.c_str());
  EXPECT_EQ(view.GetBoard().GetLastMove(), moves);

  // Help: the opener receives the built-in address.
  const fs::path opener = folder / "opener.sh";
  const fs::path opened = folder / "opened.txt";
  fs::remove(opened);
  std::ofstream(opener) << "#!/bin/sh\necho \"$1\" > '" << opened.string() << ".part' && mv '" << opened.string()
                        << ".part' '" << opened.string() << "'\n";
  fs::permissions(opener, fs::perms::owner_all);
  ::setenv("PLATFORM_OPENER", opener.c_str(), 1);
  view.SendMessage(WM_COMMAND, ID_HELP, 0);
  const bool arrived = Session::WaitFor([&] { return fs::exists(opened); });
  ::unsetenv("PLATFORM_OPENER");
  ASSERT_TRUE(arrived);
  std::string address;
  std::getline(std::ifstream(opened), address);
  const char* configured = GetClientConfig().GetHelpUrl();
  EXPECT_EQ(address, configured ? configured : CClientView::kDefaultHelpUrl);
  fs::remove_all(folder);
}

// What a window shows, read through a context on it.
platform::Surface ShownBy(CWnd& window) {
  CClientDC dc(&window);
  platform::Surface shown;
  platform::CopyDCPixels(&dc, shown);
  return shown;
}

// The palette messages a system sends when the viewer comes to the front or another window
// changes the palette: the view and its board realise their palettes and repaint, showing the
// same picture, whoever changed the palette (another window, the view or its board themselves),
// and the person goes on stepping through the game.
TEST(ClientViewPathsTest, PaletteMessagesRepaintTheViewAndItsBoardAsTheyWere) {
  Session s;
  s.script.login = false;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(view.OpenRecordFile(TEST_DATA_DIR "/relay-demo.sgf"));
  view.OnMoveLast();
  CWnd& board = view.GetBoard();
  s.frame->ShowWindow(SW_SHOW);
  s.frame->UpdateWindow();
  platform::PumpMessages();
  const platform::Surface viewBefore = ShownBy(view);
  const platform::Surface boardBefore = ShownBy(board);
  ASSERT_GT(viewBefore.width, 0);
  ASSERT_GT(boardBefore.width, 0);

  auto invalid = [](CWnd& window) {
    CRect rect;
    return window.GetUpdateRect(&rect) != FALSE && !rect.IsRectEmpty();
  };
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, "STATIC", "other", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  for (HWND changer : {other.GetSafeHwnd(), view.GetSafeHwnd(), board.GetSafeHwnd(), HWND{}}) {
    SCOPED_TRACE(changer == view.GetSafeHwnd() ? "the view" : changer == board.GetSafeHwnd() ? "the board" : "another");
    s.frame->SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(changer), 0);
    EXPECT_TRUE(invalid(view));
    EXPECT_TRUE(invalid(board));
    platform::PumpMessages();
    EXPECT_FALSE(invalid(view));
    EXPECT_TRUE(ShownBy(view).pixels == viewBefore.pixels);
    EXPECT_TRUE(ShownBy(board).pixels == boardBefore.pixels);
  }
  other.DestroyWindow();
  // Coming to the front: the view takes the palette for itself and the board.
  EXPECT_EQ(view.SendMessage(WM_QUERYNEWPALETTE, 0, 0), TRUE);
  EXPECT_TRUE(invalid(view));
  EXPECT_TRUE(invalid(board));
  platform::PumpMessages();
  EXPECT_TRUE(ShownBy(view).pixels == viewBefore.pixels);
  EXPECT_TRUE(ShownBy(board).pixels == boardBefore.pixels);

  // The person steps back a move and forward again: the board shows the move, then the same
  // picture as before.
  const int last = view.GetBoard().GetCurrentMove();
  view.SendMessage(WM_COMMAND, ID_MOVE_PREV, 0);
  platform::PumpMessages();
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), last - 1);
  EXPECT_FALSE(ShownBy(board).pixels == boardBefore.pixels);
  view.SendMessage(WM_COMMAND, ID_MOVE_NEXT, 0);
  platform::PumpMessages();
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), last);
  EXPECT_TRUE(ShownBy(board).pixels == boardBefore.pixels);
}

}  // namespace
