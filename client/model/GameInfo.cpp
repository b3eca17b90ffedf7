#include "client/model/GameInfo.h"

namespace {

const char* MonthName(int month) {
  static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // The month may come from a file: anything outside the table names no month.
  if (month < 1 || month > 12) return "";
  return kNames[month - 1];
}

}  // namespace

void CGameInfo::Reset() {
  for (CString* text : {&m_title, &m_place, &m_blackAffiliation, &m_blackName, &m_blackNote,
                        &m_whiteAffiliation, &m_whiteName, &m_whiteNote, &m_result, &m_blackPhotoPath, &m_whitePhotoPath})
    text->Empty();
  for (int* number : {&m_blackRank, &m_whiteRank, &m_year, &m_month, &m_day, &m_hour, &m_minute,
                      &m_timeLimit, &m_totalMoves, &m_blackBD, &m_whiteWD, &m_blackHours,
                      &m_blackMinutes, &m_blackSeconds, &m_whiteHours, &m_whiteMinutes,
                      &m_whiteSeconds})
    *number = 0;
  m_komi = 0.0;
}

void CGameInfo::GetDateText(CString& out) const {
  out.Format("%s %02d %02d : %02d, %04d", MonthName(m_month), m_day, m_hour, m_minute, m_year);
}

void CGameInfo::GetPlayerText(CString& out, int colour) const {
  const bool black = colour == 2;
  const CString& name = black ? m_blackName : m_whiteName;
  const int rank = black ? m_blackRank : m_whiteRank;
  CString rankText;
  if (rank == 1)
    rankText = Cp949("초");
  else
    rankText.Format("%d", rank);
  out = name + " " + rankText + Cp949("단");
}
