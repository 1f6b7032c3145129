#include "platform/data/DataError.h"

#include "platform/vb/VbError.h"

namespace data {
namespace {

QString standardText(long number) {
  switch (number) {
    case ErrNoCurrentRecord:
      return QStringLiteral("Entweder BOF oder EOF ist True, oder der aktuelle Datensatz wurde gelöscht. "
                            "Der angeforderte Vorgang benötigt einen aktuellen Datensatz.");
    case ErrIllegalOperation: return QStringLiteral("Der Vorgang ist in diesem Kontext nicht zugelassen.");
    case ErrNotUpdatable: return QStringLiteral("Die aktuelle Datensatzgruppe unterstützt keine Aktualisierung.");
    case ErrItemNotFound:
      return QStringLiteral("Das Objekt wurde in der Auflistung, die dem angeforderten Namen bzw. "
                            "Ordinalwert entspricht, nicht gefunden.");
    case ErrObjectClosed: return QStringLiteral("Der Vorgang ist für ein geschlossenes Objekt nicht zugelassen.");
    case ErrObjectOpen: return QStringLiteral("Der Vorgang ist für ein geöffnetes Objekt nicht zugelassen.");
    case ErrProviderNotFound:
      return QStringLiteral("Der Provider wurde nicht gefunden. Er ist möglicherweise nicht ordnungsgemäß installiert.");
    case ErrNoConnection:
      return QStringLiteral("Die Verbindung kann nicht für diesen Vorgang verwendet werden. Sie ist entweder "
                            "geschlossen oder in diesem Kontext ungültig.");
    case ErrRowNotFound:
      return QStringLiteral("Die Zeile für die Aktualisierung wurde nicht gefunden. Einige Werte wurden seit "
                            "dem letzten Lesen möglicherweise geändert.");
    case ErrNoBackwardFetch: return QStringLiteral("Das Rowset unterstützt keine Rückwärtsabrufe.");
    default: return vb::standardErrorText(number);
  }
}

}  // namespace

void raiseDataError(long number, const QString& description) {
  throw vb::VbError(number, description.isEmpty() ? standardText(number) : description, QStringLiteral("ADODB"));
}

}  // namespace data
