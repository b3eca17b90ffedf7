#pragma once
// Whether the labels of a module's dialog templates show whole: each template becomes a real
// dialog, and each label control's text is measured with the font the control draws with, the way
// it draws it: static text wrapped at the control's width, check box and radio labels after their
// box, push-button labels inside the frame, group captions on the frame's top edge.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/frames.h"
#include "platform/gdi.h"

namespace testsupport {

// The ids of the templates a module holds under numeric ids.
inline std::vector<UINT> DialogTemplateIdsOf(const platform::ResourceModule& module) {
  std::vector<UINT> found;
  for (UINT id = 1; id <= 0xFFFF; ++id)
    if (module.Find<platform::DialogTemplate>(id)) found.push_back(id);
  return found;
}

// What a label control needs beyond its text: the width and height its decorations take and the
// format its text is drawn with; false for controls that show no label.
inline bool LabelLayout(HWND control, int& decoration, int& frame, UINT& format) {
  char className[64] = {};
  ::GetClassName(control, className, sizeof className);
  DWORD style = static_cast<DWORD>(::GetWindowLong(control, GWL_STYLE));
  decoration = 0;
  frame = 0;
  format = DT_CALCRECT | DT_SINGLELINE;
  if (CString(className).CompareNoCase("Static") == 0) {
    DWORD kind = style & SS_TYPEMASK;
    if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_SIMPLE) return false;
    if (style & SS_SUNKEN) decoration = frame = 4;
    if (kind != SS_SIMPLE && !(style & SS_CENTERIMAGE)) format = DT_CALCRECT | DT_WORDBREAK;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    return true;
  }
  if (CString(className).CompareNoCase("Button") != 0) return false;
  DWORD kind = style & BS_TYPEMASK;
  if (kind == BS_OWNERDRAW) return false;
  if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || (style & BS_PUSHLIKE)) {
    decoration = 4;  // the raised frame
    if (style & BS_MULTILINE) format = DT_CALCRECT | DT_WORDBREAK;
  } else if (kind == BS_GROUPBOX) {
    decoration = 10;  // the caption starts 6 pixels in, with 2 pixels of face either side
  } else {
    decoration = 13 + 4;  // the check box or radio mark and the gap after it
  }
  return true;
}

// One line per label of template id of module that does not show whole: what it needs and what it
// has, in pixels.
inline std::vector<std::string> LabelsThatDoNotFit(const platform::ResourceModule& module, UINT id) {
  std::vector<std::string> problems;
  platform::ResourceScope scope(module.Handle());
  CDialog dialog(id);
  CFrameWnd* host = nullptr;  // form-view templates are child windows: they need a parent
  BOOL created = dialog.Create(id);
  if (!created) {
    host = new CFrameWnd;  // deletes itself when its window goes
    if (host->Create(nullptr, "labels", WS_OVERLAPPEDWINDOW)) {
      created = dialog.Create(id, host);
    } else {
      delete host;
      host = nullptr;
    }
  }
  if (!created) {
    if (host) host->DestroyWindow();
    return {"dialog " + std::to_string(id) + " could not be created"};
  }
  HDC dc = ::CreateCompatibleDC(nullptr);
  for (HWND control = ::GetWindow(dialog.GetSafeHwnd(), GW_CHILD); control;
       control = ::GetWindow(control, GW_HWNDNEXT)) {
    int decoration = 0, frame = 0;
    UINT format = 0;
    CString text;
    CWnd::FromHandle(control)->GetWindowText(text);
    if (text.IsEmpty() || !LabelLayout(control, decoration, frame, format)) continue;
    auto font = reinterpret_cast<HGDIOBJ>(::SendMessage(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(SYSTEM_FONT));
    RECT client{};
    ::GetClientRect(control, &client);
    int room = client.right - decoration, height = client.bottom - frame;
    RECT need{0, 0, room, 0};
    ::DrawText(dc, text, -1, &need, format);
    ::SelectObject(dc, old);
    int needWidth = need.right - need.left, needHeight = need.bottom - need.top;
    if (needWidth <= room && needHeight <= height) continue;
    char line[256];
    std::snprintf(line, sizeof line, "dialog %u control %d \"%s\": needs %dx%d, has %dx%d", id,
                  ::GetDlgCtrlID(control), text.GetString(), needWidth, needHeight, room, height);
    problems.emplace_back(line);
  }
  ::DeleteDC(dc);
  dialog.DestroyWindow();
  if (host) host->DestroyWindow();
  return problems;
}

// Every label of every template of module that does not show whole (see LabelsThatDoNotFit).
inline std::vector<std::string> ModuleLabelsThatDoNotFit(const platform::ResourceModule& module) {
  std::vector<std::string> problems;
  for (UINT id : DialogTemplateIdsOf(module))
    for (std::string& p : LabelsThatDoNotFit(module, id)) problems.push_back(std::move(p));
  return problems;
}

}  // namespace testsupport
