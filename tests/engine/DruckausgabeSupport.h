#pragma once
// Shared by the tests of print start, print batch and printer output: a small list template whose
// pages say which document they belong to, the text read back from drawn pages (storage pages,
// recorded print pages), and one document driven through the print window's print start, the
// report control and the job end.
#include <gtest/gtest.h>

#include <QDir>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <QStringList>
#include <memory>

#include "engine/clsDruckerSchacht.h"
#include "engine/frmDrucken.h"
#include "engine/modSystem.h"
#include "platform/printing/CurrentPrinter.h"
#include "platform/printing/PrintDocument.h"
#include "platform/printing/RecordingPrintDocument.h"
#include "platform/report/IReportControl.h"
#include "platform/report/ReportControl.h"
#include "platform/report/StorageFile.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/TempDir.h"

namespace druckausgabe {

// A paint device that keeps the text drawn on it and ignores everything else.
class TextGeraet : public QPaintDevice {
 public:
  TextGeraet() = default;
  QPaintEngine* paintEngine() const override { return &m_engine; }
  // The pieces of text in the order drawn, joined with blanks.
  QString text() const { return m_engine.texte.join(QLatin1Char(' ')); }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return 2100;
      case PdmHeight: return 2970;
      case PdmWidthMM: return 210;
      case PdmHeightMM: return 297;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 254;
      case PdmDepth: return 32;
      case PdmNumColors: return INT_MAX;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      default: return 0;
    }
  }

 private:
  class Engine : public QPaintEngine {
   public:
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texte << item.text(); }
    Type type() const override { return QPaintEngine::User; }
    QStringList texte;
  };
  mutable Engine m_engine;
};

// The text a recorded page (a picture) draws.
inline QString textVon(const QPicture& bild) {
  TextGeraet geraet;
  QPainter p(&geraet);
  p.drawPicture(0, 0, bild);
  p.end();
  return geraet.text();
}

// The text of every page of the storage file `pfad`, in page order; empty when it cannot be read.
inline QStringList seitenTexte(const QString& pfad) {
  QString fehler;
  const auto speicher = report::StorageFile::load(pfad, &fehler);
  if (!speicher) return {};
  QStringList texte;
  for (int s = 1; s <= speicher->pageCount(); ++s) {
    TextGeraet geraet;
    QPainter p(&geraet);
    speicher->drawPage(s, p, QRectF(0, 0, geraet.width(), geraet.height()));
    p.end();
    texte << geraet.text();
  }
  return texte;
}

// A list template whose every page prints "<Dok> Seite <n>" (variable "Dok").
inline QString schreibeVorlage(const testsupport::TempDir& ordner, const QString& name = QStringLiteral("Liste.lst")) {
  return ordner.write(name, R"({
  "kind": "list",
  "page": { "size": "A4", "margins": [20, 20, 20, 20] },
  "objects": [ { "type": "text", "x": 20, "y": 20, "width": 150, "text": "{Dok} Seite {page()}" } ],
  "table": { "top": 40, "rows": [ { "height": 5, "objects": [ { "type": "text", "x": 0, "y": 0, "width": 100, "text": "{Zeile}" } ] } ] }
})");
}

// One document of `seiten` pages, named `dok` on every page, with `kopien` copies: print start
// in `modus`, the pages, EndPrint and the job end, as the job road calls them.
inline void dokument(frmDrucken& fenster, short modus, const QString& vorlage, const QString& dok, int seiten,
                     short kopien = 1) {
  fenster.let_AnzahlKopien(kopien);
  fenster.LL().StartVariables();
  fenster.LL().DefineReportVariable(QStringLiteral("Dok"), dok, report::kTypeText);
  ASSERT_EQ(fenster.DruckInitialisieren(modus, vorlage), report::kOk);
  for (int s = 0; s < seiten; ++s) fenster.LL().PrintVariables();
  if (fenster.DruckBeenden(modus)) fenster.DruckAbschliessen(modus, vorlage);
}

// "<dok> Seite 1" .. "<dok> Seite <seiten>".
inline QStringList seiten(const QString& dok, int seiten) {
  QStringList out;
  for (int s = 1; s <= seiten; ++s) out << QStringLiteral("%1 Seite %2").arg(dok).arg(s);
  return out;
}

constexpr int kFormStatus = 3;
constexpr int kFormNummer = 1;

// A list form for template `vorlage` in `db`, loaded into the window's form settings for this
// workstation. Routes are the caller's (FormDatabase::addRoute).
inline void ladeFormular(frmDrucken& fenster, const enginetest::FormDatabase& db, const QString& vorlage) {
  db.addForm(kFormStatus, kFormNummer, QStringLiteral("BerichtArt, Formatdatei"),
             QStringLiteral("2, '%1'").arg(QString(vorlage).replace(QLatin1Char('\''), QStringLiteral("''"))));
  fenster.DruckerSchacht->LoadDruckForm(GetRechnerName(), kFormNummer, kFormStatus);
}

// The print window on the real report control, with its storage files in a temporary local path,
// a form database, scripted dialogs and a recording print document in place of the printers.
class EchterDruck : public ::testing::Test {
 protected:
  EchterDruck() { printing::setCurrentPrinter(QString()); }
  ~EchterDruck() override {
    fenster.reset();
    printing::setPrintDocument(nullptr);
    printing::setCurrentPrinter(QString());
  }

  void SetUp() override {
    printing::setPrintDocument(druck);
    vorlage = schreibeVorlage(log.dir());
    fenster = std::make_shared<frmDrucken>(ll);
  }

  // Files of the local path whose name matches `muster`, sorted.
  QStringList dateien(const QString& muster) const {
    QStringList namen = QDir(log.dir().path()).entryList({muster}, QDir::Files);
    namen.sort();
    return namen;
  }
  // The text of every recorded print page, one list per print document.
  QList<QStringList> gedruckt() const {
    QList<QStringList> out;
    for (const auto& d : druck->documents()) {
      QStringList texte;
      for (const QPicture& seite : d.pages) texte << textVon(seite);
      out << texte;
    }
    return out;
  }

  enginetest::DebugLog log;
  ui::ScopedScriptedDialogs dialogs;
  enginetest::FakeCatalogue katalog;
  enginetest::FormDatabase db;
  std::shared_ptr<printing::RecordingPrintDocument> druck = std::make_shared<printing::RecordingPrintDocument>();
  std::shared_ptr<report::ReportControl> ll = std::make_shared<report::ReportControl>();
  QString vorlage;
  std::shared_ptr<frmDrucken> fenster;
};

}  // namespace druckausgabe
