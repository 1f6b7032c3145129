#include "platform/vb/VbError.h"

namespace vb {

VbError::VbError(long number, const QString& description, const QString& source)
    : std::runtime_error(QStringLiteral("%1: %2").arg(number).arg(description).toStdString()),
      m_number(number),
      m_description(description.isEmpty() ? standardErrorText(number) : description),
      m_source(source) {}

QString standardErrorText(long number) {
  switch (number) {
    case 5: return QStringLiteral("Unzulässiger Prozeduraufruf oder ungültiges Argument");
    case 6: return QStringLiteral("Überlauf");
    case 9: return QStringLiteral("Index außerhalb des gültigen Bereichs");
    case 11: return QStringLiteral("Division durch Null");
    case 13: return QStringLiteral("Typen unverträglich");
    case 53: return QStringLiteral("Datei nicht gefunden");
    case 62: return QStringLiteral("Einlesen hinter Dateiende");
    case 70: return QStringLiteral("Zugriff verweigert");
    case 75: return QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    case 76: return QStringLiteral("Pfad nicht gefunden");
    case 91: return QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt");
    case 94: return QStringLiteral("Unzulässige Verwendung von Null");
    case 429: return QStringLiteral("Objekterstellung durch ActiveX-Komponente nicht möglich.");
    case 438: return QStringLiteral("Objekt unterstützt diese Eigenschaft oder Methode nicht");
    case 440: return QStringLiteral("Automatisierungsfehler");
    case 457: return QStringLiteral("Dieser Schlüssel ist bereits einem Element dieser Auflistung zugeordnet");
    case 462: return QStringLiteral("Der Remoteservercomputer existiert nicht oder ist nicht verfügbar");
    default: return QStringLiteral("Anwendungs- oder objektdefinierter Fehler");
  }
}

void raise(long number, const QString& source, const QString& description) {
  throw VbError(number, description, source);
}

}  // namespace vb
