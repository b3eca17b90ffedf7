#pragma once
// CDelayOwner: what the delay queue needs of the view that owns it.

class CDelayOwner {
public:
  virtual ~CDelayOwner() = default;

  // The relay's stored history has been received since the last connect.
  virtual bool IsHistoryComplete() const = 0;
  // Plays the stone sound when the view's settings allow it.
  virtual void PlayStoneSound() = 0;
  // Events, the delay or the clock changed: what the queue holds back may fall due at another
  // time, so whoever releases it on time must look again.
  virtual void OnQueueChanged() = 0;
};
