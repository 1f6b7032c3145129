#include <gtest/gtest.h>

#include <QObject>
#include <functional>
#include <memory>

#include "platform/automation/LateBinding.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "tests/support/ErrorOf.h"

using automation::asciiName;
using automation::CallKind;
using automation::callByName;
using vb::CStr;
using vb::Variant;

namespace {

using testsupport::errorOf;

class Druckauftrag : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Titel MEMBER titel)
  Q_PROPERTY(int Seiten READ seiten)

 public:
  QString waehrung;
  QString titel;
  int kopien = 1;
  short zeilen = 0;
  std::shared_ptr<QObject> handler;
  Druckauftrag* verbunden = this;
  int seiten() const { return 4; }

  Q_INVOKABLE void SetDruckwaehrung(const QString& w) { waehrung = w; }
  Q_INVOKABLE int Kopien() const { return kopien; }
  Q_INVOKABLE void let_Kopien(int k) { kopien = k; }
  Q_INVOKABLE void let_Zeilen(short z) { zeilen = z; }
  Q_INVOKABLE std::shared_ptr<QObject> Handler() const { return handler; }
  Q_INVOKABLE void set_Handler(const std::shared_ptr<QObject>& h) { handler = h; }
  Q_INVOKABLE QString Felder(const vb::Variant& a, const vb::Variant& b) {
    return (a.isMissing() ? QStringLiteral("-") : QStringLiteral("a")) +
           (b.isMissing() ? QStringLiteral("-") : QStringLiteral("b"));
  }
  Q_INVOKABLE double Summe(double a, double b) const { return a + b; }
  Q_INVOKABLE bool Umkehren(bool b) const { return !b; }
  Q_INVOKABLE vb::Variant Wert() const { return Variant::null(); }
  Q_INVOKABLE void Verbinden(Druckauftrag* anderer) { verbunden = anderer; }
  Q_INVOKABLE QObject* Roh() { return this; }
  Q_INVOKABLE void LokalerPfad(QString& pfad, short& laenge, const QString& fest) {
    pfad = pfad.trimmed();
    laenge = short(pfad.size());
    (void)fest;
  }
  Q_INVOKABLE void Fehler() { vb::raise(vb::ErrObjectNotSet, QStringLiteral("Quelle"), QStringLiteral("eigene Beschreibung")); }

 signals:
  void geaendert();
};

}  // namespace

TEST(AsciiName, MapsUmlautsAndSharpS) {
  EXPECT_EQ(asciiName(QStringLiteral("ÄÖÜäöüß")), QStringLiteral("AeOeUeaeoeuess"));
  EXPECT_EQ(asciiName(QStringLiteral("SkontoAbzugsfähig")), QStringLiteral("SkontoAbzugsfaehig"));
  EXPECT_EQ(asciiName(QStringLiteral("Plain_Name1")), QStringLiteral("Plain_Name1"));
}

TEST(LateBinding, FindsAMemberAskedForWithUmlauts) {
  Druckauftrag obj;
  callByName(obj, QStringLiteral("SetDruckwährung"), CallKind::Method, {Variant("EUR")});
  EXPECT_EQ(obj.waehrung, QStringLiteral("EUR"));
}

TEST(LateBinding, IgnoresLetterCase) {
  Druckauftrag obj;
  callByName(obj, QStringLiteral("setdruckWAEHRUNG"), CallKind::Method, {Variant("CHF")});
  EXPECT_EQ(obj.waehrung, QStringLiteral("CHF"));
  EXPECT_EQ(CStr(callByName(obj, QStringLiteral("KOPIEN"), CallKind::Get, {})), QStringLiteral("1"));
}

TEST(LateBinding, LetAndGetGoThroughTheAccessors) {
  Druckauftrag obj;
  callByName(obj, QStringLiteral("Kopien"), CallKind::Let, {Variant("3")});
  EXPECT_EQ(obj.kopien, 3);
  const Variant got = callByName(obj, QStringLiteral("Kopien"), CallKind::Get, {});
  EXPECT_EQ(got.varType(), vb::VarType::Long);
  EXPECT_EQ(got.value().toInt(), 3);
}

TEST(LateBinding, SetAssignsAnObjectAndGetGivesTheSameObjectBack) {
  Druckauftrag obj;
  auto handler = std::make_shared<QObject>();
  callByName(obj, QStringLiteral("Handler"), CallKind::Set, {Variant(handler)});
  EXPECT_EQ(obj.handler, handler);
  const Variant got = callByName(obj, QStringLiteral("Handler"), CallKind::Get, {});
  ASSERT_TRUE(got.isObject());
  EXPECT_EQ(got.object(), handler);
  callByName(obj, QStringLiteral("Handler"), CallKind::Set, {Variant::nothing()});
  EXPECT_EQ(obj.handler, nullptr);
  EXPECT_TRUE(callByName(obj, QStringLiteral("Handler"), CallKind::Get, {}).isNothing());
}

TEST(LateBinding, SetWithAValueIsATypeMismatch) {
  Druckauftrag obj;
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Handler"), CallKind::Set, {Variant(5)}); }), 13);
}

TEST(LateBinding, LetDoesNotReachTheGetAccessor) {
  Druckauftrag obj;
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("SetDruckwaehrung"), CallKind::Let, {Variant("x")}); }),
            438);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Kopien"), CallKind::Set, {Variant(2)}); }), 438);
}

TEST(LateBinding, MissingMemberRaises438) {
  Druckauftrag obj;
  try {
    callByName(obj, QStringLiteral("CancelOutput"), CallKind::Method, {});
    FAIL() << "no error";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), 438);
    EXPECT_EQ(e.description(), vb::standardErrorText(438));
  }
}

TEST(LateBinding, SignalsAreNoMembers) {
  Druckauftrag obj;
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("geaendert"), CallKind::Method, {}); }), 438);
}

TEST(LateBinding, WrongArgumentCountRaises450) {
  Druckauftrag obj;
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Summe"), CallKind::Method, {Variant(1)}); }), 450);
  EXPECT_EQ(errorOf([&] {
              callByName(obj, QStringLiteral("Felder"), CallKind::Method, {Variant(1), Variant(2), Variant(3)});
            }),
            450);
}

TEST(LateBinding, OptionalTrailingVariantsMayBeLeftOut) {
  Druckauftrag obj;
  EXPECT_EQ(CStr(callByName(obj, QStringLiteral("Felder"), CallKind::Method, {Variant(1), Variant(2)})),
            QStringLiteral("ab"));
  EXPECT_EQ(CStr(callByName(obj, QStringLiteral("Felder"), CallKind::Method, {Variant(1)})), QStringLiteral("a-"));
  EXPECT_EQ(CStr(callByName(obj, QStringLiteral("Felder"), CallKind::Method, {})), QStringLiteral("--"));
  EXPECT_EQ(CStr(callByName(obj, QStringLiteral("Felder"), CallKind::Method, {Variant::missing(), Variant(2)})),
            QStringLiteral("-b"));
}

TEST(LateBinding, SixteenBitParameterOverflowRaises6) {
  Druckauftrag obj;
  callByName(obj, QStringLiteral("Zeilen"), CallKind::Let, {Variant(32767)});
  EXPECT_EQ(obj.zeilen, 32767);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Zeilen"), CallKind::Let, {Variant(32768)}); }), 6);
  EXPECT_EQ(obj.zeilen, 32767);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Kopien"), CallKind::Let, {Variant(3e10)}); }), 6);
}

TEST(LateBinding, ArgumentsConvertTheRunTimesWay) {
  Druckauftrag obj;
  const Variant sum = callByName(obj, QStringLiteral("Summe"), CallKind::Method, {Variant("1,5"), Variant(2)});
  EXPECT_DOUBLE_EQ(sum.value().toDouble(), 3.5);
  EXPECT_EQ(callByName(obj, QStringLiteral("Umkehren"), CallKind::Method, {Variant(0)}).value().toBool(), true);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Kopien"), CallKind::Let, {Variant("drei")}); }), 13);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Kopien"), CallKind::Let, {Variant::null()}); }), 94);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Kopien"), CallKind::Let, {Variant::missing()}); }), 13);
}

TEST(LateBinding, VariantResultsPassUnchanged) {
  Druckauftrag obj;
  EXPECT_TRUE(callByName(obj, QStringLiteral("Wert"), CallKind::Get, {}).isNull());
  EXPECT_TRUE(callByName(obj, QStringLiteral("SetDruckwaehrung"), CallKind::Method, {Variant("x")}).isEmpty());
}

TEST(LateBinding, ObjectPointerParametersCheckTheClass) {
  Druckauftrag obj;
  auto other = std::make_shared<Druckauftrag>();
  callByName(obj, QStringLiteral("Verbinden"), CallKind::Method, {Variant(other)});
  EXPECT_EQ(obj.verbunden, other.get());
  callByName(obj, QStringLiteral("Verbinden"), CallKind::Method, {Variant::nothing()});
  EXPECT_EQ(obj.verbunden, nullptr);
  auto plain = std::make_shared<QObject>();
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Verbinden"), CallKind::Method, {Variant(plain)}); }), 13);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Verbinden"), CallKind::Method, {Variant("x")}); }), 13);
}

TEST(LateBinding, RawObjectResultIsRefused) {
  Druckauftrag obj;
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Roh"), CallKind::Get, {}); }), 13);
}

TEST(LateBinding, ErrorRaisedByTheMemberReachesTheCallerUnchanged) {
  Druckauftrag obj;
  try {
    callByName(obj, QStringLiteral("Fehler"), CallKind::Method, {});
    FAIL() << "no error";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), 91);
    EXPECT_EQ(e.description(), QStringLiteral("eigene Beschreibung"));
    EXPECT_EQ(e.source(), QStringLiteral("Quelle"));
  }
}

TEST(LateBinding, PropertiesAreFoundForGetAndLet) {
  Druckauftrag obj;
  callByName(obj, QStringLiteral("titel"), CallKind::Let, {Variant(42)});
  EXPECT_EQ(obj.titel, QStringLiteral("42"));
  EXPECT_EQ(CStr(callByName(obj, QStringLiteral("TITEL"), CallKind::Get, {})), QStringLiteral("42"));
  EXPECT_EQ(callByName(obj, QStringLiteral("Seiten"), CallKind::Get, {}).value().toInt(), 4);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Seiten"), CallKind::Let, {Variant(1)}); }), 438);
  EXPECT_EQ(errorOf([&] { callByName(obj, QStringLiteral("Titel"), CallKind::Get, {Variant(1)}); }), 450);
}

#include "LateBindingTest.moc"

TEST(LateBinding, ByReferenceParametersComeBackChangedWithTheirType) {
  Druckauftrag d;
  QList<Variant> args{Variant(QStringLiteral("  C:\\Vorlagen  ")), Variant(1.5), Variant(7)};
  callByName(d, QStringLiteral("LokalerPfad"), CallKind::Method, args);
  EXPECT_EQ(args[0], Variant(QStringLiteral("C:\\Vorlagen")));
  EXPECT_EQ(args[1], Variant(std::int16_t(11)));  // an Integer now, as the parameter is
  EXPECT_EQ(args[2], Variant(7));                 // const: as it went in
  // The const overload leaves the caller's arguments alone.
  const QList<Variant> fixed{Variant(QStringLiteral(" x ")), Variant(0), Variant(0)};
  callByName(d, QStringLiteral("LokalerPfad"), CallKind::Method, fixed);
  EXPECT_EQ(fixed[0], Variant(QStringLiteral(" x ")));
}
