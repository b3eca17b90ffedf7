#pragma once
// Message maps and command routing: CCmdTarget (the base of windows, documents and the
// application), CCmdUI (command state updates) and the map macros.
//
// A class declares DECLARE_MESSAGE_MAP() and its source defines the table:
//   BEGIN_MESSAGE_MAP(CMyView, CWnd)
//     ON_WM_PAINT()
//     ON_COMMAND(ID_FILE_SAVE, OnFileSave)
//     ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
//   END_MESSAGE_MAP()
// Handlers are named by their bare member name. Each entry is compiled into a small function
// that unpacks the message and calls the member with the class library's signature, so a
// handler with the wrong signature does not compile.

#include <type_traits>

#include "platform/messages.h"
#include "platform/object.h"
#include "platform/strings.h"
#include "platform/types.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CMenu;

// Notification codes used for commands inside the routing.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// The arguments of one dispatch through a message map, and its result.
struct AfxCall {
  UINT message{0};
  WPARAM wParam{0};
  LPARAM lParam{0};
  UINT nID{0};            // command or control id (commands, notifications)
  int nCode{0};           // notification code (commands, notifications)
  void* pExtra{nullptr};  // CCmdUI* for update handlers, NMHDR* for notifications
  LRESULT result{0};
  BOOL handled{TRUE};     // an ON_COMMAND_EX / ON_NOTIFY_EX handler may decline
};

// Unpacks call and invokes one member of target.
using AfxHandler = void (*)(CCmdTarget* target, AfxCall& call);

// One row of a message map.
struct AFX_MSGMAP_ENTRY {
  UINT nMessage;          // window message; WM_COMMAND for commands and update handlers;
                          // WM_NOTIFY for notifications; WM_REFLECT_BASE + either when reflected
  int nCode;              // notification code, CN_COMMAND or CN_UPDATE_COMMAND_UI
  UINT nID;               // first command/control id
  UINT nLastID;           // last id (same as nID unless a range)
  const UINT* pnMessage;  // message number held in a variable (registered messages), else null
  AfxHandler pfn;         // null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();  // null at the root
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg instead of calling the handler, to ask whether one exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget{nullptr};
  AfxHandler pfn{nullptr};
};

// Base of everything that receives commands.
class CCmdTarget : public CObject {
public:
  CCmdTarget() = default;
  ~CCmdTarget() override = default;

  // Routes a command (nCode CN_COMMAND or a control notification), an update request
  // (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI) or a notification (nCode MAKELONG(code, WM_NOTIFY),
  // pExtra the AFX_NOTIFY) through this object's map. With pHandlerInfo only reports whether a
  // handler exists. TRUE when handled.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // Finds the first entry of this object's class chain that matches message (and code/id for
  // commands); null when none. Exposed for the window dispatch.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, int nCode, UINT nID) const;

protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// pExtra of a WM_NOTIFY routed through OnCmdMsg.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// Command state update: the update handler enables, checks or renames the command's user
// interface element (a menu item, a tool bar button, or the window m_pOther).
class CCmdUI {
public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  virtual void Enable(BOOL on = TRUE);
  // 0 unchecked, 1 checked, 2 indeterminate.
  virtual void SetCheck(int check = 1);
  virtual void SetRadio(BOOL on = TRUE);
  virtual void SetText(LPCTSTR text);
  // Lets the routing continue to the next target after this handler.
  void ContinueRouting() { m_bContinueRouting = TRUE; }
  // Asks target's update handler; with disableIfNoHandler, disables the element when neither an
  // update handler changed the enable state nor a command handler exists. TRUE when handled.
  BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

  UINT m_nID{0};
  UINT m_nIndex{0};
  CMenu* m_pMenu{nullptr};
  CMenu* m_pSubMenu{nullptr};
  CMenu* m_pParentMenu{nullptr};
  CWnd* m_pOther{nullptr};
  UINT m_nIndexMax{0};
  BOOL m_bEnableChanged{FALSE};
  BOOL m_bContinueRouting{FALSE};
};

namespace platform {

// A CCmdUI that only records what the update handler said: tests ask a target for the state of a
// command with it.
class CmdUIProbe : public CCmdUI {
public:
  explicit CmdUIProbe(UINT id) { m_nID = id; }

  void Enable(BOOL on = TRUE) override;
  void SetCheck(int check = 1) override;
  void SetRadio(BOOL on = TRUE) override;
  void SetText(LPCTSTR text) override;

  bool enabled{true};
  bool enableSet{false};
  int check{0};
  bool checkSet{false};
  CString text;
  bool textSet{false};
};

// Runs the update handlers of target for id (disabling when no handler, as menus do).
CmdUIProbe QueryCommandState(CCmdTarget* target, UINT id, bool disableIfNoHandler = true);

}  // namespace platform

// ---- map declaration and definition -------------------------------------------------------

#define DECLARE_MESSAGE_MAP()                           \
protected:                                              \
  static const AFX_MSGMAP* GetThisMessageMap();         \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }       \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                       \
    using ThisClass = theClass;                                                           \
    using TheBaseClass = baseClass;                                                       \
    static_assert(std::is_base_of_v<TheBaseClass, ThisClass>, "message map base class");  \
    static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                        \
  {0, 0, 0, 0, nullptr, nullptr}};                                               \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,      \
                                          &messageEntries[0]};                  \
    return &messageMap;                                                          \
  }

// The target object as the map's class.
#define AFX_THIS(t) static_cast<ThisClass*>(t)

// ---- commands -----------------------------------------------------------------------------

// void memberFxn()
#define ON_COMMAND(id, memberFxn)                                          \
  {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   [](CCmdTarget* t, AfxCall&) { AFX_THIS(t)->memberFxn(); }},

// BOOL memberFxn(UINT id): FALSE lets the routing continue.
#define ON_COMMAND_EX(id, memberFxn)                                       \
  {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   [](CCmdTarget* t, AfxCall& c) { c.handled = AFX_THIS(t)->memberFxn(c.nID); }},

// void memberFxn(UINT id)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                            \
  {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, \
   [](CCmdTarget* t, AfxCall& c) { AFX_THIS(t)->memberFxn(c.nID); }},

// void memberFxn(CCmdUI*)
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   [](CCmdTarget* t, AfxCall& c) { AFX_THIS(t)->memberFxn(static_cast<CCmdUI*>(c.pExtra)); }},

// void memberFxn(CCmdUI*)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                  \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, \
   [](CCmdTarget* t, AfxCall& c) { AFX_THIS(t)->memberFxn(static_cast<CCmdUI*>(c.pExtra)); }},

// Control notification through WM_COMMAND: void memberFxn()
#define ON_CONTROL(code, id, memberFxn)                                    \
  {WM_COMMAND, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   [](CCmdTarget* t, AfxCall&) { AFX_THIS(t)->memberFxn(); }},

// void memberFxn(UINT id)
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                      \
  {WM_COMMAND, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, \
   [](CCmdTarget* t, AfxCall& c) { AFX_THIS(t)->memberFxn(c.nID); }},

// Button, edit, list box and combo box notification codes.
constexpr int BN_CLICKED = 0;
constexpr int BN_PAINT = 1;
constexpr int BN_DOUBLECLICKED = 5;
constexpr int BN_DBLCLK = 5;
constexpr int BN_SETFOCUS = 6;
constexpr int BN_KILLFOCUS = 7;
constexpr int EN_SETFOCUS = 0x0100;
constexpr int EN_KILLFOCUS = 0x0200;
constexpr int EN_CHANGE = 0x0300;
constexpr int EN_UPDATE = 0x0400;
constexpr int EN_ERRSPACE = 0x0500;
constexpr int EN_MAXTEXT = 0x0501;
constexpr int EN_HSCROLL = 0x0601;
constexpr int EN_VSCROLL = 0x0602;
constexpr int LBN_ERRSPACE = -2;
constexpr int LBN_SELCHANGE = 1;
constexpr int LBN_DBLCLK = 2;
constexpr int LBN_SELCANCEL = 3;
constexpr int LBN_SETFOCUS = 4;
constexpr int LBN_KILLFOCUS = 5;
constexpr int CBN_ERRSPACE = -1;
constexpr int CBN_SELCHANGE = 1;
constexpr int CBN_DBLCLK = 2;
constexpr int CBN_SETFOCUS = 3;
constexpr int CBN_KILLFOCUS = 4;
constexpr int CBN_EDITCHANGE = 5;
constexpr int CBN_EDITUPDATE = 6;
constexpr int CBN_DROPDOWN = 7;
constexpr int CBN_CLOSEUP = 8;
constexpr int CBN_SELENDOK = 9;
constexpr int CBN_SELENDCANCEL = 10;
constexpr int STN_CLICKED = 0;
constexpr int STN_DBLCLK = 1;

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// void memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY(code, id, memberFxn)                                     \
  {WM_NOTIFY, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   [](CCmdTarget* t, AfxCall& c) {                                          \
     auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);                          \
     AFX_THIS(t)->memberFxn(n->pNMHDR, n->pResult);                         \
   }},

// void memberFxn(UINT id, NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                       \
  {WM_NOTIFY, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, \
   [](CCmdTarget* t, AfxCall& c) {                                          \
     auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);                          \
     AFX_THIS(t)->memberFxn(c.nID, n->pNMHDR, n->pResult);                  \
   }},

// BOOL memberFxn(UINT id, NMHDR* pNotifyStruct, LRESULT* pResult): FALSE continues routing.
#define ON_NOTIFY_EX(code, id, memberFxn)                                  \
  {WM_NOTIFY, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   [](CCmdTarget* t, AfxCall& c) {                                          \
     auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);                          \
     c.handled = AFX_THIS(t)->memberFxn(c.nID, n->pNMHDR, n->pResult);      \
   }},

// Reflected to the control that sent it: void memberFxn()
#define ON_CONTROL_REFLECT(code, memberFxn)                                \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<int>(code), 0, 0, nullptr,    \
   [](CCmdTarget* t, AfxCall&) { AFX_THIS(t)->memberFxn(); }},

// Reflected; BOOL memberFxn(): FALSE lets the parent handle it too.
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                             \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<int>(code), 0, 0, nullptr,    \
   [](CCmdTarget* t, AfxCall& c) { c.handled = AFX_THIS(t)->memberFxn(); }},

// Reflected: void memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY_REFLECT(code, memberFxn)                                 \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<int>(code), 0, 0, nullptr,     \
   [](CCmdTarget* t, AfxCall& c) {                                          \
     auto* n = reinterpret_cast<NMHDR*>(c.lParam);                          \
     AFX_THIS(t)->memberFxn(n, reinterpret_cast<LRESULT*>(&c.result));      \
   }},

// Reflected; BOOL memberFxn(NMHDR*, LRESULT*): FALSE lets the parent handle it too.
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                              \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<int>(code), 0, 0, nullptr,     \
   [](CCmdTarget* t, AfxCall& c) {                                          \
     auto* n = reinterpret_cast<NMHDR*>(c.lParam);                          \
     c.handled = AFX_THIS(t)->memberFxn(n, reinterpret_cast<LRESULT*>(&c.result)); \
   }},
