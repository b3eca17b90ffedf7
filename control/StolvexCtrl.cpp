#include "control/StolvexCtrl.h"

#include <cstdint>

#include "control/StolvexModule.h"
#include "platform/resources.h"

namespace {

constexpr int kInitialSize = 400;
constexpr DWORD kPersistedVersion = MAKELONG(kStolvexVersionMinor, kStolvexVersionMajor);

}  // namespace

BEGIN_MESSAGE_MAP(CStolvexCtrl, COleControl)
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
  ON_WM_CONTEXTMENU()
  ON_WM_SIZE()
  ON_COMMAND(ID_ROTATE_BOARD, OnRotateBoard)
  ON_COMMAND(ID_SHOW_COORDINATES, OnShowCoordinates)
  ON_UPDATE_COMMAND_UI(ID_SHOW_COORDINATES, OnUpdateShowCoordinates)
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CStolvexCtrl, COleControl)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "ImagePath", dispidImagePath, GetImagePath, SetImagePath, VT_BSTR)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "GameMode", dispidGameMode, GetGameMode, SetGameMode, VT_I4)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "UserColor", dispidUserColor, GetUserColor, SetUserColor, VT_I2)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "NumOfAdvatage", dispidNumOfAdvatage, GetNumOfAdvatage, SetNumOfAdvatage, VT_I2)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "LogicalPos", dispidLogicalPos, GetLogicalPos, SetLogicalPos, VT_I2)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "BreakPoint", dispidBreakPoint, GetBreakPoint, SetBreakPoint, VT_I2)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "Enable", dispidEnable, GetEnable, SetEnable, VT_I2)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "Rotate", dispidRotate, GetRotate, SetRotate, VT_I2)
  DISP_PROPERTY_EX_ID(CStolvexCtrl, "Test", dispidTest, GetTest, SetTest, VT_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "GoPrev", dispidGoPrev, GoPrev, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "GoNext", dispidGoNext, GoNext, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetDrawStone", dispidSetDrawStone, SetDrawStone, VT_EMPTY, VTS_I2 VTS_I2 VTS_I2 VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "GetStone", dispidGetStone, GetStone, VT_VARIANT, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "GetStoneList", dispidGetStoneList, GetStoneList, VT_VARIANT, VTS_NONE)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetDrawChar", dispidSetDrawChar, SetDrawChar, VT_EMPTY, VTS_I2 VTS_I2 VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "Redraw", dispidRedraw, Redraw, VT_EMPTY, VTS_I2 VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetStoneList", dispidSetStoneList, SetStoneList, VT_EMPTY, VTS_PVARIANT)
  DISP_FUNCTION_ID(CStolvexCtrl, "GetLastColor", dispidGetLastColor, GetLastColor, VT_I2, VTS_NONE)
  DISP_FUNCTION_ID(CStolvexCtrl, "Again", dispidAgain, Again, VT_EMPTY, VTS_NONE)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetSizeControl", dispidSetSizeControl, SetSizeControl, VT_EMPTY, VTS_I2 VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "Init", dispidInit, Init, VT_EMPTY, VTS_NONE)
  DISP_FUNCTION_ID(CStolvexCtrl, "GetResult", dispidGetResult, GetResult, VT_I2, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetHandicap", dispidSetHandicap, SetHandicap, VT_EMPTY, VTS_I2 VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "GetAreaInfo", dispidGetAreaInfo, GetAreaInfo, VT_VARIANT, VTS_NONE)
  DISP_FUNCTION_ID(CStolvexCtrl, "RemoveStone", dispidRemoveStone, RemoveStone, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetStone", dispidSetStone, SetStone, VT_EMPTY, VTS_I2 VTS_I2 VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "UnCheckStone", dispidUnCheckStone, UnCheckStone, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "GetChangedCount", dispidGetChangedCount, GetChangedCount, VT_I2, VTS_NONE)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetMyTurn", dispidSetMyTurn, SetMyTurn, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetDrawNinePoint", dispidSetDrawNinePoint, SetDrawNinePoint, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetDrawNumber", dispidSetDrawNumber, SetDrawNumber, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetDrawLastPoint", dispidSetDrawLastPoint, SetDrawLastPoint, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "GetStone2", dispidGetStone2, GetStone2, VT_BSTR, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "GetBigPos", dispidGetBigPos, GetBigPos, VT_BSTR, VTS_I2)
  DISP_FUNCTION_ID(CStolvexCtrl, "SetBigPos", dispidSetBigPos, SetBigPos, VT_EMPTY, VTS_I2 VTS_I2)
END_DISPATCH_MAP()

BEGIN_EVENT_MAP(CStolvexCtrl, COleControl)
  EVENT_CUSTOM_ID("NumOfEat", eventidNumOfEat, FireNumOfEat, VTS_I2 VTS_I2 VTS_I4)
  EVENT_CUSTOM_ID("ErrorEvent", eventidErrorEvent, FireErrorEvent, VTS_I2 VTS_I4)
  EVENT_CUSTOM_ID("Position", eventidPosition, FirePosition, VTS_I2 VTS_I2 VTS_I2 VTS_I4)
END_EVENT_MAP()

CStolvexCtrl::CStolvexCtrl() : m_board(*this, &StolvexModule()) {
  InitializeIIDs(&DIID__DStolvex, &DIID__DStolvexEvents);
  SetInitialSize(kInitialSize, kInitialSize);
  // Made outside a class factory (tests), the control still finds its own pictures.
  platform::ResourceScope scope(StolvexResources().Handle());
  m_painter.LoadPictures();
  m_numberFont.CreateFont(12, 6, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, Cp949("바탕체"));
  m_labelFont.CreateFont(8, 8, 9, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, Cp949("굴림체"));
  CalcBoardGeometry();
}

CStolvexCtrl::~CStolvexCtrl() = default;

LONG CStolvexCtrl::WindowHandleArgument() const {
  return static_cast<LONG>(reinterpret_cast<std::intptr_t>(m_hWnd));
}

void CStolvexCtrl::DoPropExchange(CPropExchange* px) {
  ExchangeVersion(px, kPersistedVersion);
  COleControl::DoPropExchange(px);
}

void CStolvexCtrl::OnResetState() { COleControl::OnResetState(); }

// ---- events --------------------------------------------------------------------------------------

void CStolvexCtrl::FirePosition(short row, short col, short colour) {
  FireEvent(eventidPosition, EVENT_PARAM(VTS_I2 VTS_I2 VTS_I2 VTS_I4), SHORT{row}, SHORT{col}, SHORT{colour},
            WindowHandleArgument());
}

void CStolvexCtrl::FireErrorEvent(short code) {
  FireEvent(eventidErrorEvent, EVENT_PARAM(VTS_I2 VTS_I4), SHORT{code}, WindowHandleArgument());
}

void CStolvexCtrl::FireNumOfEat(short colour, short count) {
  FireEvent(eventidNumOfEat, EVENT_PARAM(VTS_I2 VTS_I2 VTS_I4), SHORT{colour}, SHORT{count}, WindowHandleArgument());
}

// ---- properties ----------------------------------------------------------------------------------

BSTR CStolvexCtrl::GetImagePath() { return Cp949ToBstr(m_imagePath.GetString()); }

void CStolvexCtrl::SetImagePath(BSTR path) {
  m_imagePath = BstrToCp949(path);
  // A picture that loads replaces the wood; one that does not leaves the wood.
  m_image = std::make_unique<CDibImage>();
  m_image->LoadFile(m_imagePath.GetString());
  MakeTexture();
  SetModifiedFlag();
  InvalidateControl();
}

LONG CStolvexCtrl::GetGameMode() { return m_board.GetGameMode(); }
void CStolvexCtrl::SetGameMode(LONG mode) {
  m_board.SetGameMode(mode);
  SetModifiedFlag();
  InvalidateControl();
}
SHORT CStolvexCtrl::GetUserColor() { return m_board.GetUserColor(); }
void CStolvexCtrl::SetUserColor(SHORT colour) {
  m_board.SetUserColor(colour);
  SetModifiedFlag();
}
SHORT CStolvexCtrl::GetNumOfAdvatage() { return m_board.GetNumOfAdvatage(); }
void CStolvexCtrl::SetNumOfAdvatage(SHORT count) {
  m_board.SetNumOfAdvatage(count);
  SetModifiedFlag();
}
SHORT CStolvexCtrl::GetLogicalPos() { return m_board.GetLogicalPos(); }
void CStolvexCtrl::SetLogicalPos(SHORT position) {
  m_board.SetLogicalPos(position);
  SetModifiedFlag();
}
SHORT CStolvexCtrl::GetBreakPoint() { return m_board.GetBreakPoint(); }
void CStolvexCtrl::SetBreakPoint(SHORT position) {
  m_board.SetBreakPoint(position);
  SetModifiedFlag();
}
SHORT CStolvexCtrl::GetEnable() { return m_board.GetEnable(); }
void CStolvexCtrl::SetEnable(SHORT enable) {
  m_board.SetEnable(enable);
  SetModifiedFlag();
}
SHORT CStolvexCtrl::GetRotate() { return m_board.GetRotate(); }
void CStolvexCtrl::SetRotate(SHORT rotate) {
  m_board.SetRotate(rotate);
  SetModifiedFlag();
}
SHORT CStolvexCtrl::GetTest() { return m_board.GetTest(); }
void CStolvexCtrl::SetTest(SHORT test) {
  m_board.SetTest(test);
  SetModifiedFlag();
}

// ---- methods -------------------------------------------------------------------------------------

void CStolvexCtrl::GoPrev(SHORT flag) { m_board.GoPrev(flag); }
void CStolvexCtrl::GoNext(SHORT flag) { m_board.GoNext(flag); }
void CStolvexCtrl::SetDrawStone(SHORT row, SHORT col, SHORT colour, SHORT count) {
  m_board.SetDrawStone(row, col, colour, count);
}

VARIANT CStolvexCtrl::GetStone(SHORT state) {
  const std::vector<CStoneInfo*> records = m_board.GetStone(state);
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(records.size()));
  if (!array)
    AfxThrowOleDispatchException(kStolvexErrorOutOfMemory, "Out of Memory");
  for (std::size_t k = 0; k < records.size(); ++k) {
    CComVariant item(static_cast<IDispatch*>(static_cast<IStoneInfo*>(records[k])));
    LONG index = static_cast<LONG>(k);
    if (FAILED(SafeArrayPutElement(array, &index, &item))) {
      SafeArrayDestroy(array);
      AfxThrowOleDispatchException(kStolvexErrorUnexpected, "Unexpected Failure in GetArray method");
    }
  }
  VARIANT result{};
  result.vt = VT_ARRAY | VT_VARIANT;
  result.parray = array;
  return result;
}

VARIANT CStolvexCtrl::GetStoneList() {
  VARIANT result{};
  CStoneList& list = m_board.StoneList();
  list.AddRef();
  result.vt = VT_DISPATCH;
  result.pdispVal = static_cast<IDispatch*>(static_cast<IStoneList*>(&list));
  return result;
}

void CStolvexCtrl::SetDrawChar(SHORT row, SHORT col, SHORT character) { m_board.SetDrawChar(row, col, character); }

void CStolvexCtrl::SetStoneList(VARIANT* stoneList) {
  if (!stoneList)
    return;
  const VARIANT* value = stoneList;
  if (value->vt == (VT_VARIANT | VT_BYREF) && value->pvarVal)
    value = value->pvarVal;
  IDispatch* dispatch = nullptr;
  if (value->vt == VT_DISPATCH)
    dispatch = value->pdispVal;
  else if (value->vt == (VT_DISPATCH | VT_BYREF) && value->ppdispVal)
    dispatch = *value->ppdispVal;
  CComPtr<IStoneList> list;
  if (!dispatch || FAILED(dispatch->QueryInterface(IID_IStoneList, reinterpret_cast<void**>(&list))))
    return;  // nothing that holds a history: nothing to copy
  m_board.SetStoneList(list);
}

SHORT CStolvexCtrl::GetLastColor() { return m_board.GetLastColor(); }
void CStolvexCtrl::Again() { m_board.Again(); }

void CStolvexCtrl::SetSizeControl(SHORT cx, SHORT cy) {
  SetControlSize(cx, cy);
  CalcBoardGeometry();
  if (!m_hWnd) {  // a window's resize makes the font in OnSize
    const RECT& first = m_geometry.Region(0);
    MakeNumberFont(first.right - first.left);
  }
  InvalidateControl();
}

void CStolvexCtrl::Init() {
  m_board.Init();
  m_starPoints = true;
  m_labels = false;
  m_image.reset();
  MakeTexture();
  CalcBoardGeometry();
  InvalidateControl();
}

SHORT CStolvexCtrl::GetResult(SHORT) { return 0; }
void CStolvexCtrl::SetHandicap(SHORT colour, SHORT count) { m_board.SetHandicap(colour, count); }

VARIANT CStolvexCtrl::GetAreaInfo() {
  SAFEARRAY* array = SafeArrayCreateVector(VT_I2, 0, POINT_COUNT);
  if (!array)
    AfxThrowOleDispatchException(kStolvexErrorOutOfMemory, "Out of Memory");
  for (LONG i = 0; i < POINT_COUNT; ++i) {
    SHORT cell = static_cast<SHORT>(m_board.GetCell(i));
    if (FAILED(SafeArrayPutElement(array, &i, &cell))) {
      SafeArrayDestroy(array);
      AfxThrowOleDispatchException(kStolvexErrorUnexpected, "Unexpected Failure in GetAreaInfo method");
    }
  }
  VARIANT result{};
  result.vt = VT_ARRAY | VT_I2;
  result.parray = array;
  return result;
}

void CStolvexCtrl::RemoveStone(SHORT mask) { m_board.RemoveStone(mask); }
void CStolvexCtrl::SetStone(SHORT row, SHORT col, SHORT mask) { m_board.SetStone(row, col, mask); }
void CStolvexCtrl::UnCheckStone(SHORT mask) { m_board.UnCheckStone(mask); }
SHORT CStolvexCtrl::GetChangedCount() { return m_board.GetChangedCount(); }
void CStolvexCtrl::SetMyTurn(SHORT flag) { m_board.SetMyTurn(flag); }
void CStolvexCtrl::SetDrawNinePoint(SHORT value) { m_starPoints = value != 0; }
void CStolvexCtrl::SetDrawNumber(SHORT) {}
void CStolvexCtrl::SetDrawLastPoint(SHORT value) { m_lastMoveMark = value == 1; }
BSTR CStolvexCtrl::GetStone2(SHORT state) { return Cp949ToBstr(m_board.GetStone2(state).GetString()); }
BSTR CStolvexCtrl::GetBigPos(SHORT mask) { return Cp949ToBstr(m_board.GetBigPos(mask).GetString()); }
void CStolvexCtrl::SetBigPos(SHORT index, SHORT flag) { m_board.SetBigPos(index, flag); }
