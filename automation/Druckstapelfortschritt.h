#pragma once
// What the public print classes share: the batch progress window and the check that no other job
// runs on the print window.
#include <QObject>
#include <QString>
#include <memory>

#include "platform/vb/Variant.h"

class clsConnectionHandler;
class frmDrucken;
class frmInfoFenster;

// Shows `text` in the batch progress window, which is made and shown on first use with `besitzer`
// as its Parent (the cancel button calls its CancelOutput); an empty text shows nothing.
void FortschrittZeigen(std::unique_ptr<frmInfoFenster>& fenster, QObject* besitzer, const QString& text);

// Error 5 while a job runs on the print window: a preview or dialog of that job lets other hosts'
// calls in, and a job started from one of them would run inside the first and spoil both.
void KeinLaufenderAuftrag(const frmDrucken& fenster, const QString& quelle);
