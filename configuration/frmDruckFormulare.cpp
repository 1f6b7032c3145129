// The window, its menus, the tree and the selection of a node; the editing of templates and the
// load and save of the panels are in frmDruckFormulare_Bearbeiten.cpp.
#include "configuration/frmDruckFormulare.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "configuration/Knotenbilder.h"
#include "configuration/clsMenuHandler.h"
#include "configuration/ctrArchivierungsDrucker.h"
#include "configuration/ctrDruckerschacht.h"
#include "configuration/ctrFormatdatei.h"
#include "configuration/ctrMahnAllgTexte.h"
#include "configuration/ctrMahnVorSchluss.h"
#include "configuration/ctrTexte.h"
#include "configuration/frmWeitereEinstellungen.h"
#include "configuration/modPanelWerte.h"
#include "engine/modSQL.h"
#include "engine/modSystem.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/frmAbout.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/VbError.h"

namespace configuration {

namespace {

constexpr int kSchluessel = Qt::UserRole;
constexpr int kBild = Qt::UserRole + 1;
// The tree's own error for a key it does not hold.
constexpr long kElementNichtGefunden = 35601;

std::function<void()>& prozessende() {
  static std::function<void()> beenden;
  return beenden;
}

QString vierstellig(int n) { return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')); }
QString dreistellig(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }

bool beginntMit(const QString& text, QChar c) { return text.startsWith(c, Qt::CaseInsensitive); }

vb::Variant feld(const data::Recordset& rs, const QString& name) { return rs.Fields(vb::Variant(name))->Value(); }

// The placeholder items: object name, caption, registered key (empty: none).
struct Platzhalter {
  const char* name;
  const char* caption;
  const char* key;
};
constexpr Platzhalter kPlatzhalter[] = {
    {"mnuPlatzhalterKDNr", "Kundennummer", "KUNDENNUMMER"},
    {"mnuPlatzhalterAuftragNr", "AuftragNr", "VORGANGNR"},
    {"mnuPlatzhalterAngebotNr", "AngebotNr", "ANGEBOTNR"},
    {"mnuPlatzhalterProjektNr", "ProjektNr", ""},
    {"mnuPlatzhalterLieferscheinNr", "LieferscheinNr", ""},
    {"mnuPlatzhalterGutschriftNr", "GutschriftNr", ""},
    {"mnuPlatzhalterRechnungNr", "RechnungNr", ""},
    {"mnuPlatzhalterArbeitsauftragNr", "ArbeitsauftragNr", ""},
    {"mnuPlatzhalterWartungsAuftragNr", "WartungsauftragNr", ""},
    {"mnuPlatzhalterYYYYMMDD", "Druckdatum lang (jjjjmmtt)", "YYYYMMDD"},
    {"mnuPlatzhalterYYMMDD", "Druckdatum kurz (jjmmtt)", "YYMMDD"},
    {"mnuPlatzhalterYYYY", "Druckdatum Jahr (jjjj)", "YYYY"},
    {"mnuPlatzhalterMahnstufe", "höchste Mahnstufe", ""},
};

}  // namespace

frmDruckFormulare::frmDruckFormulare(QWidget* parent) : QMainWindow(parent) {
  objMenuHandler = std::make_shared<clsMenuHandler>();
  DebugOutput(QStringLiteral("->frmDruckFormulare.Load"));
  setObjectName(QStringLiteral("frmDruckFormulare"));
  setWindowTitle(QStringLiteral("Druckformulare erstellen"));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* zentrale = new QWidget(this);
  auto* layout = new QHBoxLayout(zentrale);
  auto* links = new QVBoxLayout;
  auto* frage = new QLabel(QStringLiteral("Welches Formular möchten Sie gestalten?"), zentrale);
  m_tree = new QTreeWidget(zentrale);
  m_tree->setObjectName(QStringLiteral("AuswahlTree"));
  m_tree->setHeaderHidden(true);
  m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
  m_tree->setMinimumWidth(260);
  cmdExit = new QPushButton(QStringLiteral("Beenden"), zentrale);
  cmdExit->setObjectName(QStringLiteral("cmdExit"));
  links->addWidget(frage);
  links->addWidget(m_tree, 1);
  links->addWidget(cmdExit, 0, Qt::AlignLeft);
  auto* rechts = new QVBoxLayout;
  strInfo = new QLabel(zentrale);
  strInfo->setObjectName(QStringLiteral("strInfo"));
  QFont fett = strInfo->font();
  fett.setBold(true);
  strInfo->setFont(fett);
  rechts->addWidget(strInfo);
  strHinweis = new QLabel(zentrale);
  strHinweis->setObjectName(QStringLiteral("strHinweis"));
  strHinweis->setWordWrap(true);
  rechts->addWidget(strHinweis);
  layout->addLayout(links, 0);
  layout->addLayout(rechts, 1);
  setCentralWidget(zentrale);

  MenuesAnlegen();
  PanelsAnlegen();
  // The panels scroll when the window is too small for one: changing panels never resizes it.
  auto* flaeche = new QScrollArea(zentrale);
  flaeche->setObjectName(QStringLiteral("Panelflaeche"));
  flaeche->setFrameShape(QFrame::NoFrame);
  flaeche->setWidgetResizable(true);
  auto* panels = new QWidget(flaeche);
  auto* panelLayout = new QVBoxLayout(panels);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* panel : {static_cast<QWidget*>(m_ctrFormatdatei), static_cast<QWidget*>(ctrTexte1),
                         static_cast<QWidget*>(m_ctrMahnAllgTexte), static_cast<QWidget*>(m_ctrMahnVorSchluss),
                         static_cast<QWidget*>(Druckerwahl), static_cast<QWidget*>(m_ctrArchivierungsDrucker)}) {
    panelLayout->addWidget(panel);
    panel->hide();
  }
  panelLayout->addStretch(1);
  flaeche->setWidget(panels);
  rechts->addWidget(flaeche, 1);

  connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item) Ausfuehren([&] { KnotenGewaehlt(item); });
  });
  connect(m_tree, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& punkt) { cmdBearbeiten->popup(m_tree->viewport()->mapToGlobal(punkt)); });
  connect(cmdExit, &QPushButton::clicked, this, [this] {
    DebugOutput(QStringLiteral("->cmdExit_Click"));
    close();
    DebugOutput(QStringLiteral("cmdExit_Click->"));
  });
  resize(980, 640);
  DebugOutput(QStringLiteral("frmDruckFormulare.Load->"));
}

frmDruckFormulare::~frmDruckFormulare() {
  DebugOutput(QStringLiteral("->frmDruckFormulare.Terminate"));
  objMenuHandler.reset();
  // The engine-wide handler goes only when it is the window's: another host's stays its own.
  if (m_ConnectList && GetGlobalConnectList() == m_ConnectList) SetGlobalConnectList(nullptr);
  SetGestaltungBeendet(true);
  DebugOutput(QStringLiteral("frmDruckFormulare.Terminate->"));
}

void frmDruckFormulare::setProzessende(std::function<void()> beenden) { prozessende() = std::move(beenden); }

void frmDruckFormulare::MenuesAnlegen() {
  QMenuBar* leiste = menuBar();
  QAction* exit = leiste->addAction(QStringLiteral("Beenden"));
  exit->setObjectName(QStringLiteral("Exit"));
  connect(exit, &QAction::triggered, this, &QWidget::close);

  cmdBearbeiten = leiste->addMenu(QStringLiteral("&Bearbeiten"));
  cmdBearbeiten->setObjectName(QStringLiteral("cmdBearbeiten"));
  cmdNeueVorlage = cmdBearbeiten->addMenu(QStringLiteral("Vorlage anlegen"));
  cmdNeueVorlage->setObjectName(QStringLiteral("cmdNeueVorlage"));
  cmdNeueVorlage->menuAction()->setObjectName(QStringLiteral("cmdNeueVorlage"));
  // Offered only on a node of a form type: a folder has no form status to create a template of.
  cmdNeueVorlage->setEnabled(false);
  const QString arten[] = {QStringLiteral("Etikettenvorlage"), QStringLiteral("Liste/Rechnungsvorlage")};
  for (std::int16_t index = 1; index <= 2; ++index) {
    QAction* a = cmdNeueVorlage->addAction(arten[index - 1]);
    a->setObjectName(QStringLiteral("cmdVorlageAnlegen_%1").arg(index));
    connect(a, &QAction::triggered, this, [this, index] { Ausfuehren([&] { VorlageAnlegen(index); }); });
  }
  cmdKopieren = cmdBearbeiten->addAction(QStringLiteral("&Kopieren"));
  cmdKopieren->setObjectName(QStringLiteral("cmdKopieren"));
  cmdKopieren->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  connect(cmdKopieren, &QAction::triggered, this, [this] { Ausfuehren([&] { Kopieren(); }); });
  cmdEinfuegen = cmdBearbeiten->addAction(QStringLiteral("&Einfügen"));
  cmdEinfuegen->setObjectName(QStringLiteral("cmdEinfuegen"));
  cmdEinfuegen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  cmdEinfuegen->setEnabled(false);
  connect(cmdEinfuegen, &QAction::triggered, this, [this] { Ausfuehren([&] { Einfuegen(); }); });
  cmdBearbeiten->addSeparator();
  cmdVorlageLoeschen = cmdBearbeiten->addAction(QStringLiteral("Vorlage löschen"));
  cmdVorlageLoeschen->setObjectName(QStringLiteral("cmdVorlageLoeschen"));
  connect(cmdVorlageLoeschen, &QAction::triggered, this, [this] { Ausfuehren([&] { VorlageLoeschen(); }); });
  for (QAction* a : {cmdKopieren, cmdVorlageLoeschen}) a->setEnabled(false);

  PlatzhalterMenueAnlegen();

  QMenu* extras = leiste->addMenu(QStringLiteral("E&xtras"));
  extras->setObjectName(QStringLiteral("cmdExtras"));
  QAction* weitere = extras->addAction(QStringLiteral("weitere Druckeinstellungen"));
  weitere->setObjectName(QStringLiteral("cmdWeitereEinstellungen"));
  connect(weitere, &QAction::triggered, this,
          [this] { Ausfuehren([&] { WeitereEinstellungenZeigen(this, m_ConnectList); }); });
  QAction* alle = extras->addAction(QStringLiteral("alle Arbeitsplätze anzeigen"));
  alle->setObjectName(QStringLiteral("cmdAlleArbeitsplaetze"));
  alle->setVisible(false);

  QAction* info = leiste->addAction(QStringLiteral("Info"));
  info->setObjectName(QStringLiteral("Info"));
  connect(info, &QAction::triggered, this, [this] {
    frmAbout box(this);
    ui::dialogs().execWindow(box, QStringLiteral("about"));
  });
}

void frmDruckFormulare::PlatzhalterMenueAnlegen() {
  mnuPlatzhalter = menuBar()->addMenu(QStringLiteral("Platzhalter einfügen (F4)"));
  mnuPlatzhalter->setObjectName(QStringLiteral("mnuPlatzhalter"));
  mnuPlatzhalter->menuAction()->setVisible(false);
  for (const Platzhalter& p : kPlatzhalter) {
    QAction* a = mnuPlatzhalter->addAction(QString::fromUtf8(p.caption));
    a->setObjectName(QString::fromUtf8(p.name));
    connect(a, &QAction::triggered, this, [this, a] { Ausfuehren([&] { objMenuHandler->PlatzhalterEinfuegen(a); }); });
  }
}

void frmDruckFormulare::PanelsAnlegen() {
  m_ctrFormatdatei = new ctrFormatdatei(*this, this);
  m_ctrFormatdatei->setObjectName(QStringLiteral("ctrFormatdatei"));
  ctrTexte1 = new ctrTexte(*this, this);
  ctrTexte1->setObjectName(QStringLiteral("ctrTexte1"));
  m_ctrMahnAllgTexte = new ctrMahnAllgTexte(*this, this);
  m_ctrMahnAllgTexte->setObjectName(QStringLiteral("ctrMahnAllgTexte"));
  m_ctrMahnVorSchluss = new ctrMahnVorSchluss(*this, this);
  m_ctrMahnVorSchluss->setObjectName(QStringLiteral("ctrMahnVorSchluss"));
  Druckerwahl = new ctrDruckerschacht(this);
  Druckerwahl->setObjectName(QStringLiteral("Druckerwahl"));
  m_ctrArchivierungsDrucker = new ctrArchivierungsDrucker(this);
  m_ctrArchivierungsDrucker->setObjectName(QStringLiteral("ctrArchivierungsDrucker"));
}

void frmDruckFormulare::set_ConnectList(std::shared_ptr<clsConnectionHandler> handler) {
  // The panels hold the open node's values of the old handler's database: they are saved there,
  // and the node is left, before the window works on another database (the next node change
  // would write them into the new one). A template copied there is no source here. A save that
  // fails keeps the old handler and the user's input, and the error goes to the caller.
  if (handler != m_ConnectList) {
    if (MussSpeichern()) WerteSpeichern();
    intQuellFormStatus = 0;
    intQuellFormNummer = 0;
    intFormNummer = 0;
    intFormStatus = 0;
    intMahnstufe = 0;
    strKnotenArt.clear();
    strGlobalLokal.clear();
    m_zeileGeladen = false;
    m_aktuellerKnoten = nullptr;
  }
  m_ConnectList = std::move(handler);
  Druckerwahl->set_ConnectList(m_ConnectList);
  m_ctrArchivierungsDrucker->set_ConnectList(m_ConnectList);
}

void frmDruckFormulare::set_CurTextControl(QLineEdit* feld) { objMenuHandler->setTextFeld(feld); }

void frmDruckFormulare::PlatzhalterMenueZeigen(bool sichtbar) { mnuPlatzhalter->menuAction()->setVisible(sichtbar); }

void frmDruckFormulare::PlatzhalterMenueOeffnen(QWidget* panel, const QPoint& punkt) {
  mnuPlatzhalter->popup(panel->mapToGlobal(punkt));
}

QTreeWidgetItem* frmDruckFormulare::Knoten(const QString& key) const { return m_knoten.value(key.toLower()); }

QWidget* frmDruckFormulare::SichtbaresPanel() const {
  for (QWidget* panel : {static_cast<QWidget*>(m_ctrFormatdatei), static_cast<QWidget*>(ctrTexte1),
                         static_cast<QWidget*>(m_ctrMahnAllgTexte), static_cast<QWidget*>(m_ctrMahnVorSchluss),
                         static_cast<QWidget*>(Druckerwahl), static_cast<QWidget*>(m_ctrArchivierungsDrucker)})
    if (!panel->isHidden()) return panel;
  return nullptr;
}

QTreeWidgetItem* frmDruckFormulare::KnotenHinzufuegen(QTreeWidgetItem* parent, const QString& key,
                                                      const QString& text, const QString& bild) {
  if (m_knoten.contains(key.toLower())) vb::raise(vb::ErrDuplicateKey);
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
  item->setText(0, text);
  item->setData(0, kSchluessel, key);
  item->setData(0, kBild, bild);
  item->setIcon(0, Knotenbild(bild));
  m_knoten.insert(key.toLower(), item);
  return item;
}

void frmDruckFormulare::BaumLaden() {
  DebugOutput(QStringLiteral("->BaumLaden"));
  {
    const QSignalBlocker still(m_tree);
    m_tree->clear();
  }
  m_knoten.clear();
  m_aktuellerKnoten = nullptr;
  QStringList ordner;
  if (!m_ConnectList) vb::raise(vb::ErrObjectNotSet);
  const auto verbindung = vb::Variant(m_ConnectList->SQLGruppe_Connection(4));
  data::Recordset typen;
  typen.Open(QStringLiteral("SELECT * FROM Druck_Formulartypen ORDER BY FormTypID"), verbindung, data::adOpenDynamic,
             data::adLockOptimistic);
  const QSignalBlocker still(m_tree);
  for (; !typen.Eof(); typen.MoveNext()) {
    const int id = vb::CLng(feld(typen, QStringLiteral("FormTypID")));
    const QString bezeichnung = vb::CStr(NZ(feld(typen, QStringLiteral("Bezeichnung"))));
    const QString key = QStringLiteral("F") + vierstellig(id);
    QTreeWidgetItem* formtyp = nullptr;
    const int punkt = bezeichnung.indexOf(QLatin1Char('.'));
    if (punkt >= 0) {
      const QString name = bezeichnung.left(punkt);
      bool bekannt = false;
      for (const QString& o : ordner) bekannt = bekannt || vb::textEquals(o, name);
      if (!bekannt) {
        KnotenHinzufuegen(nullptr, QStringLiteral("K") + name, name, QStringLiteral("Ordner"));
        ordner << name;
      }
      formtyp = KnotenHinzufuegen(Knoten(QStringLiteral("K") + name), key, bezeichnung.mid(punkt + 1),
                                  QStringLiteral("Formular"));
    } else {
      formtyp = KnotenHinzufuegen(nullptr, key, bezeichnung, QStringLiteral("Formular"));
    }
    data::Recordset vorlagen;
    vorlagen.Open(QStringLiteral("SELECT Auftrag_Formular_Neu.*, Auftrag_Formular_Vorlagen.FormularText FROM "
                                 "Auftrag_Formular_Neu LEFT JOIN Auftrag_Formular_Vorlagen ON "
                                 "Auftrag_Formular_Neu.FormNummer=Auftrag_Formular_Vorlagen.FormularNr ") +
                      QStringLiteral("WHERE (FormNummer > 0) AND FormStatus=? ORDER BY FormNummer"),
                  verbindung, data::adOpenDynamic, data::adLockOptimistic, data::adCmdUnspecified, {id});
    for (; !vorlagen.Eof(); vorlagen.MoveNext()) VorlageHinzufuegen(formtyp, id, vorlagen);
    vorlagen.Close();
  }
  typen.Close();
  DebugOutput(QStringLiteral("BaumLaden ->"));
}

void frmDruckFormulare::VorlageHinzufuegen(QTreeWidgetItem* formtyp, int FormTypID, const data::Recordset& vorlage) {
  const int nummer = vb::CLng(feld(vorlage, QStringLiteral("FormNummer")));
  const QString t = formtyp->data(0, kSchluessel).toString() + QStringLiteral("V") + dreistellig(nummer);
  QString text = vb::CStr(NZ(feld(vorlage, QStringLiteral("FormularText"))));
  if (text.isEmpty()) text = QString::number(nummer) + QStringLiteral(". Vorlage");
  QTreeWidgetItem* v = KnotenHinzufuegen(formtyp, t, text, QStringLiteral("Vorlage"));
  KnotenHinzufuegen(v, t + QStringLiteral("F"), QStringLiteral("Formatdatei"), QStringLiteral("Datei"));
  if (FormTypID == 130) {
    KnotenHinzufuegen(v, t + QStringLiteral("M0"), QStringLiteral("Allg. Texte"), QStringLiteral("Texte"));
    QTreeWidgetItem* ma =
        KnotenHinzufuegen(v, t + QStringLiteral("MA"), QStringLiteral("Vor-, Schlusstexte"), QStringLiteral("Texte"));
    for (int n = 1; n <= 3; ++n)
      KnotenHinzufuegen(ma, t + QStringLiteral("M%1").arg(n), QStringLiteral("%1. Mahnung").arg(n),
                        QStringLiteral("Texte"));
  } else if (FormTypID < 1000) {
    KnotenHinzufuegen(v, t + QStringLiteral("T"), QStringLiteral("Texte"), QStringLiteral("Texte"));
  }
  QTreeWidgetItem* drucker =
      KnotenHinzufuegen(v, t + QStringLiteral(" "), QStringLiteral("Drucker und Schächte"), QStringLiteral("Drucker"));
  KnotenHinzufuegen(drucker, t + QStringLiteral("DG"), QStringLiteral("global"), QStringLiteral("RechnerGlobal"));
  bool eigene = false;
  MitVerbindungen(m_ConnectList, [&] {
    eigene = ExistsDruckerRoute(GetRechnerName(), std::int16_t(FormTypID), std::int16_t(nummer), false);
  });
  KnotenHinzufuegen(drucker, t + QStringLiteral("DL"), GetRechnerName(),
                    eigene ? QStringLiteral("Rechner") : QStringLiteral("RechnerInaktiv"));
}

void frmDruckFormulare::SetNode(std::int16_t FormStatus, std::int16_t VorlageNr) {
  QString key = QStringLiteral("F") + vierstellig(FormStatus);
  if (VorlageNr != 0) key += QStringLiteral("V") + dreistellig(VorlageNr) + QStringLiteral("F");
  QTreeWidgetItem* item = Knoten(key);
  if (!item) vb::raise(kElementNichtGefunden, QStringLiteral("AuswahlTree"), QStringLiteral("Element nicht gefunden"));
  KnotenGewaehlt(item);
  if (VorlageNr == 0) item->setExpanded(true);
}

frmDruckFormulare::Knotenschluessel frmDruckFormulare::ParseNodeKey(const QString& key) {
  Knotenschluessel k;
  // A folder is no form: whatever its name reads like, it has no kind, so it shows no panel.
  if (beginntMit(key, QLatin1Char('K'))) return k;
  k.FormStatus = std::int16_t(vb::Val(key.mid(1, 4)));
  k.FormNummer = std::int16_t(vb::Val(key.mid(6, 3)));
  k.Art = key.mid(9, 2);
  if (beginntMit(k.Art, QLatin1Char('D')) || beginntMit(k.Art, QLatin1Char('A'))) {
    const QChar letztes = key.isEmpty() ? QChar() : key.back().toUpper();
    if (letztes == QLatin1Char('L') || letztes == QLatin1Char('G'))
      k.global = letztes == QLatin1Char('G');
    else
      k.Art.clear();
  }
  return k;
}

void frmDruckFormulare::MenuesFuerKnoten(const QString& key, const Knotenschluessel& k) {
  const auto anbieten = [this](bool ja) {
    cmdVorlageLoeschen->setEnabled(ja);
    cmdKopieren->setEnabled(ja);
    cmdEinfuegen->setEnabled(ja && intQuellFormNummer > 0);
  };
  cmdNeueVorlage->setEnabled(beginntMit(key, QLatin1Char('F')));
  // A folder whose key happens to have a template's length still offers nothing.
  const int laenge = beginntMit(key, QLatin1Char('K')) ? 0 : int(key.size());
  switch (laenge) {
    case 9:
      intKopierFlags = 207;
      anbieten(true);
      break;
    case 10:
      intKopierFlags = key.back() == QLatin1Char(' ') ? 6 : (key.back().toUpper() == QLatin1Char('F') ? 8 : 1);
      anbieten(true);
      break;
    case 11: {
      const QString art = key.mid(9, 2).toUpper();
      if (!art.startsWith(QLatin1Char('A')) && !art.startsWith(QLatin1Char('D'))) break;
      intKopierFlags = art == QLatin1String("DL") ? 2 : art == QLatin1String("DG") ? 4 : art == QLatin1String("AL") ? 64 : 128;
      anbieten(true);
      break;
    }
    default:
      intKopierFlags = 0;
      anbieten(false);
  }
  if (k.FormNummer >= 0 && !k.Art.trimmed().isEmpty()) {
    if (beginntMit(k.Art, QLatin1Char('D'))) intKopierFlags = k.global ? 4 : 2;
    if (beginntMit(k.Art, QLatin1Char('A'))) intKopierFlags = k.global ? 128 : 64;
  }
}

void frmDruckFormulare::KnotenGewaehlt(QTreeWidgetItem* item) {
  const QString key = item->data(0, kSchluessel).toString();
  const Knotenschluessel k = ParseNodeKey(key);
  std::int16_t stufe = 0;
  if (beginntMit(k.Art, QLatin1Char('M')) && k.Art.back().isDigit()) stufe = std::int16_t(k.Art.back().digitValue());

  // The node being left is saved before anything of the new one is loaded; when that fails the
  // old node stays selected with its input, and the error goes to the caller.
  if (MussSpeichern()) {
    try {
      WerteSpeichern();
    } catch (...) {
      if (m_aktuellerKnoten && m_aktuellerKnoten != item) {
        const QSignalBlocker still(m_tree);
        m_tree->setCurrentItem(m_aktuellerKnoten);
      }
      throw;
    }
  }
  {
    const QSignalBlocker still(m_tree);
    m_tree->setCurrentItem(item);
  }
  m_aktuellerKnoten = item;
  MenuesFuerKnoten(key, k);

  QString pfad;
  for (QTreeWidgetItem* n = item; n; n = n->parent()) pfad = n->text(0) + QStringLiteral(" - ") + pfad;
  strInfo->setText(pfad.left(pfad.size() - 3));

  intFormNummer = k.FormNummer;
  intFormStatus = k.FormStatus;
  strGlobalLokal = k.global ? QStringLiteral("G") : QStringLiteral("L");
  strKnotenArt = k.Art;
  intMahnstufe = stufe;
  m_zeileGeladen = false;
  if (!strKnotenArt.trimmed().isEmpty()) WerteLaden();

  const QString art = strKnotenArt.toUpper();
  m_ctrArchivierungsDrucker->setVisible(art.startsWith(QLatin1Char('A')));
  Druckerwahl->setVisible(art.startsWith(QLatin1Char('D')));
  m_ctrFormatdatei->setVisible(art == QLatin1String("F"));
  ctrTexte1->setVisible(art == QLatin1String("T"));
  m_ctrMahnAllgTexte->setVisible(art == QLatin1String("M0"));
  m_ctrMahnVorSchluss->setVisible(IstMahnstufe());
  strHinweis->setText(SichtbaresPanel() ? QString() : Hinweis(item));
  strHinweis->setVisible(!strHinweis->text().isEmpty());
  objMenuHandler->SetMenu();
}

QString frmDruckFormulare::Hinweis(const QTreeWidgetItem* item) const {
  const QString key = item->data(0, kSchluessel).toString();
  const QString name = QStringLiteral("„%1“").arg(item->text(0));
  const QString anlegen = QStringLiteral("über „Bearbeiten“ ▸ „Vorlage anlegen“");
  if (key.size() == 5 && beginntMit(key, QLatin1Char('F'))) {
    if (item->childCount() == 0)
      return QStringLiteral("Das Formular %1 hat noch keine Vorlage. Legen Sie %2 eine an.").arg(name, anlegen);
    return QStringLiteral("Wählen Sie links eine Vorlage des Formulars %1, oder legen Sie %2 eine neue an.")
        .arg(name, anlegen);
  }
  if (item->childCount() == 0) return {};
  QStringList kinder;
  for (int i = 0; i < item->childCount(); ++i) kinder << QStringLiteral("„%1“").arg(item->child(i)->text(0));
  const QString liste = kinder.size() == 1 ? kinder.first()
                                           : kinder.mid(0, kinder.size() - 1).join(QStringLiteral(", ")) +
                                                 QStringLiteral(" oder ") + kinder.last();
  return QStringLiteral("Wählen Sie links unter %1, was Sie einstellen möchten: %2.").arg(name, liste);
}

void frmDruckFormulare::VorlagenNamenZeigen(std::int16_t FormNummer, const QString& Name) {
  // The name belongs to the template number: every form's template of that number shows it.
  const QString nummer = QStringLiteral("V") + dreistellig(FormNummer);
  const QString text = Name.isEmpty() ? QString::number(FormNummer) + QStringLiteral(". Vorlage") : Name;
  for (QTreeWidgetItem* knoten : std::as_const(m_knoten)) {
    const QString key = knoten->data(0, kSchluessel).toString();
    if (key.size() == 9 && beginntMit(key, QLatin1Char('F')) && key.mid(5).compare(nummer, Qt::CaseInsensitive) == 0)
      knoten->setText(0, text);
  }
}

void frmDruckFormulare::Ausfuehren(const std::function<void()>& aktion) {
  try {
    aktion();
  } catch (...) {
    FehlerZeigen(vb::toVbError(std::current_exception()));
  }
}

void frmDruckFormulare::FehlerZeigen(const vb::VbError& e) {
  ui::MsgBox(QStringLiteral("Fehler %1: %2").arg(e.number()).arg(e.description()), ui::vbCritical);
}

void frmDruckFormulare::closeEvent(QCloseEvent* event) {
  DebugOutput(QStringLiteral("-> Form_Unload"));
  if (MussSpeichern()) {
    DebugOutput(QStringLiteral("WerteSpeichern"));
    try {
      WerteSpeichern();
    } catch (...) {
      const vb::VbError e = vb::toVbError(std::current_exception());
      const int antwort = ui::MsgBox(QStringLiteral("Die Änderungen konnten nicht gespeichert werden.\n\nFehler %1: %2"
                                                    "\n\nOhne Speichern beenden?")
                                         .arg(e.number())
                                         .arg(e.description()),
                                     ui::vbYesNo | ui::vbCritical | ui::vbDefaultButton2);
      if (antwort != ui::vbYes) {
        DebugOutput(QStringLiteral("Form_Unload abgebrochen ->"));
        event->ignore();
        return;
      }
    }
  }
  DebugOutput(QStringLiteral("Form_Unload ->"));
  SetGestaltungBeendet(true);
  event->accept();
  if (prozessende())
    prozessende()();
  else
    QCoreApplication::quit();
}

}  // namespace configuration
