// A random walk through Client: the viewer as it starts (its own application object, resources,
// start-up and loop), its client.cfg naming the relay peer that runs in this process. At random
// steps the relay sends the next move of the demo record with its commentary and diagrams, odd
// time stamps, the players' photographs, lines cut across reads or malformed, loses the
// connection and takes the viewer back when it logs in again. The board shown must always be
// the moves relayed so far, in order, or fewer of them (held back by a delay, or browsed back).
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "client/app/ClientApp.h"
#include "client/app/ClientView.h"
#include "client/model/BadukCtrl.h"
#include "client/resources/ClientIds.h"
#include "client/resources/ClientResources.h"
#include "peers/client/RelayPeer.h"
#include "peers/client/RelayScript.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/resources.h"
#include "walk/WalkMain.h"

namespace {

CClientApp theApp;

bool PlacesStones(int mode) {
  return mode == 2 || mode == 3 || mode == 7 || mode == CBadukCtrl::kModeBlack || mode == CBadukCtrl::kModeWhite;
}

class ClientWorld : public walk::World {
public:
  ClientWorld() { m_script.Read(TEST_DATA_DIR "/relay-demo.sgf"); }
  unsigned short Port() const { return m_peer.Port(); }

  std::vector<walk::WeightedKind> ServerKinds() const override {
    return {{"r-move", 14}, {"r-moves", 3}, {"r-oddstamp", 3}, {"r-photo", 1}, {"r-cut", 3}, {"r-junk", 2},
            {"r-lose", 1}, {"r-result", 1}};
  }

  std::string ServerAct(const std::string& kind, std::uint32_t arg) override {
    if (!m_loggedIn) return "";
    if (kind == "r-lose") {
      m_peer.CloseClient();
      m_loggedIn = false;
      return "the relay loses the connection";
    }
    if (kind == "r-result") {
      m_peer.Send(m_script.ResultLine());
      return "the relay sends the result";
    }
    if (kind == "r-photo") {
      static const char* const photos[] = {"/images/rle8-4x3.bmp", "/images/rle4-5x2.bmp",
                                           "/images/declares-8192x8192.png"};
      const std::string lines = RelayScript::PhotoLines(std::string(TEST_DATA_DIR) + photos[arg % 3], arg % 2 == 0);
      m_peer.Send(lines);
      return "the relay sends a photograph of " + std::to_string(lines.size()) + " bytes";
    }
    if (kind == "r-junk") {
      static const char* const junk[] = {"am|\n", "am|999|b|zz|0|||\n", "te|-1|\xb0\n", "ar|1|1|b|ss|\n", "er|0|-5\n",
                                         "ts|-99999999999\n", "gi|gn|\n", "||||\n", "bp|99999999\n", "\xff\xfe\n"};
      m_peer.Send(junk[arg % (sizeof junk / sizeof junk[0])]);
      return "the relay sends a malformed line";
    }
    const int count = kind == "r-moves" ? static_cast<int>(arg % 20) + 2 : 1;
    std::string lines;
    for (int i = 0; i < count && m_sent < m_script.MoveCount(); ++i) {
      // Odd stamps: none, in the far past, going back, far ahead.
      std::time_t stamp = std::time(nullptr);
      if (kind == "r-oddstamp") {
        static const long long odd[] = {0, -1, 86400LL * 365 * 60, 1, 2147483647LL, 4102444800LL};
        stamp = static_cast<std::time_t>(odd[arg % 6]);
      }
      lines += "ts|" + std::to_string(static_cast<long long>(stamp)) + "\n";
      lines += MoveLinesOf(++m_sent, stamp);
    }
    if (lines.empty()) return "every move is relayed";
    if (kind == "r-cut") {
      const std::size_t at = 1 + arg % (lines.size() - 1 > 0 ? lines.size() - 1 : 1);
      m_peer.Send(lines.substr(0, at));
      m_peer.Send(lines.substr(at));
      return "the relay sends move " + std::to_string(m_sent) + " cut after " + std::to_string(at) + " bytes";
    }
    m_peer.Send(lines);
    return "the relay sends up to move " + std::to_string(m_sent);
  }

  std::string LogIn(walk::Person& person) override {
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
    if (!dialog || !dialog->m_hWnd || dialog->GetTemplateId() != IDD_LOGIN) return "";
    ::SetDlgItemText(dialog->m_hWnd, IDC_LOGIN_USER, "alice");
    ::SetDlgItemText(dialog->m_hWnd, IDC_LOGIN_PASSWORD, "pw1");
    person.ClickOn(::GetDlgItem(dialog->m_hWnd, IDOK));
    return "logged in";
  }

  bool Prepare(walk::Person& person) override {
    if (++m_loginTicks % 40 == 1) LogIn(person);
    Welcome();
    return m_loggedIn;
  }

  std::string Check() override {
    Welcome();
    CWnd* main = AfxGetMainWnd();
    HWND boardWindow = nullptr;
    // The main board: the largest board window the program shows.
    long largest = 0;
    for (HWND top : walk::Person::TopLevels()) {
      std::vector<HWND> found;
      ::EnumChildWindows(top, [](HWND hwnd, LPARAM into) {
        if (walk::Person::ClassOf(hwnd) == CBadukCtrl::kClassName) reinterpret_cast<std::vector<HWND>*>(into)->push_back(hwnd);
        return TRUE;
      }, reinterpret_cast<LPARAM>(&found));
      for (HWND hwnd : found) {
        RECT r{};
        ::GetClientRect(hwnd, &r);
        if (static_cast<long>(r.right) * r.bottom > largest) {
          largest = static_cast<long>(r.right) * r.bottom;
          boardWindow = hwnd;
        }
      }
    }
    auto* board = dynamic_cast<CBadukCtrl*>(CWnd::FromHandlePermanent(boardWindow));
    if (!main || !board || PlacesStones(board->GetEditMode())) return "";
    // The moves shown are the moves relayed, in order: never one that was not sent, never one twice.
    const int shown = board->GetLastMove();
    if (shown > m_sent)
      return "the board shows " + std::to_string(shown) + " moves where " + std::to_string(m_sent) + " were relayed";
    for (int i = 1; i <= shown; ++i) {
      int x = 0, y = 0;
      DWORD state = 0;
      if (board->GetMoveAt(i, x, y, state) != 0) continue;
      const std::string point{static_cast<char>(x + 0x60), static_cast<char>(y + 0x60)};
      if (point != m_points[static_cast<std::size_t>(i - 1)])
        return "move " + std::to_string(i) + " is shown at " + point + " where the relay sent " +
               m_points[static_cast<std::size_t>(i - 1)];
    }
    return "";
  }
  bool Settled() const override { return true; }

  std::string BoardClass() const override { return CBadukCtrl::kClassName; }
  POINT BoardPoint(HWND hwnd, std::uint32_t arg) const override {
    auto* board = dynamic_cast<CBadukCtrl*>(CWnd::FromHandlePermanent(hwnd));
    if (!board) return POINT{5, 5};
    const CPoint at = board->CellCentre(static_cast<int>(arg % 19) + 1, static_cast<int>((arg / 19) % 19) + 1);
    return POINT{at.x, at.y};
  }

private:
  // Move k's lines, its point kept for the board's check.
  std::string MoveLinesOf(int k, std::time_t stamp) {
    std::string lines = m_script.MoveLines(k, stamp);
    // "am|k|colour|point|..."
    std::size_t field = 0;
    for (int i = 0; i < 3 && field != std::string::npos; ++i) field = lines.find('|', field + 1);
    m_points.resize(static_cast<std::size_t>(k));
    if (field != std::string::npos) m_points[static_cast<std::size_t>(k - 1)] = lines.substr(field + 1, 2);
    return lines;
  }
  // A viewer that logged in (again) gets the game's information and the moves so far.
  void Welcome() {
    std::size_t logins = 0;
    for (const std::string& line : m_peer.Received()) logins += line.rfind("ua|", 0) == 0 ? 1 : 0;
    if (logins <= m_logins) return;
    m_logins = logins;
    m_loggedIn = true;
    std::string lines = m_script.InfoLines();
    RelayScript again(false);
    again.Read(TEST_DATA_DIR "/relay-demo.sgf");
    for (int k = 1; k <= m_sent; ++k) lines += again.MoveLines(k, std::time(nullptr));
    m_peer.Send(lines + "eh\n");
  }

  RelayPeer m_peer;
  RelayScript m_script{false};
  std::vector<std::string> m_points;  // the point of each move relayed
  int m_sent{0};
  std::size_t m_logins{0};
  bool m_loggedIn{false};
  int m_loginTicks{0};
};

}  // namespace

int main(int argc, char** argv) {
  return walk::Main(argc, argv, [&](const walk::Options& options) {
    ClientWorld world;
    {
      std::ofstream config(options.folder + "/client.cfg", std::ios::binary);
      config << "client ip=127.0.0.1\r\nclient port=" << world.Port() << "\r\n";
    }
    platform::ResourceModule& module = platform::CreateResourceModule("client");
    platform::SetInstanceHandle(module.Handle());
    if (!RegisterClientResources(module.Handle())) return 1;
    walk::Walker walker(world, options);
    walker.Start();
    char* programArgs[] = {argv[0], nullptr};
    platform::RunApplication(1, programArgs);
    return walker.Finish();
  });
}
