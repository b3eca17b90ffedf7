#include "client/widgets/CoolMenuManager.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "client/widgets/DrawUtilities.h"
#include "client/widgets/MenuItemRecord.h"
#include "platform/controlbars.h"
#include "platform/resources.h"

IMPLEMENT_DYNAMIC(CCoolMenuManager, CSubclassWnd)

namespace {

constexpr UINT kSystemCommandsFrom = 0xF000;
constexpr int kTextBuffer = 256;

}  // namespace

CCoolMenuManager::CCoolMenuManager() { MakeRadioDot(); }

void CCoolMenuManager::MakeRadioDot() {
  m_radioDot.DeleteObject();
  const int width = ::GetSystemMetrics(SM_CXMENUCHECK);
  const int height = ::GetSystemMetrics(SM_CYMENUCHECK);
  if (width <= 0 || height <= 0) return;
  // Monochrome, as check bitmaps are: drawn, white takes the menu's background and black its text.
  CDC memory;
  if (!memory.CreateCompatibleDC(nullptr) || !m_radioDot.CreateBitmap(width, height, 1, 1, nullptr)) return;
  CBitmap* old = memory.SelectObject(&m_radioDot);
  memory.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
  CRect dot(0, 0, width, height);
  dot.DeflateRect(width / 2 - 2, height / 2 - 2);
  CBrush black(RGB(0, 0, 0));
  CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
  CBrush* oldBrush = memory.SelectObject(&black);
  CPen* oldPen = memory.SelectObject(&pen);
  memory.Ellipse(&dot);
  memory.SelectObject(oldPen);
  memory.SelectObject(oldBrush);
  memory.SelectObject(old);
}

CCoolMenuManager::~CCoolMenuManager() {
  // A menu still converted (its frame went while it was open) gets its plain items back, and
  // records of menus destroyed meanwhile are freed.
  OnMenuSelect(0, 0xFFFF, nullptr);
  for (const CMenuItemRecord* record : m_records) delete record;
  m_records.clear();
  ReleaseResources();
}

void CCoolMenuManager::AttachToFrame(CFrameWnd* frame) {
  m_pFrameWnd = frame;
  SetHookedWindow(frame);
}

CMenuItemRecord* CCoolMenuManager::RecordOf(ULONG_PTR data) const {
  auto* record = reinterpret_cast<CMenuItemRecord*>(data);
  if (record == nullptr || m_records.count(record) == 0 || record->magic != CMenuItemRecord::kMagic) return nullptr;
  return record;
}

// ---- images ----

BOOL CCoolMenuManager::AddToolbarImages(UINT toolbarId) {
  // Through the system-colour loader, as the tool bar itself loads it.
  CBitmap bitmap;
  CPalette palette;
  if (!LoadSysColorBitmap(toolbarId, bitmap, palette)) return FALSE;
  platform::ResourceModule* module = platform::CurrentResourceModule();
  const auto* toolbar = module ? module->Find<platform::ToolBarTemplate>(toolbarId) : nullptr;
  if (toolbar == nullptr) return FALSE;
  const CSize size(toolbar->width, toolbar->height);
  if (m_imageSize.cx != 0 || m_imageSize.cy != 0) {
    if (m_imageSize.cx != size.cx || m_imageSize.cy != size.cy) return FALSE;  // every tool bar shares one image size
  } else {
    m_imageSize = size;
    m_buttonSize = CSize(size.cx + 4, size.cy + 4);
    m_imageList.Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 0, 10);
  }
  int next = m_imageList.GetImageCount();
  m_imageList.Add(&bitmap, static_cast<COLORREF>(::GetSysColor(COLOR_3DFACE)));
  for (UINT id : toolbar->items) {
    if (id == 0) continue;
    const WORD command = static_cast<WORD>(id);
    if (m_imageIndexById.count(command) != 0) continue;  // the first tool bar's image stays
    m_imageIndexById[command] = next++;
  }
  m_toolbarIds.push_back(toolbarId);
  return TRUE;
}

BOOL CCoolMenuManager::AddToolbarImagesMany(const UINT* ids, int count) {
  for (int i = 0; i < count; ++i) AddToolbarImages(ids[i]);
  return TRUE;
}

int CCoolMenuManager::FindImageIndex(UINT id) const {
  auto it = m_imageIndexById.find(static_cast<WORD>(id));
  return it == m_imageIndexById.end() ? -1 : it->second;
}

void CCoolMenuManager::ReleaseResources() {
  m_imageList.DeleteImageList();
  m_imageIndexById.clear();
  m_imageSize = CSize(0, 0);
  m_buttonSize = CSize(0, 0);
  m_toolbarIds.clear();
  m_menuFont.DeleteObject();
  FreeAccelerators();
}

void CCoolMenuManager::ReloadImages() {
  const std::vector<UINT> ids = m_toolbarIds;
  ReleaseResources();
  for (UINT id : ids) AddToolbarImages(id);
}

CFont* CCoolMenuManager::EnsureMenuFont() {
  if (m_menuFont.GetSafeHandle() == nullptr) {
    // The font the system's own menus are drawn in.
    LOGFONT font{};
    ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    m_menuFont.CreateFontIndirect(&font);
  }
  return &m_menuFont;
}

// ---- accelerators ----

void CCoolMenuManager::CopyAccelerators(HACCEL table) {
  FreeAccelerators();
  const int count = ::CopyAcceleratorTable(table, nullptr, 0);
  if (count <= 0) return;
  m_accelTable.resize(static_cast<std::size_t>(count));
  ::CopyAcceleratorTable(table, m_accelTable.data(), count);
  for (int i = 0; i < count; ++i) {
    const WORD command = m_accelTable[i].cmd;
    auto it = m_accelById.find(command);
    m_accelTable[i].cmd = static_cast<WORD>(it == m_accelById.end() ? 0 : i - it->second);
    m_accelById[command] = i;
  }
  m_hasAccelTable = true;
}

void CCoolMenuManager::FreeAccelerators() {
  m_accelById.clear();
  m_accelTable.clear();
  m_hasAccelTable = false;
}

bool CCoolMenuManager::AddAcceleratorText(CString& text, UINT id) const {
  const int tab = text.Find('\t');
  if (tab > 0) text = text.Left(tab);
  auto it = m_accelById.find(static_cast<WORD>(id));
  if (it == m_accelById.end()) return false;
  bool first = true;
  for (int i = it->second; i >= 0;) {
    const ACCEL& entry = m_accelTable[static_cast<std::size_t>(i)];
    text += first ? "\t" : ", ";
    first = false;
    if (entry.fVirt & FALT) text += "Alt+";
    if (entry.fVirt & FCONTROL) text += "Ctrl+";
    if (entry.fVirt & FSHIFT) text += "Shift+";
    if (entry.fVirt & FVIRTKEY) {
      char name[64] = {};
      const UINT scan = ::MapVirtualKey(entry.key, MAPVK_VK_TO_VSC);
      ::GetKeyNameText(static_cast<LONG>(scan << 16), name, sizeof name);
      text += name;
    } else {
      text += static_cast<char>(entry.key);
    }
    if (entry.cmd == 0) break;
    i -= entry.cmd;
  }
  return true;
}

// ---- conversion ----

void CCoolMenuManager::SetMenuOwnerDraw(HMENU menu, BOOL isSystemMenu, BOOL ownerDraw) {
  const int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    char buffer[kTextBuffer + 1] = {};
    MENUITEMINFO info{};
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = kTextBuffer;
    if (!::GetMenuItemInfo(menu, static_cast<UINT>(position), TRUE, &info)) continue;
    CMenuItemRecord* record = RecordOf(info.dwItemData);
    if (info.dwItemData != 0 && record == nullptr) continue;  // someone else's item
    if ((info.fType & MFT_OWNERDRAW) && record == nullptr) continue;
    if (isSystemMenu && info.wID >= kSystemCommandsFrom) continue;

    MENUITEMINFO change{};
    if (ownerDraw) {
      if (!(info.fType & MFT_OWNERDRAW)) {
        change.fMask |= MIIM_FTYPE;
        change.fType = info.fType | MFT_OWNERDRAW;
        if (record == nullptr) {
          record = new CMenuItemRecord;
          m_records.insert(record);
          record->type = change.fType;
          record->imageIndex = FindImageIndex(info.wID);
          change.fMask |= MIIM_DATA;
          change.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        }
        record->text = buffer;
      }
      if (std::find(m_convertedMenus.begin(), m_convertedMenus.end(), menu) == m_convertedMenus.end()) {
        m_convertedMenus.push_back(menu);
      }
      if (m_bAccelText && m_hasAccelTable) AddAcceleratorText(record->text, info.wID);
    } else {
      CString text;
      const bool wasOwnerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
      if (wasOwnerDrawn) {
        change.fMask |= MIIM_FTYPE;
        change.fType = info.fType & ~MFT_OWNERDRAW;
        text = record ? record->text : CString();
      } else {
        text = buffer;
      }
      if (record != nullptr) {
        m_records.erase(record);
        delete record;
        change.fMask |= MIIM_DATA;
        change.dwItemData = 0;
      }
      const bool accel = m_bAccelText && m_hasAccelTable && AddAcceleratorText(text, info.wID);
      if (wasOwnerDrawn || accel) {
        std::strncpy(buffer, text, kTextBuffer);
        buffer[kTextBuffer] = '\0';
        change.fMask |= MIIM_STRING;
        change.dwTypeData = buffer;
      }
    }
    if (change.fMask != 0) ::SetMenuItemInfo(menu, static_cast<UINT>(position), TRUE, &change);
  }
}

// ---- messages ----

LRESULT CCoolMenuManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      ReloadImages();
      break;
    case WM_MEASUREITEM:
      if (OnMeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (OnDrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam))) return TRUE;
      break;
    case WM_INITMENUPOPUP:
      // The frame updates the commands' states first.
      CSubclassWnd::WindowProc(message, wParam, lParam);
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      break;
    case WM_MENUCHAR: {
      const LRESULT result = OnMenuChar(static_cast<char>(LOBYTE(LOWORD(wParam))), HIWORD(wParam),
                                        reinterpret_cast<HMENU>(lParam));
      if (result != 0) return result;
      break;
    }
    default:
      break;
  }
  return CSubclassWnd::WindowProc(message, wParam, lParam);
}

void CCoolMenuManager::OnInitMenuPopup(HMENU menu, UINT, BOOL isSystemMenu) {
  if (m_bAccelText && m_pFrameWnd != nullptr && m_pFrameWnd->GetDefaultAccelerator() != nullptr) {
    CopyAccelerators(m_pFrameWnd->GetDefaultAccelerator());
  }
  SetMenuOwnerDraw(menu, isSystemMenu, m_bOwnerDrawMenus);
}

void CCoolMenuManager::OnMenuSelect(UINT, UINT flags, HMENU menu) {
  if (flags != 0xFFFF || menu != nullptr) return;
  // The menu closed: every converted pop-up goes back to plain strings.
  while (!m_convertedMenus.empty()) {
    HMENU converted = m_convertedMenus.front();
    m_convertedMenus.pop_front();
    if (::IsMenu(converted)) SetMenuOwnerDraw(converted, FALSE, FALSE);
  }
}

LRESULT CCoolMenuManager::OnMenuChar(char typed, UINT, HMENU menu) {
  const int count = ::GetMenuItemCount(menu);
  std::vector<int> matches;
  int highlighted = -1;
  const int wanted = std::tolower(static_cast<unsigned char>(typed));
  for (int position = 0; position < count; ++position) {
    MENUITEMINFO info{};
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
    if (!::GetMenuItemInfo(menu, static_cast<UINT>(position), TRUE, &info)) continue;
    if (info.fState & MFS_HILITE) highlighted = position;
    const CMenuItemRecord* record = RecordOf(info.dwItemData);
    if (!(info.fType & MFT_OWNERDRAW) || record == nullptr) continue;
    const int amp = record->text.Find('&');
    if (amp < 0 || amp + 1 >= record->text.GetLength()) continue;
    if (std::tolower(static_cast<unsigned char>(record->text[amp + 1])) == wanted) matches.push_back(position);
  }
  if (matches.empty()) return 0;
  if (matches.size() == 1) return MAKELRESULT(static_cast<WORD>(matches.front()), MNC_EXECUTE);
  int chosen = matches.front();
  if (highlighted >= 0) {
    for (int position : matches) {
      if (position > highlighted) {
        chosen = position;
        break;
      }
    }
  }
  return MAKELRESULT(static_cast<WORD>(chosen), MNC_SELECT);
}

BOOL CCoolMenuManager::OnMeasureItem(LPMEASUREITEMSTRUCT measure) {
  if (measure == nullptr || measure->CtlType != ODT_MENU) return FALSE;
  const CMenuItemRecord* record = RecordOf(measure->itemData);
  if (record == nullptr) return FALSE;
  const int menuHeight = ::GetSystemMetrics(SM_CYMENU);
  if (record->type & MFT_SEPARATOR) {
    measure->itemHeight = static_cast<UINT>(menuHeight / 2);
    measure->itemWidth = 0;
    return TRUE;
  }
  CWindowDC dc(nullptr);
  CFont* old = dc.SelectObject(EnsureMenuFont());
  CRect rect(0, 0, 0, 0);
  dc.DrawText(record->text, &rect, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
  dc.SelectObject(old);
  measure->itemHeight = static_cast<UINT>(std::max(menuHeight, static_cast<int>(rect.Height())));
  const int width = rect.Width() + 4 + 2 * m_buttonSize.cx - (::GetSystemMetrics(SM_CXMENUCHECK) - 1);
  measure->itemWidth = static_cast<UINT>(std::max(width, 0));
  return TRUE;
}
