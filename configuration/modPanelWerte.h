#pragma once
// What the template manager's record panels share: reading and writing the columns of the row the
// window hands them, and where a text box pops the placeholder menu.
#include <QString>
#include <functional>
#include <memory>

class QEvent;
class clsConnectionHandler;
class QLineEdit;
class QWidget;

namespace data { class Recordset; }

namespace configuration {

// Text columns of the host databases hold at most this many characters; multi-line boxes write
// to memo columns, which have no limit.
constexpr int kTextSpalteLaenge = 255;

// The column's value in the current row as text, Null as "". Errors (no such column, no current
// row) reach the caller.
QString SpaltenText(data::Recordset& rs, const QString& spalte);

// Writes `text` into the column of the current row. A text longer than `hoechstens` characters
// (0: no limit) is not cut: the column keeps what it holds, the user is told which box
// (`beschriftung`) was refused, and the result is false.
bool TextSpeichern(data::Recordset& rs, const QString& spalte, const QString& text, const QString& beschriftung,
                   int hoechstens = kTextSpalteLaenge);

class FormularFenster;

// The events of a box that takes placeholders: getting the focus makes it the box the window's
// placeholder menu inserts into (and shows the menu when `menueZeigen`), losing it hides the menu,
// F4 released opens the menu 10 right of the box's left edge plus the width of the text left of
// the caret, half-way down the box, in `panel`'s coordinates.
void PlatzhalterEreignis(FormularFenster& fenster, QWidget& panel, QLineEdit& feld, const QEvent& event,
                         bool menueZeigen);

// Runs `arbeit` (a template-store procedure, a designer) with `handler` as the engine-wide
// connection handler those read, then gives back the handler that was there, unless another host
// set its own meanwhile. So the template manager's database never reaches another host's work,
// nor another host's database the template manager's.
void MitVerbindungen(const std::shared_ptr<clsConnectionHandler>& handler, const std::function<void()>& arbeit);

// Runs a button's or key's work. An error must not leave a Qt event: it is shown to the user as
// `einleitung` (when given) and "Fehler <number>: <description>", and the result is false.
bool Aktion(const std::function<void()>& arbeit, const QString& einleitung = {});

}  // namespace configuration
