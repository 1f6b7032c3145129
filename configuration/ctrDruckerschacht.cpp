#include "configuration/ctrDruckerschacht.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "configuration/modDruckerrouten.h"
#include "engine/clsPrinterCollection.h"
#include "engine/modSystem.h"
#include "foundation/modDebugOutput.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"

namespace configuration {

namespace {

const QString kStandard = QStringLiteral("Standard");
// The further pages print on the first page's printer and tray: the choice of every new row, and
// what a stored range shows whose further pages print there anyway.
const QString kWieErsteSeite = QStringLiteral("wie 1. Seite");
constexpr int kRasterKopf = 2;           // headings, then "von" and "bis"
constexpr int kRasterZeilenJeZeile = 3;  // printer line, tray line, separator
constexpr int kHoechstesExemplar = 32767;
constexpr int kBisExemplarOhneFolge = 99;
constexpr int kBisSeiteWeitere = 99999;

vb::Variant feld(const data::Recordset& rs, const QString& name) { return rs.Fields(vb::Variant(name))->Value(); }
QString feldText(const data::Recordset& rs, const QString& name) {
  const vb::Variant v = feld(rs, name);
  return v.isNull() ? QString() : vb::CStr(v);
}
void setze(data::Recordset& rs, const QString& name, const vb::Variant& value) {
  rs.Fields(vb::Variant(name))->let_Value(value);
}

QComboBox* neueListe(QWidget* parent, const QString& name) {
  auto* liste = new QComboBox(parent);
  liste->setObjectName(name);
  liste->setEditable(true);
  liste->setInsertPolicy(QComboBox::NoInsert);
  liste->setMinimumContentsLength(18);
  return liste;
}

// A list's text as stored: an empty list stores an empty text, not Null.
QString listenText(const QComboBox* liste) {
  const QString text = liste->currentText();
  return text.isNull() ? QStringLiteral("") : text;
}

// The leading number of a copy box, as Val reads it; 0 when there is none.
long zahl(const QLineEdit* box) { return static_cast<long>(vb::Val(box->text().trimmed())); }

bool istStandard(const QString& text) { return vb::textEquals(text.trimmed(), kStandard); }

// Two trays of one printer are the same when they name the same tray; no tray and "Standard"
// both leave the printer's own.
bool gleicherSchacht(const QString& a, const QString& b) {
  const auto eigener = [](const QString& t) { return t.trimmed().isEmpty() || istStandard(t); };
  return (eigener(a) && eigener(b)) || vb::textEquals(a.trimmed(), b.trimmed());
}

// A copy number as typed: a whole number from 1 up, or nothing.
std::optional<int> exemplar(const QString& text) {
  static const QRegularExpression kGanzeZahl(QStringLiteral("^\\d{1,5}$"));
  const QString t = text.trimmed();
  if (!kGanzeZahl.match(t).hasMatch() || t.toInt() < 1 || t.toInt() > kHoechstesExemplar) return std::nullopt;
  return t.toInt();
}

}  // namespace

ctrDruckerschacht::ctrDruckerschacht(QWidget* parent) : QWidget(parent) {
  DebugOutput(QStringLiteral("->ctrDruckerschacht.Initialize"));
  m_drucker = std::make_unique<clsPrinterCollection>();
  DebugOutput(QStringLiteral("ctrDruckerschacht.Initialize->"));

  auto* spalte = new QVBoxLayout(this);
  m_raster = new QGridLayout;
  spalte->addLayout(m_raster);
  spalte->addStretch(1);
  auto ueberschrift = [this](const QString& name, const QString& text, int spalte, int breite) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    m_raster->addWidget(label, 0, spalte, 1, breite);
  };
  ueberschrift(QStringLiteral("Label2"), QStringLiteral("Exemplar"), 0, 2);
  ueberschrift(QStringLiteral("Label3"), QStringLiteral("Drucker / Schacht (1. Seite)"), 2, 1);
  ueberschrift(QStringLiteral("Label5"), QStringLiteral("Drucker / Schacht (weitere Seiten)"), 3, 1);
  ueberschrift(QStringLiteral("Label4"), QStringLiteral("L. zuerst"), 4, 1);
  for (const auto& [spalte, text] : {std::pair{0, "von"}, {1, "bis"}}) {
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setObjectName(QStringLiteral("LabelExemplar") + QString::fromUtf8(text));
    m_raster->addWidget(label, 1, spalte);
  }
  findChild<QLabel*>(QStringLiteral("Label4"))->setToolTip(QStringLiteral("letzte Seite zuerst ausgeben"));
  for (int i = 0; i < 3; ++i) ZeileAnlegen();
  m_zeilen[0].VonExemplar->setText(QStringLiteral("1"));
  m_raster->setColumnStretch(2, 1);
  m_raster->setColumnStretch(3, 1);
}

ctrDruckerschacht::~ctrDruckerschacht() = default;

void ctrDruckerschacht::ZeileAnlegen() {
  const int i = Zeilen();
  const QString index = QLatin1Char('(') + QString::number(i) + QLatin1Char(')');
  Zeile z;
  z.VonExemplar = new QLineEdit(this);
  z.VonExemplar->setObjectName(QStringLiteral("VonExemplar") + index);
  z.BisExemplar = new QLineEdit(this);
  z.BisExemplar->setObjectName(QStringLiteral("BisExemplar") + index);
  for (QLineEdit* box : {z.VonExemplar, z.BisExemplar}) box->setMaximumWidth(48);
  z.Druckerliste = neueListe(this, QStringLiteral("Druckerliste") + index);
  z.Schachtliste = neueListe(this, QStringLiteral("Schachtliste") + index);
  z.DruckerlisteWeitere = neueListe(this, QStringLiteral("DruckerlisteWeitere") + index);
  z.SchachtlisteWeitere = neueListe(this, QStringLiteral("SchachtlisteWeitere") + index);
  z.blnLetzteZuerst = new QCheckBox(this);
  z.blnLetzteZuerst->setObjectName(QStringLiteral("blnLetzteZuerst") + index);
  z.SchachtLabel = new QLabel(QStringLiteral("Schacht"), this);
  z.SchachtLabel->setObjectName(QStringLiteral("LabelSchacht") + index);
  z.VonExemplar->setToolTip(QStringLiteral("erstes Exemplar, das so gedruckt wird"));
  z.BisExemplar->setToolTip(
      QStringLiteral("letztes Exemplar, das so gedruckt wird (leer: bis vor die nächste Zeile, sonst bis 99)"));
  z.Druckerliste->setToolTip(QStringLiteral("Drucker der 1. Seite (Standard: der Standarddrucker)"));
  z.Schachtliste->setToolTip(QStringLiteral("Papierschacht der 1. Seite"));
  z.DruckerlisteWeitere->setToolTip(
      QStringLiteral("Drucker der weiteren Seiten (wie 1. Seite: Drucker und Schacht der 1. Seite)"));
  z.SchachtlisteWeitere->setToolTip(QStringLiteral("Papierschacht der weiteren Seiten"));
  z.blnLetzteZuerst->setToolTip(QStringLiteral("letzte Seite zuerst ausgeben"));
  for (QComboBox* schacht : {z.Schachtliste, z.SchachtlisteWeitere}) schacht->addItem(kStandard);

  const int r = kRasterKopf + i * kRasterZeilenJeZeile;
  if (i > 0) {
    auto* linie = new QFrame(this);
    linie->setObjectName(QStringLiteral("Line1") + QLatin1Char('(') + QString::number(i - 1) + QLatin1Char(')'));
    linie->setFrameShape(QFrame::HLine);
    linie->setFrameShadow(QFrame::Sunken);
    m_raster->addWidget(linie, r - 1, 0, 1, 5);
  }
  m_raster->addWidget(z.VonExemplar, r, 0);
  m_raster->addWidget(z.BisExemplar, r, 1);
  m_raster->addWidget(z.Druckerliste, r, 2);
  m_raster->addWidget(z.DruckerlisteWeitere, r, 3);
  m_raster->addWidget(z.blnLetzteZuerst, r, 4, Qt::AlignCenter);
  m_raster->addWidget(z.SchachtLabel, r + 1, 0, 1, 2, Qt::AlignRight | Qt::AlignVCenter);
  m_raster->addWidget(z.Schachtliste, r + 1, 2);
  m_raster->addWidget(z.SchachtlisteWeitere, r + 1, 3);

  // Leaving a box puts the rows in order; leaving a printer list first looks at its new printer.
  for (QWidget* w : std::initializer_list<QWidget*>{z.VonExemplar, z.BisExemplar, z.Druckerliste, z.Schachtliste,
                                                     z.DruckerlisteWeitere, z.SchachtlisteWeitere})
    w->installEventFilter(this);
  // Choosing from a printer's drop-down counts as leaving it, so the trays follow at once.
  connect(z.Druckerliste, &QComboBox::activated, this, [this, i] {
    DruckerFokusVerloren(i, false);
    DruckerFokusErhalten(m_zeilen[static_cast<size_t>(i)].Druckerliste);
  });
  connect(z.DruckerlisteWeitere, &QComboBox::activated, this, [this, i] {
    DruckerFokusVerloren(i, true);
    DruckerFokusErhalten(m_zeilen[static_cast<size_t>(i)].DruckerlisteWeitere);
  });
  m_zeilen.push_back(z);
}

bool ctrDruckerschacht::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
    return QWidget::eventFilter(watched, event);
  for (int i = 0; i < Zeilen(); ++i) {
    const Zeile& z = m_zeilen[static_cast<size_t>(i)];
    const bool erste = watched == z.Druckerliste;
    const bool weitere = watched == z.DruckerlisteWeitere;
    if (erste || weitere) {
      if (event->type() == QEvent::FocusIn)
        DruckerFokusErhalten(static_cast<QComboBox*>(watched));
      else
        DruckerFokusVerloren(i, weitere);
    } else if (watched == z.VonExemplar || watched == z.BisExemplar) {
      auto* box = static_cast<QLineEdit*>(watched);
      if (event->type() == QEvent::FocusIn) {
        m_exemplarBeiFokus = box->text();
      } else {
        ExemplarPruefen(i, box, m_exemplarBeiFokus);
        ZeilenOrdnen();
      }
    } else if (event->type() == QEvent::FocusOut && (watched == z.Schachtliste || watched == z.SchachtlisteWeitere)) {
      ZeilenOrdnen();
    }
  }
  return QWidget::eventFilter(watched, event);
}

ctrDruckerschacht::Zeile& ctrDruckerschacht::zeile(int i) {
  if (i < 0 || i >= Zeilen()) vb::raise(vb::ErrSubscript);
  return m_zeilen[static_cast<size_t>(i)];
}
const ctrDruckerschacht::Zeile& ctrDruckerschacht::zeile(int i) const {
  return const_cast<ctrDruckerschacht*>(this)->zeile(i);
}

bool ctrDruckerschacht::ZeileSichtbar(int Zeile) const { return zeile(Zeile).sichtbar; }
QLineEdit* ctrDruckerschacht::VonExemplar(int Zeile) const { return zeile(Zeile).VonExemplar; }
QLineEdit* ctrDruckerschacht::BisExemplar(int Zeile) const { return zeile(Zeile).BisExemplar; }
QComboBox* ctrDruckerschacht::Druckerliste(int Zeile) const { return zeile(Zeile).Druckerliste; }
QComboBox* ctrDruckerschacht::Schachtliste(int Zeile) const { return zeile(Zeile).Schachtliste; }
QComboBox* ctrDruckerschacht::DruckerlisteWeitere(int Zeile) const { return zeile(Zeile).DruckerlisteWeitere; }
QComboBox* ctrDruckerschacht::SchachtlisteWeitere(int Zeile) const { return zeile(Zeile).SchachtlisteWeitere; }
QCheckBox* ctrDruckerschacht::blnLetzteZuerst(int Zeile) const { return zeile(Zeile).blnLetzteZuerst; }

void ctrDruckerschacht::FormInitialisieren() {
  // Rows beyond the three of the panel came from a load with more ranges; a fresh panel has three.
  while (Zeilen() > 3) {
    Zeile z = m_zeilen.back();
    m_zeilen.pop_back();
    for (QWidget* w : std::initializer_list<QWidget*>{z.VonExemplar, z.BisExemplar, z.Druckerliste, z.Schachtliste,
                                                       z.DruckerlisteWeitere, z.SchachtlisteWeitere,
                                                       z.blnLetzteZuerst, z.SchachtLabel})
      delete w;
    delete findChild<QFrame*>(QStringLiteral("Line1(") + QString::number(Zeilen() - 1) + QLatin1Char(')'));
  }
  // The printer list is read afresh so the tray answers agree with the printers offered.
  m_drucker = std::make_unique<clsPrinterCollection>();
  QStringList drucker{kStandard};
  for (bool weiter = m_drucker->FirstPrinter(); weiter; weiter = m_drucker->NextPrinter())
    drucker << m_drucker->CurPrinter()->DeviceName();
  for (int i = 0; i < Zeilen(); ++i) {
    Zeile& z = m_zeilen[static_cast<size_t>(i)];
    for (QComboBox* liste : {z.Druckerliste, z.DruckerlisteWeitere}) {
      liste->clear();
      if (liste == z.DruckerlisteWeitere) liste->addItem(kWieErsteSeite);
      liste->addItems(drucker);
    }
    z.Druckerliste->setEditText(QString());
    z.DruckerlisteWeitere->setEditText(kWieErsteSeite);
    z.blnLetzteZuerst->setChecked(false);
    z.VonExemplar->clear();
    z.BisExemplar->clear();
    z.Schachtliste->setEditText(QString());
    z.SchachtlisteWeitere->setEditText(QString());
    if (i > 0) SetZeileSichtbar(i, false);
  }
}

void ctrDruckerschacht::LoadData(short FormStatus, short FormNummer, const QString& RechnerName) {
  // Until this load completes the panel has no keys: a half-loaded panel must not be saved over
  // the routes of the form it showed before.
  m_geladen = false;
  FormInitialisieren();
  const auto routen = RoutenLesen(FormularVerbindung(m_ConnectList), RechnerName, FormNummer, FormStatus,
                                  QStringLiteral(" AND VonExemplar>0 ORDER BY VonExemplar, VonSeite"));
  data::Recordset& rs = *routen;
  int n = 0;
  for (; !rs.Eof(); rs.MoveNext()) {
    if (n == Zeilen()) ZeileAnlegen();
    Zeile& z = m_zeilen[static_cast<size_t>(n)];
    const QString drucker = feldText(rs, QStringLiteral("Drucker"));
    const vb::Variant vonSeite = feld(rs, QStringLiteral("VonSeite"));
    const bool weitere = !vonSeite.isNull() && vb::CDbl(vonSeite) > 1;
    LoadSchachtListe(drucker, n, weitere);
    if (!weitere) {
      z.VonExemplar->setText(feldText(rs, QStringLiteral("VonExemplar")));
      z.BisExemplar->setText(feldText(rs, QStringLiteral("BisExemplar")));
      z.Druckerliste->setEditText(drucker);
      z.Schachtliste->setEditText(feldText(rs, QStringLiteral("SchachtText")));
      const vb::Variant zuerst = feld(rs, QStringLiteral("LetzteSeiteZuerst"));
      z.blnLetzteZuerst->setChecked(!zuerst.isNull() && vb::CBool(zuerst));
    } else {
      // Further pages that print where the first page prints show so, whether the row names no
      // printer or the first page's printer and tray again.
      const QString schacht = feldText(rs, QStringLiteral("SchachtText"));
      const QString erster = z.Druckerliste->currentText();
      const bool wieErste = drucker.trimmed().isEmpty() ||
                            (vb::textEquals(drucker.trimmed(), erster.trimmed()) &&
                             (istStandard(drucker) || gleicherSchacht(schacht, z.Schachtliste->currentText())));
      z.DruckerlisteWeitere->setEditText(wieErste ? kWieErsteSeite : drucker);
      z.SchachtlisteWeitere->setEditText(wieErste ? QString() : schacht);
      SetZeileSichtbar(n, true);
      ++n;
    }
  }
  ZeilenOrdnen();
  m_FormStatus = FormStatus;
  m_FormNummer = FormNummer;
  m_RechnerName = RechnerName;
  m_geladen = true;
  rs.Close();
}

void ctrDruckerschacht::LoadSchachtListe(const QString& Drucker, int Zeile, bool Weitere) {
  DebugOutput(QStringLiteral("->LoadSchachtListe"));
  QComboBox* liste = Weitere ? zeile(Zeile).SchachtlisteWeitere : zeile(Zeile).Schachtliste;
  const bool gefunden = !Drucker.isEmpty() && m_drucker->SeekPrinter(Drucker);
  // "Standard" stays on offer: the tray of the printer's own choice, also after another was chosen.
  // The default printer prints from its own tray, so it offers nothing else.
  if (gefunden || istStandard(Drucker)) {
    const QString text = liste->currentText();
    liste->clear();
    liste->addItem(kStandard);
    if (gefunden) {
      const auto printer = m_drucker->CurPrinter();
      QString name;
      short nummer = 0;
      for (bool weiter = printer->FirstPaperSource(name, nummer); weiter;
           weiter = printer->NextPaperSource(name, nummer))
        if (!istStandard(name)) liste->addItem(name);
    }
    liste->setEditText(text);
  }
  DebugOutput(QStringLiteral("LoadSchachtListe->"));
}

void ctrDruckerschacht::SetZeileSichtbar(int Zeile, bool Sichtbar) {
  ctrDruckerschacht::Zeile& z = zeile(Zeile);
  z.sichtbar = Sichtbar;
  for (QWidget* w : std::initializer_list<QWidget*>{z.Druckerliste, z.DruckerlisteWeitere, z.blnLetzteZuerst,
                                                     z.VonExemplar, z.BisExemplar, z.Schachtliste,
                                                     z.SchachtlisteWeitere, z.SchachtLabel})
    w->setVisible(Sichtbar);
}

bool ctrDruckerschacht::WieErsteSeite(int Zeile) const {
  const QString weitere = zeile(Zeile).DruckerlisteWeitere->currentText().trimmed();
  return weitere.isEmpty() || vb::textEquals(weitere, kWieErsteSeite);
}

bool ctrDruckerschacht::ZeileGefuellt(int Zeile) const {
  const ctrDruckerschacht::Zeile& z = zeile(Zeile);
  // Further pages like the first are what an empty row shows too.
  const bool weitere = !WieErsteSeite(Zeile) && (!z.DruckerlisteWeitere->currentText().isEmpty() ||
                                                 !z.SchachtlisteWeitere->currentText().isEmpty());
  return !z.VonExemplar->text().isEmpty() || !z.BisExemplar->text().isEmpty() ||
         !z.Druckerliste->currentText().isEmpty() || !z.Schachtliste->currentText().isEmpty() || weitere;
}

void ctrDruckerschacht::ZeileVerschieben(int Von, int Nach) {
  ctrDruckerschacht::Zeile& von = zeile(Von);
  ctrDruckerschacht::Zeile& nach = zeile(Nach);
  nach.VonExemplar->setText(von.VonExemplar->text());
  nach.BisExemplar->setText(von.BisExemplar->text());
  nach.Druckerliste->setEditText(von.Druckerliste->currentText());
  nach.Schachtliste->setEditText(von.Schachtliste->currentText());
  nach.DruckerlisteWeitere->setEditText(von.DruckerlisteWeitere->currentText());
  nach.SchachtlisteWeitere->setEditText(von.SchachtlisteWeitere->currentText());
  nach.blnLetzteZuerst->setChecked(von.blnLetzteZuerst->isChecked());
  von.VonExemplar->clear();
  von.BisExemplar->clear();
  for (QComboBox* liste : {von.Druckerliste, von.Schachtliste, von.SchachtlisteWeitere}) liste->setEditText(QString());
  von.DruckerlisteWeitere->setEditText(kWieErsteSeite);
  von.blnLetzteZuerst->setChecked(false);
}

void ctrDruckerschacht::ZeilenOrdnen() {
  for (int i = 0; i + 1 < Zeilen(); ++i) {
    if (ZeileGefuellt(i)) {
      SetZeileSichtbar(i, true);
      SetZeileSichtbar(i + 1, true);
    } else if (ZeileGefuellt(i + 1)) {
      ZeileVerschieben(i + 1, i);
    } else {
      SetZeileSichtbar(i + 1, false);
    }
  }
  // Further pages like the first show so in every row, and take the first page's tray too.
  for (int i = 0; i < Zeilen(); ++i) {
    const Zeile& z = m_zeilen[static_cast<size_t>(i)];
    const bool wieErste = WieErsteSeite(i);
    if (wieErste) {
      z.DruckerlisteWeitere->setEditText(kWieErsteSeite);
      z.SchachtlisteWeitere->setEditText(QString());
    }
    z.SchachtlisteWeitere->setEnabled(!wieErste);
    z.SchachtlisteWeitere->lineEdit()->setPlaceholderText(wieErste ? kWieErsteSeite : QString());
  }
}

long ctrDruckerschacht::LetztesExemplar(int Zeile) const {
  const long von = zahl(zeile(Zeile).VonExemplar);
  if (const long bis = zahl(zeile(Zeile).BisExemplar); bis != 0) return bis;
  // Up to the copy before the range that follows, wherever its row stands; a range after which
  // none follows ends at copy 99, or at its own first copy when that lies beyond.
  long folgt = 0;
  for (int j = 0; j < Zeilen(); ++j) {
    const long v = zahl(zeile(j).VonExemplar);
    if (j != Zeile && v > von && (folgt == 0 || v < folgt)) folgt = v;
  }
  return folgt > 0 ? folgt - 1 : std::max<long>(kBisExemplarOhneFolge, von);
}

bool ctrDruckerschacht::ExemplarPruefen(int Zeile, QLineEdit* Box, const QString& Vorher) {
  const ctrDruckerschacht::Zeile& z = zeile(Zeile);
  const QString text = Box->text();
  // Only what was typed is checked: a box merely passed through leaves stored ranges as they are.
  if (text == Vorher) return true;
  const QString bisVorher = z.BisExemplar->text();
  QString fehler;
  if (!text.trimmed().isEmpty() && !exemplar(text)) {
    fehler = QStringLiteral("Die Exemplarangabe \"%1\" ist keine ganze Zahl von 1 bis %2.")
                 .arg(text)
                 .arg(kHoechstesExemplar);
  } else {
    const auto von = exemplar(z.VonExemplar->text());
    const auto bis = exemplar(z.BisExemplar->text());
    if (von && bis && *bis < *von) {
      // A first copy typed beyond the last one takes the last one along.
      if (Box == z.VonExemplar)
        z.BisExemplar->setText(QString::number(*von));
      else
        fehler = QStringLiteral("Das letzte Exemplar (%1) liegt vor dem ersten (%2).").arg(*bis).arg(*von);
    }
  }
  // Two ranges that share a copy would leave it to the row order which one prints it.
  if (fehler.isEmpty() && exemplar(z.VonExemplar->text())) {
    const long von = zahl(z.VonExemplar);
    const long bis = LetztesExemplar(Zeile);
    for (int j = 0; j < Zeilen() && fehler.isEmpty(); ++j) {
      const long andereVon = exemplar(zeile(j).VonExemplar->text()).value_or(0);
      if (j == Zeile || andereVon == 0) continue;
      const long andereBis = LetztesExemplar(j);
      if (von <= andereBis && andereVon <= bis)
        fehler = QStringLiteral("Die Exemplare %1 bis %2 überschneiden sich mit den Exemplaren %3 bis %4 der %5. Zeile.")
                     .arg(von)
                     .arg(bis)
                     .arg(andereVon)
                     .arg(andereBis)
                     .arg(j + 1);
    }
  }
  if (fehler.isEmpty()) return true;
  // Put back first: the message box takes the focus, and the box must not be checked twice.
  Box->setText(Vorher);
  if (Box != z.BisExemplar) z.BisExemplar->setText(bisVorher);
  ui::MsgBox(fehler + QStringLiteral("\nDie Eingabe wurde zurückgenommen."), ui::vbExclamation);
  return false;
}

void ctrDruckerschacht::DruckerFokusErhalten(QComboBox* Liste) { m_druckerBeiFokus = Liste->currentText(); }

void ctrDruckerschacht::DruckerFokusVerloren(int Zeile, bool Weitere) {
  const ctrDruckerschacht::Zeile& z = zeile(Zeile);
  const QString drucker = (Weitere ? z.DruckerlisteWeitere : z.Druckerliste)->currentText();
  if (!vb::textEquals(drucker, m_druckerBeiFokus) && !(Weitere && WieErsteSeite(Zeile))) {
    LoadSchachtListe(drucker, Zeile, Weitere);
    if (istStandard(drucker)) (Weitere ? z.SchachtlisteWeitere : z.Schachtliste)->setEditText(kStandard);
  }
  ZeilenOrdnen();
}

void ctrDruckerschacht::VonExemplarEingeben(int Zeile, const QString& Text) {
  QLineEdit* box = zeile(Zeile).VonExemplar;
  const QString vorher = box->text();
  box->setText(Text);
  ExemplarPruefen(Zeile, box, vorher);
  ZeilenOrdnen();
}

void ctrDruckerschacht::BisExemplarEingeben(int Zeile, const QString& Text) {
  QLineEdit* box = zeile(Zeile).BisExemplar;
  const QString vorher = box->text();
  box->setText(Text);
  ExemplarPruefen(Zeile, box, vorher);
  ZeilenOrdnen();
}

void ctrDruckerschacht::DruckerlisteWaehlen(int Zeile, const QString& Drucker) {
  DruckerFokusErhalten(zeile(Zeile).Druckerliste);
  zeile(Zeile).Druckerliste->setEditText(Drucker);
  DruckerFokusVerloren(Zeile, false);
}

void ctrDruckerschacht::DruckerlisteWeitereWaehlen(int Zeile, const QString& Drucker) {
  DruckerFokusErhalten(zeile(Zeile).DruckerlisteWeitere);
  zeile(Zeile).DruckerlisteWeitere->setEditText(Drucker);
  DruckerFokusVerloren(Zeile, true);
}

void ctrDruckerschacht::SchachtlisteWaehlen(int Zeile, const QString& Schacht) {
  zeile(Zeile).Schachtliste->setEditText(Schacht);
  ZeilenOrdnen();
}

void ctrDruckerschacht::SchachtlisteWeitereWaehlen(int Zeile, const QString& Schacht) {
  zeile(Zeile).SchachtlisteWeitere->setEditText(Schacht);
  ZeilenOrdnen();
}

void ctrDruckerschacht::blnLetzteZuerstSetzen(int Zeile, bool Zuerst) { zeile(Zeile).blnLetzteZuerst->setChecked(Zuerst); }

void ctrDruckerschacht::SaveData() {
  if (!m_geladen) return;
  RoutenErsetzen(FormularVerbindung(m_ConnectList), m_RechnerName, m_FormNummer, m_FormStatus,
                 QStringLiteral(" AND VonExemplar>0"),
                 [this](data::Recordset& rs) {
                   for (int i = 0; i < Zeilen(); ++i) {
                     const Zeile& z = m_zeilen[static_cast<size_t>(i)];
                     if (zahl(z.VonExemplar) <= 0 || z.Druckerliste->currentText().isEmpty()) continue;
                     SetZeileSichtbar(i, true);
                     RouteSchreiben(rs, i, false);
                     RouteSchreiben(rs, i, true);
                   }
                 });
}

void ctrDruckerschacht::RouteSchreiben(data::Recordset& rs, int Zeile, bool Weitere) {
  const ctrDruckerschacht::Zeile& z = zeile(Zeile);
  // Copies are stored as numbers: the engine compares them as numbers, and a typed "2x" would
  // otherwise reach the table as text that no copy matches.
  const long von = zahl(z.VonExemplar);
  const long bis = LetztesExemplar(Zeile);
  // Further pages like the first are written with the first page's printer and tray, so the row
  // says where they print to whoever reads it.
  const bool erste = !Weitere || WieErsteSeite(Zeile);
  const QString drucker = listenText(erste ? z.Druckerliste : z.DruckerlisteWeitere);
  const QString schacht = listenText(erste ? z.Schachtliste : z.SchachtlisteWeitere);

  rs.AddNew();
  setze(rs, QStringLiteral("FormStatus"), m_FormStatus);
  setze(rs, QStringLiteral("FormNummer"), m_FormNummer);
  setze(rs, QStringLiteral("RechnerName"), m_RechnerName);
  setze(rs, QStringLiteral("VonExemplar"), von);
  setze(rs, QStringLiteral("BisExemplar"), bis);
  setze(rs, QStringLiteral("VonSeite"), Weitere ? 2 : 1);
  setze(rs, QStringLiteral("BisSeite"), Weitere ? kBisSeiteWeitere : 1);
  setze(rs, QStringLiteral("Drucker"), drucker);
  setze(rs, QStringLiteral("SchachtText"), schacht);
  if (const auto nr = SchachtNrVon(drucker, schacht)) setze(rs, QStringLiteral("SchachtNr"), *nr);
  setze(rs, QStringLiteral("LetzteSeiteZuerst"), z.blnLetzteZuerst->isChecked());
  rs.Update();
}

std::optional<int> ctrDruckerschacht::SchachtNrVon(const QString& Drucker, const QString& Schacht) {
  if (vb::textEquals(Drucker, kStandard)) {
    if (m_drucker->SeekPrinter(DefaultPrinterName())) return 0;
    return std::nullopt;
  }
  if (!m_drucker->SeekPrinter(Drucker)) return std::nullopt;
  const auto printer = m_drucker->CurPrinter();
  if (istStandard(Schacht)) {
    // The printer's own tray, unless it has one of that name.
    QString name;
    short nummer = 0;
    for (bool weiter = printer->FirstPaperSource(name, nummer); weiter; weiter = printer->NextPaperSource(name, nummer))
      if (istStandard(name)) return nummer;
    return 0;
  }
  return printer->PaperSourceNr(Schacht);
}

}  // namespace configuration
