#pragma once
// File and folder dialogs, path splitting, the file-exists test and the whole-file read.
// Paths are the system's stored text: only the backslash separates folders when splitting, and
// every file access goes through vb::resolvePath. Text files are in the system's 8-bit code page
// (Windows-1252).
#include <QByteArray>
#include <QString>
#include <cstdint>

// The platform's open or save dialog. An empty `InitDir` starts in the current directory.
// Returns the chosen path, or "" on cancel and for a path longer than 255 characters (the
// stored-path columns and the dialog's buffer hold no more).
QString ShowCommonDialog(const QString& InitDir = {}, const QString& Filter = {}, const QString& FileName = {},
                         const QString& DialogTitle = {}, bool OpenFile = true);

// The file dialog the system's callers use: open (the file must exist) or save (`bSpeichern`).
// `hWndOwner` is taken for the callers' sake; the dialogs find their own parent window.
QString DateiDialog(const QString& DialogTitel, const QString& Filter, const QString& Dateiname, bool bSpeichern,
                    std::int32_t hWndOwner = 0, const QString& InitDir = {});

// The folder browser; "" on cancel.
QString OrdnerDialog(std::int32_t hWndOwner = -1, const QString& Titel = {});

// The text before its first null character. Error 6 when that lies beyond position 32767.
QString StripNull(const QString& Text);

// The part after the last backslash ("" without one). Error 6 above 32767 characters.
QString GetDateiName(const QString& Pfad);

// The part up to and including the last backslash ("" without one). Error 6 above 32767 characters.
QString GetPfad(const QString& Pfad);

// Whether the file can be opened for reading; a folder, an empty name or any failure is false.
bool DateiExistiert(const QString& Dateiname);

// The whole file as text, up to a Ctrl-Z end-of-file mark. A missing file raises 53; any other
// failure gives "" and no error.
QString DateiLesen(const QString& Dateiname);

// Text to and from the 8-bit code page of the system's text files; a character that has no byte
// there is written as "?".
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);
