#include "configuration/ctrArchivierungsDrucker.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "configuration/modDruckerrouten.h"
#include "foundation/modDebugOutput.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/printing/PrinterCatalogue.h"
#include "platform/vb/Convert.h"

namespace configuration {

namespace {
const QString kArchivZeile = QStringLiteral(" AND VonExemplar=-1");
constexpr int kBisSeiteArchiv = 32000;

void setze(data::Recordset& rs, const QString& name, const vb::Variant& value) {
  rs.Fields(vb::Variant(name))->let_Value(value);
}
}  // namespace

ctrArchivierungsDrucker::ctrArchivierungsDrucker(QWidget* parent) : QWidget(parent) {
  DebugOutput(QStringLiteral("->ctrArchivierungsDrucker.Initialize"));
  auto* Label3 = new QLabel(QStringLiteral("Archivierungsdrucker"), this);
  Label3->setObjectName(QStringLiteral("Label3"));
  m_Druckerliste = new QComboBox(this);
  m_Druckerliste->setObjectName(QStringLiteral("Druckerliste(0)"));
  m_Druckerliste->setEditable(true);
  m_Druckerliste->setInsertPolicy(QComboBox::NoInsert);
  m_Druckerliste->setMinimumContentsLength(24);
  auto* raster = new QGridLayout(this);
  raster->addWidget(Label3, 0, 0);
  raster->addWidget(m_Druckerliste, 1, 0);
  raster->setColumnStretch(1, 1);
  raster->setRowStretch(2, 1);
  DebugOutput(QStringLiteral("ctrArchivierungsDrucker.Initialize->"));
}

void ctrArchivierungsDrucker::FormInitialisieren() {
  m_Druckerliste->clear();
  for (const printing::PrinterInfo& p : printing::catalogue().printers()) m_Druckerliste->addItem(p.deviceName);
  m_Druckerliste->setEditText(QString());
}

void ctrArchivierungsDrucker::LoadData(short FormStatus, short FormNummer, const QString& RechnerName) {
  m_geladen = false;
  FormInitialisieren();
  const auto rs = RoutenLesen(FormularVerbindung(m_ConnectList), RechnerName, FormNummer, FormStatus,
                              kArchivZeile + QStringLiteral(" ORDER BY VonExemplar, VonSeite"));
  if (!rs->Eof()) {
    const vb::Variant drucker = rs->Fields(vb::Variant(QStringLiteral("Drucker")))->Value();
    m_Druckerliste->setEditText(drucker.isNull() ? QString() : vb::CStr(drucker));
  }
  m_FormStatus = FormStatus;
  m_FormNummer = FormNummer;
  m_RechnerName = RechnerName;
  m_geladen = true;
  rs->Close();
}

void ctrArchivierungsDrucker::SaveData() {
  if (!m_geladen) return;
  const QString drucker = m_Druckerliste->currentText();
  const auto con = FormularVerbindung(m_ConnectList);
  RoutenErsetzen(con, m_RechnerName, m_FormNummer, m_FormStatus, kArchivZeile, [&](data::Recordset& rs) {
    if (drucker.isEmpty()) return;
    rs.AddNew();
    setze(rs, QStringLiteral("FormStatus"), m_FormStatus);
    setze(rs, QStringLiteral("FormNummer"), m_FormNummer);
    setze(rs, QStringLiteral("RechnerName"), m_RechnerName);
    setze(rs, QStringLiteral("VonSeite"), 1);
    setze(rs, QStringLiteral("BisSeite"), kBisSeiteArchiv);
    setze(rs, QStringLiteral("LetzteSeiteZuerst"), false);
    setze(rs, QStringLiteral("VonExemplar"), -1);
    setze(rs, QStringLiteral("BisExemplar"), -1);
    setze(rs, QStringLiteral("Drucker"), drucker);
    setze(rs, QStringLiteral("SchachtText"), QStringLiteral(""));
    rs.Update();
  });
}

void ctrArchivierungsDrucker::DruckerlisteWaehlen(const QString& Drucker) { m_Druckerliste->setEditText(Drucker); }

}  // namespace configuration
