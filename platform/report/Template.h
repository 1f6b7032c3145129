#pragma once
// A report template of ours: JSON in a .lst (list) or .lbl (label) file, described in
// templates/README.md. Lengths are millimetres from the page's top left corner, font sizes
// points.
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

#include "platform/report/Expression.h"
#include "platform/report/TextTemplate.h"

namespace report {

// On which pages a page object is drawn.
enum class PageRule { All, First, Following, Last, NotLast };

struct DrawObject {
  enum class Type { Text, Line, Rect, Picture };
  Type type = Type::Text;
  QRectF box;           // x, y, width, height; a text of height 0 grows with its lines
  QPointF end;          // a line's second point
  TextTemplate text;    // the text, or a picture's file (a drawing value or a path)
  QFont font;           // pixel size in hundredths of a millimetre
  double fontPoints = 10;
  Qt::Alignment align = Qt::AlignLeft;
  QColor color = Qt::black;
  QColor fill;          // invalid: not filled
  double lineWidth = 0.2;
  bool keepAspect = true;
  PageRule pages = PageRule::All;
  Expression when;
};

// A body row kind of a list: drawn when its condition holds; its objects are placed relative to
// the row's top left corner.
struct RowLayout {
  QString caption;  // the designer's name for it; not printed
  Expression when;
  double minHeight = 0;
  double paddingTop = 0;
  double paddingBottom = 0;
  QList<DrawObject> objects;
};

struct TableSpec {
  double x = 0, width = 0;
  double top = 0;           // body start on the first page
  double topFollowing = 0;  // body start on the following pages
  double bottom = 0;        // body end on every page
  QList<RowLayout> header;  // above the first body row of every page
  QList<RowLayout> rows;
  QList<RowLayout> footer;  // below the last body row of every page
};

struct LabelSpec {
  double x = 0, y = 0, width = 0, height = 0, gapX = 0, gapY = 0;
  int columns = 1, rows = 1;
  bool byColumns = false;   // fill column by column instead of row by row
  QList<DrawObject> objects;
};

// A sum over the body rows: the named value of every row printed while `when` holds is added.
struct SumSpec {
  QString name;
  QString value;
  Expression when;
  bool perPage = false;     // starts from 0 on every page
};

struct Template {
  int projectType = 2;      // 1 label, 2 list
  QSizeF pageSize;          // as oriented
  QMarginsF margins;
  QFont font;
  double fontPoints = 10;
  QList<DrawObject> objects;
  TableSpec table;
  LabelSpec label;
  QList<SumSpec> sums;
  QString folder;  // the template file's folder: relative picture paths start there

  static std::optional<Template> parse(const QByteArray& json, QString* error);
  // Reads the file at `path` (a real path); `folder` is the file's.
  static std::optional<Template> load(const QString& path, QString* error);
};

// Hundredths of a millimetre per millimetre: the unit pages are drawn in.
constexpr double kUnitsPerMM = 100.0;

// The text of a new, empty template of `projectType`, for the designer.
QByteArray emptyTemplateText(int projectType);

}  // namespace report
