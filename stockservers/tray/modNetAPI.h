#pragma once
// HTTP downloads of the branch synchronisation, and its short wait. Both run on the program's one
// thread and let pending events (timer ticks, clicks, client calls) run while they wait.
#include <QString>
#include <cstdint>

// Errors DownloadURL raises, so a request that was not delivered never looks like one that was.
enum : long {
  // No connection, a timeout, or a transfer that broke off; the file holds what had arrived.
  ErrWebVerbindung = 12029,
  // The service answered with an HTTP error status; the file is left empty.
  ErrWebStatus = 12152,
};

// Fetches `strURL` into the file `strDatei` (a stored path), always from the server, never from
// a cache, in pieces of up to 2048 bytes written as they come. `Anhaengen` appends to the file
// (rewriting it when it cannot be opened for appending); otherwise the file is emptied first.
// A non-empty `strNachsatz` follows the data as a line of its own. `lngZugriff` 0 uses the
// system's proxy configuration, any other value connects directly; `lngUnbenutzt` is not used.
// The agent string is the setting "WebAgent" of section "LagerServer" ("Tarnelo Lagerserver" when
// missing or blank).
// Returns "". Raises ErrWebVerbindung or ErrWebStatus as above, 75 when the file cannot be written.
QString DownloadURL(const QString& strURL, const QString& strDatei, std::int32_t lngZugriff,
                    std::int32_t& lngUnbenutzt, bool Anhaengen = false, const QString& strNachsatz = {});

// Lets pending events run once; a positive `lngMillisekunden` then waits that long on the event
// loop (events keep running; the thread does not sleep).
void Warte(std::int32_t lngMillisekunden);
