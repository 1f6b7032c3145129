#include "configuration/ctrFormatdatei.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyle>
#include <QToolButton>

#include "automation/Application.h"
#include "automation/clsDruckAllgemein.h"
#include "automation/clsMahnungDrucken.h"
#include "configuration/FormularFenster.h"
#include "configuration/modPanelWerte.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modDouble.h"
#include "foundation/modFiles.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/PathResolver.h"

namespace configuration {

namespace {

QLineEdit* textfeld(QWidget* panel, const char* name) {
  auto* feld = new QLineEdit(panel);
  feld->setObjectName(QString::fromLatin1(name));
  return feld;
}

// A path the dialogs chose, as the system stores paths: the data directory as "$Daten$", then
// backslashes throughout.
QString gespeicherterPfad(const QString& gewaehlt) {
  QString pfad = CollapseDatenPfad(gewaehlt);
  const QString daten = vb::resolvePath(GetDatenverzeichnis());
  if (pfad == gewaehlt && !daten.isEmpty() && gewaehlt.startsWith(daten, Qt::CaseInsensitive))
    pfad = QStringLiteral("$Daten$") + gewaehlt.mid(daten.size());
  return vb::toStoredPath(pfad);
}

// A file name the name of a template can give: what a file name cannot hold becomes "_".
QString dateiname(const QString& name) {
  static const QRegularExpression kVerboten(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
  return QString(name).replace(kVerboten, QStringLiteral("_")).trimmed();
}

QPushButton* suchknopf(QWidget* panel, const char* name) {
  auto* knopf = new QPushButton(QStringLiteral("..."), panel);
  knopf->setObjectName(QString::fromLatin1(name));
  knopf->setFixedWidth(32);
  return knopf;
}

}  // namespace

ctrFormatdatei::ctrFormatdatei(FormularFenster& fenster, QWidget* parent)
    : QWidget(parent),
      m_fenster(fenster),
      m_strVorlagenName(textfeld(this, "strVorlagenName")),
      m_strFormatDatei(textfeld(this, "strFormatDatei")),
      m_AnzahlKopien(textfeld(this, "AnzahlKopien")),
      m_optListe(new QRadioButton(QStringLiteral("Rechnung / Liste"), this)),
      m_optEtikett(new QRadioButton(QStringLiteral("Etikett"), this)),
      m_strPDFDateiname(textfeld(this, "strPDFDateiname")),
      m_strDeckblattDatei(textfeld(this, "strDeckblattDatei")),
      m_cmdLLEdit(new QToolButton(this)) {
  m_optListe->setObjectName(QStringLiteral("intBerichtArt0"));
  m_optEtikett->setObjectName(QStringLiteral("intBerichtArt1"));
  m_optListe->setChecked(true);
  auto* art = new QButtonGroup(this);
  art->addButton(m_optListe, 0);
  art->addButton(m_optEtikett, 1);
  auto* formularart = new QGroupBox(QStringLiteral("Formularart"), this);
  auto* artZeile = new QHBoxLayout(formularart);
  artZeile->addWidget(m_optListe);
  artZeile->addWidget(m_optEtikett);

  m_cmdLLEdit->setObjectName(QStringLiteral("cmdLLEdit"));
  m_cmdLLEdit->setToolTip(QStringLiteral("Berichtsdesigner starten"));
  m_cmdLLEdit->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
  m_cmdLLEdit->setIconSize(QSize(32, 32));

  auto* cmdSearchFile = suchknopf(this, "cmdSearchFile");
  auto* cmdSelectDir = suchknopf(this, "cmdSelectDir");
  auto* cmdSearchDeckblatt = suchknopf(this, "cmdSearchDeckblatt");
  m_AnzahlKopien->setMaximumWidth(60);

  auto* raster = new QGridLayout(this);
  raster->addWidget(new QLabel(QStringLiteral("Name der Vorlage"), this), 0, 0);
  raster->addWidget(m_strVorlagenName, 0, 1);
  raster->addWidget(new QLabel(QStringLiteral("Formatdatei"), this), 1, 0);
  raster->addWidget(m_strFormatDatei, 1, 1);
  raster->addWidget(cmdSearchFile, 1, 2);
  raster->addWidget(m_cmdLLEdit, 1, 3, 2, 1);
  raster->addWidget(new QLabel(QStringLiteral("Exemplare"), this), 2, 0);
  raster->addWidget(m_AnzahlKopien, 2, 1, Qt::AlignLeft);
  raster->addWidget(formularart, 3, 0, 1, 3);
  raster->addWidget(new QLabel(QStringLiteral("PDF Archivdatei"), this), 4, 0);
  raster->addWidget(m_strPDFDateiname, 4, 1);
  raster->addWidget(cmdSelectDir, 4, 2);
  raster->addWidget(new QLabel(QStringLiteral("Word Deckblatt"), this), 5, 0);
  raster->addWidget(m_strDeckblattDatei, 5, 1);
  raster->addWidget(cmdSearchDeckblatt, 5, 2);
  raster->setRowStretch(6, 1);

  connect(cmdSearchFile, &QPushButton::clicked, this, [this] { Aktion([this] { cmdSearchFile_Click(); }); });
  connect(cmdSelectDir, &QPushButton::clicked, this, [this] { Aktion([this] { cmdSelectDir_Click(); }); });
  connect(cmdSearchDeckblatt, &QPushButton::clicked, this,
          [this] { Aktion([this] { cmdSearchDeckblatt_Click(); }); });
  connect(m_cmdLLEdit, &QToolButton::clicked, this, [this] { Aktion([this] { cmdLLEdit_Click(); }); });
  m_strPDFDateiname->installEventFilter(this);
}

void ctrFormatdatei::LoadData(data::Recordset& rs) {
  m_intFormNummer = vb::CInt(rs.Fields(vb::Variant("FormNummer"))->Value());
  m_intFormStatus = vb::CInt(rs.Fields(vb::Variant("FormStatus"))->Value());
  m_strFormatDatei->setText(SpaltenText(rs, QStringLiteral("Formatdatei")));
  m_strPDFDateiname->setText(SpaltenText(rs, QStringLiteral("PDFArchivDatei")));
  m_strDeckblattDatei->setText(SpaltenText(rs, QStringLiteral("DeckblattDatei")));
  auto name = VorlagenNamen();
  m_name = name->Eof() ? QString() : SpaltenText(*name, QStringLiteral("FormularText"));
  name->Close();
  m_strVorlagenName->setText(m_name);
  m_strVorlagenName->setToolTip(QStringLiteral("Name der Vorlage im Baum; er gehört zur Vorlagennummer %1 und gilt "
                                               "für die Vorlage %1 jedes Formulars")
                                    .arg(m_intFormNummer));
  const vb::Variant kopien = MaxWert(NZ(rs.Fields(vb::Variant("AnzahlKopien"))->Value(), vb::Variant(0)), vb::Variant(1));
  m_AnzahlKopien->setText(vb::CStr(kopien));
  const vb::Variant art = rs.Fields(vb::Variant("BerichtArt"))->Value();
  (art.isNull() || vb::CDbl(art) == 2 ? m_optListe : m_optEtikett)->setChecked(true);
}

std::shared_ptr<data::Recordset> ctrFormatdatei::VorlagenNamen() const {
  const auto handler = m_fenster.ConnectList();
  if (!handler) vb::raise(vb::ErrObjectNotSet);
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(QStringLiteral("SELECT * FROM Auftrag_Formular_Vorlagen WHERE FormularNr=?"),
           vb::Variant(handler->SQLGruppe_Connection(4)), data::adOpenDynamic, data::adLockOptimistic,
           data::adCmdUnspecified, {m_intFormNummer});
  return rs;
}

void ctrFormatdatei::SaveData(data::Recordset& rs) {
  // The template's name has a table of its own, written only when it was changed.
  if (m_intFormNummer > 0 && m_strVorlagenName->text() != m_name) {
    auto name = VorlagenNamen();
    if (name->Eof()) {
      name->AddNew();
      name->Fields(vb::Variant("FormularNr"))->let_Value(vb::Variant(m_intFormNummer));
    }
    if (TextSpeichern(*name, QStringLiteral("FormularText"), m_strVorlagenName->text(),
                      QStringLiteral("Name der Vorlage"))) {
      name->Update();
      m_name = m_strVorlagenName->text();
    }
    name->Close();
  }

  TextSpeichern(rs, QStringLiteral("Formatdatei"), CollapseDatenPfad(m_strFormatDatei->text()),
                QStringLiteral("Formatdatei"));
  TextSpeichern(rs, QStringLiteral("PDFArchivDatei"), CollapseDatenPfad(m_strPDFDateiname->text()),
                QStringLiteral("PDF Archivdatei"));
  TextSpeichern(rs, QStringLiteral("DeckblattDatei"), CollapseDatenPfad(m_strDeckblattDatei->text()),
                QStringLiteral("Word Deckblatt"));

  // A copy count read as a number from whatever was typed would store 0 for a word; the stored
  // count stays and the user is told.
  static const QRegularExpression kGanzeZahl(QStringLiteral("^\\d{1,5}$"));
  const QString kopien = m_AnzahlKopien->text().trimmed();
  const int anzahl = kGanzeZahl.match(kopien).hasMatch() ? kopien.toInt() : 0;
  if (anzahl >= 1 && anzahl <= 32767) {
    rs.Fields(vb::Variant("AnzahlKopien"))->let_Value(vb::Variant(std::int16_t(anzahl)));
  } else {
    ui::MsgBox(QStringLiteral("Die Anzahl der Exemplare \"%1\" ist keine ganze Zahl von 1 bis 32767. "
                              "Die bisher gespeicherte Anzahl bleibt erhalten.")
                   .arg(m_AnzahlKopien->text()),
               ui::vbExclamation);
  }
  rs.Fields(vb::Variant("BerichtArt"))->let_Value(vb::Variant(std::int16_t(istListe() ? 2 : 1)));
}

bool ctrFormatdatei::istListe() const { return m_optListe->isChecked(); }

void ctrFormatdatei::cmdSearchFile_Click() {
  const QString startordner = m_strFormatDatei->text().isEmpty()
                                  ? GetDatenverzeichnis() + QStringLiteral("\\FORMULAR")
                                  : vb::folderPart(ExpandDatenPfad(m_strFormatDatei->text()));
  const QString muster = istListe() ? QStringLiteral("*.LST") : QStringLiteral("*.LBL");
  const QString datei =
      DateiDialog(QStringLiteral("Vorlagendatei"), muster, muster, false, 0, vb::resolvePath(startordner));
  if (!datei.isEmpty()) m_strFormatDatei->setText(gespeicherterPfad(datei));
}

void ctrFormatdatei::cmdSearchDeckblatt_Click() {
  const QString datei = DateiDialog(QStringLiteral("Word Deckblatt"), QStringLiteral("*.DOC"), QStringLiteral("*.DOC"),
                                    false, 0, vb::resolvePath(QStringLiteral("C:\\")));
  if (!datei.isEmpty()) m_strDeckblattDatei->setText(gespeicherterPfad(datei));
}

void ctrFormatdatei::cmdSelectDir_Click() {
  const QString ordner = OrdnerDialog(-1, QStringLiteral("Wählen Sie ein Verzeichnis"));
  if (!ordner.isEmpty()) m_strPDFDateiname->setText(gespeicherterPfad(ordner));
}

QString ctrFormatdatei::Standardvorlage() const {
  QString name;
  if (m_intFormStatus == 130 && istListe())
    name = QStringLiteral("Mahnung.lst");
  else if (m_intFormStatus > 999)
    name = istListe() ? QStringLiteral("Formularliste.lst") : QStringLiteral("Formularetiketten.lbl");
  else
    name = istListe() ? QStringLiteral("Rechnung.lst") : QStringLiteral("Etiketten.lbl");
  return ExpandDatenPfad(QStringLiteral("$Daten$FORMULAR\\") + name);
}

bool ctrFormatdatei::VorlagendateiBereitstellen() {
  const QString muster = istListe() ? QStringLiteral("*.LST") : QStringLiteral("*.LBL");
  bool benannt = false;
  if (m_strFormatDatei->text().trimmed().isEmpty()) {
    // The file is offered under the template's name.
    QString vorschlag = dateiname(m_strVorlagenName->text());
    if (vorschlag.isEmpty()) vorschlag = QStringLiteral("Vorlage %1").arg(m_intFormNummer);
    QString datei = DateiDialog(QStringLiteral("Neue Vorlagendatei"), muster, vorschlag + muster.mid(1).toLower(), true,
                                0, vb::resolvePath(GetDatenverzeichnis() + QStringLiteral("\\FORMULAR")));
    if (datei.isEmpty()) return false;
    if (QFileInfo(datei).suffix().isEmpty()) datei += muster.mid(1).toLower();
    m_strFormatDatei->setText(gespeicherterPfad(datei));
    benannt = true;
  }
  const QString datei = ExpandDatenPfad(m_strFormatDatei->text());
  if (DateiExistiert(datei)) return true;

  // A template file that is not there yet starts as a copy of the form's default template, or,
  // without one, as an empty template the designer makes.
  const QString vorlage = Standardvorlage();
  const bool kopie = DateiExistiert(vorlage);
  if (!benannt) {
    const QString wie = kopie ? QStringLiteral("als Kopie der Standardvorlage '%1'").arg(vb::fileNamePart(vorlage))
                              : QStringLiteral("als leere Vorlage");
    if (ui::MsgBox(QStringLiteral("Die Formatdatei '%1' gibt es noch nicht.\n\nSoll sie %2 angelegt und im Designer "
                                  "geöffnet werden?")
                       .arg(datei, wie),
                   ui::vbYesNo | ui::vbQuestion) != ui::vbYes)
      return false;
  }
  const QString ziel = vb::resolvePath(datei);
  if (!QDir().mkpath(QFileInfo(ziel).absolutePath()) ||
      (kopie && !QFile::copy(vb::resolvePath(vorlage), ziel))) {
    ui::MsgBox(QStringLiteral("Die Formatdatei '%1' konnte nicht angelegt werden.").arg(datei), ui::vbCritical);
    return false;
  }
  // Installed templates may be read-only; the copy is the user's to edit.
  if (kopie) QFile(ziel).setPermissions(QFile(ziel).permissions() | QFile::WriteOwner);
  return true;
}

void ctrFormatdatei::cmdLLEdit_Click() {
  if (!VorlagendateiBereitstellen()) return;
  // The designer runs as the print window's modal window; the template manager steps aside.
  QWidget* verwaltung = window();
  const bool sichtbar = verwaltung->isVisible();
  if (sichtbar) verwaltung->hide();
  const auto zurueck = qScopeGuard([&] {
    if (sichtbar) verwaltung->show();
  });

  const QString datei = ExpandDatenPfad(m_strFormatDatei->text());
  const std::int16_t art = istListe() ? 2 : 1;
  if (m_intFormStatus == 130) {
    const auto mahnung = std::make_shared<clsMahnungDrucken>();
    mahnung->OpenDesign(datei);
  } else if (m_intFormStatus > 999) {
    // The form type's fields are read from the template manager's database.
    MitVerbindungen(m_fenster.ConnectList(), [&] {
      const auto allgemein = std::make_shared<clsDruckAllgemein>();
      allgemein->set_ConnectList(vb::Variant(m_fenster.ConnectList()));
      allgemein->OpenDesign(m_intFormStatus, datei, vb::Variant(art));
    });
  } else {
    const auto app = std::make_shared<Application>();
    app->set_ConnectList(vb::Variant::nothing());
    DebugOutput(QStringLiteral("cmdLLEdit.StartEdit"));
    app->OpenDesign(datei, vb::Variant(art));
    DebugOutput(QStringLiteral("Ende cmdLLEdit.StartEdit"));
  }
}

bool ctrFormatdatei::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_strPDFDateiname) PlatzhalterEreignis(m_fenster, *this, *m_strPDFDateiname, *event, false);
  return QWidget::eventFilter(watched, event);
}

}  // namespace configuration
