#pragma once
// The workstation's name as the route tables store it (RechnerName): what the Windows computer
// name was, so it must stay stable and fit 15 characters.
#include <QString>

namespace printing {

// The first label of `hostName` (up to the first '.'), in upper case, cut to 15 characters.
QString computerNameFromHostName(const QString& hostName);
// computerNameFromHostName of this machine's host name.
QString computerName();

}  // namespace printing
