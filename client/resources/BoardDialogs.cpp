#include "client/resources/BoardDialogs.h"

#include "client/model/GameDiagramDlg.h"
#include "client/model/GameInfoDlg.h"
#include "client/model/UserMoveDlg.h"
#include "platform/controls.h"

namespace {

using platform::VisibleItem;

constexpr DWORD kText = SS_LEFT;
constexpr DWORD kImageButton = BS_OWNERDRAW | WS_TABSTOP;
constexpr DWORD kNumberEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

}  // namespace

platform::DialogTemplate BuildGameInfoTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 170;
  t.cy = 219;
  t.caption = "Game Info";
  t.items = {
      VisibleItem("Static", CGameInfoDlg::kTitleLabel, 3, 8, 44, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kTitleText, 48, 8, 122, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kDateLabel, 3, 20, 44, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kDateText, 48, 20, 122, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kPlaceLabel, 3, 32, 44, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kPlaceText, 48, 32, 122, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kConditionLabel, 3, 44, 44, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kConditionText, 48, 44, 122, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kWhitePicture, 7, 60, 75, 92, SS_LEFT),
      VisibleItem("Static", CGameInfoDlg::kWhiteStone, 7, 157, 12, 12, SS_LEFT),
      VisibleItem("Static", CGameInfoDlg::kWhiteName, 22, 159, 60, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kWhiteAffiliation, 7, 173, 75, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kBlackPicture, 88, 60, 75, 92, SS_LEFT),
      VisibleItem("Static", CGameInfoDlg::kBlackStone, 88, 157, 12, 12, SS_LEFT),
      VisibleItem("Static", CGameInfoDlg::kBlackName, 103, 159, 60, 8, kText),
      VisibleItem("Static", CGameInfoDlg::kBlackAffiliation, 88, 173, 75, 8, kText),
      VisibleItem("Button", IDOK, 60, 196, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
  };
  return t;
}

platform::DialogTemplate BuildUserMoveTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  t.cx = 243;
  t.cy = 319;
  t.caption = "self";
  const int y = 300;
  t.items = {
      VisibleItem("Button", CUserMoveDlg::kFirst, 3, y, 23, 15, kImageButton),
      VisibleItem("Button", CUserMoveDlg::kPrevious, 27, y, 23, 15, kImageButton),
      VisibleItem("Edit", CUserMoveDlg::kMoveEdit, 51, y, 23, 15, kNumberEdit),
      VisibleItem("Button", CUserMoveDlg::kNext, 75, y, 23, 15, kImageButton),
      VisibleItem("Button", CUserMoveDlg::kLast, 99, y, 23, 15, kImageButton),
      VisibleItem("Button", CUserMoveDlg::kNumbers, 123, y, 23, 15, kImageButton),
      VisibleItem("Button", CUserMoveDlg::kSpare, 147, y, 23, 15, BS_PUSHBUTTON | WS_TABSTOP),
      VisibleItem("Button", CUserMoveDlg::kClose, 217, y, 23, 15, kImageButton),
  };
  return t;
}

platform::DialogTemplate BuildGameDiagramTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  t.cx = 362;
  t.cy = 276;
  t.caption = "ref";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Button", CGameDiagramDlg::kFirst, 3, 257, 23, 15, kImageButton),
      VisibleItem("Button", CGameDiagramDlg::kPrevious, 27, 257, 23, 15, kImageButton),
      VisibleItem("Edit", CGameDiagramDlg::kMoveEdit, 51, 257, 23, 15, kNumberEdit),
      VisibleItem("Button", CGameDiagramDlg::kNext, 75, 257, 23, 15, kImageButton),
      VisibleItem("Button", CGameDiagramDlg::kLast, 99, 257, 23, 15, kImageButton),
      VisibleItem("Button", CGameDiagramDlg::kNumbers, 123, 257, 23, 15, kImageButton),
      VisibleItem("Button", CGameDiagramDlg::kClose, 147, 257, 23, 15, kImageButton),
      VisibleItem("SysTreeView32", CGameDiagramDlg::kTree, 223, 2, 135, 132,
                  TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                  "Tree1"),
      VisibleItem("Edit", CGameDiagramDlg::kText, 223, 136, 135, 136,
                  ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER),
  };
  return t;
}

void RegisterBoardDialogs(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, CGameInfoDlg::kTemplateId, BuildGameInfoTemplate());
  platform::AddDialogTemplate(module, CUserMoveDlg::kTemplateId, BuildUserMoveTemplate());
  platform::AddDialogTemplate(module, CGameDiagramDlg::kTemplateId, BuildGameDiagramTemplate());
}
