#include "orvanta/widgets/GifAnimCtrl.h"

#include <chrono>

#include <platform/files.h>
#include <platform/gdi.h>
#include <platform/resources.h>

BEGIN_MESSAGE_MAP(CGifAnimCtrl, CStatic)
  ON_WM_PAINT()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(CGifAnimCtrl::kFrameReadyMessage, OnFrameReady)
END_MESSAGE_MAP()

CGifAnimCtrl::CGifAnimCtrl() = default;

CGifAnimCtrl::~CGifAnimCtrl() { Stop(); }

BOOL CGifAnimCtrl::Load(const CString& path) {
  Stop();
  std::vector<std::uint8_t> bytes;
  CFile file;
  if (file.Open(path, CFile::modeRead | CFile::shareDenyNone)) {
    // A banner is a small picture: a file past the limit is not one.
    const std::uint64_t length = file.GetLength();
    if (length <= kMaxFileBytes) {
      bytes.resize(static_cast<std::size_t>(length));
      if (!bytes.empty() && file.Read(bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size())
        bytes.clear();
    }
    file.Close();
  }
  return LoadBytes(bytes.data(), bytes.size());
}

BOOL CGifAnimCtrl::LoadBytes(const std::uint8_t* data, std::size_t size) {
  Stop();
  std::lock_guard lock(m_mutex);
  m_canvas.clear();
  m_saved.clear();
  if (!m_decoder.Load(data, size))
    return FALSE;
  ResetCanvas();
  return TRUE;
}

void CGifAnimCtrl::ResetCanvas() {
  m_canvas.assign(static_cast<std::size_t>(m_decoder.GetScreenWidth()) *
                      static_cast<std::size_t>(m_decoder.GetScreenHeight()),
                  0);
  m_saved.clear();
  m_nPreviousDisposal = 4;
}

void CGifAnimCtrl::Play() {
  {
    std::lock_guard lock(m_mutex);
    if (!m_hWnd || !m_decoder.IsLoaded() || m_nState == kRunning)
      return;
    m_bStill = FALSE;
    m_decoder.Rewind();
    ResetCanvas();
    m_nState = kRunning;
  }
  if (m_thread.joinable())
    m_thread.join();
  m_thread = std::thread([this] { Animate(); });
}

void CGifAnimCtrl::Stop() {
  {
    std::lock_guard lock(m_mutex);
    if (m_nState == kRunning)
      m_nState = kStopRequested;
  }
  m_wake.notify_all();
  if (m_thread.joinable())
    m_thread.join();
  std::lock_guard lock(m_mutex);
  if (m_nState != kIdle)
    m_nState = kStopped;
}

BOOL CGifAnimCtrl::Rewind() {
  {
    std::lock_guard lock(m_mutex);
    m_decoder.Rewind();
    ResetCanvas();
  }
  return ComposeNextFrame() >= 0;
}

int CGifAnimCtrl::GetState() const {
  std::lock_guard lock(m_mutex);
  return m_nState;
}

int CGifAnimCtrl::GetScreenWidth() const {
  std::lock_guard lock(m_mutex);
  return m_decoder.GetScreenWidth();
}

int CGifAnimCtrl::GetScreenHeight() const {
  std::lock_guard lock(m_mutex);
  return m_decoder.GetScreenHeight();
}

std::vector<std::uint32_t> CGifAnimCtrl::CopyCanvas() const {
  std::lock_guard lock(m_mutex);
  return m_canvas;
}

int CGifAnimCtrl::ComposeNextFrame() {
  std::lock_guard lock(m_mutex);
  if (!m_decoder.IsLoaded())
    return -1;
  const int width = m_decoder.GetScreenWidth();
  const int height = m_decoder.GetScreenHeight();
  // Disposal 2 and 3 give the area under the previous frame back before the next one.
  if ((m_nPreviousDisposal == 8 || m_nPreviousDisposal == 12) && !m_saved.empty()) {
    std::size_t i = 0;
    for (int y = m_savedFrame.top; y < m_savedFrame.top + m_savedFrame.height; ++y)
      for (int x = m_savedFrame.left; x < m_savedFrame.left + m_savedFrame.width; ++x, ++i)
        if (x < width && y < height)
          m_canvas[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
              m_saved[i];
    m_saved.clear();
  }
  CGifDecoder::Frame frame;
  if (!m_decoder.NextFrame(frame)) {
    m_nPreviousDisposal = 0;
    return -1;
  }
  if (frame.disposal == 8 || frame.disposal == 12) {
    m_savedFrame = frame;
    m_savedFrame.pixels.clear();
    m_saved.clear();
    for (int y = frame.top; y < frame.top + frame.height; ++y)
      for (int x = frame.left; x < frame.left + frame.width; ++x)
        m_saved.push_back(x < width && y < height ? m_canvas[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                                             static_cast<std::size_t>(x)]
                                                  : 0);
  }
  DrawFrame(frame);
  m_nPreviousDisposal = frame.disposal;
  return frame.DelayMs();
}

void CGifAnimCtrl::DrawFrame(const CGifDecoder::Frame& frame) {
  const int width = m_decoder.GetScreenWidth();
  const int height = m_decoder.GetScreenHeight();
  for (int row = 0; row < frame.height; ++row) {
    const int y = frame.top + row;
    if (y >= height)
      break;
    for (int column = 0; column < frame.width; ++column) {
      const int x = frame.left + column;
      if (x >= width)
        break;
      const std::uint8_t index = frame.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(frame.stride) +
                                              static_cast<std::size_t>(column)];
      if (frame.transparent && index == frame.transparentIndex)
        continue;
      m_canvas[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          frame.palette[index];
    }
  }
}

void CGifAnimCtrl::Animate() {
  const HWND window = m_hWnd;
  for (;;) {
    const auto begun = std::chrono::steady_clock::now();
    const int delay = ComposeNextFrame();
    ::PostMessage(window, kFrameReadyMessage, 0, 0);
    std::unique_lock lock(m_mutex);
    // A frame that did not come waits the default delay before the walk goes on.
    const auto due = begun + std::chrono::milliseconds(delay < 0 ? CGifDecoder::kDefaultDelayMs : delay);
    m_wake.wait_until(lock, due, [this] { return m_nState != kRunning; });
    if (m_nState != kRunning) {
      m_saved.clear();
      m_nState = kStopped;
      return;
    }
  }
}

LRESULT CGifAnimCtrl::OnFrameReady(WPARAM, LPARAM) {
  Invalidate(FALSE);
  return 0;
}

void CGifAnimCtrl::SetLinkCursor(UINT cursorId) { m_hLinkCursor = AfxLoadCursor(cursorId); }

void CGifAnimCtrl::SetBitmap(UINT bitmapId) {
  m_still.DeleteObject();
  m_bStill = m_still.LoadBitmap(bitmapId);
}

void CGifAnimCtrl::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (!m_bFirstPaintDone) {
    m_bFirstPaintDone = TRUE;
    if (m_bStill) {
      BITMAP info{};
      m_still.GetBitmap(&info);
      CDC memory;
      memory.CreateCompatibleDC(&dc);
      CBitmap* old = memory.SelectObject(&m_still);
      dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
      memory.SelectObject(old);
    } else {
      dc.FillSolidRect(&client, RGB(0, 0, 0));
      dc.SetTextColor(RGB(255, 255, 255));
      dc.SetBkMode(TRANSPARENT);
      dc.DrawText("Loading...", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    Play();
    return;
  }
  std::lock_guard lock(m_mutex);
  const int width = m_decoder.GetScreenWidth();
  const int height = m_decoder.GetScreenHeight();
  if (m_canvas.empty() || width <= 0 || height <= 0)
    return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const DWORD shownWidth = static_cast<DWORD>(std::min<LONG>(width, client.Width()));
  ::SetDIBitsToDevice(dc.GetSafeHdc(), 0, 0, shownWidth, static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), m_canvas.data(), &info, DIB_RGB_COLORS);
}

void CGifAnimCtrl::OnLButtonUp(UINT flags, CPoint point) {
  if (m_hNotifyWindow)
    ::SendMessage(m_hNotifyWindow, kClickMessage, 0, 0);
  CStatic::OnLButtonUp(flags, point);
}

void CGifAnimCtrl::OnMouseMove(UINT flags, CPoint point) {
  if (m_hLinkCursor)
    ::SetCursor(m_hLinkCursor);
  CStatic::OnMouseMove(flags, point);
}
