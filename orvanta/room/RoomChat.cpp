#include "orvanta/room/RoomChat.h"

#include "orvanta/lobby/LobbyText.h"
#include "orvanta/room/GameRoom.h"

namespace {

CString Entry(const CString& id, const CString& grade, const CString& host) {
  return "/|" + id + "|" + grade + "|" + host + "|";
}

}  // namespace

CString CRoomChat::Payload(const CString& roomPrefix, const CString& line) {
  // A separator typed into the line would split it into fields of its own.
  return roomPrefix + RemoveSeparators(line) + "|";
}

int CRoomChat::MacroIndexOfKey(UINT key) {
  if (key < kFirstMacroKey || key >= kFirstMacroKey + kMacros) return -1;
  return static_cast<int>(key - kFirstMacroKey);
}

CString CRoomChat::BuildRoomUserList(const Player& black, const Player& white, short userColour,
                                     const std::vector<CRoomMessages::Person>& observers, const CString& ownId,
                                     const CString& ownHost) {
  if (black.id.IsEmpty()) return CString();
  CString list;
  if (userColour & 1) {
    list += Entry(black.id, black.grade, black.host);
    list += Entry(white.id, white.grade, white.host);
  } else if (black.id == ownId && black.host == ownHost) {
    list += Entry(white.id, white.grade, white.host);
  } else {
    list += Entry(black.id, black.grade, black.host);
  }
  for (const CRoomMessages::Person& person : observers) {
    if (person.id == ownId && person.host == ownHost) continue;
    list += Entry(person.id, person.fourth, person.host);
  }
  return list + "/";
}

CString CRoomChat::BuildRoomUserList(const CGameRoom& room, short userColour, const CString& ownId,
                                     const CString& ownHost) {
  const Player black{room.GetPaneText(CGameRoom::kBlackName), room.GetPaneText(CGameRoom::kBlackSecond),
                     room.GetPlayerHost(2)};
  const Player white{room.GetPaneText(CGameRoom::kWhiteName), room.GetPaneText(CGameRoom::kWhiteSecond),
                     room.GetPlayerHost(4)};
  return BuildRoomUserList(black, white, userColour, room.GetObservers(), ownId, ownHost);
}
