#include "configuration/ctrTexte.h"

#include <QDate>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <cmath>

#include "configuration/modPanelWerte.h"
#include "foundation/modUtils.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"

namespace configuration {

namespace {

const QString kEinheit = QStringLiteral("Stk");

// The number a form type prints under a placeholder of its own, beside "<RechnungNr>".
QString DokumentNummer(short FormStatus) {
  switch (FormStatus) {
    case 2:
    case 5: return QStringLiteral("<LieferscheinNr>");
    case 4: return QStringLiteral("<AuftragBestNr>");
    case 8: return QStringLiteral("<GutschriftNr>");
    case 9:
    case 11: return QStringLiteral("<BestellungNr>");
    case 12: return QStringLiteral("<RemissionNr>");
    default: return {};
  }
}

// The colour as a number of the stored kind: red in the low byte, blue in the third.
std::int32_t farbwert(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }
QColor farbe(std::int32_t wert) { return QColor(wert & 0xFF, (wert >> 8) & 0xFF, (wert >> 16) & 0xFF); }

QString rtfText(const QString& text) {
  QString rtf;
  for (const QChar c : text) {
    if (c == u'\\' || c == u'{' || c == u'}')
      rtf += u'\\' + QString(c);
    else if (c.unicode() < 0x80)
      rtf += c;
    else
      rtf += QStringLiteral("\\u%1?").arg(static_cast<std::int16_t>(c.unicode()));
  }
  return rtf;
}

// The preview as a rich-text document: the unit in its font and colour.
QString einheitRtf(const QFont& f, const QColor& c) {
  QString rtf = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil %1;}}{\\colortbl;\\red%2\\green%3\\blue%4;}")
                    .arg(rtfText(f.family()))
                    .arg(c.red())
                    .arg(c.green())
                    .arg(c.blue());
  rtf += QStringLiteral("\\uc1\\f0\\fs%1\\cf1").arg(qRound(f.pointSizeF() * 2));
  if (f.bold()) rtf += QStringLiteral("\\b");
  if (f.italic()) rtf += QStringLiteral("\\i");
  if (f.underline()) rtf += QStringLiteral("\\ul");
  if (f.strikeOut()) rtf += QStringLiteral("\\strike");
  return rtf + u' ' + rtfText(kEinheit) + QStringLiteral("\\par}");
}

// Makes the box wide enough to show `text` whole.
void GanzZeigen(QLineEdit& feld, const QString& text) {
  QStyleOptionFrame option;
  option.initFrom(&feld);
  option.lineWidth = feld.hasFrame() ? feld.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &feld) : 0;
  const QFontMetrics fm(feld.font());
  // The text's width, the box's inner margins and its frame, as the style computes them.
  const QSize inhalt(fm.horizontalAdvance(text) + 2 * 2 + feld.textMargins().left() + feld.textMargins().right(),
                     fm.height());
  feld.setMinimumWidth(feld.style()->sizeFromContents(QStyle::CT_LineEdit, &option, inhalt, &feld).width());
}

// A sample value of the mock-up: read-only, shown from its start and wide enough to be read whole.
QLineEdit* beispielwert(QWidget* panel, const QString& name, const QString& text) {
  auto* feld = new QLineEdit(text, panel);
  feld->setObjectName(name);
  feld->setReadOnly(true);
  feld->setFrame(false);
  feld->setFocusPolicy(Qt::NoFocus);
  feld->setCursorPosition(0);
  feld->setToolTip(QStringLiteral("Beispielwert: im Druck steht hier der Wert des Dokuments"));
  GanzZeigen(*feld, text.isEmpty() ? QStringLiteral("00.00.0000") : text);
  return feld;
}

}  // namespace

ctrTexte::ctrTexte(FormularFenster& fenster, QWidget* parent) : QWidget(parent), m_fenster(fenster) {
  // Each text box of the row: its caption shows while it is empty and names it in messages, its
  // tool tip says where the text stands on the page.
  const auto einzeilig = [this](const QString& name, const QString& spalte, const QString& beschriftung,
                                const QString& tipp) {
    auto* feld = new QLineEdit(this);
    feld->setObjectName(name);
    feld->setPlaceholderText(beschriftung);
    feld->setToolTip(tipp);
    m_spalten.append({spalte, beschriftung, feld, nullptr});
    return feld;
  };
  const auto mehrzeilig = [this](const QString& name, const QString& spalte, const QString& beschriftung,
                                 const QString& tipp) {
    auto* feld = new QPlainTextEdit(this);
    feld->setObjectName(name);
    feld->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    feld->setToolTip(tipp);
    // Three lines are shown; longer texts scroll.
    feld->setFixedHeight(3 * QFontMetrics(feld->font()).lineSpacing() + 2 * feld->frameWidth() +
                         2 * int(feld->document()->documentMargin()) + 2);
    m_spalten.append({spalte, beschriftung, nullptr, feld});
    return feld;
  };

  // Read and written in this order.
  auto* absender = einzeilig(QStringLiteral("Absender"), QStringLiteral("Absender"), QStringLiteral("Absender"),
                             QStringLiteral("Absenderzeile über der Anschrift im Sichtfenster"));
  auto* kopftext = mehrzeilig(QStringLiteral("strBetreffText"), QStringLiteral("Kopftext"), QStringLiteral("Kopftext"),
                              QStringLiteral("Kopftext neben der Anschrift; F4 fügt einen Platzhalter ein"));
  m_Ueberschrift = einzeilig(QStringLiteral("Ueberschrift"), QStringLiteral("ÜberschriftText"),
                             QStringLiteral("Überschrift"),
                             QStringLiteral("Überschrift des Dokuments; F4 fügt einen Platzhalter ein"));
  // The reference block: the label over each of its values.
  const QList<std::pair<QString, QString>> bloecke = {
      {QStringLiteral("GewerkText"), QStringLiteral("Gewerk")},
      {QStringLiteral("AngebotNrText"), QStringLiteral("Angebot-Nr.")},
      {QStringLiteral("ProjektNrText"), QStringLiteral("Projekt-Nr.")},
      {QStringLiteral("KundenNrText"), QStringLiteral("Kunden-Nr.")},
      {QStringLiteral("SachbearbeiterText"), QStringLiteral("Sachbearbeiter")},
      {QStringLiteral("DatumText"), QStringLiteral("Datum")}};
  QList<QLineEdit*> blockLabel;
  for (int i = 0; i < bloecke.size(); ++i)
    blockLabel << einzeilig(QStringLiteral("BlockLabel%1").arg(i + 1), bloecke[i].first, bloecke[i].second,
                            QStringLiteral("Beschriftung im Bezugsblock über dem Wert \"%1\"").arg(bloecke[i].second));
  auto* netto = einzeilig(QStringLiteral("NettoBetragText"), QStringLiteral("NettoBetragText"),
                          QStringLiteral("Nettobetrag"), QStringLiteral("Beschriftung des Nettobetrags"));
  auto* mwst = einzeilig(QStringLiteral("MwStText"), QStringLiteral("MwStText"), QStringLiteral("Mehrwertsteuer"),
                         QStringLiteral("Beschriftung der Mehrwertsteuer"));
  auto* ende = einzeilig(QStringLiteral("EndBetragText"), QStringLiteral("EndBetragText"), QStringLiteral("Endbetrag"),
                         QStringLiteral("Beschriftung des Endbetrags"));
  netto->setText(QStringLiteral("Nettobetrag"));
  mwst->setText(QStringLiteral("Mehrwertsteuer"));
  ende->setText(QStringLiteral("Endbetrag"));
  auto* schluss = mehrzeilig(QStringLiteral("AllgemeinSchlussText"), QStringLiteral("AllgemeinSchlussText"),
                             QStringLiteral("Schlusstext"),
                             QStringLiteral("Schlusstext unter den Endbeträgen; F4 fügt einen Platzhalter ein"));

  QFont klein = absender->font();
  klein.setPointSizeF(klein.pointSizeF() * 0.8);
  absender->setFont(klein);
  QFont gross = m_Ueberschrift->font();
  gross.setPointSizeF(gross.pointSizeF() * 1.6);
  gross.setBold(true);
  m_Ueberschrift->setFont(gross);

  // As on the page: sender line and heading on the left, the head text beside them, the
  // reference block, a sample position, the totals on the right, the closing text below.
  auto* raster = new QGridLayout(this);
  raster->setContentsMargins(0, 0, 0, 0);
  auto* label1 = new QLabel(QStringLiteral("Absender"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  raster->addWidget(label1, 0, 0);
  raster->addWidget(absender, 0, 1);
  auto* label2 = new QLabel(QStringLiteral("Überschrift"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  raster->addWidget(label2, 1, 0);
  raster->addWidget(m_Ueberschrift, 1, 1);
  auto* kopf = new QGroupBox(QStringLiteral("Kopftext"), this);
  kopf->setObjectName(QStringLiteral("FrameKopftext"));
  (new QHBoxLayout(kopf))->addWidget(kopftext);
  raster->addWidget(kopf, 0, 2, 2, 1);
  raster->setColumnStretch(1, 1);
  raster->setColumnStretch(2, 1);

  auto* bezug = new QGroupBox(QStringLiteral("Bezugsblock"), this);
  bezug->setObjectName(QStringLiteral("FrameBezugsblock"));
  auto* bezugRaster = new QGridLayout(bezug);
  // A number under the number labels, a date only under the date.
  const QStringList werte = {QStringLiteral("Vorgang"), QStringLiteral("1234567890"), QStringLiteral("4711"),
                             QStringLiteral("10234"), QStringLiteral("Sachbearbeiter"), QString()};
  for (int i = 0; i < blockLabel.size(); ++i) {
    GanzZeigen(*blockLabel[i], bloecke[i].second);
    bezugRaster->addWidget(blockLabel[i], 0, i);
    auto* wert = beispielwert(this, QStringLiteral("BlockWert%1").arg(i + 1), werte[i]);
    bezugRaster->addWidget(wert, 1, i);
    if (i == 5) m_BlockWert6 = wert;
  }
  raster->addWidget(bezug, 2, 0, 1, 3);

  // A sample position under its column captions: number, quantity with its unit, description,
  // price, total.
  auto* positionRahmen = new QGroupBox(QStringLiteral("Beispielposition"), this);
  positionRahmen->setObjectName(QStringLiteral("FramePosition"));
  auto* position = new QGridLayout(positionRahmen);
  int naechste = 0;
  const auto spalte = [this, position, &naechste](const QString& caption, QWidget* wert, int breite = 1) {
    const int s = naechste;
    naechste += breite;
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("LabelPosition") + QString::number(s));
    position->addWidget(label, 0, s, 1, breite);
    position->addWidget(wert, 1, s);
    return s;
  };
  spalte(QStringLiteral("Pos."), beispielwert(this, QStringLiteral("Text1"), QStringLiteral("0001")));
  spalte(QStringLiteral("Menge"), beispielwert(this, QStringLiteral("Text2"), QStringLiteral("1,30")));
  m_EinheitFormat = new QTextEdit(this);
  m_EinheitFormat->setObjectName(QStringLiteral("EinheitFormat"));
  m_EinheitFormat->setReadOnly(true);
  m_EinheitFormat->setFixedSize(70, 32);
  m_EinheitFormat->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_EinheitFormat->setToolTip(QStringLiteral("die Mengeneinheit in ihrer Schrift bei RTF Ausgabe"));
  const int einheit = spalte(QStringLiteral("Einheit"), m_EinheitFormat, 2);
  auto* fontKnopf = new QToolButton(this);
  fontKnopf->setObjectName(QStringLiteral("cmdFontWaehlen"));
  fontKnopf->setToolTip(
      QStringLiteral("hier können Sie das Textformat für die Mengenheit bei RTF Ausgabe definieren"));
  fontKnopf->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  position->addWidget(fontKnopf, 1, einheit + 1);
  const int bezeichnung =
      spalte(QStringLiteral("Bezeichnung"), beispielwert(this, QStringLiteral("Text3"), QStringLiteral("Bezeichnung des Artikels")));
  position->setColumnStretch(bezeichnung, 1);
  spalte(QStringLiteral("Einzelpreis"), beispielwert(this, QStringLiteral("Text4"), QStringLiteral("1.870,90")));
  spalte(QStringLiteral("Gesamtpreis"), beispielwert(this, QStringLiteral("Text5"), QStringLiteral("1.870,90")));
  raster->addWidget(positionRahmen, 3, 0, 1, 3);

  auto* summen = new QGroupBox(QStringLiteral("Ausgabe der Endbeträge"), this);
  summen->setObjectName(QStringLiteral("FrameEndbetraege"));
  auto* summenRaster = new QGridLayout(summen);
  const QList<QPair<QLineEdit*, QString>> betraege = {
      {netto, QStringLiteral("232.546,10")}, {mwst, QStringLiteral("37.207,38")}, {ende, QStringLiteral("269.753,48")}};
  for (int i = 0; i < betraege.size(); ++i) {
    GanzZeigen(*betraege[i].first, betraege[i].first->placeholderText());
    summenRaster->addWidget(betraege[i].first, i, 0);
    summenRaster->addWidget(beispielwert(this, QStringLiteral("Text%1").arg(6 + i), betraege[i].second), i, 1);
  }
  raster->addWidget(summen, 4, 1, 1, 2);
  auto* schlussRahmen = new QGroupBox(QStringLiteral("Schlusstext"), this);
  schlussRahmen->setObjectName(QStringLiteral("FrameSchlusstext"));
  (new QHBoxLayout(schlussRahmen))->addWidget(schluss);
  raster->addWidget(schlussRahmen, 5, 0, 1, 3);
  raster->setRowStretch(6, 1);

  m_schrift = QFont(QStringLiteral("Arial"));
  m_schrift.setPointSizeF(10);
  m_farbe = QColor(Qt::black);
  EinheitZeigen();

  connect(fontKnopf, &QToolButton::clicked, this, [this] { Aktion([this] { cmdFontWaehlen_Click(); }); });
  m_Ueberschrift->installEventFilter(this);
  m_Kopftext = kopftext;
  m_Schlusstext = schluss;
  m_TextPlatzhalter = new QMenu(this);
  m_TextPlatzhalter->setObjectName(QStringLiteral("mnuTextPlatzhalter"));
  for (QPlainTextEdit* feld : {m_Kopftext, m_Schlusstext}) feld->installEventFilter(this);
  TextPlatzhalterMenue(0);
}

QList<std::pair<QString, QStringList>> ctrTexte::TextPlatzhalter(short FormStatus) {
  QStringList nummern;
  if (const QString eigene = DokumentNummer(FormStatus); !eigene.isEmpty()) nummern << eigene;
  nummern << QStringList{QStringLiteral("<RechnungNr>"), QStringLiteral("<AngebotNr>"), QStringLiteral("<AboNr>"),
                         QStringLiteral("<Konto>"), QStringLiteral("<GegenKonto>"), QStringLiteral("<Empfänger.USTID>")};
  return {
      {QStringLiteral("Nummern"), nummern},
      {QStringLiteral("Datum und Uhrzeit"),
       {QStringLiteral("<Datum>"), QStringLiteral("<Uhrzeit>"), QStringLiteral("<RechDatum>"), QStringLiteral("<ErfassDatum>"),
        QStringLiteral("<BuchDatum>"), QStringLiteral("<BestellDatum>"), QStringLiteral("<LieferDatum>")}},
      {QStringLiteral("Zahlung"),
       {QStringLiteral("<ZahlungZiel>"), QStringLiteral("<ZahlungDatum>"), QStringLiteral("<SkontoZiel>"),
        QStringLiteral("<SkontoSatz>"), QStringLiteral("<SkontoDatum>")}},
      {QStringLiteral("Beträge"),
       {QStringLiteral("<RechBetrag>"), QStringLiteral("<SkontoBetrag>"), QStringLiteral("<SkontoBetragVoll>"),
        QStringLiteral("<SkontoBetragHalb>"), QStringLiteral("<SkontoBetragOhne>"), QStringLiteral("<SkontoRechBetrag>"),
        QStringLiteral("<Rabatt>"), QStringLiteral("<RabattBetrag>"), QStringLiteral("<RabattBetragVoll>"),
        QStringLiteral("<RabattBetragHalb>"), QStringLiteral("<RabattBetragOhne>"), QStringLiteral("<RabRechBetrag>"),
        QStringLiteral("<SktRabRechBetrag>")}},
  };
}

void ctrTexte::TextPlatzhalterMenue(short FormStatus) {
  // The submenus are the menu's children, which clearing it would leave behind.
  qDeleteAll(m_TextPlatzhalter->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
  m_TextPlatzhalter->clear();
  for (const auto& [gruppe, platzhalter] : TextPlatzhalter(FormStatus)) {
    QMenu* untermenue = m_TextPlatzhalter->addMenu(gruppe);
    for (const QString& p : platzhalter)
      connect(untermenue->addAction(p), &QAction::triggered, this, [this, p] {
        if (m_TextFeld) m_TextFeld->insertPlainText(p);
      });
  }
}

void ctrTexte::LoadData(data::Recordset& rs) {
  const auto spalte = [&rs](const char* name) { return rs.Fields(vb::Variant(name))->Value(); };
  // The head and closing texts offer the placeholders the engine fills for this form type.
  TextPlatzhalterMenue(vb::CInt(NZ(spalte("FormStatus"), vb::Variant(0))));
  for (const Textspalte& t : m_spalten) {
    const QString text = SpaltenText(rs, t.spalte);
    if (t.einzeilig)
      t.einzeilig->setText(text);
    else
      t.mehrzeilig->setPlainText(text);
  }
  m_BlockWert6->setText(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));

  QFont schrift(QStringLiteral("Arial"));
  schrift.setPointSizeF(10);
  const QString name = vb::CStr(NZ(spalte("MEFont_Name")));
  if (!name.isEmpty()) {
    // Attributes without a value count as off, so a row a host wrote in part still opens.
    schrift.setFamily(name);
    schrift.setPointSizeF(vb::CDbl(NZ(spalte("MEFont_Size"), vb::Variant(10.0))));
    schrift.setBold(vb::CBool(NZ(spalte("MEFont_Bold"), vb::Variant(false))));
    schrift.setItalic(vb::CBool(NZ(spalte("MEFont_Italic"), vb::Variant(false))));
    schrift.setUnderline(vb::CBool(NZ(spalte("MEFont_Underline"), vb::Variant(false))));
    schrift.setStrikeOut(vb::CBool(NZ(spalte("MEFont_Strikethrough"), vb::Variant(false))));
  }
  m_schrift = schrift;
  m_farbe = farbe(vb::CLng(NZ(spalte("MEFont_Color"), vb::Variant(0))));
  EinheitZeigen();
}

void ctrTexte::SaveData(data::Recordset& rs) {
  const auto setze = [&rs](const char* name, const vb::Variant& wert) { rs.Fields(vb::Variant(name))->let_Value(wert); };
  for (const Textspalte& t : m_spalten) {
    if (t.einzeilig)
      TextSpeichern(rs, t.spalte, t.einzeilig->text(), t.beschriftung);
    else
      TextSpeichern(rs, t.spalte, t.mehrzeilig->toPlainText(), t.beschriftung, 0);
  }
  setze("MengenEinheitFormat", vb::Variant(einheitRtf(m_schrift, m_farbe)));
  TextSpeichern(rs, QStringLiteral("MEFont_Name"), m_schrift.family(), QStringLiteral("Schrift der Mengeneinheit"));
  setze("MEFont_Size", vb::Variant(std::round(m_schrift.pointSizeF() * 10000) / 10000));
  setze("MEFont_Bold", vb::Variant(m_schrift.bold()));
  setze("MEFont_Italic", vb::Variant(m_schrift.italic()));
  setze("MEFont_Underline", vb::Variant(m_schrift.underline()));
  setze("MEFont_Strikethrough", vb::Variant(m_schrift.strikeOut()));
  setze("MEFont_Color", vb::Variant(farbwert(m_farbe)));
}

void ctrTexte::cmdFontWaehlen_Click() {
  QFont schrift = m_schrift;
  if (!ui::dialogs().fontDialog(schrift)) return;
  m_schrift = schrift;
  QColor neu = m_farbe;
  if (ui::dialogs().colorDialog(neu)) m_farbe = neu;
  EinheitZeigen();
}

void ctrTexte::EinheitZeigen() {
  // The stored colour is shown too, so the preview is what the print will be.
  m_EinheitFormat->clear();
  QTextCharFormat format;
  format.setFont(m_schrift);
  format.setForeground(m_farbe);
  QTextCursor cursor(m_EinheitFormat->document());
  cursor.insertText(kEinheit, format);
}

bool ctrTexte::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_Ueberschrift) PlatzhalterEreignis(m_fenster, *this, *m_Ueberschrift, *event, true);
  // F4 in the head or closing text: the engine's own placeholders, at the caret.
  auto* feld = qobject_cast<QPlainTextEdit*>(watched);
  if (feld && (feld == m_Kopftext || feld == m_Schlusstext) && event->type() == QEvent::KeyRelease &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4) {
    m_TextFeld = feld;
    m_TextPlatzhalter->popup(feld->viewport()->mapToGlobal(feld->cursorRect().bottomLeft()));
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace configuration
