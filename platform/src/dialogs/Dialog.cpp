// CDialog: template windows, the headless modal run, keyboard handling and focus moves.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/app.h"
#include "platform/controls_defs.h"
#include "platform/ddx.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/uiscript.h"

namespace {

std::vector<CDialog*>& ModalStack() {
  static std::vector<CDialog*> stack;
  return stack;
}

void RegisterDialogClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASS wc{};
  wc.style = CS_DBLCLKS | CS_SAVEBITS;
  wc.lpfnWndProc = ::DefWindowProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = platform::kDialogClassName;
  registered = ::RegisterClass(&wc) || ::GetClassInfo(nullptr, platform::kDialogClassName, &wc);
}

bool IsTabStop(HWND hwnd) {
  DWORD style = static_cast<DWORD>(::GetWindowLong(hwnd, GWL_STYLE));
  // The control's own visibility: the dialog itself may not be shown yet.
  return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}


bool IsButtonClass(HWND hwnd) { return platform::WindowClassName(hwnd).CompareNoCase("Button") == 0; }

DWORD ButtonType(HWND hwnd) {
  return IsButtonClass(hwnd) ? static_cast<DWORD>(::GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK : 0xFFFFFFFF;
}

bool IsUsable(HWND hwnd) {
  DWORD style = static_cast<DWORD>(::GetWindowLong(hwnd, GWL_STYLE));
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// Places a modeless dialog's template position relative to its owner's client area, as a
// dialog's coordinates are; a dialog without an owner keeps the screen position.
POINT OwnerRelative(HWND owner, POINT origin) {
  if (!owner) return origin;
  POINT corner{0, 0};
  ::ClientToScreen(owner, &corner);
  return POINT{origin.x + corner.x, origin.y + corner.y};
}

// Centres size over the owner's window (or the screen).
POINT CentredOrigin(HWND owner, SIZE size) {
  RECT area{0, 0, platform::GetScreenSize().cx, platform::GetScreenSize().cy};
  if (owner) ::GetWindowRect(owner, &area);
  POINT origin{area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
  origin.x = std::max<LONG>(origin.x, 0);
  origin.y = std::max<LONG>(origin.y, 0);
  return origin;
}

}  // namespace

namespace platform {
CDialog* CurrentModalDialog() { return ModalStack().empty() ? nullptr : ModalStack().back(); }
}  // namespace platform

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_MESSAGE(DM_GETDEFID, OnGetDefId)
  ON_MESSAGE(DM_SETDEFID, OnSetDefId)
  ON_WM_SETFOCUS()
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
  ON_WM_CLOSE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_templateId(templateId) {}

CDialog::CDialog(LPCTSTR templateName, CWnd* parent) : m_pParentWnd(parent), m_templateName(templateName) {
  if (templateName && IS_INTRESOURCE(templateName)) {
    m_templateId = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(templateName));
    m_templateName = nullptr;
  }
}

CDialog::~CDialog() {
  if (m_hWnd) DestroyWindow();
  ReleaseFont();
}

// ---- creation ----

const platform::DialogTemplate* CDialog::FindTemplate() const {
  if (m_indirect) return m_indirect;
  return platform::FindDialogTemplate(m_templateName ? m_templateName : MAKEINTRESOURCE(m_templateId));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_templateId = templateId;
  m_templateName = nullptr;
  return Create(static_cast<LPCTSTR>(nullptr), parent);
}

BOOL CDialog::Create(LPCTSTR templateName, CWnd* parent) {
  if (templateName && IS_INTRESOURCE(templateName)) {
    m_templateId = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(templateName));
    m_templateName = nullptr;
  } else if (templateName) {
    m_templateName = templateName;
  }
  if (parent) m_pParentWnd = parent;
  const platform::DialogTemplate* tmpl = FindTemplate();
  if (!tmpl) {
    std::fprintf(stderr, "platform: dialog template %u not found\n", m_templateId);
    return FALSE;
  }
  m_modal = false;
  m_ended = false;
  HWND parentWnd = m_pParentWnd ? m_pParentWnd->m_hWnd : (AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr);
  return CreateFromTemplate(*tmpl, parentWnd, false);
}

BOOL CDialog::CreateFromTemplate(const platform::DialogTemplate& tmpl, HWND parent, bool modal) {
  RegisterDialogClass();
  ReleaseFont();
  m_baseUnits = platform::DialogBaseUnits(tmpl.fontName, tmpl.fontSize);
  m_font = platform::CreateDialogFont(tmpl);
  DWORD style = tmpl.style;
  if (modal) style &= ~WS_CHILD;
  RECT frame = platform::DialogUnitsToPixels(0, 0, tmpl.cx, tmpl.cy, m_baseUnits);
  ::AdjustWindowRectEx(&frame, style, FALSE, tmpl.exStyle);
  SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  RECT place = platform::DialogUnitsToPixels(tmpl.x, tmpl.y, 0, 0, m_baseUnits);
  POINT origin{place.left, place.top};
  if (!(style & WS_CHILD) && (modal || (style & DS_CENTER))) {
    origin = CentredOrigin(parent, size);
  } else if (!(style & WS_CHILD)) {
    origin = OwnerRelative(parent, origin);
  }
  if (!CreateEx(tmpl.exStyle, platform::kDialogClassName, tmpl.caption, style & ~WS_VISIBLE, origin.x, origin.y,
                size.cx, size.cy, parent, nullptr)) {
    return FALSE;
  }
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  int hostedFailed = 0;
  platform::CreateDialogControls(m_hWnd, tmpl, m_baseUnits, m_font, &hostedFailed);
  if (hostedFailed > 0) {
    // A dialog made for a control that cannot be had is not shown without it.
    DestroyWindow();
    return FALSE;
  }
  // The template's default button stays the default while the default look follows the focus
  // among push buttons.
  if (!m_defId) m_defId = DefaultButtonId();
  HWND firstStop = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
  BOOL focusFirst = static_cast<BOOL>(SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(firstStop), 0));
  if (!m_hWnd) return FALSE;
  bool shows = (modal || (tmpl.style & WS_VISIBLE)) && !m_ended;
  // A dialog shown now takes the keys: its first tab stop has them unless OnInitDialog put the
  // focus on a control itself. A hidden one takes them when it is shown (OnSetFocus).
  HWND focus = ::GetFocus();
  bool placedByInit = focus && ::IsChild(m_hWnd, focus);
  firstStop = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);  // OnInitDialog may have changed them
  if (shows && (focusFirst || !placedByInit) && firstStop)
    platform::FocusDialogControl(m_hWnd, platform::DialogEntryControl(m_hWnd, firstStop));
  if (shows) ShowWindow(SW_SHOW);
  return TRUE;
}

void CDialog::ReleaseFont() {
  if (m_font) ::DeleteObject(reinterpret_cast<HGDIOBJ>(m_font));
  m_font = nullptr;
}

// ---- modal run ----

INT_PTR CDialog::DoModal() {
  const platform::DialogTemplate* tmpl = FindTemplate();
  if (!tmpl) {
    std::fprintf(stderr, "platform: dialog template %u not found\n", m_templateId);
    return -1;
  }
  CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  HWND owner = parent && parent->m_hWnd ? ::GetAncestorTopLevel(parent->m_hWnd) : nullptr;
  bool disabledOwner = owner && ::IsWindowEnabled(owner);
  if (disabledOwner) ::EnableWindow(owner, FALSE);
  HWND oldFocus = ::GetFocus();
  m_modal = true;
  m_ended = false;
  m_modalResult = -1;
  ModalStack().push_back(this);
  if (CreateFromTemplate(*tmpl, owner, true) && !m_ended) {
    if (platform::display::IsInteractive()) {
      // A person answers: the loop runs, the owner stays disabled, until the dialog ends.
      if (!platform::RunModalLoop([this] { return m_ended || !m_hWnd; })) m_modalResult = IDCANCEL;
    } else {
      RunHeadless();
    }
  }
  std::erase(ModalStack(), this);
  if (disabledOwner && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
  if (m_hWnd) DestroyWindow();
  ReleaseFont();
  if (oldFocus && ::IsWindow(oldFocus)) ::SetFocus(oldFocus);
  m_modal = false;
  return m_modalResult;
}

void CDialog::RunHeadless() {
  platform::PumpMessages();  // what the dialog posted itself while starting
  if (m_ended || !m_hWnd) return;
  platform::UiScript* script = platform::GetUiScript();
  std::optional<INT_PTR> answer = script ? script->OnModalDialog(m_templateId, this, m_hWnd) : std::nullopt;
  if (m_ended || !m_hWnd) return;
  if (!answer) {
    char detail[32];
    std::snprintf(detail, sizeof detail, "%u", m_templateId);
    platform::LogUnanswered("dialog", detail);
  }
  PressButton(answer ? static_cast<int>(*answer) : IDCANCEL);
  if (!m_ended && m_hWnd) platform::PumpMessages();
  if (!m_ended) {
    std::fprintf(stderr, "platform: dialog %u stayed open after its answer; closed with IDCANCEL\n", m_templateId);
    m_modalResult = IDCANCEL;
    m_ended = true;
  }
}

void CDialog::PressButton(int id) {
  HWND button = ::GetDlgItem(m_hWnd, id);
  if (button && !::IsWindowEnabled(button)) {
    std::fprintf(stderr, "platform: dialog %u: button %d is disabled and cannot be pressed\n", m_templateId, id);
    return;
  }
  SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// ---- ending ----

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

LRESULT CDialog::OnGetDefId(WPARAM, LPARAM) { return static_cast<LRESULT>(GetDefID()); }

LRESULT CDialog::OnSetDefId(WPARAM id, LPARAM) {
  SetDefID(static_cast<UINT>(id));
  return TRUE;
}

void CDialog::OnSetFocus(CWnd*) {
  if (HWND first = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE))
    platform::FocusDialogControl(m_hWnd, platform::DialogEntryControl(m_hWnd, first));
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClose() { SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

BOOL CDialog::OnEraseBkgnd(CDC* dc) {
  if (!dc) return FALSE;
  RECT client;
  GetClientRect(&client);
  // The dialog asks itself, so that a handler of its own can give the background.
  auto brush = reinterpret_cast<HBRUSH>(SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc->GetSafeHdc()), reinterpret_cast<LPARAM>(m_hWnd)));
  ::FillRect(dc->GetSafeHdc(), &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

void CDialog::EndDialog(int result) {
  m_modalResult = result;
  m_ended = true;
  if (!m_modal && m_hWnd) ShowWindow(SW_HIDE);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  return platform::ExchangeData(this, saveAndValidate, [this](CDataExchange* dx) { DoDataExchange(dx); });
}

// ---- controls ----

void CDialog::CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }

int CDialog::GetCheckedRadioButton(int first, int last) const {
  for (int id = first; id <= last; ++id) {
    if (::GetDlgItem(m_hWnd, id) && ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED) return id;
  }
  return 0;
}

void CDialog::SetDefID(UINT id) {
  UINT previous = DefaultButtonId();
  m_defId = id;
  if (!m_hWnd) return;
  // Only push buttons change their look; the default id may name any control.
  HWND old = ::GetDlgItem(m_hWnd, static_cast<int>(previous));
  if (old && ButtonType(old) == BS_DEFPUSHBUTTON && previous != id) ::SendMessage(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  HWND now = ::GetDlgItem(m_hWnd, static_cast<int>(id));
  if (now && ButtonType(now) == BS_PUSHBUTTON) ::SendMessage(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

UINT CDialog::DefaultButtonId() const {
  if (m_defId) return m_defId;
  if (m_hWnd) {
    for (HWND child : platform::ChildWindows(m_hWnd)) {
      if (ButtonType(child) == BS_DEFPUSHBUTTON) return static_cast<UINT>(::GetDlgCtrlID(child));
    }
  }
  return IDOK;
}

DWORD CDialog::GetDefID() const { return MAKELONG(static_cast<WORD>(DefaultButtonId()), DC_HASDEFID); }

void CDialog::MapDialogRect(LPRECT rect) const {
  if (!rect) return;
  *rect = platform::DialogUnitsToPixels(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                                        m_baseUnits);
}

CWnd* CDialog::NextTabStop(HWND from, bool forward) const {
  return CWnd::FromHandle(::GetNextDlgTabItem(m_hWnd, from, forward ? FALSE : TRUE));
}

void CDialog::NextDlgCtrl() const {
  if (CWnd* next = NextTabStop(::GetFocus(), true)) platform::FocusDialogControl(m_hWnd, next->m_hWnd);
}

void CDialog::PrevDlgCtrl() const {
  if (CWnd* previous = NextTabStop(::GetFocus(), false)) platform::FocusDialogControl(m_hWnd, previous->m_hWnd);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control && control->m_hWnd) platform::FocusDialogControl(m_hWnd, control->m_hWnd);
}

// ---- keyboard ----

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (!m_hWnd) return FALSE;
  return ::IsDialogMessage(m_hWnd, msg);
}

// ---- Win32 shapes ----

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
  if (!::IsWindow(dialog)) return FALSE;
  for (int id = first; id <= last; ++id) {
    if (HWND button = ::GetDlgItem(dialog, id)) ::SendMessage(button, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  auto* wnd = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(dialog));
  if (!wnd) return FALSE;
  wnd->EndDialog(static_cast<int>(result));
  return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  auto* wnd = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(dialog));
  if (!wnd || !rect) return FALSE;
  wnd->MapDialogRect(rect);
  return TRUE;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> children = platform::ChildWindows(dialog);
  auto at = std::find(children.begin(), children.end(), control);
  if (at == children.end()) return nullptr;
  auto starts = [](HWND hwnd) { return (::GetWindowLong(hwnd, GWL_STYLE) & WS_GROUP) != 0; };
  std::size_t index = static_cast<std::size_t>(at - children.begin());
  std::size_t first = index;
  while (first > 0 && !starts(children[first])) --first;
  std::size_t end = index + 1;
  while (end < children.size() && !starts(children[end])) ++end;
  std::size_t count = end - first;
  for (std::size_t step = 1; step < count; ++step) {
    std::size_t offset = (index - first + (previous ? count - step : step)) % count;
    HWND candidate = children[first + offset];
    if (IsUsable(candidate)) return candidate;
  }
  return control;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> stops;
  for (HWND child : platform::ChildWindows(dialog)) {
    if (IsTabStop(child) || child == control) stops.push_back(child);
  }
  if (stops.empty()) return nullptr;
  auto it = std::find(stops.begin(), stops.end(), control);
  std::size_t count = stops.size();
  std::size_t start = it == stops.end() ? (previous ? 0 : count - 1) : static_cast<std::size_t>(it - stops.begin());
  for (std::size_t step = 1; step <= count; ++step) {
    std::size_t index = previous ? (start + count - step) % count : (start + step) % count;
    if (IsTabStop(stops[index])) return stops[index];
  }
  return nullptr;
}
