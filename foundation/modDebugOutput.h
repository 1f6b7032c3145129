#pragma once
// The debug log: one plain text file per program, always on. DebugOutputInit chooses the file and
// empties it; DebugOutput appends one line. Lines end with CR LF and are written in Windows-1252,
// the code page the log has always had, so existing viewers and tools read it unchanged.
#include <QString>

// Log path = local path (GetLokalerPfad) & `Dateiname`, or & the executable's name & ".DBG" when
// `Dateiname` is empty. Deletes the file there (any letter case of its name: "Debug.txt" and
// "DEBUG.TXT" are one log); a failed delete is ignored. Also routes the run time's trapped-error
// lines into this log.
void DebugOutputInit(const QString& Dateiname = {});

// Appends `Text` and CR LF to the log, opening and closing the file for each line. Does nothing
// before the first DebugOutputInit. Never raises: a log that cannot be written is skipped, so that
// logging cannot break the procedure that logs.
void DebugOutput(const QString& Text);
