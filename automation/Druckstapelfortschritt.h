#pragma once
// What the public print classes share around a document added to the print batch and the
// connection handler a host hands them.
#include <QObject>
#include <QString>
#include <memory>

#include "platform/vb/Variant.h"

class clsConnectionHandler;
class frmInfoFenster;

// Shows `text` in the batch progress window, which is made and shown on first use with `besitzer`
// as its Parent (the cancel button calls its CancelOutput); an empty text shows nothing.
void FortschrittZeigen(std::unique_ptr<frmInfoFenster>& fenster, QObject* besitzer, const QString& text);

// The clsConnectionHandler of this process that a host hands over, nullptr for Nothing. Anything
// else, a handler living in another process included, cannot carry database connections: error
// 13 with `quelle` as its source.
std::shared_ptr<clsConnectionHandler> EigeneVerbindungen(const vb::Variant& handler, const QString& quelle);
