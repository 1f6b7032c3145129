#include "platform/report/Template.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageSize>

namespace report {

namespace {

// Millimetres: ten metres, far beyond any sheet.
constexpr double kMaxLength = 10000;
constexpr double kMaxFontPoints = 1000;
constexpr double kMaxGridCells = 1000;

// Reading stops at the first fault; the message names where it is.
struct Reader {
  QString error;

  bool ok() const { return error.isEmpty(); }
  void fail(const QString& where, const QString& why) {
    if (error.isEmpty()) error = where + QStringLiteral(": ") + why;
  }

  void checkKeys(const QJsonObject& o, const QStringList& allowed, const QString& where) {
    for (auto it = o.begin(); it != o.end(); ++it)
      if (!allowed.contains(it.key())) fail(where, QStringLiteral("unknown key \"%1\"").arg(it.key()));
  }

  // Every number is finite and within [lo, hi]: pages are laid out in whole hundredths of a
  // millimetre, and a length, count or size beyond any sheet would overflow there. A refused
  // number gives `fallback`, so nothing undefined is computed before the template is refused.
  double number(const QJsonObject& o, const QString& key, double fallback, const QString& where,
                double lo = -kMaxLength, double hi = kMaxLength) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) return fallback;
    return inRange(v, key, lo, hi, where) ? v.toDouble() : fallback;
  }

  bool inRange(const QJsonValue& v, const QString& key, double lo, double hi, const QString& where) {
    if (!v.isDouble()) {
      fail(where, QStringLiteral("\"%1\" must be a number").arg(key));
      return false;
    }
    const double d = v.toDouble();
    if (!(d >= lo && d <= hi)) {
      fail(where, QStringLiteral("\"%1\" must be between %2 and %3").arg(key).arg(lo).arg(hi));
      return false;
    }
    return true;
  }

  QString text(const QJsonObject& o, const QString& key, const QString& where) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) return {};
    if (!v.isString()) fail(where, QStringLiteral("\"%1\" must be a text").arg(key));
    return v.toString();
  }

  Expression condition(const QJsonObject& o, const QString& where) {
    QString why;
    auto e = Expression::parse(text(o, QStringLiteral("when"), where), &why);
    if (!e) {
      fail(where, why);
      return {};
    }
    return *e;
  }

  TextTemplate textTemplate(const QString& s, const QString& where) {
    QString why;
    auto t = TextTemplate::parse(s, &why);
    if (!t) {
      fail(where, why);
      return {};
    }
    return *t;
  }

  void font(const QJsonValue& v, QFont& f, double& points, const QString& where) {
    if (v.isUndefined()) return;
    if (!v.isObject()) return fail(where, QStringLiteral("\"font\" must be an object"));
    const QJsonObject o = v.toObject();
    checkKeys(o, {QStringLiteral("family"), QStringLiteral("size"), QStringLiteral("bold"), QStringLiteral("italic"),
                  QStringLiteral("underline")},
              where + QStringLiteral(".font"));
    if (o.contains(QLatin1String("family"))) f.setFamilies({text(o, QStringLiteral("family"), where)});
    points = number(o, QStringLiteral("size"), points, where + QStringLiteral(".font"), 0, kMaxFontPoints);
    if (points <= 0) fail(where, QStringLiteral("font size must be above 0"));
    if (o.contains(QLatin1String("bold"))) f.setBold(o.value(QLatin1String("bold")).toBool());
    if (o.contains(QLatin1String("italic"))) f.setItalic(o.value(QLatin1String("italic")).toBool());
    if (o.contains(QLatin1String("underline"))) f.setUnderline(o.value(QLatin1String("underline")).toBool());
    f.setPixelSize(qMax(1, qRound(points * 2540.0 / 72.0)));
  }

  QColor color(const QJsonObject& o, const QString& key, const QColor& fallback, const QString& where) {
    if (!o.contains(key)) return fallback;
    const QColor c = QColor::fromString(text(o, key, where));
    if (!c.isValid()) fail(where, QStringLiteral("\"%1\" is no colour").arg(key));
    return c;
  }

  DrawObject object(const QJsonValue& v, const Template& t, const QString& where) {
    DrawObject d;
    if (!v.isObject()) {
      fail(where, QStringLiteral("must be an object"));
      return d;
    }
    const QJsonObject o = v.toObject();
    checkKeys(o, {QStringLiteral("type"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("width"),
                  QStringLiteral("height"), QStringLiteral("x2"), QStringLiteral("y2"), QStringLiteral("text"),
                  QStringLiteral("source"), QStringLiteral("font"), QStringLiteral("align"), QStringLiteral("color"),
                  QStringLiteral("fill"), QStringLiteral("lineWidth"), QStringLiteral("keepAspect"),
                  QStringLiteral("pages"), QStringLiteral("when")},
              where);
    const QString type = text(o, QStringLiteral("type"), where);
    if (type == QLatin1String("text")) d.type = DrawObject::Type::Text;
    else if (type == QLatin1String("line")) d.type = DrawObject::Type::Line;
    else if (type == QLatin1String("rect")) d.type = DrawObject::Type::Rect;
    else if (type == QLatin1String("picture")) d.type = DrawObject::Type::Picture;
    else fail(where, QStringLiteral("unknown type \"%1\"").arg(type));
    d.box = QRectF(number(o, QStringLiteral("x"), 0, where), number(o, QStringLiteral("y"), 0, where),
                   number(o, QStringLiteral("width"), 0, where), number(o, QStringLiteral("height"), 0, where));
    d.end = QPointF(number(o, QStringLiteral("x2"), d.box.x(), where), number(o, QStringLiteral("y2"), d.box.y(), where));
    if (d.box.width() < 0 || d.box.height() < 0) fail(where, QStringLiteral("width and height must not be negative"));
    if ((d.type == DrawObject::Type::Text || d.type == DrawObject::Type::Picture) && d.box.width() <= 0)
      fail(where, QStringLiteral("\"width\" is needed"));
    const QString source = d.type == DrawObject::Type::Picture ? text(o, QStringLiteral("source"), where)
                                                               : text(o, QStringLiteral("text"), where);
    d.text = textTemplate(source, where);
    d.font = t.font;
    d.fontPoints = t.fontPoints;
    font(o.value(QLatin1String("font")), d.font, d.fontPoints, where);
    const QString align = text(o, QStringLiteral("align"), where);
    if (align.isEmpty() || align == QLatin1String("left")) d.align = Qt::AlignLeft;
    else if (align == QLatin1String("right")) d.align = Qt::AlignRight;
    else if (align == QLatin1String("center")) d.align = Qt::AlignHCenter;
    else fail(where, QStringLiteral("unknown align \"%1\"").arg(align));
    d.color = color(o, QStringLiteral("color"), Qt::black, where);
    d.fill = color(o, QStringLiteral("fill"), QColor(), where);
    d.lineWidth = number(o, QStringLiteral("lineWidth"), 0.2, where);
    d.keepAspect = o.value(QLatin1String("keepAspect")).toBool(true);
    const QString pages = text(o, QStringLiteral("pages"), where);
    if (pages.isEmpty() || pages == QLatin1String("all")) d.pages = PageRule::All;
    else if (pages == QLatin1String("first")) d.pages = PageRule::First;
    else if (pages == QLatin1String("following")) d.pages = PageRule::Following;
    else if (pages == QLatin1String("last")) d.pages = PageRule::Last;
    else if (pages == QLatin1String("notlast")) d.pages = PageRule::NotLast;
    else fail(where, QStringLiteral("unknown pages \"%1\"").arg(pages));
    d.when = condition(o, where);
    return d;
  }

  QList<DrawObject> objects(const QJsonValue& v, const Template& t, const QString& where) {
    QList<DrawObject> out;
    if (v.isUndefined()) return out;
    if (!v.isArray()) {
      fail(where, QStringLiteral("must be a list"));
      return out;
    }
    const QJsonArray a = v.toArray();
    for (qsizetype i = 0; i < a.size() && ok(); ++i)
      out.append(object(a[i], t, QStringLiteral("%1[%2]").arg(where).arg(i)));
    return out;
  }

  QList<RowLayout> rows(const QJsonValue& v, const Template& t, const QString& where) {
    QList<RowLayout> out;
    if (v.isUndefined()) return out;
    if (!v.isArray()) {
      fail(where, QStringLiteral("must be a list"));
      return out;
    }
    const QJsonArray a = v.toArray();
    for (qsizetype i = 0; i < a.size() && ok(); ++i) {
      const QString at = QStringLiteral("%1[%2]").arg(where).arg(i);
      const QJsonObject o = a[i].toObject();
      checkKeys(o, {QStringLiteral("caption"), QStringLiteral("when"), QStringLiteral("height"),
                    QStringLiteral("paddingTop"), QStringLiteral("paddingBottom"), QStringLiteral("objects")},
                at);
      RowLayout r;
      r.caption = text(o, QStringLiteral("caption"), at);
      r.when = condition(o, at);
      r.minHeight = number(o, QStringLiteral("height"), 0, at);
      r.paddingTop = number(o, QStringLiteral("paddingTop"), 0, at);
      r.paddingBottom = number(o, QStringLiteral("paddingBottom"), 0, at);
      r.objects = objects(o.value(QLatin1String("objects")), t, at + QStringLiteral(".objects"));
      for (const DrawObject& d : r.objects)
        if (d.pages != PageRule::All) fail(at, QStringLiteral("\"pages\" belongs to page objects only"));
      out.append(r);
    }
    return out;
  }

  void page(const QJsonValue& v, Template& t) {
    QSizeF size(210, 297);
    QMarginsF margins(15, 15, 15, 15);
    bool landscape = false;
    if (!v.isUndefined()) {
      const QJsonObject o = v.toObject();
      checkKeys(o, {QStringLiteral("size"), QStringLiteral("orientation"), QStringLiteral("margins")},
                QStringLiteral("page"));
      const QJsonValue s = o.value(QLatin1String("size"));
      if (s.isString()) {
        static const QList<std::pair<QString, QPageSize::PageSizeId>> named = {
            {QStringLiteral("A3"), QPageSize::A3}, {QStringLiteral("A4"), QPageSize::A4},
            {QStringLiteral("A5"), QPageSize::A5}, {QStringLiteral("A6"), QPageSize::A6},
            {QStringLiteral("Letter"), QPageSize::Letter}, {QStringLiteral("Legal"), QPageSize::Legal}};
        bool found = false;
        for (const auto& [name, id] : named)
          if (name.compare(s.toString(), Qt::CaseInsensitive) == 0) {
            size = QPageSize::size(id, QPageSize::Millimeter);
            found = true;
          }
        if (!found) fail(QStringLiteral("page.size"), QStringLiteral("unknown size \"%1\"").arg(s.toString()));
      } else if (s.isArray()) {
        const QJsonArray a = s.toArray();
        if (a.size() != 2 || a[0].toDouble() <= 0 || a[1].toDouble() <= 0)
          fail(QStringLiteral("page.size"), QStringLiteral("must be [width, height]"));
        else if (inRange(a[0], QStringLiteral("size"), 0, kMaxLength, QStringLiteral("page.size")) &&
                 inRange(a[1], QStringLiteral("size"), 0, kMaxLength, QStringLiteral("page.size")))
          size = QSizeF(a[0].toDouble(), a[1].toDouble());
      } else if (!s.isUndefined()) {
        fail(QStringLiteral("page.size"), QStringLiteral("must be a name or [width, height]"));
      }
      const QString orientation = text(o, QStringLiteral("orientation"), QStringLiteral("page"));
      if (orientation == QLatin1String("landscape")) landscape = true;
      else if (!orientation.isEmpty() && orientation != QLatin1String("portrait"))
        fail(QStringLiteral("page.orientation"), QStringLiteral("must be portrait or landscape"));
      const QJsonValue m = o.value(QLatin1String("margins"));
      if (m.isArray() && m.toArray().size() == 4) {
        const QJsonArray a = m.toArray();
        bool valid = true;
        for (const QJsonValue& side : a)
          valid = valid && inRange(side, QStringLiteral("margins"), -kMaxLength, kMaxLength, QStringLiteral("page"));
        if (valid) margins = QMarginsF(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble());
      } else if (!m.isUndefined()) {
        fail(QStringLiteral("page.margins"), QStringLiteral("must be [left, top, right, bottom]"));
      }
    }
    if (landscape != (size.width() > size.height())) size.transpose();
    t.pageSize = size;
    t.margins = margins;
  }

  void table(const QJsonValue& v, Template& t) {
    const QJsonObject o = v.toObject();
    const QString w = QStringLiteral("table");
    checkKeys(o, {QStringLiteral("x"), QStringLiteral("width"), QStringLiteral("top"), QStringLiteral("topFollowing"),
                  QStringLiteral("bottom"), QStringLiteral("header"), QStringLiteral("rows"), QStringLiteral("footer")},
              w);
    TableSpec& s = t.table;
    s.x = number(o, QStringLiteral("x"), t.margins.left(), w);
    s.width = number(o, QStringLiteral("width"), t.pageSize.width() - s.x - t.margins.right(), w);
    s.top = number(o, QStringLiteral("top"), t.margins.top(), w);
    s.topFollowing = number(o, QStringLiteral("topFollowing"), s.top, w);
    s.bottom = number(o, QStringLiteral("bottom"), t.pageSize.height() - t.margins.bottom(), w);
    if (s.bottom <= qMax(s.top, s.topFollowing) || s.width <= 0)
      fail(w, QStringLiteral("the body area is empty (top, topFollowing, bottom, width)"));
    s.header = rows(o.value(QLatin1String("header")), t, w + QStringLiteral(".header"));
    s.rows = rows(o.value(QLatin1String("rows")), t, w + QStringLiteral(".rows"));
    s.footer = rows(o.value(QLatin1String("footer")), t, w + QStringLiteral(".footer"));
  }

  void label(const QJsonValue& v, Template& t) {
    const QJsonObject o = v.toObject();
    const QString w = QStringLiteral("label");
    checkKeys(o, {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("width"), QStringLiteral("height"),
                  QStringLiteral("gapX"), QStringLiteral("gapY"), QStringLiteral("columns"), QStringLiteral("rows"),
                  QStringLiteral("order"), QStringLiteral("objects")},
              w);
    LabelSpec& s = t.label;
    s.x = number(o, QStringLiteral("x"), t.margins.left(), w);
    s.y = number(o, QStringLiteral("y"), t.margins.top(), w);
    s.width = number(o, QStringLiteral("width"), 0, w);
    s.height = number(o, QStringLiteral("height"), 0, w);
    s.gapX = number(o, QStringLiteral("gapX"), 0, w);
    s.gapY = number(o, QStringLiteral("gapY"), 0, w);
    s.columns = static_cast<int>(number(o, QStringLiteral("columns"), 1, w, 1, kMaxGridCells));
    s.rows = static_cast<int>(number(o, QStringLiteral("rows"), 1, w, 1, kMaxGridCells));
    const QString order = text(o, QStringLiteral("order"), w);
    s.byColumns = order == QLatin1String("columns");
    if (!order.isEmpty() && order != QLatin1String("rows") && !s.byColumns)
      fail(w, QStringLiteral("\"order\" must be rows or columns"));
    if (s.width <= 0 || s.height <= 0 || s.columns < 1 || s.rows < 1)
      fail(w, QStringLiteral("width, height, columns and rows must be above 0"));
    s.objects = objects(o.value(QLatin1String("objects")), t, w + QStringLiteral(".objects"));
  }

  void sums(const QJsonValue& v, Template& t) {
    if (v.isUndefined()) return;
    const QJsonArray a = v.toArray();
    for (qsizetype i = 0; i < a.size() && ok(); ++i) {
      const QString at = QStringLiteral("sums[%1]").arg(i);
      const QJsonObject o = a[i].toObject();
      checkKeys(o, {QStringLiteral("name"), QStringLiteral("value"), QStringLiteral("when"), QStringLiteral("perPage")},
                at);
      SumSpec s;
      s.name = text(o, QStringLiteral("name"), at);
      s.value = text(o, QStringLiteral("value"), at);
      s.when = condition(o, at);
      s.perPage = o.value(QLatin1String("perPage")).toBool(false);
      if (s.name.isEmpty() || s.value.isEmpty()) fail(at, QStringLiteral("\"name\" and \"value\" are needed"));
      t.sums.append(s);
    }
  }
};

}  // namespace

std::optional<Template> Template::parse(const QByteArray& json, QString* error) {
  QJsonParseError pe;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
  if (doc.isNull() || !doc.isObject()) {
    if (error) *error = QStringLiteral("no template: %1 at offset %2").arg(pe.errorString()).arg(pe.offset);
    return std::nullopt;
  }
  const QJsonObject root = doc.object();
  Reader r;
  Template t;
  r.checkKeys(root, {QStringLiteral("kind"), QStringLiteral("page"), QStringLiteral("font"), QStringLiteral("objects"),
                     QStringLiteral("table"), QStringLiteral("label"), QStringLiteral("sums")},
              QStringLiteral("template"));
  const QString kind = root.value(QLatin1String("kind")).toString();
  if (kind == QLatin1String("list")) t.projectType = 2;
  else if (kind == QLatin1String("label")) t.projectType = 1;
  else r.fail(QStringLiteral("kind"), QStringLiteral("must be \"list\" or \"label\""));
  t.font = QFont(QStringLiteral("Liberation Sans"));
  t.font.setHintingPreference(QFont::PreferNoHinting);
  r.font(root.value(QLatin1String("font")), t.font, t.fontPoints, QStringLiteral("template"));
  t.font.setPixelSize(qMax(1, qRound(t.fontPoints * 2540.0 / 72.0)));
  r.page(root.value(QLatin1String("page")), t);
  t.objects = r.objects(root.value(QLatin1String("objects")), t, QStringLiteral("objects"));
  if (t.projectType == 2) {
    if (root.contains(QLatin1String("label"))) r.fail(QStringLiteral("label"), QStringLiteral("a list has no label grid"));
    r.table(root.value(QLatin1String("table")), t);
  } else {
    if (root.contains(QLatin1String("table"))) r.fail(QStringLiteral("table"), QStringLiteral("a label has no table"));
    r.label(root.value(QLatin1String("label")), t);
  }
  r.sums(root.value(QLatin1String("sums")), t);
  if (!r.ok()) {
    if (error) *error = r.error;
    return std::nullopt;
  }
  return t;
}

std::optional<Template> Template::load(const QString& path, QString* error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
    return std::nullopt;
  }
  QString why;
  auto t = parse(f.readAll(), &why);
  if (!t && error) *error = path + QStringLiteral(": ") + why;
  if (t) t->folder = QFileInfo(path).absolutePath();
  return t;
}

QByteArray emptyTemplateText(int projectType) {
  if (projectType == 1)
    return QByteArrayLiteral(
        "{\n  \"kind\": \"label\",\n  \"page\": { \"size\": \"A4\", \"margins\": [0, 0, 0, 0] },\n"
        "  \"label\": { \"x\": 0, \"y\": 0, \"width\": 70, \"height\": 37.125, \"columns\": 3, \"rows\": 8,\n"
        "             \"objects\": [] }\n}\n");
  return QByteArrayLiteral(
      "{\n  \"kind\": \"list\",\n  \"page\": { \"size\": \"A4\", \"margins\": [20, 15, 15, 15] },\n"
      "  \"objects\": [],\n  \"table\": { \"rows\": [] }\n}\n");
}

}  // namespace report
