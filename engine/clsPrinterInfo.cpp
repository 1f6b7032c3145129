#include "engine/clsPrinterInfo.h"

#include "platform/vb/Convert.h"

namespace {
QString numberKey(long number) { return QStringLiteral("K") + QString::number(number); }
}  // namespace

void clsPrinterInfo::let_DeviceName(const QString& value, const QList<printing::PrinterInfo>& installed) {
  m_deviceName = value;
  for (const printing::PrinterInfo& p : installed) {
    if (vb::textEquals(p.deviceName, value)) {
      m_defaultPaperSourceNr = static_cast<short>(p.currentBin);
      return;
    }
  }
}

void clsPrinterInfo::AddPaperSource(const QString& Bezeichnung, short Number) {
  // Both look-ups are checked first: a half-added bin would put the two out of step.
  if (m_namesByNumber.Contains(numberKey(Number)) || m_numbersByName.Contains(Bezeichnung))
    vb::raise(vb::ErrDuplicateKey);
  m_namesByNumber.Add(Bezeichnung, numberKey(Number));
  m_numbersByName.Add(Number, Bezeichnung);
}

int clsPrinterInfo::PaperSourceNr(const QString& strPaperSource) const {
  if (strPaperSource.isEmpty()) return 0;
  return m_numbersByName.Item(strPaperSource);
}

QString clsPrinterInfo::PaperSourceName(int lngPaperSource) const {
  return m_namesByNumber.Item(numberKey(lngPaperSource));
}

bool clsPrinterInfo::paperSourceAt(int position, QString& Bezeichnung, short& Number) const {
  if (position < 1 || position > m_numbersByName.Count()) return false;
  Bezeichnung = m_numbersByName.KeyAt(position);
  Number = m_numbersByName.Item(position);
  return true;
}

bool clsPrinterInfo::FirstPaperSource(QString& Bezeichnung, short& Number) {
  m_position = 1;
  return paperSourceAt(m_position, Bezeichnung, Number);
}

bool clsPrinterInfo::NextPaperSource(QString& Bezeichnung, short& Number) {
  if (!paperSourceAt(m_position + 1, Bezeichnung, Number)) return false;
  ++m_position;
  return true;
}
