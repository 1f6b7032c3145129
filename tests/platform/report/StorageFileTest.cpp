#include <gtest/gtest.h>

#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <functional>

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

// A file written before pages were drawing commands (version 1: QPicture data per page) opens.
TEST(StorageFile, OpensFilesWhosePagesArePictures) {
  testsupport::TempDir dir;
  QPicture pic;
  QPainter p(&pic);
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(353);
  p.setFont(f);
  p.drawText(QPointF(2000, 6000), QStringLiteral("Alte Seite"));
  p.end();
  QByteArray bytes = QByteArrayLiteral("SKRVSTG1");
  {
    QDataStream out(&bytes, QIODevice::Append);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(1) << QStringLiteral("Alt") << quint32(1) << 210.0 << 297.0 << QByteArray(pic.data(), pic.size());
  }
  QString why;
  const auto s = StorageFile::load(dir.write(QStringLiteral("alt.LL"), bytes), &why);
  ASSERT_TRUE(s) << why.toStdString();
  EXPECT_EQ(s->title(), QStringLiteral("Alt"));
  ASSERT_EQ(s->pageCount(), 1);
  EXPECT_EQ(reporttest::textListOfPage(*s, 1), QStringList{QStringLiteral("Alte Seite")});
}

// A page of drawing commands comes back from its file as it went in: texts in their fonts at
// their places, lines, rectangles and pictures, appended pieces moved and clipped.
TEST(StorageFile, KeepsDrawingCommandsThroughTheFile) {
  testsupport::TempDir dir;
  QFont fett(QStringLiteral("Liberation Sans"));
  fett.setPixelSize(353);
  fett.setBold(true);
  PageContent zeile;
  zeile.text(QPointF(100, 300), QStringLiteral("Übertrag"), fett, Qt::darkGray);
  zeile.line(QLineF(0, 400, 5000, 400), Qt::black, 20);
  PageContent seite;
  seite.rect(QRectF(2000, 3000, 1000, 1000), Qt::black, 0, Qt::black);
  QImage bild(4, 4, QImage::Format_ARGB32);
  bild.fill(Qt::red);
  seite.image(QRectF(0, 0, 500, 500), bild);
  seite.setClip(QRectF(0, 10000, 21000, 5000));
  seite.append(zeile, QPointF(2000, 10000));
  seite.setClip(std::nullopt);
  StorageFile s;
  s.addPage(QSizeF(210, 297), seite);
  QString why;
  ASSERT_TRUE(s.save(dir.file(QStringLiteral("neu.LL")), &why)) << why.toStdString();
  const auto back = StorageFile::load(dir.file(QStringLiteral("neu.LL")), &why);
  ASSERT_TRUE(back) << why.toStdString();

  const QSizeF units(21000, 29700);
  reporttest::CaptureDevice device(units.width(), units.height());
  QPainter p(&device);
  back->drawPage(1, p, QRectF(QPointF(0, 0), units));
  p.end();
  ASSERT_EQ(device.texts.size(), 1);
  EXPECT_EQ(device.texts[0].text, QStringLiteral("Übertrag"));
  EXPECT_EQ(device.texts[0].at, QPointF(2100, 10300));
  EXPECT_TRUE(device.texts[0].font.bold());
  EXPECT_EQ(device.lines, 1);
  EXPECT_EQ(device.images, 1);

  // Cut off inside the commands, the file is refused.
  QFile f(dir.file(QStringLiteral("neu.LL")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  dir.write(QStringLiteral("kurz.LL"), f.readAll().chopped(10));
  EXPECT_FALSE(StorageFile::load(dir.file(QStringLiteral("kurz.LL")), &why));
}

// Refused before Qt reads them: a colour of unknown kind, a count no file of that size holds, a font
// record claiming 800 million family names, font sizes that drawing turns into memory (glyph images
// grow with the size squared). The largest fonts our reports write still open.
TEST(StorageFile, RefusesDamagedRecordsBeforeReadingThemIntoQt) {
  testsupport::TempDir dir;
  const auto schrift = [](double punkte, qint32 pixel, quint16 breite) {
    return [=](QDataStream& out) {
      out << quint32(1) << QStringLiteral("Liberation Sans") << QString() << punkte << pixel << quint8(0) << quint16(1)
          << quint16(400) << quint8(0) << breite << quint8(0) << quint64(0) << quint16(0) << quint32(0) << quint32(0)
          << quint32(1) << quint8(0) << false << QPointF(2000, 6000) << QStringLiteral("Ag") << qint32(0)
          << QColor(Qt::black);
    };
  };
  const std::pair<std::function<void(QDataStream&)>, const char*> faelle[] = {
      {[](QDataStream& out) {
         out << quint32(0) << quint32(0) << quint32(1) << quint8(2) << false << QRectF(0, 0, 100, 100) << qint8(9)
             << quint64(0) << quint16(0) << 1.0 << QColor(Qt::black);
       }, "command 1 has a colour of unknown kind"},
      {[](QDataStream& out) { out << quint32(0) << quint32(0) << quint32(10000000); }, "10000000 drawing commands"},
      {[](QDataStream& out) {
         out << quint32(1) << QStringLiteral("Arial") << QString() << 10.0 << qint32(-1) << quint8(0) << quint16(1)
             << quint16(400) << quint8(0) << quint16(100) << quint8(0) << quint64(0) << quint16(0)
             << quint32(0x30000000) << QStringLiteral("Arial");
       }, "font 1 is damaged"},
      {schrift(-1, 63491, 100), "font 1 has pixel size 63491"}, {schrift(5000, -1, 100), "font 1 has point size 5000"},
      {schrift(-1, 400, 60000), "font 1 has stretch 60000"},    {schrift(-1, 57786, 4000), nullptr},
      {schrift(1638, -1, 100), nullptr}};
  for (const auto& [inhalt, grund] : faelle) {
    QByteArray bytes = QByteArrayLiteral("SKRVSTG1");
    QDataStream out(&bytes, QIODevice::Append);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(2) << QString() << quint32(1) << 210.0 << 297.0 << quint8(1);
    inhalt(out);
    QString why;
    const bool geladen = StorageFile::load(dir.write(QStringLiteral("kaputt.LL"), bytes), &why).has_value();
    EXPECT_EQ(geladen, !grund) << why.toStdString();
    EXPECT_TRUE(!grund || why.contains(QLatin1String(grund))) << why.toStdString();
  }
}
