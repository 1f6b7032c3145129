#include "configuration/ctrMahnTexte.h"

#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "configuration/modPanelWerte.h"
#include "platform/data/Recordset.h"

namespace configuration {

namespace {

QPlainTextEdit* textInRahmen(QWidget* panel, QVBoxLayout* spalte, const QString& name, const QString& rahmen) {
  auto* box = new QGroupBox(rahmen, panel);
  auto* feld = new QPlainTextEdit(box);
  feld->setObjectName(name);
  (new QHBoxLayout(box))->addWidget(feld);
  spalte->addWidget(box, 1);
  return feld;
}

}  // namespace

ctrMahnTexte::ctrMahnTexte(Spalten spalten, QWidget* parent) : QWidget(parent), m_spalten(std::move(spalten)) {
  setFont(QFont(QStringLiteral("Arial"), font().pointSize()));
  auto* spalte = new QVBoxLayout(this);
  auto* zeile = new QHBoxLayout;
  zeile->addWidget(new QLabel(m_spalten.zeileBeschriftung, this));
  m_zeile = new QLineEdit(this);
  m_zeile->setObjectName(m_spalten.zeileName);
  zeile->addWidget(m_zeile, 1);
  spalte->addLayout(zeile);
  m_strVorText = textInRahmen(this, spalte, QStringLiteral("strVorText"), QStringLiteral("Vortext"));
  m_strSchlussText = textInRahmen(this, spalte, QStringLiteral("strSchlussText"), QStringLiteral("Schlusstext"));
}

void ctrMahnTexte::LoadData(data::Recordset& rs) {
  const bool leer = rs.Eof();
  m_strVorText->setPlainText(leer ? QString() : SpaltenText(rs, m_spalten.vorText));
  m_strSchlussText->setPlainText(leer ? QString() : SpaltenText(rs, m_spalten.schlussText));
  m_zeile->setText(leer ? QString() : SpaltenText(rs, m_spalten.zeile));
}

void ctrMahnTexte::SaveData(data::Recordset& rs) {
  TextSpeichern(rs, m_spalten.vorText, m_strVorText->toPlainText(), QStringLiteral("Vortext"), 0);
  TextSpeichern(rs, m_spalten.schlussText, m_strSchlussText->toPlainText(), QStringLiteral("Schlusstext"), 0);
  TextSpeichern(rs, m_spalten.zeile, m_zeile->text(), m_spalten.zeileBeschriftung);
}

}  // namespace configuration
