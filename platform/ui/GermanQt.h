#pragma once
// The system is German whatever LANG says: Qt's own texts (the font, colour and file dialogs,
// the standard buttons, the names of keys such as "Strg+C") come from Qt's German translations,
// and Qt's widgets write numbers and dates the German way. Called once by every program's main
// after the application object exists.
namespace ui {

// False when Qt's German translations are not installed (the texts stay English then).
bool useGermanQt();

}  // namespace ui
