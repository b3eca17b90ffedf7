#pragma once
// CMenuButtonBank: the main menu pane's buttons as the frame's command-state rules and its layout
// see them: each known by its control id, enabled or disabled, shown or hidden, with a face that
// can be swapped and a place in the pane. The pane implements it over its skin buttons.

#include <platform/geometry.h>
#include <platform/types.h>

// Control ids of the pane's buttons.
namespace MenuButton {
constexpr UINT kWaitingRoomList = 1192;
constexpr UINT kRecordView = 1193;
constexpr UINT kRankView = 1194;
constexpr UINT kGameRoom = 1195;
constexpr UINT kOpenRoom = 1196;
constexpr UINT kSearchRoom = 1197;
constexpr UINT kJoinRoom = 1029;
constexpr UINT kUserInformation = 1198;
constexpr UINT kSearchUser = 1199;
constexpr UINT kNegotiate = 1200;
constexpr UINT kInvite = 1201;
constexpr UINT kAskDraw = 1035;
constexpr UINT kResign = 1202;
constexpr UINT kAskUndo = 1037;
constexpr UINT kAskEnd = 1203;
constexpr UINT kDesignateStones = 1204;
constexpr UINT kSendStones = 1217;
constexpr UINT kStalemate = 1262;
constexpr UINT kAskCounting = 1205;
constexpr UINT kSequence = 1206;
constexpr UINT kTryPlacing = 1207;
constexpr UINT kReview = 1208;
constexpr UINT kPause = 1209;
constexpr UINT kSelectRecord = 1210;
constexpr UINT kOpenFile = 1211;
constexpr UINT kLeave = 1212;
constexpr UINT kNextPage = 1213;
constexpr UINT kCancelSearch = 1215;
constexpr UINT kSearchRecords = 1216;
constexpr UINT kReceiveAgain = 1240;
constexpr UINT kGiveUpMove = 1245;
constexpr UINT kWaitingRoom = 1261;
constexpr UINT kExit = 1423;
// The two faces of ask end (request to end / counting done) and of pause (pause / resume).
constexpr UINT kAskEndFace = 297;
constexpr UINT kCountingDoneFace = 308;
constexpr UINT kPauseFace = 302;
constexpr UINT kResumeFace = 306;
// Ask counting's face; designate stalemate's faces before and while the board takes the area's marks.
constexpr UINT kAskCountingFace = 298;
constexpr UINT kStalemateFace = 398;
constexpr UINT kStalemateSendFace = 199;
}  // namespace MenuButton

// The pane's two rows, read from its template: the tops of row 1 and row 2 and the left margin.
struct CMenuRows {
  int firstTop{0};
  int secondTop{0};
  int left{0};
};

class CMenuButtonBank {
public:
  virtual ~CMenuButtonBank() = default;
  virtual void EnableButton(UINT id, BOOL enable) = 0;
  virtual void ShowButton(UINT id, BOOL show) = 0;
  // Gives button id the face cut from bitmap, sized to it, in its normal drawn state.
  virtual void SetButtonFace(UINT id, UINT bitmap) = 0;
  // The drawn state of button id (CSkinButton::State); -1 when the pane has no such button.
  virtual int GetButtonDrawState(UINT id) const = 0;
  // Button id's rectangle in the pane (empty when the pane has no such button).
  virtual CRect GetButtonRect(UINT id) const = 0;
  // Moves button id's top-left corner to (x, y), keeping its size.
  virtual void MoveButton(UINT id, int x, int y) = 0;
};
