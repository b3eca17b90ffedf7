// Record files, help and the configuration command of the view.
#include "client/relay/ClientConfig.h"
#include "client/app/ClientView.h"
#include "client/app/ConfigDlg.h"
#include "client/widgets/TextUtilities.h"
#include "client/model/GameInfo.h"
#include "client/model/GameRecordFile.h"
#include "platform/commondlg.h"
#include "platform/process.h"
#include "platform/shell.h"

namespace {

const char* FileFilter() { return Cp949("sgf 파일 (*.sgf)|*.sgf||"); }

// Restores the sound setting when it leaves scope.
class SoundOff {
public:
  SoundOff() : m_was(GetClientConfig().IsSoundOn()) { GetClientConfig().SetSound(false); }
  ~SoundOff() { GetClientConfig().SetSound(m_was); }
  SoundOff(const SoundOff&) = delete;
  SoundOff& operator=(const SoundOff&) = delete;

private:
  bool m_was;
};

}  // namespace

void CClientView::OnFileOpen() {
  if (IsConnected()) return;
  CFileDialog dialog(TRUE, "sgf", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, FileFilter(), this);
  if (dialog.DoModal() != IDOK) return;
  OpenRecordFile(dialog.GetPathName());
}

bool CClientView::OpenRecordFile(const char* path) {
  if (IsConnected()) return false;
  ClearGame();
  m_delayQueue.Attach(this, &m_boardFeed);
  CNodeArray moves;
  CGameRecordFile file;
  if (!file.Read(path, &moves, &m_comments, &m_refDiagrams, &GetGameInfo())) {
    // Half a game would look like the whole one: what the failed read left is dropped.
    moves.DeleteAll();
    m_comments.RemoveAll();
    m_refDiagrams.RemoveAll();
    GetGameInfo().Reset();
    RefreshPlayerInfo();
    ShowMessage("File open fail.");
    return false;
  }
  const std::int64_t now = GetNowSeconds();
  {
    SoundOff silent;
    for (INT_PTR i = 0; i < moves.GetSize(); ++i) {
      const CStoneNode* node = moves.GetNode(i);
      if (node == nullptr) continue;
      m_delayQueue.AddEvent(CDelayEvent::kMove, node->GetSeq(), now, node->GetX(), node->GetY(), node->GetColor());
    }
    m_delayQueue.Advance(-1, false);
  }
  moves.DeleteAll();
  SetStateFlag(kRecordOpen);
  StartTimer();
  RefreshPlayerInfo();
  RefreshCommentPane();
  UpdateMoveCounter();
  ShowPositionInMoveEdit(true);
  return true;
}

void CClientView::OnFileSaveAs() {
  CFileDialog dialog(FALSE, "sgf", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, FileFilter(), this);
  if (dialog.DoModal() != IDOK) return;
  SaveRecordFile(dialog.GetPathName());
}

bool CClientView::SaveRecordFile(const char* path) {
  // The game as received, take-backs applied, whatever the board shows or the delay holds back.
  CNodeArray moves;
  for (int i = 0; i < m_delayQueue.GetMoveCount(); ++i) {
    auto* node = new CStoneNode;
    m_delayQueue.GetNodeAt(*node, i);
    moves.AddNode(node);
  }
  CGameRecordFile file;
  const BOOL written = file.Write(path, &moves, &m_comments, &m_refDiagrams, &GetGameInfo());
  moves.DeleteAll();
  if (!written) ShowMessage("File save fail.");
  return written != FALSE;
}

void CClientView::OnHelp() {
  const char* configured = GetClientConfig().GetHelpUrl();
  SHELLEXECUTEINFO info{};
  info.cbSize = 60;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = configured ? configured : kDefaultHelpUrl;
  ::ShellExecuteEx(&info);
  if (info.hProcess) ::CloseHandle(info.hProcess);
}

void CClientView::OnConfigSetup() { CConfigDlg::RunConfigSetup(this, GetClientConfig()); }
