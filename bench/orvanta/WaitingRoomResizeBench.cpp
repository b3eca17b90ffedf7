// A person resizing Orvanta's frame while the waiting room shows a busy lobby: 300 users, 60 game
// rooms and a page of chat. Each iteration is one resize laid out and painted; the counters split
// the layout from the paints.
#include <benchmark/benchmark.h>


#include <platform/files.h>
#include <platform/messageloop.h>
#include <platform/registry.h>
#include <platform/resources.h>

#include "bench/support/ResizeLoop.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/resources/OrvantaResources.h"

namespace {

CString Users(int count) {
  static const char* const kGrades[] = {"18K", "3K", "*1K", "1D", "5D", "*3D", "Pro1D", "Pro9D", "10K", "7D"};
  CString payload;
  payload.Format("|1|x|%d|", count);
  for (int i = 0; i < count; ++i) payload.AppendFormat("%d|user%04d|Name %d|%s|", i % 7, i, i, kGrades[(i * 7) % 10]);
  return payload;
}

CString Rooms(int count) {
  CString payload;
  payload.Format("|1|x|%d|", count);
  for (int i = 0; i < count; ++i)
    payload.AppendFormat("%d|Room %d|x|user%04d|x|3K|x|user%04d|x|1D|2|%d|%d|1|3K|", 11 + i, i, 2 * i, 2 * i + 1,
                         (i * 13) % 250, 1 + i % 4);
  return payload + "R2|";
}

void BM_ResizeWaitingRoomWithALobby(benchmark::State& state) {
  platform::ScopedPlatformHome home;
  platform::TempDir folder;
  ::SetCurrentDirectory(folder.Path().c_str());
  static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-waiting-room-bench");
  RegisterOrvantaResources(module.Handle());
  platform::ResourceScope resources(module.Handle());
  CServerAddress address;
  address.m_strHost = "127.0.0.1";
  address.m_nPort = 1;
  auto* frame = new CMainFrame(address);
  if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
    state.SkipWithError("the frame could not be made");
    return;
  }
  frame->ShowWindow(SW_SHOW);
  CFieldTokenizer waitingRooms(CString("|4|1|Free|2|Dan room|3|Kyu room|5|Pro|"));
  frame->OnWaitingRoomList(waitingRooms);
  frame->RememberWaitingRoom(2, "R2", "Dan room");
  frame->SwitchView(CMainFrame::kWaitingRoomView);
  CTirvoDListView* view = frame->GetWaitingRoomView();
  if (view == nullptr) {
    state.SkipWithError("no waiting room view");
    frame->DestroyWindow();
    return;
  }
  view->OnUserList(Users(300));
  view->OnRoomList(Rooms(60));
  for (int i = 0; i < 40; ++i) {
    CString line;
    line.Format("|R2|x|user%04d|a|b|Line %d of the lobby's chat, long enough to wrap in a narrow pane.|", i, i);
    view->AddChatLine(line);
  }
  platform::PumpMessages();
  benchsupport::RunResizes(state, *frame, SIZE{1000, 740}, SIZE{840, 620}, [&] {
    CRect rooms;
    view->GetRoomList().GetWindowRect(&rooms);
    return rooms;
  });
  frame->DestroyWindow();
  platform::PumpMessages();
}
BENCHMARK(BM_ResizeWaitingRoomWithALobby)->Unit(benchmark::kMillisecond);

}  // namespace
