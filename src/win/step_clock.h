// Timestamps of the steps of a request, for the Wine timing program that links the shell
// statically and breaks a request down. Off unless that program turns it on: a mark is then
// one test of a flag. Fixed storage, nothing allocated, nothing thrown.
#pragma once

namespace pictornx {

inline constexpr int kMaxSteps = 24;

// Turns the clock on or off and forgets every mark.
void StartStepClock(bool on);
// Records the time with `name` (a string literal) when the clock is on and has room.
void MarkStep(const char* name);

struct StepMark {
  const char* name;
  double milliseconds;  // on the performance counter's scale
};
// The marks recorded since StartStepClock; returns their count.
int StepMarks(const StepMark** marks);

}  // namespace pictornx
