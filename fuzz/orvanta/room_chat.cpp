// Game room: a run of observer-list and chat payloads, one per line of the input, each sent to
// the handler its first byte picks. The observer list never holds a row without an ID or the
// same user twice, the chat output never outgrows its limit, and the room's user list stays
// well formed.
#include <cstdint>
#include <string>
#include <vector>

#include "RoomFuzzing.h"
#include "orvanta/room/RoomChat.h"

namespace {

void Apply(CGameRoom& room, char handler, const CString& payload) {
  switch (static_cast<unsigned char>(handler) % 7) {
    case 0: room.OnRoomMessage(53, payload); break;
    case 1: room.OnRoomMessage(511, payload); break;
    case 2: room.UpdateObserverList(payload, 0); break;
    case 3: room.UpdateObserverList(payload, -1); break;
    case 4: room.OnPlayerLeft(payload); break;
    case 5: room.OnChatMessage(payload); break;
    default: room.OnChatBan(payload); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  roomfuzz::Board board;
  roomfuzz::Host host;
  CGiboRecord record;
  CGameRoom room(board, host, record);
  board.room = &room;
  room.ResetRoom();
  room.OnRoomMessage(511, "|P|A|hb|kim|Kim|5d|hw|lee|Lee|6d|");

  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start < input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    if (end > start) {
      const std::string line = input.substr(start + 1, end - start - 1);
      Apply(room, input[start], CString(line.data(), static_cast<int>(line.size())));
    }
    start = end + 1;
  }

  roomfuzz::Check(room.GetChatText().GetLength() <= CGameRoom::kChatLimit);
  const auto& observers = room.GetObservers();
  for (std::size_t i = 0; i < observers.size(); ++i) {
    for (std::size_t j = i + 1; j < observers.size(); ++j)
      roomfuzz::Check(!(observers[i].host == observers[j].host && observers[i].id == observers[j].id));
    // A row without an ID names nobody; a player seated later may still be listed.
    roomfuzz::Check(!observers[i].id.IsEmpty());
  }
  const CRoomChat::Player black{room.GetPaneText(CGameRoom::kBlackName), "5d", room.GetPlayerHost(2)};
  const CRoomChat::Player white{room.GetPaneText(CGameRoom::kWhiteName), "6d", room.GetPlayerHost(4)};
  const CString list = CRoomChat::BuildRoomUserList(black, white, 1, observers, "me", "hs");
  roomfuzz::Check(list.IsEmpty() || (list.Left(2) == "/|" && list.Right(1) == "/"));
  return 0;
}
