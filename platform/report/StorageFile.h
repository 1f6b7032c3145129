#pragma once
// Our storage file: the pages of one job (drawn in hundredths of a millimetre), their sizes and
// the job title. File layout (QDataStream, Qt 6.0 format): the 8 bytes "SKRVSTG1", quint32
// version, QString title, quint32 page count, then per page double width and height in
// millimetres and the page: in version 1 QPicture data as QByteArray; in version 2 a quint8 kind,
// 0 for such QPicture data and 1 for a list of drawing commands (PageContent::write).
#include <QByteArray>
#include <QList>
#include <QPicture>
#include <QSizeF>
#include <QString>
#include <optional>

#include "platform/report/PageContent.h"
#include "platform/report/PageSource.h"

namespace report {

// Plays `picture` on `painter` in the painter's current coordinates, whatever the resolution of
// the painter's device.
void playPicture(QPainter& painter, const QPicture& picture);

class StorageFile : public PageSource {
 public:
  struct Page {
    QSizeF sizeMM;
    QByteArray picture;   // a page as QPicture data (files of version 1), else empty
    PageContent content;  // a page as drawing commands
  };

  QString title() const { return m_title; }
  void setTitle(const QString& title) { m_title = title; }
  const QList<Page>& pages() const { return m_pages; }

  void addPage(const QSizeF& sizeMM, const QPicture& picture);
  void addPage(const QSizeF& sizeMM, PageContent content);
  // Appends the pages of `other` (its title is not taken).
  void append(const StorageFile& other);

  // Writes the file in one piece (a failed write leaves the old file).
  bool save(const QString& path, QString* error) const;
  // Reads a file written by save(); a file that is not one, or is cut off, is refused.
  static std::optional<StorageFile> load(const QString& path, QString* error);

  int pageCount() const override { return static_cast<int>(m_pages.size()); }
  QSizeF pageSizeMM(int page) const override;
  // Scales the page evenly to fit `target` and centres it there.
  void drawPage(int page, QPainter& painter, const QRectF& target) const override;

 private:
  QString m_title;
  QList<Page> m_pages;
};

}  // namespace report
