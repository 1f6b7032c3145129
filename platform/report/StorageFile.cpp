#include "platform/report/StorageFile.h"

#include <QDataStream>
#include <QFile>
#include <QPaintDevice>
#include <QPainter>
#include <QSaveFile>

#include <cerrno>

#include "platform/report/Template.h"

namespace report {

namespace {

const QByteArray kMagic = QByteArrayLiteral("SKRVSTG1");
// Version 1 files (pages as QPicture data only) are still read.
constexpr quint32 kVersion = 2;
constexpr quint8 kPagePicture = 0;
constexpr quint8 kPageContent = 1;
// Far more than any real job; guards the reader against a damaged count.
constexpr quint32 kMaxPages = 1000000;

}  // namespace

void playPicture(QPainter& painter, const QPicture& picture) {
  // Playing a picture scales it by the device's resolution over the picture's; undo that.
  const double dpiX = static_cast<double>(picture.logicalDpiX()) / painter.device()->logicalDpiX();
  const double dpiY = static_cast<double>(picture.logicalDpiY()) / painter.device()->logicalDpiY();
  painter.save();
  // A picture records only what its painter changed from a new painter's state: play it from that
  // state, not from the target's (a widget's painter starts with its palette's pen, which on the
  // preview's dark ground is light, and text drawn in the default black would vanish).
  painter.setPen(QPen());
  painter.setBrush(Qt::NoBrush);
  painter.setFont(QFont());
  painter.scale(dpiX, dpiY);
  QPicture shared = picture;  // play() is not const; the copy shares the data
  shared.play(&painter);
  painter.restore();
}

void StorageFile::addPage(const QSizeF& sizeMM, const QPicture& picture) {
  m_pages.append({sizeMM, QByteArray(picture.data(), picture.size()), {}});
}

void StorageFile::addPage(const QSizeF& sizeMM, PageContent content) {
  m_pages.append({sizeMM, {}, std::move(content)});
}

void StorageFile::append(const StorageFile& other) { m_pages.append(other.m_pages); }

bool StorageFile::save(const QString& path, QString* error) const {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) {
    if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
    return false;
  }
  // The file's own error text says nothing about why a write failed; errno does.
  errno = 0;
  f.write(kMagic);
  QDataStream out(&f);
  out.setVersion(QDataStream::Qt_6_0);
  out << kVersion << m_title << static_cast<quint32>(m_pages.size());
  for (const Page& p : m_pages) {
    out << p.sizeMM.width() << p.sizeMM.height();
    if (p.picture.isEmpty()) {
      out << kPageContent;
      p.content.write(out);
    } else {
      out << kPagePicture << p.picture;
    }
  }
  // A write refused in the last flush (disk full, file size limit) leaves no trace in commit(),
  // which would put a cut file in place of the whole one.
  if (out.status() != QDataStream::Ok || !f.flush() || f.error() != QFileDevice::NoError) {
    if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, errno ? qt_error_string(errno) : f.errorString());
    return false;
  }
  if (!f.commit()) {
    if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
    return false;
  }
  return true;
}

std::optional<StorageFile> StorageFile::load(const QString& path, QString* error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
    return std::nullopt;
  }
  const auto refuse = [&](const QString& why) {
    if (error) *error = QStringLiteral("%1 is no storage file: %2").arg(path, why);
    return std::nullopt;
  };
  if (f.read(kMagic.size()) != kMagic) return refuse(QStringLiteral("wrong header"));
  QDataStream in(&f);
  in.setVersion(QDataStream::Qt_6_0);
  quint32 version = 0, count = 0;
  StorageFile s;
  in >> version >> s.m_title >> count;
  if (in.status() != QDataStream::Ok) return refuse(QStringLiteral("cut off"));
  if (version != 1 && version != kVersion) return refuse(QStringLiteral("version %1").arg(version));
  if (count > kMaxPages) return refuse(QStringLiteral("page count %1").arg(count));
  for (quint32 i = 0; i < count; ++i) {
    double w = 0, h = 0;
    Page page;
    in >> w >> h;
    quint8 kind = kPagePicture;
    if (version > 1) in >> kind;
    if (kind == kPagePicture) {
      in >> page.picture;
    } else if (kind != kPageContent) {
      return refuse(QStringLiteral("page %1 of unknown kind %2").arg(i + 1).arg(kind));
    } else if (QString why; !page.content.read(in, &why) && in.status() == QDataStream::Ok) {
      return refuse(QStringLiteral("page %1 is damaged: %2").arg(i + 1).arg(why));
    }
    if (in.status() != QDataStream::Ok) return refuse(QStringLiteral("cut off in page %1").arg(i + 1));
    if (!(w > 0 && h > 0)) return refuse(QStringLiteral("page %1 has no size").arg(i + 1));
    page.sizeMM = QSizeF(w, h);
    s.m_pages.append(std::move(page));
  }
  return s;
}

QSizeF StorageFile::pageSizeMM(int page) const {
  if (page < 1 || page > pageCount()) return {};
  return m_pages[page - 1].sizeMM;
}

void StorageFile::drawPage(int page, QPainter& painter, const QRectF& target) const {
  if (page < 1 || page > pageCount() || !painter.device()) return;
  const Page& p = m_pages[page - 1];
  const QSizeF units = p.sizeMM * kUnitsPerMM;
  const double scale = qMin(target.width() / units.width(), target.height() / units.height());
  const QSizeF drawn = units * scale;
  painter.save();
  painter.translate(target.x() + (target.width() - drawn.width()) / 2, target.y() + (target.height() - drawn.height()) / 2);
  painter.scale(scale, scale);
  if (p.picture.isEmpty()) {
    p.content.draw(painter);
  } else {
    QPicture pic;
    pic.setData(p.picture.constData(), static_cast<uint>(p.picture.size()));
    playPicture(painter, pic);
  }
  painter.restore();
}

}  // namespace report
