#pragma once
// CGameInfo: what is known about the relayed game besides its moves. The document owns one;
// the relay fills it, the information dialog shows it, the record file stores it.

#include "platform/object.h"
#include "platform/strings.h"

class CGameInfo : public CObject {
public:
  CGameInfo() { Reset(); }
  ~CGameInfo() override = default;

  // Every text empty, every number 0.
  void Reset();
  // out = "Mar 05 14 : 30, 2001": short month name (empty for a month outside 1..12), day,
  // hour, minute, year.
  void GetDateText(CString& out) const;
  // out = name, a blank, the rank ("초" for 1, the number otherwise) and "단"; colour 2 is Black,
  // any other White.
  void GetPlayerText(CString& out, int colour) const;

  CString m_title;            // relay "gn", record TE
  CString m_place;            // "gs", PC
  CString m_blackAffiliation; // "bc", BC
  CString m_blackName;        // "bn", PB
  CString m_blackNote;        // shown by the information dialog only
  CString m_whiteAffiliation; // "wc", WC
  CString m_whiteName;        // "wn", PW
  CString m_whiteNote;
  int m_blackRank{0};         // dan number, 0 when not given
  int m_whiteRank{0};
  int m_year{0};
  int m_month{0};             // 1..12 when known
  int m_day{0};
  int m_hour{0};              // start time
  int m_minute{0};
  int m_timeLimit{0};         // minutes
  double m_komi{0.0};
  CString m_result;           // "gr" field 2, RE
  int m_totalMoves{0};
  int m_blackBD{0};           // "gr" field 3, BD
  int m_whiteWD{0};           // "gr" field 4, WD
  int m_blackHours{0};        // time Black used
  int m_blackMinutes{0};
  int m_blackSeconds{0};
  int m_whiteHours{0};        // time White used
  int m_whiteMinutes{0};
  int m_whiteSeconds{0};

  // The players' photographs as the relay sent them: temporary files that the view loads. Record
  // files never hold them.
  CString m_blackPhotoPath;
  CString m_whitePhotoPath;
};
