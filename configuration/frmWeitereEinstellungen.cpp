#include "configuration/frmWeitereEinstellungen.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include "configuration/modPanelWerte.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

namespace configuration {

namespace {

const QString kDuplikatsvermerk = QStringLiteral("Duplikatsvermerk");
const QString kFalzstriche = QStringLiteral("Falzstriche");

QToolButton* bildknopf(QWidget* dialog, const char* name, QStyle::StandardPixmap bild, const QString& tipp) {
  auto* knopf = new QToolButton(dialog);
  knopf->setObjectName(QString::fromLatin1(name));
  knopf->setIcon(dialog->style()->standardIcon(bild));
  knopf->setIconSize(QSize(24, 24));
  knopf->setToolTip(tipp);
  return knopf;
}

}  // namespace

frmWeitereEinstellungen::frmWeitereEinstellungen(std::shared_ptr<clsConnectionHandler> ConnectList, QWidget* parent)
    : QDialog(parent),
      m_ConnectList(std::move(ConnectList)),
      m_blnDuplikatsVermerk(new QCheckBox(QStringLiteral("Kennzeichnung von Kopien"), this)),
      m_blnFalzstriche(new QCheckBox(QStringLiteral("Falzstriche"), this)),
      m_strDatenverzeichnis(new QLineEdit(this)),
      m_strLokalesVerzeichnis(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("weitere Druckeinstellungen"));
  m_blnDuplikatsVermerk->setObjectName(QStringLiteral("blnDuplikatsVermerk"));
  m_blnFalzstriche->setObjectName(QStringLiteral("blnFalzstriche"));
  m_strDatenverzeichnis->setObjectName(QStringLiteral("strDatenverzeichnis"));
  m_strLokalesVerzeichnis->setObjectName(QStringLiteral("strLokalesVerzeichnis"));
  m_strDatenverzeichnis->setReadOnly(true);
  m_strLokalesVerzeichnis->setReadOnly(true);
  m_strDatenverzeichnis->setMinimumWidth(320);

  auto* cmdStart = bildknopf(this, "cmdStart", QStyle::SP_DialogApplyButton, QStringLiteral("Bestätigt Ihre Auswahl"));
  auto* cmdZurueck = bildknopf(this, "cmdZurueck", QStyle::SP_DialogCancelButton,
                               QStringLiteral("Schließen und Auswahl abbrechen"));

  auto* raster = new QGridLayout(this);
  raster->addWidget(m_blnDuplikatsVermerk, 0, 0, 1, 2);
  raster->addWidget(m_blnFalzstriche, 1, 0, 1, 2);
  auto* label1 = new QLabel(QStringLiteral("Datenverzeichnis"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  raster->addWidget(label1, 2, 0);
  raster->addWidget(m_strDatenverzeichnis, 2, 1);
  auto* label2 = new QLabel(QStringLiteral("lokales Verzeichnis"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  raster->addWidget(label2, 3, 0);
  raster->addWidget(m_strLokalesVerzeichnis, 3, 1);
  auto* knoepfe = new QHBoxLayout;
  knoepfe->addStretch(1);
  knoepfe->addWidget(cmdStart);
  knoepfe->addWidget(cmdZurueck);
  raster->addLayout(knoepfe, 4, 0, 1, 2);

  connect(cmdStart, &QToolButton::clicked, this, [this] { cmdStart_Click(); });
  connect(cmdZurueck, &QToolButton::clicked, this, [this] { cmdZurueck_Click(); });
}

std::shared_ptr<data::Connection> frmWeitereEinstellungen::vorgabenVerbindung() const {
  if (!m_ConnectList) vb::raise(vb::ErrObjectNotSet);
  return m_ConnectList->SQLGruppe_Connection(6);
}

void frmWeitereEinstellungen::Laden() {
  const auto verbindung = vorgabenVerbindung();
  m_blnDuplikatsVermerk->setChecked(vb::Val(GetVorgabe(kDuplikatsvermerk, QStringLiteral("0"), verbindung)) != 0);
  m_blnFalzstriche->setChecked(vb::Val(GetVorgabe(kFalzstriche, QStringLiteral("0"), verbindung)) != 0);
  m_strDatenverzeichnis->setText(GetDatenverzeichnis());
  m_strLokalesVerzeichnis->setText(GetLokalerPfad());
}

void frmWeitereEinstellungen::cmdStart_Click() {
  const auto wert = [](const QCheckBox* box) { return box->isChecked() ? QStringLiteral("-1") : QStringLiteral("0"); };
  const bool geschrieben = Aktion(
      [&] {
        const auto verbindung = vorgabenVerbindung();
        SetVorgabe(kDuplikatsvermerk, wert(m_blnDuplikatsVermerk), verbindung);
        SetVorgabe(kFalzstriche, wert(m_blnFalzstriche), verbindung);
      },
      QStringLiteral("Die Druckeinstellungen konnten nicht gespeichert werden."));
  if (geschrieben) accept();
}

void frmWeitereEinstellungen::cmdZurueck_Click() { reject(); }

void WeitereEinstellungenZeigen(QWidget* parent, std::shared_ptr<clsConnectionHandler> ConnectList) {
  frmWeitereEinstellungen dialog(std::move(ConnectList), parent);
  if (Aktion([&dialog] { dialog.Laden(); }, QStringLiteral("Die Druckeinstellungen konnten nicht gelesen werden.")))
    ui::dialogs().execWindow(dialog, QStringLiteral("weitereEinstellungen"));
}

}  // namespace configuration
