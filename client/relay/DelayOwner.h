#pragma once
// CDelayOwner: what the delay queue needs of the view that owns it.

class CDelayOwner {
public:
  virtual ~CDelayOwner() = default;

  // The relay's stored history has been received since the last connect.
  virtual bool IsHistoryComplete() const = 0;
  // Plays the stone sound when the view's settings allow it.
  virtual void PlayStoneSound() = 0;
};
