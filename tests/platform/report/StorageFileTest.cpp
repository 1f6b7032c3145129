#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>

#include "platform/report/StorageFile.h"
#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/TempDir.h"

using namespace report;

namespace {

// A page of `sizeMM` with a black square of 10 mm at 20 mm / 30 mm and one text.
StorageFile onePage(const QSizeF& sizeMM, const QString& text) {
  QPicture pic;
  QPainter p(&pic);
  p.fillRect(QRectF(2000, 3000, 1000, 1000), Qt::black);
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(353);
  p.setFont(f);
  p.drawText(QPointF(2000, 6000), text);
  p.end();
  StorageFile s;
  s.addPage(sizeMM, pic);
  return s;
}

}  // namespace

TEST(StorageFile, SavesAndLoadsPagesSizesAndTitle) {
  testsupport::TempDir dir;
  StorageFile s = onePage(QSizeF(210, 297), QStringLiteral("Seite eins"));
  s.append(onePage(QSizeF(297, 210), QStringLiteral("Seite zwei")));
  s.setTitle(QStringLiteral("Rechnung 4711"));
  QString why;
  ASSERT_TRUE(s.save(dir.file(QStringLiteral("a.LL")), &why)) << why.toStdString();
  auto back = StorageFile::load(dir.file(QStringLiteral("a.LL")), &why);
  ASSERT_TRUE(back) << why.toStdString();
  EXPECT_EQ(back->title(), QStringLiteral("Rechnung 4711"));
  ASSERT_EQ(back->pageCount(), 2);
  EXPECT_EQ(back->pageSizeMM(2), QSizeF(297, 210));
  EXPECT_EQ(back->pageSizeMM(3), QSizeF());
  EXPECT_EQ(reporttest::textListOfPage(*back, 2), QStringList{QStringLiteral("Seite zwei")});
}

TEST(StorageFile, RefusesFilesThatAreNoneOrAreCutOff) {
  testsupport::TempDir dir;
  QString why;
  EXPECT_FALSE(StorageFile::load(dir.file(QStringLiteral("fehlt.LL")), &why));
  EXPECT_FALSE(why.isEmpty());
  dir.write(QStringLiteral("text.LL"), "Hallo Welt, kein Speicher");
  EXPECT_FALSE(StorageFile::load(dir.file(QStringLiteral("text.LL")), &why));
  StorageFile s = onePage(QSizeF(210, 297), QStringLiteral("x"));
  ASSERT_TRUE(s.save(dir.file(QStringLiteral("ganz.LL")), nullptr));
  QFile f(dir.file(QStringLiteral("ganz.LL")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray whole = f.readAll();
  dir.write(QStringLiteral("halb.LL"), whole.left(whole.size() - 40));
  EXPECT_FALSE(StorageFile::load(dir.file(QStringLiteral("halb.LL")), &why));
  EXPECT_TRUE(why.contains(QStringLiteral("cut off"))) << why.toStdString();
}

TEST(StorageFile, FailedWriteKeepsTheOldFile) {
  testsupport::TempDir dir;
  QString why;
  EXPECT_FALSE(onePage(QSizeF(210, 297), QStringLiteral("x")).save(dir.file(QStringLiteral("fehlt/a.LL")), &why));
  EXPECT_FALSE(why.isEmpty());
}

TEST(StorageFile, DrawsAPageScaledToAnyResolution) {
  const StorageFile s = onePage(QSizeF(210, 297), QStringLiteral("x"));
  for (const int dpi : {96, 300}) {
    const double pxPerMM = dpi / 25.4;
    QImage img(qRound(210 * pxPerMM), qRound(297 * pxPerMM), QImage::Format_ARGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);
    QPainter p(&img);
    s.drawPage(1, p, QRectF(0, 0, img.width(), img.height()));
    p.end();
    // Inside the square (25 mm / 35 mm) black, beside it (35 mm / 35 mm) white.
    EXPECT_EQ(img.pixelColor(qRound(25 * pxPerMM), qRound(35 * pxPerMM)), QColor(Qt::black)) << dpi;
    EXPECT_EQ(img.pixelColor(qRound(35 * pxPerMM), qRound(35 * pxPerMM)), QColor(Qt::white)) << dpi;
    EXPECT_EQ(img.pixelColor(qRound(25 * pxPerMM), qRound(45 * pxPerMM)), QColor(Qt::white)) << dpi;
  }
}

TEST(StorageFile, KeepsThePageShapeInsideAnotherShape) {
  const StorageFile s = onePage(QSizeF(100, 100), QStringLiteral("x"));
  QImage img(400, 200, QImage::Format_ARGB32);
  img.setDotsPerMeterX(3780);
  img.setDotsPerMeterY(3780);
  img.fill(Qt::white);
  QPainter p(&img);
  s.drawPage(1, p, QRectF(0, 0, 400, 200));
  p.end();
  // Scaled to 200 x 200 and centred: the square spans 20..30 mm of 100 mm, so x 140..160.
  EXPECT_EQ(img.pixelColor(150, 70), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(50, 70), QColor(Qt::white));
}
