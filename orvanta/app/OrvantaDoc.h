#pragma once
// COrvantaDoc: the program's one document. It holds the game records of the game room and of the
// record list, and the map of the waiting rooms and rooms the screens know, and saves the record
// of the active screen as an SGF file.

#include <platform/collections.h>
#include <platform/document.h>

#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/ViewRecords.h"

class COrvantaDoc : public CDocument, public CViewRecords {
  DECLARE_DYNCREATE(COrvantaDoc)
public:
  COrvantaDoc();
  ~COrvantaDoc() override;

  BOOL OnNewDocument() override;
  // Saves the record of the active screen (game room or record list) to path; TRUE always.
  BOOL OnSaveDocument(LPCTSTR path) override;
  // Empties the room map (its records go with it).
  void DeleteContents() override;
  // Keeps no file name: what a save writes follows the screen and the game, so a name kept from
  // an earlier save (or an opened file) would be overwritten with another game without a word.
  // Every save asks for its file.
  void SetPathName(LPCTSTR path, BOOL addToRecent = TRUE) override;

  // The record a save writes for the view shown (null for views without one).
  CGiboRecord* GetRecordForView(UINT viewId) override;
  // A record without moves or setup stones is not worth a file.
  static BOOL IsEmptyRecord(const CGiboRecord& record);

  CGiboRecord m_roomRecord;  // the game room's record
  CGiboRecord m_listRecord;  // the record list's record
  CMapWordToOb m_roomMap{10};  // rooms by number; the map owns its records
};
