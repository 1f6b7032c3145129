// The report designer opened by the print window: the handler road and the sample road, on the
// recording control and on the real report control with its designer window closed by the script.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QRegularExpression>
#include <QTreeWidget>
#include <stdexcept>

#include "foundation/modSkrivant.h"
#include "platform/automation/LateBinding.h"
#include "platform/report/ReportControl.h"
#include "platform/vb/VbError.h"
#include "tests/engine/DruckdatenTestHandler.h"
#include "tests/support/DruckFensterFixture.h"
#include "tests/support/ErrorOf.h"

namespace {

using testsupport::errorOf;

// A handler that lacks the designer title.
class HandlerOhneTitel : public QObject {
  Q_OBJECT

 public:
  Q_INVOKABLE void set_LL(const std::shared_ptr<QObject>&) {}
  Q_INVOKABLE void DruckVariablenDefinieren() {}
  Q_INVOKABLE void DruckFelderDefinieren(const vb::Variant&) {}
};

// A control whose designer fails.
class DesignerFehler : public report::RecordingReportControl {
 public:
  int DesignLayout(QWidget*, const QString&, int, QString&) override { throw std::runtime_error("Designer gestört"); }
};

const QStringList kStichproben = {QStringLiteral("Empfänger.SuchName"), QStringLiteral("Empfänger.Name1"),
                                  QStringLiteral("Empfänger.Strasse"),  QStringLiteral("Liefer.Ort"),
                                  QStringLiteral("RechnungNr"),         QStringLiteral("Abo.Nummer"),
                                  QStringLiteral("Bankkonto"),          QStringLiteral("BLZ")};

class frmDruckenEntwurf : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    vorlage = temp.write(QStringLiteral("Mahnung.lst"), "{}");
    handler->daten = enginetest::datensaetze(2);
  }

  void handlerEinstecken() {
    fenster->set_DruckdatenHandler(vb::Variant(handler));
    ll->clearCalls();
    handler->aufrufe.clear();
  }

  std::shared_ptr<enginetest::DruckdatenTestHandler> handler = std::make_shared<enginetest::DruckdatenTestHandler>();
  QString vorlage;
};

// ---- handler road ----

TEST_F(frmDruckenEntwurf, TheHandlerDefinesItsValuesAndNamesTheDesigner) {
  handlerEinstecken();
  fenster->OpenDesign(vorlage, vb::Variant(2));

  EXPECT_EQ(handler->aufrufe, QStringList({QStringLiteral("LL"), QStringLiteral("DruckVariablenDefinieren"),
                                           QStringLiteral("DruckFelderDefinieren(Nothing)")}));
  EXPECT_EQ(handler->ll, std::static_pointer_cast<QObject>(ll));
  // The handler defines its current record (the last one saved) for the designer to show.
  EXPECT_EQ(ll->calls().join(QLatin1Char('\n')).toStdString(),
            QStringList({QStringLiteral("SetPrinterDefaultsDir(\"%1\")").arg(GetFormularPfad()),
                         QStringLiteral("DefineReportVariable(\"Mahnstufe\", \"2\", 0x10000000)"),
                         QStringLiteral("DefineReportField(\"Name\", \"Kunde 2\", 0x10000000)"),
                         QStringLiteral("DefineReportField(\"Betrag\", \"20\", 0x10000000)"),
                         QStringLiteral("DefineReportVariable(\"Exemplar\", \"0\", 0x8000000)"),
                         QStringLiteral("DefineReportVariable(\"Falzstrich\", \"1\", 0x2000000)"),
                         QStringLiteral("DefineReportField(\"DatenEOF\", \"1\", 0x2000000)"),
                         QStringLiteral("DesignLayout(0, \"Mahnung\", 2, \"%1\")").arg(vorlage)})
                .join(QLatin1Char('\n'))
                .toStdString());
  EXPECT_FALSE(fenster->Running());
  const QStringList log = logZeilen();
  EXPECT_EQ(log.mid(log.size() - 2),
            QStringList({QStringLiteral("->frmDrucken.OpenDesign"), QStringLiteral("frmDrucken.OpenDesign->")}));
}

TEST_F(frmDruckenEntwurf, ALabelTemplateOpensAsALabelProject) {
  handler->titel = QStringLiteral("Adressetiketten");
  handlerEinstecken();
  fenster->OpenDesign(vorlage, vb::Variant(QStringLiteral("1")));
  EXPECT_EQ(ll->callsOf(QStringLiteral("DesignLayout")),
            QStringList({QStringLiteral("DesignLayout(0, \"Adressetiketten\", 1, \"%1\")").arg(vorlage)}));
}

TEST_F(frmDruckenEntwurf, TheCallersFileNameStaysWhereTheDesignerSavedElsewhere) {
  handlerEinstecken();
  ll->setDesignedFile(temp.file(QStringLiteral("Anders.lst")));
  const QString name = vorlage;
  fenster->OpenDesign(name, vb::Variant(2));
  EXPECT_EQ(name, vorlage);
}

TEST_F(frmDruckenEntwurf, AHandlerWithoutDesignerTitleReachesTheCallerAndNoDesignerOpens) {
  fenster->set_DruckdatenHandler(vb::Variant(std::make_shared<HandlerOhneTitel>()));
  EXPECT_EQ(errorOf([&] { fenster->OpenDesign(vorlage, vb::Variant(2)); }), vb::ErrNoSuchMember);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("DesignLayout")).isEmpty());
}

// ---- sample road ----

TEST_F(frmDruckenEntwurf, WithoutHandlerTheDesignerGetsTheDocumentAndItsSamples) {
  fenster->Init();
  fenster->OpenDesign(vorlage, vb::Variant(2));

  EXPECT_EQ(ll->callsOf(QStringLiteral("DesignLayout")),
            QStringList({QStringLiteral("DesignLayout(0, \"Rechnungsentwurf\", 2, \"%1\")").arg(vorlage)}));
  EXPECT_EQ(fenster->EntwurfBerichtArt, 2);
  // What the designer saw: the samples, fold marks, discount per position, the sample row.
  EXPECT_EQ(ll->variable(QStringLiteral("Empfänger.Name1")), QStringLiteral("Max Mustermann"));
  EXPECT_EQ(ll->variable(QStringLiteral("Empfänger.Strasse")), QStringLiteral("Musterstraße 4"));
  EXPECT_EQ(ll->variable(QStringLiteral("Empfänger.PLZ")), QStringLiteral("09999"));
  EXPECT_EQ(ll->variable(QStringLiteral("Bankkonto")), QStringLiteral("123456789"));
  EXPECT_EQ(ll->variable(QStringLiteral("Abo.Benachrichtigung")), QStringLiteral("Ausgabe von Abo Benachrichtigung"));
  EXPECT_EQ(ll->variable(QStringLiteral("Falzstrich")), QStringLiteral("1"));
  EXPECT_EQ(ll->field(QStringLiteral("RabattProPos")), QStringLiteral("1"));
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("Position"));
  EXPECT_TRUE(ll->calls().contains(QStringLiteral("DefineReportVariable(\"Bankeinzug\", \"0\", 0x2000000)")));

  // The samples in their order, after the document's own variables.
  const QStringList c = ll->calls();
  qsizetype vorige = c.indexOf(QStringLiteral("DefineReportVariable(\"FormStatus\", \"0\", 0x8000000)"));
  ASSERT_GE(vorige, 0);
  for (const QString& name : kStichproben) {
    const qsizetype hier = c.indexOf(QRegularExpression(
        QStringLiteral("DefineReportVariable\\(\"%1\", .*").arg(QRegularExpression::escape(name))), vorige + 1);
    EXPECT_GT(hier, vorige) << name.toStdString();
    vorige = hier;
  }
  EXPECT_LT(c.indexOf(QStringLiteral("StartVariables()")), c.indexOf(QStringLiteral("DefineReportVariable(\"Ausgabemodus\", \"0\", 0x8000000)")));
}

TEST_F(frmDruckenEntwurf, ALabelDesignNamesTheSampleRowAsLabelValues) {
  fenster->Init();
  fenster->OpenDesign(vorlage, vb::Variant(1));
  EXPECT_EQ(fenster->EntwurfBerichtArt, 1);
  EXPECT_EQ(ll->variable(QStringLiteral("Details.Position")), QStringLiteral("01.001"));
  EXPECT_EQ(ll->field(QStringLiteral("Position")), QString());
  EXPECT_EQ(ll->callsOf(QStringLiteral("DesignLayout")).first(),
            QStringLiteral("DesignLayout(0, \"Rechnungsentwurf\", 1, \"%1\")").arg(vorlage));
}

TEST_F(frmDruckenEntwurf, TheSamplesAreGoneWhenTheDesignerHasClosed) {
  fenster->Init();
  fenster->AddDruckvariable(QStringLiteral("RechnungNr"), QStringLiteral("R-77"), report::kTypeText);
  fenster->AddDruckvariable(QStringLiteral("Eigene"), QStringLiteral("bleibt"), report::kTypeText);
  fenster->OpenDesign(vorlage, vb::Variant(2));
  ASSERT_EQ(ll->variable(QStringLiteral("RechnungNr")), QStringLiteral("20041221"));

  for (const QString& name : kStichproben)
    if (name != QLatin1String("RechnungNr"))
      EXPECT_EQ(vb::CStr(fenster->GetDruckvariable(name, QStringLiteral("-"))), QStringLiteral("-")) << name.toStdString();
  EXPECT_EQ(vb::CStr(fenster->GetDruckvariable(QStringLiteral("RechnungNr"), QString())), QStringLiteral("R-77"));
  EXPECT_EQ(vb::CStr(fenster->GetDruckvariable(QStringLiteral("Eigene"), QString())), QStringLiteral("bleibt"));
  EXPECT_FALSE(fenster->RabattProPosition());
  EXPECT_FALSE(fenster->FalzstricheDrucken);

  // The next real document defines the caller's values only, in the caller's order.
  ll->clearCalls();
  fenster->DokumentVariablenDefinieren();
  const QStringList c = ll->calls();
  EXPECT_FALSE(c.join(QLatin1Char('\n')).contains(QStringLiteral("Empfänger.")));
  EXPECT_FALSE(c.join(QLatin1Char('\n')).contains(QStringLiteral("Bankkonto")));
  EXPECT_EQ(c.mid(c.size() - 2),
            QStringList({QStringLiteral("DefineReportVariable(\"RechnungNr\", \"R-77\", 0x10000000)"),
                         QStringLiteral("DefineReportVariable(\"Eigene\", \"bleibt\", 0x10000000)")}));
}

TEST_F(frmDruckenEntwurf, ADiscountPerPositionTheCallerSetStays) {
  fenster->Init();
  fenster->let_RabattProPosition(true);
  fenster->OpenDesign(vorlage, vb::Variant(2));
  EXPECT_TRUE(fenster->RabattProPosition());
}

TEST_F(frmDruckenEntwurf, TheSamplesGoAlsoWhenTheDesignerFails) {
  auto steuerung = std::make_shared<DesignerFehler>();
  auto f = std::make_shared<frmDrucken>(steuerung);
  f->Init();
  EXPECT_THROW(f->OpenDesign(vorlage, vb::Variant(2)), std::runtime_error);
  EXPECT_EQ(vb::CStr(f->GetDruckvariable(QStringLiteral("Empfänger.Name1"), QStringLiteral("-"))), QStringLiteral("-"));
  EXPECT_FALSE(f->RabattProPosition());
}

TEST_F(frmDruckenEntwurf, BeforeTheFirstInitTheSampleRoadFailsWithNothingSet) {
  EXPECT_EQ(errorOf([&] { fenster->OpenDesign(vorlage, vb::Variant(2)); }), vb::ErrObjectNotSet);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("DesignLayout")).isEmpty());
  EXPECT_FALSE(fenster->RabattProPosition());
  EXPECT_FALSE(fenster->FalzstricheDrucken);
}

TEST_F(frmDruckenEntwurf, HostsOpenItByName) {
  handlerEinstecken();
  automation::callByName(*fenster, QStringLiteral("OpenDesign"), automation::CallKind::Method,
                         {vb::Variant(vorlage), vb::Variant(2)});
  EXPECT_EQ(ll->callsOf(QStringLiteral("DesignLayout")).size(), 1);
}

// ---- the real designer window ----

class frmDruckenEntwurfFenster : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLokalerPfad(temp.path() + QLatin1Char('/'));
    vorlage = temp.write(QStringLiteral("Rechnung.lst"), R"({
  "kind": "list",
  "objects": [ { "type": "text", "x": 20, "y": 20, "width": 150, "text": "{Empfänger.Name1}" } ],
  "table": { "top": 40, "rows": [ { "height": 5, "objects": [ { "type": "text", "x": 0, "y": 0, "width": 100, "text": "{Bezeichnung}" } ] } ] }
})");
  }
  void TearDown() override {
    fenster.reset();
    SetLokalerPfad(QString());
  }

  // Plays the user: notes the window's title and the values it lists, then closes it.
  void designerSchliessen() {
    dialogs->answerWindow([this](QDialog& w) {
      titel = w.windowTitle();
      const auto* liste = w.findChild<QTreeWidget*>(QStringLiteral("valueList"));
      for (int i = 0; liste && i < liste->topLevelItemCount(); ++i) werte << liste->topLevelItem(i)->text(0);
      w.findChild<QAction*>(QStringLiteral("closeDesigner"))->trigger();
      return w.result();
    });
  }

  testsupport::TempDir temp;
  ui::ScopedScriptedDialogs dialogs;
  std::shared_ptr<frmDrucken> fenster = std::make_shared<frmDrucken>(std::make_shared<report::ReportControl>());
  QString vorlage;
  QString titel;
  QStringList werte;
};

TEST_F(frmDruckenEntwurfFenster, TheSampleDocumentIsListedAndTheScriptClosesTheDesigner) {
  fenster->Init();
  designerSchliessen();
  fenster->OpenDesign(vorlage, vb::Variant(2));

  EXPECT_EQ(titel, QStringLiteral("Rechnungsentwurf"));
  for (const char16_t* name : {u"Empfänger.Name1", u"Bankkonto", u"AnzahlSeiten", u"Exemplar", u"Zeilentyp", u"Bezeichnung"})
    EXPECT_TRUE(werte.contains(QString::fromUtf16(name))) << QString::fromUtf16(name).toStdString();
  ASSERT_EQ(dialogs->shown().size(), 1);
  EXPECT_EQ(dialogs->shown().first().kind, QStringLiteral("designer"));
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
  EXPECT_EQ(vb::CStr(fenster->GetDruckvariable(QStringLiteral("Empfänger.Name1"), QStringLiteral("-"))), QStringLiteral("-"));
}

TEST_F(frmDruckenEntwurfFenster, TheHandlersValuesAreListedUnderItsTitle) {
  auto handler = std::make_shared<enginetest::DruckdatenTestHandler>();
  handler->daten = enginetest::datensaetze(1);
  fenster->set_DruckdatenHandler(vb::Variant(handler));
  designerSchliessen();
  fenster->OpenDesign(vorlage, vb::Variant(2));

  EXPECT_EQ(titel, QStringLiteral("Mahnung"));
  EXPECT_EQ(werte, QStringList({QStringLiteral("Mahnstufe"), QStringLiteral("Exemplar"), QStringLiteral("Falzstrich"),
                                QStringLiteral("Name"), QStringLiteral("Betrag"), QStringLiteral("DatenEOF")}));
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
}

}  // namespace

#include "frmDrucken_EntwurfTest.moc"
#include "moc_DruckdatenTestHandler.cpp"
