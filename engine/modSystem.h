#pragma once
// The two facts about this workstation that print routes depend on. Both ask afresh on every
// call and keep nothing.
#include <QString>

// Device name of the default printer (the CUPS default destination); "" when there is none, so a
// "Standard" route then finds no printer and the page goes to the printer already current.
QString DefaultPrinterName();

// The computer name under which this workstation's routes are stored: the first label of the
// host name, upper case, at most 15 characters.
QString GetRechnerName();
