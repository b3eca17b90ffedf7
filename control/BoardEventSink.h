#pragma once
// What the board model tells its control: the three events (the control adds its window handle)
// and requests to repaint.

class CBoardEventSink {
public:
  virtual ~CBoardEventSink() = default;

  // A click that may become a move; colour is the colour that would move.
  virtual void FirePosition(short row, short col, short colour) = 0;
  // A refusal or a notice, with a tagErrorCode value or 8 / 10.
  virtual void FireErrorEvent(short code) = 0;
  // A move removed count stones of colour.
  virtual void FireNumOfEat(short colour, short count) = 0;
  // The whole board needs repainting.
  virtual void InvalidateControl() = 0;
};
