#pragma once
// A host's own record set, as a host program keeps it in its process and hands it to
// clsDruckAllgemein: columns with the desktop database's type codes (1 Boolean, 4 Long, 7 Double,
// 8 Date, 10 Text, ...) and rows of values, reached by name only (RecordCount, MoveFirst,
// MoveNext, MoveLast, EOF, Fields with Count, Item, Name, Type, Value). A value read while the
// set stands past its last row raises 3021, as a database record set does.
#include <QList>
#include <QObject>
#include <QStringList>
#include <memory>

#include "platform/vb/Variant.h"
#include "platform/vb/VbError.h"

namespace testsupport {

struct HostDaten {
  QStringList namen;
  QList<int> typen;
  QList<QList<vb::Variant>> zeilen;
  int position = 0;
  QStringList gelesen;  // "Name=Wert" of every value read, in order
};

class HostFeld : public QObject {
  Q_OBJECT
 public:
  HostFeld(std::shared_ptr<HostDaten> d, int spalte) : m_d(std::move(d)), m_spalte(spalte) {}
  Q_INVOKABLE QString Name() const { return m_d->namen.at(m_spalte); }
  Q_INVOKABLE int Type() const { return m_d->typen.at(m_spalte); }
  Q_INVOKABLE vb::Variant Value() const {
    if (m_d->position >= m_d->zeilen.size())
      vb::raise(3021, QStringLiteral("HostDatensatz"), QStringLiteral("Kein aktueller Datensatz."));
    const vb::Variant wert = m_d->zeilen.at(m_d->position).at(m_spalte);
    m_d->gelesen << Name() + QLatin1Char('=') + (wert.isValue() ? wert.value().toString() : QString());
    return wert;
  }

 private:
  std::shared_ptr<HostDaten> m_d;
  int m_spalte;
};

class HostFelder : public QObject {
  Q_OBJECT
 public:
  explicit HostFelder(std::shared_ptr<HostDaten> d) : m_d(std::move(d)) {}
  Q_INVOKABLE int Count() const { return static_cast<int>(m_d->namen.size()); }
  Q_INVOKABLE vb::Variant Item(int i) const {
    if (i < 0 || i >= Count()) vb::raise(3265, QStringLiteral("HostDatensatz"));
    return vb::Variant(std::make_shared<HostFeld>(m_d, i));
  }

 private:
  std::shared_ptr<HostDaten> m_d;
};

class HostDatensatz : public QObject {
  Q_OBJECT
 public:
  HostDatensatz(const QStringList& namen, const QList<int>& typen, const QList<QList<vb::Variant>>& zeilen)
      : m_d(std::make_shared<HostDaten>(HostDaten{namen, typen, zeilen})) {}
  Q_INVOKABLE int RecordCount() const { return static_cast<int>(m_d->zeilen.size()); }
  Q_INVOKABLE void MoveFirst() { m_d->position = 0; }
  Q_INVOKABLE void MoveLast() { m_d->position = std::max(0, RecordCount() - 1); }
  Q_INVOKABLE void MoveNext() { ++m_d->position; }
  Q_INVOKABLE bool Eof() const { return m_d->position >= RecordCount(); }
  Q_INVOKABLE vb::Variant Fields() const { return vb::Variant(std::make_shared<HostFelder>(m_d)); }

  const QStringList& gelesen() const { return m_d->gelesen; }

 private:
  std::shared_ptr<HostDaten> m_d;
};

}  // namespace testsupport
