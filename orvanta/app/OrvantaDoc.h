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
  // Saves the record of the active screen (game room or record list) to path; FALSE, after a
  // message, when there is no record to write or the file cannot be written.
  BOOL OnSaveDocument(LPCTSTR path) override;
  // Says so before any file dialog when the active screen's record is empty; otherwise proposes
  // the name the room gives its finished games (black + "_" + white, made safe).
  BOOL DoSave(LPCTSTR path, BOOL replace = TRUE) override;
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
  // The file name a save proposes for record: its players' names, made safe; empty without names.
  static CString ProposedFileName(const CGiboRecord& record);

private:
  CGiboRecord* ActiveRecord();

public:
  CGiboRecord m_roomRecord;  // the game room's record
  CGiboRecord m_listRecord;  // the record list's record
  CMapWordToOb m_roomMap{10};  // rooms by number; the map owns its records
};
