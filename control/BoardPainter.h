#pragma once
// Paints a board control's picture: wood, grid, star points, stones and every mark into a 32-bit
// pixel buffer, from the control's bitmap resources; then, once the pixels stand in a bitmap,
// the coordinates and move numbers through a device context.

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "control/BoardGeometry.h"
#include "platform/surface.h"

class CDC;
class CFont;
class CStoneInfo;
class CStolvexBoard;

// A view of the pixels of an off-screen picture.
struct PixelView {
  std::uint32_t* pixels{nullptr};
  int width{0};
  int height{0};
  int stride{0};  // pixels per row
};

// What the control shows besides the model.
struct PaintOptions {
  bool starPoints{true};
  bool lastMoveMark{true};
  CFont* numberFont{nullptr};  // move numbers
  CFont* labelFont{nullptr};   // coordinates
  const platform::Surface* texture{nullptr};  // the container's picture in place of the wood; null for the wood
};

class CBoardPainter {
public:
  // Reads the pictures from the current resource module (missing ones are simply not drawn).
  void LoadPictures();

  // The pixels of the whole picture; tells the model each point it painted.
  void PaintBoard(const PixelView& view, CStolvexBoard& board, const CBoardGeometry& geometry,
                  const PaintOptions& options);
  // The pixels of point index only (its region; the background under it is repainted first).
  void PaintPoint(const PixelView& view, CStolvexBoard& board, const CBoardGeometry& geometry,
                  const PaintOptions& options, int index);
  // The texts of the last paint (coordinates of a whole board, move numbers) on top of its pixels.
  void DrawTexts(CDC& dc, const CBoardGeometry& geometry, const PaintOptions& options);

private:
  struct Frame;  // what one paint reads once

  void PrepareFrame(Frame& frame, CStolvexBoard& board) const;
  // Tiles the area from (0,0) with the container's picture, or with the wood when there is none.
  void DrawBackground(const PixelView& view, const RECT& area, const platform::Surface* texture) const;
  void DrawGrid(const PixelView& view, const CBoardGeometry& geometry, const RECT& area) const;
  void DrawStarPoints(const PixelView& view, const CBoardGeometry& geometry, const RECT& area) const;
  void DrawLabels(CDC& dc, const CBoardGeometry& geometry, bool rotated, const PaintOptions& options) const;
  void DrawPoint(const PixelView& view, CStolvexBoard& board, const CBoardGeometry& geometry,
                 const PaintOptions& options, const Frame& frame, int index);
  void DrawStones(const PixelView& view, CStolvexBoard& board, const PaintOptions& options, const Frame& frame,
                  int index, const RECT& r);
  void DrawResultMark(const PixelView& view, const CStolvexBoard& board, int index, const RECT& r);
  void DrawLastMoveMark(const PixelView& view, int cell, const RECT& r);
  // A move number waiting for the text pass.
  struct Number {
    int value;
    bool onWhite;
    RECT box;
  };

  // A picture scaled to w x h (nearest pixel), kept for the next paint.
  const platform::Surface& Scaled(unsigned id, int w, int h);
  const platform::Surface* Picture(unsigned id) const;
  // Copies a picture to (x, y), leaving out the key colour.
  static void BlitKeyed(const PixelView& view, const platform::Surface& picture, int x, int y, std::uint32_t key,
                        const RECT* clipEllipse = nullptr);
  // Copies a picture where its mask is black (the board shows where the mask is white).
  static void BlitMasked(const PixelView& view, const platform::Surface& picture, const platform::Surface& mask,
                         int x, int y, const RECT* clipEllipse);
  // Copies a picture as it is, inside the ellipse of clip.
  static void BlitInEllipse(const PixelView& view, const platform::Surface& picture, int x, int y,
                            const RECT& clipEllipse);
  void BlitCentred(const PixelView& view, unsigned id, const RECT& r, std::uint32_t key, int dx = 0);

  std::vector<Number> m_numbers;  // of the last paint
  bool m_labelsDue{false};       // the last paint was of the whole board
  bool m_rotated{false};         // the board of the last paint was turned
  std::map<unsigned, platform::Surface> m_pictures;
  std::map<std::pair<unsigned, std::uint64_t>, platform::Surface> m_scaled;
};
