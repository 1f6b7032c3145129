#pragma once
// One installed printer as the form settings and the tray panels see it: its device name, the
// bin that was current when it was looked at, and its paper bins by number and by name.
#include <QList>
#include <QString>

#include "platform/printing/PrinterCatalogue.h"
#include "platform/vb/Collection.h"

class clsPrinterInfo {
 public:
  QString DeviceName() const { return m_deviceName; }
  // Stores the name and takes the current bin of the first of the `installed` printers with
  // that name (letter case ignored) as DefaultPaperSourceNr; 0 when none has it.
  void let_DeviceName(const QString& value, const QList<printing::PrinterInfo>& installed);

  // Adds a bin under its name and under "K<number>". A name or number already present raises
  // 457 and adds nothing, so the two look-ups stay parallel.
  void AddPaperSource(const QString& Bezeichnung, short Number);

  short DefaultPaperSourceNr() const { return m_defaultPaperSourceNr; }

  // Bin number of a name (letter case ignored); 0 for ""; error 5 for a name not stored.
  int PaperSourceNr(const QString& strPaperSource) const;
  // Bin name of a number; error 5 for a number not stored.
  QString PaperSourceName(int lngPaperSource) const;

  // Walk the bins in the printer's order. False (and the arguments untouched) when there is none.
  bool FirstPaperSource(QString& Bezeichnung, short& Number);
  bool NextPaperSource(QString& Bezeichnung, short& Number);

 private:
  bool paperSourceAt(int position, QString& Bezeichnung, short& Number) const;

  vb::Collection<QString> m_namesByNumber;  // key "K<number>"
  vb::Collection<short> m_numbersByName;    // key = name
  int m_position = 0;
  QString m_deviceName;
  short m_defaultPaperSourceNr = 0;
};
