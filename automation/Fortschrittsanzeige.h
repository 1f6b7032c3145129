#pragma once
// The progress window of a print batch, shared by the public print classes.
#include <QObject>
#include <QString>
#include <memory>

class frmInfoFenster;

// Shows `text` in the batch's progress window, making and showing the window on first use with
// `besitzer` as its Parent (whose CancelOutput the window's cancel button calls). An empty text
// shows nothing and makes no window.
void FortschrittZeigen(std::unique_ptr<frmInfoFenster>& fenster, QObject* besitzer, const QString& text);
