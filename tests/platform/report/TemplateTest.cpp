#include <gtest/gtest.h>

#include <QDir>

#include "platform/report/Template.h"

using namespace report;

namespace {

QString errorOf(const QByteArray& json) {
  QString why;
  EXPECT_FALSE(Template::parse(json, &why)) << json.toStdString();
  return why;
}

}  // namespace

TEST(Template, DefaultsComeFromThePageAndItsMargins) {
  QString why;
  auto t = Template::parse(R"({ "kind": "list", "page": { "margins": [20, 15, 10, 25] } })", &why);
  ASSERT_TRUE(t) << why.toStdString();
  EXPECT_EQ(t->projectType, 2);
  EXPECT_EQ(t->pageSize, QSizeF(210, 297));
  EXPECT_DOUBLE_EQ(t->table.x, 20);
  EXPECT_DOUBLE_EQ(t->table.width, 180);
  EXPECT_DOUBLE_EQ(t->table.top, 15);
  EXPECT_DOUBLE_EQ(t->table.topFollowing, 15);
  EXPECT_DOUBLE_EQ(t->table.bottom, 272);
  EXPECT_EQ(t->font.families().value(0), QStringLiteral("Liberation Sans"));
  EXPECT_EQ(t->font.pixelSize(), 353) << "10 pt in hundredths of a millimetre";
}

TEST(Template, LandscapeTurnsThePage) {
  QString why;
  auto t = Template::parse(R"({ "kind": "label", "page": { "size": "A5", "orientation": "landscape" },
                               "label": { "width": 50, "height": 20, "columns": 4, "rows": 6 } })", &why);
  ASSERT_TRUE(t) << why.toStdString();
  EXPECT_EQ(t->projectType, 1);
  EXPECT_EQ(t->pageSize, QSizeF(210, 148));
  auto custom = Template::parse(R"({ "kind": "list", "page": { "size": [100, 50] } })", &why);
  ASSERT_TRUE(custom) << why.toStdString();
  EXPECT_EQ(custom->pageSize, QSizeF(50, 100)) << "portrait unless asked";
}

TEST(Template, ObjectsInheritTheTemplateFontAndChangeWhatTheySay) {
  QString why;
  auto t = Template::parse(R"({ "kind": "list", "font": { "family": "Arial", "size": 9 },
      "objects": [ { "type": "text", "x": 1, "y": 2, "width": 30, "text": "a", "font": { "bold": true, "size": 12 },
                     "align": "right", "pages": "following", "when": "page() > 1" } ] })", &why);
  ASSERT_TRUE(t) << why.toStdString();
  ASSERT_EQ(t->objects.size(), 1);
  const DrawObject& o = t->objects[0];
  EXPECT_EQ(o.font.families().value(0), QStringLiteral("Arial"));
  EXPECT_TRUE(o.font.bold());
  EXPECT_EQ(o.font.pixelSize(), 423);
  EXPECT_EQ(o.align, Qt::AlignRight);
  EXPECT_EQ(o.pages, PageRule::Following);
  EXPECT_FALSE(o.when.isEmpty());
}

TEST(Template, FaultsNameTheirPlace) {
  EXPECT_TRUE(errorOf("not json").startsWith(QStringLiteral("no template")));
  EXPECT_TRUE(errorOf(R"({ "kind": "bericht" })").startsWith(QStringLiteral("kind")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "farbe": 1 })").contains(QStringLiteral("farbe")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "objects": [ { "type": "kreis" } ] })").startsWith(QStringLiteral("objects[0]")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "objects": [ { "type": "text", "text": "a" } ] })").contains(QStringLiteral("width")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "table": { "rows": [ { "when": "Zeilentyp = " } ] } })")
                  .startsWith(QStringLiteral("table.rows[0]")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "table": { "rows": [ { "objects": [ { "type": "text", "width": 5, "text": "{x" } ] } ] } })")
                  .startsWith(QStringLiteral("table.rows[0].objects[0]")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "table": { "top": 200, "bottom": 100 } })").startsWith(QStringLiteral("table")));
  EXPECT_TRUE(errorOf(R"({ "kind": "label", "label": { "width": 0, "height": 10 } })").startsWith(QStringLiteral("label")));
  EXPECT_TRUE(errorOf(R"({ "kind": "label", "table": {}, "label": { "width": 5, "height": 5 } })").startsWith(QStringLiteral("table")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "page": { "size": "B7" } })").startsWith(QStringLiteral("page.size")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "sums": [ { "name": "S" } ] })").startsWith(QStringLiteral("sums[0]")));
  EXPECT_TRUE(errorOf(R"({ "kind": "list", "table": { "rows": [ { "objects": [ { "type": "line", "pages": "first" } ] } ] } })")
                  .contains(QStringLiteral("page objects")));
}

TEST(Template, NumbersOutOfRangeAreRefused) {
  const struct {
    const char* json;
    const char* error;
  } cases[] = {
      {R"({ "kind": "label", "label": { "width": 5, "height": 5, "columns": 1e10 } })", R"(label: "columns" must be between 1 and 1000)"},
      {R"({ "kind": "label", "label": { "width": 5, "height": 5, "rows": -3e9 } })", R"(label: "rows" must be between 1 and 1000)"},
      {R"({ "kind": "list", "font": { "size": 1e12 } })", R"(template.font: "size" must be between 0 and 1000)"},
      {R"({ "kind": "list", "objects": [ { "type": "text", "width": 5, "font": { "size": 1e300 } } ] })", R"(objects[0].font: "size" must be between 0 and 1000)"},
      {R"({ "kind": "list", "objects": [ { "type": "line", "x2": 1e300 } ] })", R"(objects[0]: "x2" must be between -10000 and 10000)"},
      {R"({ "kind": "list", "page": { "size": [210, 1e9] } })", R"(page.size: "size" must be between 0 and 10000)"},
      {R"({ "kind": "list", "page": { "margins": [10, "viel", 10, 10] } })", R"(page: "margins" must be a number)"},
      {R"({ "kind": "list", "table": { "rows": [ { "paddingTop": -1e20 } ] } })", R"(table.rows[0]: "paddingTop" must be between)"},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(errorOf(c.json).startsWith(QString::fromUtf8(c.error))) << c.json << " gave " << errorOf(c.json).toStdString();
}

TEST(Template, EmptyTemplatesOfBothKindsAreTemplates) {
  QString why;
  auto list = Template::parse(emptyTemplateText(2), &why);
  ASSERT_TRUE(list) << why.toStdString();
  EXPECT_EQ(list->projectType, 2);
  auto label = Template::parse(emptyTemplateText(1), &why);
  ASSERT_TRUE(label) << why.toStdString();
  EXPECT_EQ(label->label.columns * label->label.rows, 24);
}

TEST(Template, ShippedTemplatesLoad) {
  const QDir dir(QStringLiteral(SKRIVANT_SOURCE_DIR "/templates"));
  const QStringList files = dir.entryList({QStringLiteral("*.lst"), QStringLiteral("*.lbl")}, QDir::Files);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& f : files) {
    QString why;
    EXPECT_TRUE(Template::load(dir.filePath(f), &why)) << why.toStdString();
  }
}
