#include "orvanta/app/ViewTable.h"

#include "orvanta/app/MainFrame.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/TirvoMListView.h"
#include "orvanta/lobby/TirvoRankView.h"

namespace {

// One entry per screen. Entries are kept apart by blank lines so that screens added side by side
// do not touch each other's lines.
const CViewTableEntry kViewTable[] = {
    {CMainFrame::kStartView, 2, [] { return RUNTIME_CLASS(COrvantaView); }},

    {CMainFrame::kWaitingRoomView, 1, [] { return RUNTIME_CLASS(CTirvoDListView); }},
    {CMainFrame::kGameRoomView, 6, [] { return RUNTIME_CLASS(CDagukRoomView); }},

    {CMainFrame::kRecordListView, 4, [] { return RUNTIME_CLASS(CTirvoGiboView); }},

    {CMainFrame::kForumView, 7, [] { return RUNTIME_CLASS(CAssociationView); }},

    {CMainFrame::kBulletinBoardView, 8, [] { return RUNTIME_CLASS(CPlacardView); }},

    {CMainFrame::kRankView, 3, [] { return RUNTIME_CLASS(CTirvoRankView); }},

    {CMainFrame::kTeachingListView, 5, [] { return RUNTIME_CLASS(CTirvoMListView); }},

};

}  // namespace

const CViewTableEntry* FindViewEntry(UINT viewId) {
  for (const CViewTableEntry& entry : kViewTable)
    if (entry.m_nViewId == viewId)
      return &entry;
  return nullptr;
}
