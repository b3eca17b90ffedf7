#pragma once
// COrvantaView: the start screen. Its left column holds one button per waiting room the server
// offers (plus the forum button); the rest is the movie player, whose commands start client
// actions.

#include <memory>
#include <vector>

#include <platform/controls_tooltip.h>
#include <platform/formview.h>
#include <platform/olehost.h>

#include "orvanta/app/ShockwaveFlash.h"
#include "orvanta/widgets/TextButton.h"

class CMainFrame;

class COrvantaView : public CFormView {
  DECLARE_DYNCREATE(COrvantaView)
public:
  static constexpr UINT kTemplateId = 412;
  static constexpr UINT kFlashId = 1421;
  // Room buttons have ids from kFirstRoomId; only ids up to kLastRoomCommand are commands.
  static constexpr UINT kFirstRoomId = 5000;
  static constexpr UINT kLastRoomCommand = 5010;
  // Bitmaps of the left column: top, middle rows, bottom.
  static constexpr UINT kColumnTopBitmap = 422;
  static constexpr UINT kColumnRowBitmap = 425;
  static constexpr UINT kColumnBottomBitmap = 418;
  static constexpr int kColumnWidth = 181;
  static constexpr int kColumnTopHeight = 49;
  static constexpr int kColumnBottomHeight = 14;
  static constexpr int kButtonHeight = 28;
  static constexpr long kMovieBackground = 0x5692A6;

  // One waiting room of the server's list.
  struct Room {
    CString kind;
    CString number;
    CString name;
  };

  COrvantaView();
  ~COrvantaView() override;

  // The rooms of a room-list payload: field 0 the count, then kind, number and name per room.
  // The count is clamped to the rooms present; a count that is not a number gives none.
  static std::vector<Room> ParseRoomList(const CString& payload);
  // The face bitmap of a room button by kind.
  static UINT FaceForKind(const CString& kind);
  // Where room button index stands in the view.
  static CRect RoomButtonRect(int index);

  void OnInitialUpdate() override;
  void OnDraw(CDC* dc) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  // Makes one button per room of payload and the forum button after them.
  void BuildRoomButtons(const CString& payload);
  void DestroyRoomButtons();
  // Puts the player right of the left column, over the rest of the view.
  void PlaceFlash();
  // The movie's "Alone": a free board on which the user plays both colours, modal.
  void RunSelfPlay();

  int GetRoomButtonCount() const { return m_nRoomButtons; }
  // Button index, or null.
  CTextButton* GetRoomButton(int index) const;
  CShockwaveFlash& GetFlash() { return m_flash; }

protected:
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnMenuCommand(UINT id);
  void OnFSCommand(LPCTSTR command, LPCTSTR args);
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

private:
  CMainFrame* GetMainFrame() const;
  // Draws the left column into dc, height rows high.
  void DrawColumn(CDC* dc, int height);

  CShockwaveFlash m_flash;
  CToolTipCtrl m_toolTip;
  std::unique_ptr<CTextButton[]> m_pRoomButtons;
  int m_nRoomButtons{0};  // rooms + 1 (the forum button)
};
