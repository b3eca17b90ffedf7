#pragma once
// CGifAnimCtrl: a static control that shows an animated GIF. A worker thread of its own walks the
// file's frames with their delays and composes them on a screen-sized canvas (transparency and
// disposal); the window paints the canvas. A click is passed to a notify window.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include <platform/controls_basic.h>
#include <platform/gdi_objects.h>

#include "orvanta/widgets/GifDecoder.h"

class CGifAnimCtrl : public CStatic {
public:
  // Sent to the notify window on a click.
  static constexpr UINT kClickMessage = 0xC4B;
  // Posted by the animation thread when a new frame is on the canvas.
  static constexpr UINT kFrameReadyMessage = WM_USER + 0x4C;
  // Thread states.
  enum { kIdle = 0, kStopRequested = 1, kStopped = 2, kRunning = 5 };
  // Largest file Load reads.
  static constexpr std::uint64_t kMaxFileBytes = 16u << 20;

  CGifAnimCtrl();
  ~CGifAnimCtrl() override;

  // Stops the animation and reads the file; FALSE (control empty) when it is not a usable GIF.
  BOOL Load(const CString& path);
  // Loads a file already in memory (the same rules as Load).
  BOOL LoadBytes(const std::uint8_t* data, std::size_t size);
  // Starts the animation thread when the window and a file exist and it is not running.
  void Play();
  // Stops the thread and waits for it.
  void Stop();
  // Back to the first image, which is composed on the canvas at once; FALSE without one.
  BOOL Rewind();
  // Composes the next frame on the canvas (the thread's step); the frame's delay in ms, or -1
  // when no frame came.
  int ComposeNextFrame();

  void SetNotifyWindow(HWND window) { m_hNotifyWindow = window; }
  void SetLinkCursor(UINT cursorId);
  // The picture shown before the first frame.
  void SetBitmap(UINT bitmapId);

  int GetState() const;
  int GetScreenWidth() const;
  int GetScreenHeight() const;
  // A copy of the canvas (0x00RRGGBB, rows top-down, screen width x height).
  std::vector<std::uint32_t> CopyCanvas() const;

protected:
  void OnPaint();
  void OnLButtonUp(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);
  LRESULT OnFrameReady(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

private:
  void Animate();
  // Fills the canvas anew (black) at the decoder's screen size; the lock is held.
  void ResetCanvas();
  void DrawFrame(const CGifDecoder::Frame& frame);

  HCURSOR m_hLinkCursor{nullptr};
  HWND m_hNotifyWindow{nullptr};
  CBitmap m_still;
  BOOL m_bStill{FALSE};
  BOOL m_bFirstPaintDone{FALSE};
  mutable std::mutex m_mutex;  // guards everything below
  std::condition_variable m_wake;
  CGifDecoder m_decoder;
  std::vector<std::uint32_t> m_canvas;
  std::vector<std::uint32_t> m_saved;  // the area under a frame that restores it
  CGifDecoder::Frame m_savedFrame;     // where m_saved belongs
  int m_nPreviousDisposal{4};
  int m_nState{kIdle};
  std::thread m_thread;
};
