#pragma once
// CClientDoc: the document of the viewer. It holds the game information of the relayed game or of
// the record file that was opened; the moves, comments and diagrams live in the view.

#include "client/model/GameInfo.h"
#include "platform/document.h"

class CClientDoc : public CDocument {
  DECLARE_DYNCREATE(CClientDoc)
public:
  CClientDoc() = default;
  ~CClientDoc() override = default;

  BOOL OnNewDocument() override;

  CGameInfo& GetGameInfo() { return m_gameInfo; }

private:
  CGameInfo m_gameInfo;
};
