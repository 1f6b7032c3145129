#include <gtest/gtest.h>

#include <QHash>

#include "platform/report/Expression.h"
#include "platform/report/IReportControl.h"
#include "platform/report/TextTemplate.h"

using namespace report;

namespace {

struct Values : ValueScope {
  QHash<QString, ReportValue> values;
  int pageNo = 1;
  bool last = false;
  std::optional<ReportValue> value(const QString& name) const override {
    for (auto it = values.begin(); it != values.end(); ++it)
      if (it.key().compare(name, Qt::CaseInsensitive) == 0) return *it;
    return std::nullopt;
  }
  int page() const override { return pageNo; }
  bool lastPage() const override { return last; }
};

bool test(const QString& condition, const ValueScope& scope) {
  QString why;
  auto e = Expression::parse(condition, &why);
  EXPECT_TRUE(e) << why.toStdString();
  return e && e->test(scope);
}

}  // namespace

TEST(Expression, ComparesTextsWithoutRegardToCase) {
  Values v;
  v.values[QStringLiteral("Zeilentyp")] = {QStringLiteral("Position"), kTypeText};
  v.values[QStringLiteral("ÜbertragDrucken")] = {QStringLiteral("JA"), kTypeText};
  EXPECT_TRUE(test(QStringLiteral("Zeilentyp = 'Position'"), v));
  EXPECT_TRUE(test(QStringLiteral("zeilentyp == \"POSITION\""), v));
  EXPECT_FALSE(test(QStringLiteral("Zeilentyp <> 'position'"), v));
  EXPECT_TRUE(test(QStringLiteral("übertragdrucken = 'ja' and Zeilentyp != 'Leerzeile'"), v));
}

TEST(Expression, ComparesNumbersAsNumbers) {
  Values v;
  v.values[QStringLiteral("GP")] = {QStringLiteral("1.234,56"), kTypeNumeric};
  v.values[QStringLiteral("Nr")] = {QStringLiteral("10"), kTypeText};
  EXPECT_TRUE(test(QStringLiteral("GP > 999.5"), v));
  EXPECT_TRUE(test(QStringLiteral("GP >= 1234.56 and GP <= 1234.56"), v));
  EXPECT_TRUE(test(QStringLiteral("GP < 2000"), v));
  EXPECT_TRUE(test(QStringLiteral("Nr > 9"), v)) << "a number literal makes the comparison numeric";
  EXPECT_TRUE(test(QStringLiteral("Nr < '9'"), v)) << "two texts compare as texts";
}

TEST(Expression, FunctionsAndLogic) {
  Values v;
  v.values[QStringLiteral("Vortext")] = {QStringLiteral("  "), kTypeText};
  v.values[QStringLiteral("Falzstrich")] = {QStringLiteral("0"), kTypeBoolean};
  v.pageNo = 2;
  EXPECT_TRUE(test(QStringLiteral("empty(Vortext)"), v));
  EXPECT_TRUE(test(QStringLiteral("empty(Unbekannt)"), v)) << "an unknown name is empty";
  EXPECT_FALSE(test(QStringLiteral("Falzstrich"), v));
  EXPECT_TRUE(test(QStringLiteral("not Falzstrich"), v));
  EXPECT_TRUE(test(QStringLiteral("!Falzstrich && page() = 2"), v));
  EXPECT_TRUE(test(QStringLiteral("page() > 1 or lastpage()"), v));
  EXPECT_FALSE(test(QStringLiteral("firstpage() || lastpage()"), v));
  EXPECT_TRUE(test(QStringLiteral("not (page() = 1 or lastpage())"), v));
  EXPECT_TRUE(test(QStringLiteral("true and not false"), v));
  EXPECT_TRUE(test(QString(), v)) << "an empty condition holds";
  v.last = true;
  EXPECT_TRUE(test(QStringLiteral("lastpage()"), v));
}

TEST(Expression, NamesMayHoldDotsAndUmlauts) {
  Values v;
  v.values[QStringLiteral("Firmenbestellung.Sachbearbeiter")] = {QStringLiteral("Frau Groß"), kTypeText};
  EXPECT_TRUE(test(QStringLiteral("Firmenbestellung.Sachbearbeiter = 'Frau Groß'"), v));
  EXPECT_TRUE(test(QStringLiteral("notiz = ''"), v)) << "a name starting like a keyword stays a name";
}

TEST(Expression, SyntaxErrorsSayWhere) {
  for (const QString& bad : {QStringLiteral("Zeilentyp ="), QStringLiteral("(a = 1"), QStringLiteral("a = 'x"),
                             QStringLiteral("a = 1 b"), QStringLiteral("summe(x)"), QStringLiteral("a = 1.2.3")}) {
    QString why;
    EXPECT_FALSE(Expression::parse(bad, &why)) << bad.toStdString();
    EXPECT_FALSE(why.isEmpty());
  }
}

TEST(Expression, ReadsAsGermanWithTheParenthesesItNeeds) {
  for (const auto& [condition, readable] : std::initializer_list<std::pair<const char*, const char*>>{
           {"", ""},
           {"Zeilentyp = 'Position' and not empty(PosBemerkung)", "Zeilentyp = „Position“ und PosBemerkung nicht leer"},
           {"page() > 1 && ÜbertragDrucken <> \"JA\" and Summe != 0.5", "Seite > 1 und ÜbertragDrucken ≠ „JA“ und Summe ≠ 0,5"},
           {"(a or b) and not (c <= 2 || lastpage())", "(a oder b) und nicht (c ≤ 2 oder letzte Seite)"},
           {"not firstpage() or empty(x) and Falzstrich = true", "nicht erste Seite oder x leer und Falzstrich = wahr"}}) {
    QString why;
    const auto e = Expression::parse(QString::fromUtf8(condition), &why);
    ASSERT_TRUE(e) << why.toStdString();
    EXPECT_EQ(e->readable(), QString::fromUtf8(readable)) << condition;
  }
}

TEST(TextTemplate, ReplacesReferencesWithFormattedValues) {
  Values v;
  v.values[QStringLiteral("GP")] = {QStringLiteral("1234.5"), kTypeNumeric};
  v.values[QStringLiteral("Name")] = {QStringLiteral("Müller"), kTypeText};
  v.pageNo = 3;
  QString why;
  auto t = TextTemplate::parse(QStringLiteral("{Name}: {GP:#,##0.00} € {{Seite}} {page()} {Fehlt}."), &why);
  ASSERT_TRUE(t) << why.toStdString();
  EXPECT_EQ(t->render(v), QStringLiteral("Müller: 1.234,50 € {Seite} 3 ."));
  EXPECT_FALSE(t->soleValue(v));
  auto sole = TextTemplate::parse(QStringLiteral("{name}"), &why);
  ASSERT_TRUE(sole);
  ASSERT_TRUE(sole->soleValue(v));
  EXPECT_EQ(sole->soleValue(v)->text, QStringLiteral("Müller"));
  EXPECT_FALSE(TextTemplate::parse(QStringLiteral("offen {Name"), &why));
}

TEST(Expression, NestingDeeperThanTheLimitIsRefusedNotACrash) {
  const auto repeat = [](const char* s, int n) { return QString::fromLatin1(s).repeated(n); };
  const QString parens = repeat("(", 6000) + QStringLiteral("a") + repeat(")", 6000);
  const QString nots = repeat("not ", 6000) + QStringLiteral("a");
  const QString chain = QStringLiteral("a") + repeat(" and a", 100000);
  for (const QString& deep : {parens, nots, chain}) {
    QString why;
    EXPECT_FALSE(Expression::parse(deep, &why)) << deep.left(20).toStdString();
    EXPECT_TRUE(why.startsWith(QStringLiteral("nested deeper than 200 levels"))) << why.left(80).toStdString();
  }
  Values v;
  v.values[QStringLiteral("a")] = {QStringLiteral("1"), kTypeNumeric};
  EXPECT_TRUE(test(repeat("(", 150) + QStringLiteral("a = 1") + repeat(")", 150), v));
  EXPECT_TRUE(test(QStringLiteral("a = 1") + repeat(" and a = 1", 150), v));
}
