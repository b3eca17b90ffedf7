#include "orvanta/room/StudyRecord.h"

#include <cstdlib>

#include <platform/com_dispatch.h>
#include <platform/files.h>
#include <platform/time.h>

#include "orvanta/room/Stolvex.h"

namespace {

CString PlayerField(const char* name, const CString& a, const CString& b, const CString& c, const CString& d) {
  return CString(name) + "[" + a + ":" + b + ":" + c + ": " + d + "]";
}

}  // namespace

CGiboRecord MakeStudyRecord(CGiboRecord& game, int nodes) {
  CString p0, p1, p2, p3, q0, q1, q2, q3;
  game.GetBlackPlayer(p0, p1, p2, p3);
  game.GetWhitePlayer(q0, q1, q2, q3);
  // The result is kept as its whole property; wrapping it again would write "RE[RE[...]]".
  CString result = game.GetResult();
  if (!result.IsEmpty() && result.Left(3) != "RE[") result = "RE[" + result + "]";
  short seconds = 0, periods = 0;
  game.GetOvertime(seconds, periods);
  CString komi;
  game.GetKomi(komi);
  const short handicap = game.GetHandicap();

  // One property a field, so that players, result, root and setup each land in their own place.
  CString text = "FF[4];GM[1];SZ[19];" + PlayerField("PB", p0, p1, p2, p3) + ";" +
                 PlayerField("PW", q0, q1, q2, q3) + "\r\n;" + result + "\r\n";
  CString root;
  root.Format(";TM[%ld];OT[%d:%d];DT[%s];KM[%.1f];HA[%d]", static_cast<long>(game.GetTimeLimit()), seconds,
              periods, CTime::GetCurrentTime().Format("%Y%m%d%H%M%S").GetString(),
              std::atof(komi.GetString()), static_cast<int>(handicap));
  text += root;

  CGiboRecord study;
  study.Reset();
  study.SetFromServerText(text);
  if (handicap > 0) study.SetSetup(game.GetSetup());
  else study.SetSetup(CString());

  CString moves;
  game.SetCursor(0);
  for (int i = 0; i < nodes; ++i) {
    CString node;
    game.GetNextNode(node);
    if (node.IsEmpty()) break;
    if (i % 4 == 0) moves += "\r\n";
    moves += ";" + node;
  }
  study.SetMoves(moves);
  return study;
}

CString ClockText(long seconds) {
  if (seconds < 0) seconds = 0;
  CString text;
  text.Format("%ldhr %ldmin %ldsec", seconds / 3600, (seconds / 60) % 60, seconds % 60);
  return text;
}

BOOL SaveRecordText(const CString& path, const CString& text) {
  if (path.IsEmpty()) return FALSE;
  return platform::ReplaceFileContents(path, text.str());
}

int BoardMoveCount(CStolvex& board) {
  VARIANT list = board.GetStoneList();
  LONG count = 0;
  if (list.vt == VT_DISPATCH && list.pdispVal) {
    COleDispatchDriver driver(list.pdispVal, FALSE);
    driver.GetProperty(1, VT_I4, &count);  // Count
  }
  VariantClear(&list);
  return static_cast<int>(count);
}
