#pragma once
#include <QStringList>

// skrivant-testhost formulartyp <datenverzeichnis> <datenbank>
//     declares form type 1001 from two record sets of its own process
// skrivant-testhost formulardruck <datenverzeichnis> <datenbank>
//     puts type 1001, template 1, into the print batch from the same record sets
int formulartyp(const QStringList& a, bool drucken);
