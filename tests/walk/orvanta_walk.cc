// A random walk through Orvanta: the program as it starts (its own application object, resources,
// start-up and loop), the board control module registered as ./setup registers it, and the
// game-server peer in this process answering every request from the demo world. At random steps
// the server sends what another player or the service sends unasked: moves, chat, invitations,
// memos, notices, counting, resignations, records cut across reads, a lost connection. The other
// player's moves come on his turn at points where they may go, and the game room's board must
// show the stones of the moves the server sent.
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>

#include <platform/app.h>
#include <platform/com_dispatch.h>
#include <platform/dialogs.h>
#include <platform/olehost.h>
#include <platform/registry.h>
#include <platform/resources.h>

#include "orvanta/app/LoginProfile.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/app/OrvantaApp.h"
#include "orvanta/app/ShockwaveFlash.h"
#include "orvanta/resources/OrvantaResources.h"
#include "peers/orvanta/GameServerPeer.h"
#include "peers/orvanta/GameServerScript.h"
#include "peers/orvanta/PlaceModel.h"
#include "walk/OrvantaBoardModel.h"
#include "walk/WalkMain.h"

namespace {

COrvantaApp theApp;

constexpr const char* kUserId = "minsu";

const char* const kTexts[] = {"안녕하세요, 잘 부탁드립니다!", "좋은 수네요.", "", "|", "한 판 더?",
                              "아주 긴 글입니다 아주 긴 글입니다 아주 긴 글입니다 아주 긴 글입니다 아주 긴 글입니다 "
                              "아주 긴 글입니다 아주 긴 글입니다 아주 긴 글입니다 아주 긴 글입니다 아주 긴 글입니다"};

std::string TextOf(std::uint32_t arg) { return kTexts[arg % (sizeof kTexts / sizeof kTexts[0])]; }

class OrvantaWorld : public walk::World {
public:
  OrvantaWorld(const std::string& folder, bool faultsEnd) : m_folder(folder), m_faultsEnd(faultsEnd) {
    std::ifstream file(ORVANTA_PEER_SCRIPTS "/demo.txt");
    std::string error;
    if (m_script.Load(file, error)) m_script.Install(m_peer);
    // The walk reads the faults itself after every step.
    m_peer.SetPlaceCheck(GameServerPeer::PlaceCheck::kKeep);
  }
  std::string Address() const { return m_peer.Address(); }

  std::vector<walk::WeightedKind> ServerKinds() const override {
    return {{"s-move", 10}, {"s-chat", 4}, {"s-lobbychat", 2}, {"s-invite", 2}, {"s-memo", 2}, {"s-notice", 1},
            {"s-count", 1}, {"s-resign", 1}, {"s-users", 2}, {"s-cut", 4}, {"s-junk", 3}, {"s-disconnect", 1}};
  }

  std::string ServerAct(const std::string& kind, std::uint32_t arg) override {
    // Nothing is sent on a connection the server has closed, until the program connects again.
    if (!Connected()) return "";
    ReadWritten();
    if (kind == "s-disconnect") {
      m_closed = m_peer.ConnectionCount();
      m_peer.CloseConnection();
      m_board.OnConnectionLost();
      return "the server closes the connection";
    }
    if (kind == "s-cut") {
      // A record of another kind, cut into pieces that arrive apart.
      const std::string record = RecordFor(ServerKinds()[arg % 9].kind, arg >> 4);
      if (record.empty()) return "";
      std::vector<PeerPiece> pieces;
      std::size_t from = 0;
      for (std::uint32_t rest = arg >> 8; from < record.size() && pieces.size() < 3; rest /= 7) {
        const std::size_t length = 1 + rest % (record.size() - from);
        pieces.push_back(PeerPiece{record.substr(from, length), static_cast<int>(5 + rest % 120)});
        from += length;
      }
      if (from < record.size()) pieces.push_back(PeerPiece{record.substr(from), 30});
      m_peer.Send(pieces);
      return "the server sends a record in " + std::to_string(pieces.size()) + " pieces";
    }
    const std::string record = RecordFor(kind, arg);
    if (record.empty()) return "";
    m_peer.Send({PeerPiece{record, 0}});
    return "the server sends " + kind + " " + record.substr(2, 40);
  }

  std::string LogIn(walk::Person& person) override {
    // The login dialog: the ID and the password filled in, then OK.
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
    if (!dialog || !dialog->m_hWnd || dialog->GetTemplateId() != 179) return "";
    ::SetDlgItemText(dialog->m_hWnd, static_cast<int>(CLoginProfile::kIdEdit), kUserId);
    ::SetDlgItemText(dialog->m_hWnd, static_cast<int>(CLoginProfile::kPasswordEdit), "pw");
    person.ClickOn(::GetDlgItem(dialog->m_hWnd, IDOK));
    return "logged in";
  }

  bool Prepare(walk::Person& person) override {
    if (++m_loginTicks % 40 == 1) LogIn(person);
    // Logged in once the start view has asked for the waiting rooms.
    for (const PeerRecord& record : m_peer.Records())
      if (record.Is(3, 6)) return true;
    return false;
  }

  // Every record the program sent names the place the server put the person in, and the game
  // room's board shows the moves the server sent.
  std::string Check() override {
    ReadWritten();
    AnswerUndo();
    const std::vector<std::string> faults = m_peer.PlaceFaults();
    if (m_faultsEnd && !faults.empty()) return "the server got a record for another place: " + faults.front();
    for (; !m_faultsEnd && m_faultsSeen < faults.size(); ++m_faultsSeen)
      std::printf("walk: the server got a record for another place: %s\n", faults[m_faultsSeen].c_str());
    std::fflush(stdout);
    return CheckBoard();
  }
  bool Settled() const override { return !Connected() || m_peer.AllSent(); }

  std::string BoardClass() const override { return "OleControl"; }
  POINT BoardPoint(HWND board, std::uint32_t arg) const override {
    RECT r{};
    ::GetClientRect(board, &r);
    const int px = r.right / 19, py = r.bottom / 19;
    const int col = static_cast<int>(arg % 19), row = static_cast<int>((arg / 19) % 19);
    return POINT{col * px + px / 2 + (r.right % 19) / 2, row * py + py / 2 + (r.bottom % 19) / 2};
  }

private:
  bool Connected() const { return m_peer.ConnectionCount() > m_closed && !m_peer.ClientClosed(); }

  // The records the server has written since the last look go to the board's model.
  void ReadWritten() {
    const std::vector<PeerRecord> written = m_peer.WrittenSince(m_writtenSeen);
    m_writtenSeen += written.size();
    for (const PeerRecord& record : written) m_board.OnWritten(record);
  }

  // The other player agrees to the person's request to take back a move, and the server to the
  // person's yes to the other player's request; a request for counting is kept for s-count.
  void AnswerUndo() {
    const std::vector<PeerRecord> records = m_peer.RecordsSince(m_clientSeen);
    m_clientSeen += records.size();
    for (const PeerRecord& record : records) {
      const bool room = record.major == "4" || record.major == "5";
      if (room && record.minor == "44" && record.flag == "1") m_countAsked = true;
      const bool asked = room && record.minor == "15" && record.flag == "1";
      const bool agreed = room && record.minor == "16" && record.flag == "2" && PeerFields(record.payload).size() > 2 &&
                          PeerFields(record.payload)[2] == "1";
      if (!(asked || agreed) || !m_board.Playing() || m_board.Moves() == 0 || !Connected()) continue;
      // The person's own request takes back his last move, and the other player's reply to it.
      const int count = asked && m_board.ToPlay() == m_board.UserColour() && m_board.Moves() > 1 ? 2 : 1;
      m_peer.Send({PeerPiece{GameServerPeer::Record(5, 15, "|a|b|1|" + std::to_string(m_board.ShownNumber() + 1 - count) + "|"), 0}});
    }
  }

  // The game room's board, once the server and the program are at rest, shows the stones of the
  // moves the server sent. A record on its way makes a difference for a moment; one that stays
  // for five looks in a row and half a second is a fault.
  std::string CheckBoard() {
    const std::vector<std::string> differences = m_peer.AllSent() ? BoardDifferences() : std::vector<std::string>();
    const auto now = std::chrono::steady_clock::now();
    std::map<std::string, Seen> seen;
    for (const std::string& difference : differences) {
      const auto before = m_differences.find(difference);
      Seen& it = seen[difference];
      it = before == m_differences.end() ? Seen{now, 0} : before->second;
      if (++it.looks >= 5 && now - it.since >= std::chrono::milliseconds(500))
        return "the game room's board differs from the " + std::to_string(m_board.Moves()) +
               " moves the server sent: " + difference;
    }
    m_differences = std::move(seen);
    return "";
  }

  // What the game room's board shows otherwise than the model; nothing when it is not looked at.
  std::vector<std::string> BoardDifferences() {
    auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    // While a question or dialog of the program's is open, what the server sent may wait behind it.
    if (!frame || !frame->m_hWnd || !::IsWindowEnabled(frame->m_hWnd) || !frame->IsGameRoomActive() || !m_board.Knows())
      return {};
    CView* view = frame->GetContentView();
    HWND board = view && view->m_hWnd ? ::GetDlgItem(view->m_hWnd, kRoomBoardId) : nullptr;
    IDispatch* dispatch = board ? platform::HostedControlDispatch(board) : nullptr;
    if (!dispatch) return {};
    COleDispatchDriver control(dispatch, TRUE);
    LONG mode = 0;
    control.GetProperty(kGameModeId, VT_I4, &mode);
    // Only a board in play shows the moves alone: marks of counting, a replay or a pause do not.
    constexpr LONG kPlay = 1024, kSequence = 4096;
    if ((mode & ~kSequence) != kPlay) return {};
    VARIANT area{};
    control.InvokeHelper(kAreaInfoId, DISPATCH_METHOD, VT_VARIANT, &area, nullptr);
    std::vector<short> cells;
    if (area.vt == (VT_ARRAY | VT_I2) && area.parray) {
      for (LONG i = 0; i < 361; ++i) {
        SHORT value = 0;
        if (::SafeArrayGetElement(area.parray, &i, &value) == S_OK) cells.push_back(value);
      }
    }
    ::VariantClear(&area);
    return m_board.Differences(cells);
  }

  std::string RecordFor(const std::string& kind, std::uint32_t arg) {
    const std::string text = TextOf(arg >> 3);
    if (kind == "s-move") return OtherPlayersMove(arg);
    if (kind == "s-chat") return GameServerPeer::Record(5, 6, "|a|b|c|demo|e|f|" + text + "|");
    if (kind == "s-lobbychat") return GameServerPeer::Record(3, 4, "|demo|데모|" + text + "|");
    // demo asks the person into his room 7 of waiting room 1: the waiting room, the room, its
    // password, the inviter's host, ID, name and grade, the message and the refusal text.
    if (kind == "s-invite") return GameServerPeer::Record(1, 12, "|1|7||h2|demo|데모|2D|같이 두실 분!||");
    if (kind == "s-memo")
      return arg % 2 ? GameServerPeer::Record(1, 15, "|demo|" + text + "|202612101200|")
                     : GameServerPeer::Record(1, 13, "|" + std::to_string(arg % 5) + "|");
    if (kind == "s-notice") return GameServerPeer::Record(0, 16, "|" + text + "|");
    // The count comes only as the answer to the person's request for one.
    if (kind == "s-count") {
      if (!m_countAsked) return "";
      m_countAsked = false;
      return GameServerPeer::Record(5, 44, "|a|b|" + std::to_string(arg % 2) + "|");
    }
    if (kind == "s-resign") return GameServerPeer::Record(5, 22, "|a|b|demo|" + std::to_string(arg % 3) + "|");
    if (kind == "s-users")
      return GameServerPeer::Record(3, 99, "|1|" + std::to_string(arg % 2) + "|eve|이브|3D|");
    // A record of any code with its fields missing, over-long, past their limits or not in the
    // program's code page.
    static const char* const odd[] = {"", "|", "|||||||||||||||||||||||||", "|-1|-2147483649|99999999999|",
                                      "|\xff\xfe\x80|\xb0|", "|%s%n%x|", "|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|"};
    std::string payload = odd[(arg >> 10) % (sizeof odd / sizeof odd[0])];
    if ((arg >> 13) % 5 == 0) payload = "|" + std::string(20000 + (arg >> 16) % 50000, 'x') + "|";
    const int major = static_cast<int>(arg % 12);
    int minor = static_cast<int>((arg >> 4) % 60);
    // Not the records that take the person into a room or out of it: a server sends them for the
    // rooms it was asked for, and the place check cannot follow one into a room nobody asked for.
    const bool entryOrLeave = ((major == 4 || major == 5) && minor >= 2 && minor <= 4) || (major == 0 && minor >= 52 && minor <= 54);
    if (entryOrLeave) minor += 3;
    // The program may read such a record otherwise than the board's model.
    if (OrvantaBoardModel::MayChangeBoard(std::to_string(major), std::to_string(minor))) m_board.Forget();
    return GameServerPeer::Record(major, minor, payload);
  }

  // The other player's move in the running game, on his turn at a point where it may go; now and
  // then he asks to take it back instead. Nothing while the person is to play or no game runs.
  std::string OtherPlayersMove(std::uint32_t arg) {
    if (!m_board.Playing()) return "";
    const char colour = m_board.ToPlay();
    if (colour == m_board.UserColour()) {
      if (arg % 8 != 0 || m_board.Moves() == 0) return "";
      return GameServerPeer::Record(5, 16, "|a|b|");
    }
    const std::string point = m_board.LegalPoint(colour, arg);
    if (point.empty()) return "";
    const int number = m_board.ShownNumber() + 1;
    return GameServerPeer::Record(5, 14, "|a|b|" + std::to_string(number) + "|" + colour + "[" + point + "]|" + colour +
                                             "L[" + std::to_string(std::max(1, 600 - number)) + "]|");
  }

  // The game room's board control and the dispatch ids of its game mode and cell words.
  static constexpr int kRoomBoardId = 1119;
  static constexpr DISPID kGameModeId = 2, kAreaInfoId = 24;

  std::string m_folder;
  GameServerPeer m_peer;
  OrvantaBoardModel m_board{kUserId};
  std::size_t m_writtenSeen{0};
  std::size_t m_clientSeen{0};
  bool m_countAsked{false};  // the person asked for counting, which the server has not answered
  // Each difference of the board from the model: since when and at how many looks in a row.
  struct Seen {
    std::chrono::steady_clock::time_point since;
    int looks{0};
  };
  std::map<std::string, Seen> m_differences;
  GameServerScript m_script;
  int m_loginTicks{0};
  int m_closed{0};  // connections the server has closed itself
  bool m_faultsEnd{true};
  std::size_t m_faultsSeen{0};
};

// The board control module and the movie control registered in the walk's own home, as ./setup
// and an installed movie player leave them.
bool RegisterControls() {
  void* module = dlopen(STOLVEX_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
  if (!module) return false;
  auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(module, "DllRegisterServer"));
  const bool registered = entry && entry() == S_OK;
  dlclose(module);
  HKEY key = nullptr;
  if (::RegCreateKeyEx(HKEY_CLASSES_ROOT, CShockwaveFlash::kClassKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                       nullptr) == ERROR_SUCCESS)
    ::RegCloseKey(key);
  return registered;
}

}  // namespace

// The walk reads the place check's faults after each step; none are reported as they come.
void ReportPlaceFault(const std::string&) {}

int main(int argc, char** argv) {
  return walk::Main(argc, argv, [&](const walk::Options& options) {
    if (!RegisterControls()) {
      std::fprintf(stdout, "walk: FAILED after step 0: the board control module could not be registered\n");
      return 3;
    }
    OrvantaWorld world(options.folder, options.serverFaultsEnd);
    ::setenv("ORVANTA_SERVER", world.Address().c_str(), 1);
    platform::ResourceModule& module = platform::CreateResourceModule("orvanta");
    RegisterOrvantaResources(module.Handle());
    platform::SetInstanceHandle(module.Handle());
    walk::Walker walker(world, options);
    walker.Start();
    char* programArgs[] = {argv[0], nullptr};
    platform::RunApplication(1, programArgs);
    return walker.Finish();
  });
}
