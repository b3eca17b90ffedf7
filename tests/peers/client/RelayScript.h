#pragma once
// RelayScript: the lines a relay server sends for one record file, as the relay peer program sends
// them and as the viewer's tests feed them: the game's information, then each move with its time
// stamp, both clocks, its comments and its reference diagrams, then the result. The clocks run
// down a little with every move.

#include <ctime>
#include <string>

#include "client/model/CommentMap.h"
#include "client/model/GameInfo.h"
#include "client/model/NodeArray.h"
#include "client/model/RefDiagramMap.h"

class RelayScript {
public:
  // voice: diagrams go out with the voice commentary's tags and the information names a stream.
  explicit RelayScript(bool voice);
  ~RelayScript();
  RelayScript(const RelayScript&) = delete;
  RelayScript& operator=(const RelayScript&) = delete;

  // Reads the record file; false (the reader's error code in GetErrorCode) when it cannot.
  bool Read(const char* path);
  int GetErrorCode() const { return m_error; }

  int MoveCount() const { return static_cast<int>(m_moves.GetSize()); }
  const CGameInfo& Info() const { return m_info; }
  const CCommentMap& Comments() const { return m_comments; }
  const CRefDiagramMap& Diagrams() const { return m_diagrams; }

  // The game's information, the voice stream's address ("null" without voice) and the caption.
  std::string InfoLines() const;
  // A photograph line with the file's bytes behind it; empty when the file is missing or empty.
  static std::string PhotoLines(const std::string& path, bool black);
  // Move k (1-based) stamped with stamp, with its clocks, comments and diagrams; empty past the
  // last move. Moves are meant to be asked for in order: each one runs its player's clock down.
  std::string MoveLines(int k, std::time_t stamp);
  // The result with the time each side used.
  std::string ResultLine() const;

  // What went out so far, for the peer program's report.
  int CommentsSent() const { return m_commentsSent; }
  int DiagramsSent() const { return m_diagramsSent; }
  int DiagramStonesSent() const { return m_stonesSent; }

private:
  int TimeLimitSeconds() const;

  bool m_voice;
  CNodeArray m_moves;
  CCommentMap m_comments;
  CRefDiagramMap m_diagrams;
  CGameInfo m_info;
  int m_error{0};
  int m_clocks[3]{0, 0, 0};  // seconds left, by colour (1 white, 2 black)
  int m_commentsSent{0};
  int m_diagramsSent{0};
  int m_stonesSent{0};
};
