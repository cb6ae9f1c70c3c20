// The notice that asks the palette to keep its unsaved edits when the session ends with nobody to
// ask (the program was told to stop by a signal): what the program sends, what the palette
// answers.
//
// The program sends the palette window WM_QUERYENDSESSION first (lParam ENDSESSION_CLOSEAPP): the
// palette collects its page and answers FALSE when it holds edits that are not saved, TRUE when
// nothing would be lost. It then sends the message registered under kRecoveryNoticeName, with
// wParam the capacity of a wide-character buffer and lParam the buffer. The palette writes its
// project, as it is in the palette, as the project "NAME.recovered" in the project folder
// ("無題.recovered" for a project without a name; "NAME.recovered-2" and on when that file
// exists), never into the project file, and clears its modified flag so that closing it asks
// nothing. Its answer is one of the results below, with a path in the buffer.
#pragma once

#include <windows.h>

inline constexpr const wchar_t* kRecoveryNoticeName = L"Harnex.WriteRecovery";

// The palette's answers to the recovery notice.
enum RecoveryNoticeResult : LRESULT {
  kRecoveryNothingUnsaved = 0,  // no edits to keep; the buffer is empty
  kRecoveryWritten = 1,         // the buffer holds the recovery file's path
  kRecoveryNotWritten = -1,     // the file could not be written; the buffer holds its path
  kRecoveryNoFreeName = -2,     // every name up to "-999" is taken; the buffer holds the first
};
