// The editor's system variables behind acedGetVar/acedSetVar, and the setters the editor itself
// uses (ERRNO is read only for programs but written by the entity picks).
#pragma once

namespace platform::acad {

// ERRNO values of the entity picks, as AutoCAD documents them.
constexpr int kErrnoPickMissed = 7;     // the pick found nothing
constexpr int kErrnoNullResponse = 52;  // Enter at an entity prompt

void SetErrno(int value);
int Errno();

// Back to a fresh drawing's values (ERRNO 0); the host calls it when a drawing is opened.
void ResetSystemVariables();

}  // namespace platform::acad
