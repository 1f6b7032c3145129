#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QSet>

#include "platform/report/PageView.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/QtReportWindows.h"
#include "platform/report/ReportJob.h"
#include "platform/report/Template.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/platform/report/WindowTestPages.h"

using report::PreviewWindow;
using windowtest::ColouredPages;

namespace {

QString pageLabel(const QWidget& w) { return w.findChild<QLabel*>("pageLabel")->text(); }

void trigger(const QWidget& w, const char* name) {
  QAction* a = w.findChild<QAction*>(name);
  ASSERT_NE(a, nullptr) << name;
  a->trigger();
}

bool enabled(const QWidget& w, const char* name) { return w.findChild<QAction*>(name)->isEnabled(); }

// The colour in the middle of the painted page.
QColor paintedColour(const QWidget& w) {
  QWidget* canvas = w.findChild<QWidget*>("pageCanvas");
  const QImage image = canvas->grab().toImage();
  return image.pixelColor(image.width() / 2, image.height() / 2);
}

// A page of a real job whose first object is black text: drawn with the painter's default pen,
// which the page does not record.
report::StorageFile seiteMitFirmenname() {
  const QByteArray vorlage = R"({
    "kind": "list",
    "objects": [
      { "type": "text", "x": 100, "y": 14, "width": 95, "align": "right", "font": { "size": 16, "bold": true },
        "text": "Buchhandlung am Markt" },
      { "type": "text", "x": 100, "y": 22, "width": 95, "align": "right", "color": "#404040", "text": "Marktplatz 1" } ]
  })";
  QString fehler;
  auto tpl = report::Template::parse(vorlage, &fehler);
  EXPECT_TRUE(tpl) << qPrintable(fehler);
  report::ValueSet felder, variablen;
  report::ReportJob job(*tpl, felder, variablen);
  job.printVariables();
  return job.finish();
}

// The dark pixels of an image, as a set of points.
QSet<QPoint> dunklePunkte(const QImage& bild) {
  QSet<QPoint> punkte;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x)
      if (qGray(bild.pixel(x, y)) < 128) punkte.insert(QPoint(x, y));
  return punkte;
}

// The share of the points of `a` that have a point of `b` at most one pixel away.
double anteilMitNachbar(const QSet<QPoint>& a, const QSet<QPoint>& b) {
  qsizetype treffer = 0;
  for (const QPoint& p : a) {
    bool nah = false;
    for (int dy = -1; dy <= 1 && !nah; ++dy)
      for (int dx = -1; dx <= 1 && !nah; ++dx) nah = b.contains(p + QPoint(dx, dy));
    if (nah) ++treffer;
  }
  return a.isEmpty() ? 1.0 : static_cast<double>(treffer) / a.size();
}

}  // namespace

TEST(PreviewWindow, ShowsWhatTheSamePageShowsDrawnIntoAnImage) {
  const report::StorageFile seiten = seiteMitFirmenname();
  ASSERT_EQ(seiten.pageCount(), 1);
  PreviewWindow w(seiten, "Vorschau");
  w.resize(700, 800);
  w.show();
  QApplication::processEvents();
  QWidget* canvas = w.findChild<QWidget*>("pageCanvas");
  // The page stands on the canvas inside a grey border of 12 pixels.
  const QRect seite = canvas->rect().adjusted(12, 12, -12, -12);
  const QImage vorschau = canvas->grab().toImage().copy(seite);

  QImage bild(seite.size(), QImage::Format_RGB32);
  bild.fill(Qt::white);
  QPainter p(&bild);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  seiten.drawPage(1, p, QRectF(QPointF(0, 0), QSizeF(seite.size())));
  p.end();

  // Both ways, each dark pixel has one in the other picture within a pixel (edges of
  // antialiased glyphs may fall either side of the threshold).
  const QSet<QPoint> erwartet = dunklePunkte(bild);
  const QSet<QPoint> gezeigt = dunklePunkte(vorschau);
  ASSERT_GT(erwartet.size(), 200);
  EXPECT_GE(anteilMitNachbar(erwartet, gezeigt), 0.99);
  EXPECT_GE(anteilMitNachbar(gezeigt, erwartet), 0.99);
}

TEST(PreviewWindow, NavigationMovesThroughThePagesAndNamesThePage) {
  ColouredPages pages(4);
  PreviewWindow w(pages, "Rechnung");
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Rechnung"));
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 1 von 4"));
  EXPECT_FALSE(enabled(w, "firstPage"));
  EXPECT_FALSE(enabled(w, "previousPage"));
  trigger(w, "nextPage");
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 2 von 4"));
  trigger(w, "lastPage");
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 4 von 4"));
  EXPECT_FALSE(enabled(w, "nextPage"));
  EXPECT_FALSE(enabled(w, "lastPage"));
  trigger(w, "previousPage");
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 3 von 4"));
  trigger(w, "firstPage");
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 1 von 4"));
  EXPECT_TRUE(enabled(w, "nextPage"));
}

TEST(PreviewWindow, PaintsTheCurrentPage) {
  ColouredPages pages(3);
  PreviewWindow w(pages, "Vorschau");
  EXPECT_EQ(paintedColour(w).rgb(), ColouredPages::colourOf(1).rgb());
  trigger(w, "nextPage");
  pages.drawn.clear();
  EXPECT_EQ(paintedColour(w).rgb(), ColouredPages::colourOf(2).rgb());
  EXPECT_EQ(pages.drawn, QList<int>{2});
}

TEST(PreviewWindow, PagesOfOtherSizeAreShownInTheirShape) {
  ColouredPages pages(3);
  PreviewWindow w(pages, "Vorschau");
  trigger(w, "zoomIn");  // a fixed zoom, so the shapes can be compared
  QWidget* canvas = w.findChild<QWidget*>("pageCanvas");
  EXPECT_GT(canvas->height(), canvas->width());
  trigger(w, "lastPage");  // page 3 lies on its side
  EXPECT_GT(canvas->width(), canvas->height());
}

TEST(PreviewWindow, EmptyJobShowsNoPageAndDrawsNothing) {
  ColouredPages pages(0);
  PreviewWindow w(pages, "Vorschau");
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 0 von 0"));
  for (const char* name : {"firstPage", "previousPage", "nextPage", "lastPage"}) EXPECT_FALSE(enabled(w, name)) << name;
  trigger(w, "nextPage");
  paintedColour(w);
  EXPECT_TRUE(pages.drawn.isEmpty());
  EXPECT_EQ(w.view().currentPage(), 0);
}

TEST(PreviewWindow, FitWidthFillsTheVisibleWidth) {
  ColouredPages pages(2);
  PreviewWindow w(pages, "Vorschau");
  w.resize(700, 800);
  w.show();
  QApplication::processEvents();
  const auto* area = w.findChild<QScrollArea*>("pageArea");
  QWidget* canvas = w.findChild<QWidget*>("pageCanvas");
  EXPECT_TRUE(w.view().fitsWidth());
  EXPECT_NEAR(canvas->width(), area->viewport()->width(), 1);
  // A wider window: the page follows.
  w.resize(1000, 800);
  QApplication::processEvents();
  EXPECT_NEAR(canvas->width(), area->viewport()->width(), 1);
}

TEST(PreviewWindow, ZoomStepsLeaveFitWidthAndStayWithinBounds) {
  ColouredPages pages(1);
  PreviewWindow w(pages, "Vorschau");
  w.resize(700, 800);
  w.show();
  QApplication::processEvents();
  const double fit = w.view().zoom();
  QWidget* canvas = w.findChild<QWidget*>("pageCanvas");
  const int fitWidth = canvas->width();
  trigger(w, "zoomIn");
  EXPECT_FALSE(w.view().fitsWidth());
  EXPECT_NEAR(w.view().zoom(), fit * 1.25, 1e-9);
  EXPECT_GT(canvas->width(), fitWidth);
  trigger(w, "zoomOut");
  trigger(w, "zoomOut");
  EXPECT_LT(canvas->width(), fitWidth);
  EXPECT_EQ(w.findChild<QLabel*>("zoomLabel")->text(), QStringLiteral("%1 %").arg(qRound(w.view().zoom() * 100)));
  for (int i = 0; i < 40; ++i) trigger(w, "zoomIn");
  EXPECT_DOUBLE_EQ(w.view().zoom(), 8.0);
  for (int i = 0; i < 80; ++i) trigger(w, "zoomOut");
  EXPECT_DOUBLE_EQ(w.view().zoom(), 0.1);
  trigger(w, "fitWidth");
  EXPECT_TRUE(w.view().fitsWidth());
  EXPECT_NEAR(w.view().zoom(), fit, 1e-9);
}

TEST(PreviewWindow, ShownThroughTheDialogsAndClosedByTheUser) {
  ui::ScopedScriptedDialogs dialogs;
  ColouredPages pages(2);
  QString labelSeen;
  dialogs->answerWindow([&](QDialog& window) {
    trigger(window, "nextPage");
    labelSeen = pageLabel(window);
    trigger(window, "closePreview");
    return window.result();
  });
  report::QtReportWindows windows;
  windows.showPreview(pages, "Druckausgabe", nullptr);
  EXPECT_EQ(labelSeen, QStringLiteral("Seite 2 von 2"));
  ASSERT_EQ(dialogs->shown().size(), 1);
  EXPECT_EQ(dialogs->shown()[0].kind, QStringLiteral("preview"));
  EXPECT_EQ(dialogs->shown()[0].title, QStringLiteral("Druckausgabe"));
  EXPECT_EQ(dialogs->shown()[0].answer, QDialog::Accepted);
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
}
