#include "platform/report/PropertyPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QToolButton>
#include <algorithm>
#include <optional>

#include "platform/ui/Dialogs.h"

namespace report {

namespace {

using Selected = PropertyPanel::Selected;
using Type = DrawObject::Type;

constexpr double kMaxMM = 10000;
const QString kDiffer = QStringLiteral("verschieden");

// The value every object has, or nothing when they differ.
template <typename T, typename F>
std::optional<T> shared(const QList<Selected>& objects, F value) {
  const T first = value(objects.first());
  for (const Selected& o : objects)
    if (!(value(o) == first)) return std::nullopt;
  return first;
}

// Shows `v`; differing values show as "verschieden", a value below `floor` the user cannot mean.
void showNumber(QDoubleSpinBox* box, std::optional<double> v, double floor) {
  box->setSpecialValueText(v ? QString() : kDiffer);
  box->setMinimum(v ? floor : floor - 1);
  if (box->value() != v.value_or(floor - 1)) box->setValue(v.value_or(floor - 1));
}

// False for the "verschieden" of a box.
bool isValue(const QDoubleSpinBox* box, double v) { return box->specialValueText().isEmpty() || v > box->minimum(); }

void showLine(QLineEdit* edit, std::optional<QString> text, const QString& placeholder = {}) {
  edit->setText(text.value_or(QString()));
  edit->setPlaceholderText(text ? placeholder : kDiffer);
  edit->setModified(false);
}

void showCombo(QComboBox* box, std::optional<QString> data) {
  box->setCurrentIndex(data ? qMax(0, box->findData(*data)) : -1);
}

void showCheck(QCheckBox* box, std::optional<bool> on) {
  box->setTristate(!on);
  box->setCheckState(!on ? Qt::PartiallyChecked : (*on ? Qt::Checked : Qt::Unchecked));
}

}  // namespace

PropertyPanel::PropertyPanel(QWidget* parent)
    : QWidget(parent),
      m_pages(new QStackedWidget(this)),
      m_problem(new QLabel(this)),
      m_x(length("propX", QStringLiteral("x"), -kMaxMM)),
      m_y(length("propY", QStringLiteral("y"), -kMaxMM)),
      m_width(length("propWidth", QStringLiteral("width"), 0)),
      m_height(length("propHeight", QStringLiteral("height"), 0)),
      m_text(new QPlainTextEdit(this)),
      m_pictureButton(new QToolButton(this)),
      m_family(new QFontComboBox(this)),
      m_size(new QDoubleSpinBox(this)),
      m_bold(new QCheckBox(QStringLiteral("fett"), this)),
      m_italic(new QCheckBox(QStringLiteral("kursiv"), this)),
      m_underline(new QCheckBox(QStringLiteral("unterstrichen"), this)),
      m_align(new QComboBox(this)),
      m_color(new QLineEdit(this)),
      m_colorButton(new QToolButton(this)),
      m_lineWidth(length("propLineWidth", QStringLiteral("lineWidth"), 0)),
      m_when(lineEdit("propWhen", QStringLiteral("when"), false)),
      m_pageRule(new QComboBox(this)),
      m_bandCaption(lineEdit("bandCaption", QStringLiteral("caption"), true)),
      m_bandWhen(lineEdit("bandWhen", QStringLiteral("when"), true)),
      m_bandHeight(length("bandHeight", QStringLiteral("height"), 0, true)),
      m_bandPaddingTop(length("bandPaddingTop", QStringLiteral("paddingTop"), 0, true)),
      m_bandPaddingBottom(length("bandPaddingBottom", QStringLiteral("paddingBottom"), 0, true)) {
  const auto emitIf = [this](const QString& key, const QJsonValue& v) {
    if (!m_filling) emit edited(key, v);
  };
  m_text->setObjectName(QStringLiteral("propText"));
  m_text->setTabChangesFocus(true);
  m_text->setFixedHeight(m_text->fontMetrics().lineSpacing() * 4 + 12);
  connect(m_text, &QPlainTextEdit::textChanged, this,
          [this, emitIf] { emitIf(QStringLiteral("text"), m_text->toPlainText()); });
  m_pictureButton->setObjectName(QStringLiteral("propPictureButton"));
  m_pictureButton->setText(QStringLiteral("Datei wählen …"));
  connect(m_pictureButton, &QToolButton::clicked, this, &PropertyPanel::pictureRequested);
  m_family->setObjectName(QStringLiteral("propFontFamily"));
  connect(m_family, &QFontComboBox::currentFontChanged, this,
          [emitIf](const QFont& f) { emitIf(QStringLiteral("font.family"), f.family()); });
  m_size->setObjectName(QStringLiteral("propFontSize"));
  m_size->setRange(1, 1000);
  m_size->setDecimals(1);
  m_size->setSuffix(QStringLiteral(" pt"));
  m_size->setKeyboardTracking(false);
  connect(m_size, &QDoubleSpinBox::valueChanged, this, [this, emitIf](double v) {
    if (isValue(m_size, v)) emitIf(QStringLiteral("font.size"), v);
  });
  for (auto [box, name, key] : {std::tuple{m_bold, "propBold", "font.bold"}, std::tuple{m_italic, "propItalic", "font.italic"},
                                std::tuple{m_underline, "propUnderline", "font.underline"}}) {
    box->setObjectName(QString::fromLatin1(name));
    const QString k = QString::fromLatin1(key);
    connect(box, &QCheckBox::stateChanged, this, [emitIf, k](int state) {
      if (state != Qt::PartiallyChecked) emitIf(k, state == Qt::Checked);
    });
  }
  m_align->setObjectName(QStringLiteral("propAlign"));
  m_align->addItem(QStringLiteral("links"), QStringLiteral("left"));
  m_align->addItem(QStringLiteral("zentriert"), QStringLiteral("center"));
  m_align->addItem(QStringLiteral("rechts"), QStringLiteral("right"));
  connect(m_align, &QComboBox::activated, this,
          [this, emitIf] { emitIf(QStringLiteral("align"), m_align->currentData().toString()); });
  m_color->setObjectName(QStringLiteral("propColor"));
  connect(m_color, &QLineEdit::editingFinished, this, [this, emitIf] {
    if (m_color->isModified() && QColor::fromString(m_color->text()).isValid()) emitIf(QStringLiteral("color"), m_color->text());
  });
  m_colorButton->setObjectName(QStringLiteral("propColorButton"));
  m_colorButton->setText(QStringLiteral("…"));
  m_colorButton->setToolTip(QStringLiteral("Farbe wählen"));
  connect(m_colorButton, &QToolButton::clicked, this, [this, emitIf] {
    QColor colour = QColor::fromString(m_color->text());
    if (!ui::dialogs().colorDialog(colour) || !colour.isValid()) return;
    m_color->setText(colour.name());
    emitIf(QStringLiteral("color"), colour.name());
  });
  m_pageRule->setObjectName(QStringLiteral("propPages"));
  m_pageRule->addItem(QStringLiteral("alle"), QStringLiteral("all"));
  m_pageRule->addItem(QStringLiteral("erste"), QStringLiteral("first"));
  m_pageRule->addItem(QStringLiteral("folgende"), QStringLiteral("following"));
  m_pageRule->addItem(QStringLiteral("letzte"), QStringLiteral("last"));
  m_pageRule->addItem(QStringLiteral("alle außer der letzten"), QStringLiteral("notlast"));
  connect(m_pageRule, &QComboBox::activated, this,
          [this, emitIf] { emitIf(QStringLiteral("pages"), m_pageRule->currentData().toString()); });

  auto* style = new QWidget(this);
  auto* styleRow = new QHBoxLayout(style);
  styleRow->setContentsMargins(0, 0, 0, 0);
  styleRow->addWidget(m_bold);
  styleRow->addWidget(m_italic);
  styleRow->addWidget(m_underline);
  auto* colour = new QWidget(this);
  auto* colourRow = new QHBoxLayout(colour);
  colourRow->setContentsMargins(0, 0, 0, 0);
  colourRow->addWidget(m_color, 1);
  colourRow->addWidget(m_colorButton);
  auto* objectPage = new QWidget(this);
  objectPage->setObjectName(QStringLiteral("objectProperties"));
  auto* form = new QFormLayout(objectPage);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(QStringLiteral("X (mm)"), m_x);
  form->addRow(QStringLiteral("Y (mm)"), m_y);
  form->addRow(QStringLiteral("Breite (mm)"), m_width);
  form->addRow(QStringLiteral("Höhe (mm)"), m_height);
  form->addRow(QStringLiteral("Text"), m_text);
  form->addRow(QStringLiteral("Bilddatei"), m_pictureButton);
  form->addRow(QStringLiteral("Schrift"), m_family);
  form->addRow(QStringLiteral("Größe"), m_size);
  form->addRow(QString(), style);
  form->addRow(QStringLiteral("Ausrichtung"), m_align);
  form->addRow(QStringLiteral("Farbe"), colour);
  form->addRow(QStringLiteral("Linienstärke (mm)"), m_lineWidth);
  form->addRow(QStringLiteral("Bedingung"), m_when);
  form->addRow(QStringLiteral("Seiten"), m_pageRule);

  auto* bandPage = new QWidget(this);
  bandPage->setObjectName(QStringLiteral("bandProperties"));
  auto* bandForm = new QFormLayout(bandPage);
  bandForm->setContentsMargins(0, 0, 0, 0);
  bandForm->addRow(QStringLiteral("Bezeichnung"), m_bandCaption);
  bandForm->addRow(QStringLiteral("Bedingung"), m_bandWhen);
  bandForm->addRow(QStringLiteral("Mindesthöhe (mm)"), m_bandHeight);
  bandForm->addRow(QStringLiteral("Abstand oben (mm)"), m_bandPaddingTop);
  bandForm->addRow(QStringLiteral("Abstand unten (mm)"), m_bandPaddingBottom);

  m_pages->addWidget(objectPage);
  m_pages->addWidget(bandPage);
  m_problem->setObjectName(QStringLiteral("propProblem"));
  m_problem->setWordWrap(true);
  m_problem->setTextFormat(Qt::PlainText);
  m_problem->setStyleSheet(QStringLiteral("QLabel { color: #a00000; }"));
  m_problem->hide();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pages);
  layout->addWidget(m_problem);
  layout->addStretch(1);
  show({});
}

QDoubleSpinBox* PropertyPanel::length(const char* name, const QString& key, double lo, bool band) {
  auto* box = new QDoubleSpinBox(this);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(lo, kMaxMM);
  box->setDecimals(2);
  box->setSingleStep(1);
  box->setKeyboardTracking(false);
  connect(box, &QDoubleSpinBox::valueChanged, this, [this, box, key, band](double v) {
    if (m_filling || !isValue(box, v)) return;
    if (band) emit bandEdited(key, v);
    else emit edited(key, v);
  });
  return box;
}

QLineEdit* PropertyPanel::lineEdit(const char* name, const QString& key, bool band) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  // Only what the user typed: leaving a field that shows "verschieden" changes nothing.
  connect(edit, &QLineEdit::editingFinished, this, [this, edit, key, band] {
    if (m_filling || !edit->isModified()) return;
    if (band) emit bandEdited(key, edit->text());
    else emit edited(key, edit->text());
  });
  return edit;
}

void PropertyPanel::showProblem(const QString& problem) {
  m_problem->setText(problem);
  m_problem->setVisible(!problem.isEmpty());
}

void PropertyPanel::show(const QList<Selected>& objects) {
  static const DrawObject blank;
  const QList<Selected> shown = objects.isEmpty() ? QList<Selected>{Selected{{}, &blank, false}} : objects;
  m_filling = true;
  m_pages->setCurrentIndex(0);
  setEnabled(!objects.isEmpty());
  const auto all = [&shown](auto test) { return std::all_of(shown.begin(), shown.end(), test); };
  const auto of = [](std::initializer_list<Type> types) {
    return [types](const Selected& o) { return std::find(types.begin(), types.end(), o.drawn->type) != types.end(); };
  };
  const bool texts = all(of({Type::Text}));
  const bool pictures = all(of({Type::Picture}));
  const bool lines = all(of({Type::Line}));

  // The selection stands where its leftmost and topmost objects do.
  double x = shown[0].drawn->box.x(), y = shown[0].drawn->box.y();
  for (const Selected& o : shown) {
    x = qMin(x, o.drawn->box.x());
    y = qMin(y, o.drawn->box.y());
  }
  showNumber(m_x, x, -kMaxMM);
  showNumber(m_y, y, -kMaxMM);
  // A line's extent may point either way.
  const double floor = lines ? -kMaxMM : 0;
  showNumber(m_width, shared<double>(shown, [](const Selected& o) {
               return o.drawn->type == Type::Line ? o.drawn->end.x() - o.drawn->box.x() : o.drawn->box.width();
             }), floor);
  showNumber(m_height, shared<double>(shown, [](const Selected& o) {
               return o.drawn->type == Type::Line ? o.drawn->end.y() - o.drawn->box.y() : o.drawn->box.height();
             }), floor);

  const auto text = shared<QString>(shown, [](const Selected& o) {
    return o.json.value(o.drawn->type == Type::Picture ? QLatin1String("source") : QLatin1String("text")).toString();
  });
  m_text->setPlaceholderText(text || !(texts || pictures) ? QString() : kDiffer);
  if (m_text->toPlainText() != text.value_or(QString())) m_text->setPlainText(text.value_or(QString()));
  m_text->setEnabled(texts || pictures);
  m_pictureButton->setEnabled(pictures && !objects.isEmpty());

  if (const auto family = shared<QString>(shown, [](const Selected& o) { return o.drawn->font.family(); }))
    m_family->setCurrentFont(QFont(*family));
  else
    m_family->setCurrentIndex(-1);
  showNumber(m_size, shared<double>(shown, [](const Selected& o) { return o.drawn->fontPoints; }), 1);
  showCheck(m_bold, shared<bool>(shown, [](const Selected& o) { return o.drawn->font.bold(); }));
  showCheck(m_italic, shared<bool>(shown, [](const Selected& o) { return o.drawn->font.italic(); }));
  showCheck(m_underline, shared<bool>(shown, [](const Selected& o) { return o.drawn->font.underline(); }));
  showCombo(m_align, shared<QString>(shown, [](const Selected& o) {
              return o.json.value(QLatin1String("align")).toString(QStringLiteral("left"));
            }));
  for (QWidget* w : {static_cast<QWidget*>(m_family), static_cast<QWidget*>(m_size), static_cast<QWidget*>(m_bold),
                     static_cast<QWidget*>(m_italic), static_cast<QWidget*>(m_underline), static_cast<QWidget*>(m_align)})
    w->setEnabled(texts);

  showLine(m_color, shared<QString>(shown, [](const Selected& o) { return o.drawn->color.name(); }),
           QStringLiteral("#rrggbb"));
  const bool coloured = all([](const Selected& o) { return o.drawn->type != Type::Picture; });
  m_color->setEnabled(coloured);
  m_colorButton->setEnabled(coloured);
  showNumber(m_lineWidth, shared<double>(shown, [](const Selected& o) { return o.drawn->lineWidth; }), 0);
  m_lineWidth->setEnabled(all(of({Type::Line, Type::Rect})));
  showLine(m_when, shared<QString>(shown, [](const Selected& o) { return o.json.value(QLatin1String("when")).toString(); }));
  showCombo(m_pageRule, shared<QString>(shown, [](const Selected& o) {
              return o.json.value(QLatin1String("pages")).toString(QStringLiteral("all"));
            }));
  m_pageRule->setEnabled(all([](const Selected& o) { return o.pageObject; }));
  m_filling = false;
}

void PropertyPanel::showBand(const QJsonObject& row) {
  m_filling = true;
  m_pages->setCurrentIndex(1);
  setEnabled(true);
  showLine(m_bandCaption, row.value(QLatin1String("caption")).toString());
  showLine(m_bandWhen, row.value(QLatin1String("when")).toString());
  showNumber(m_bandHeight, row.value(QLatin1String("height")).toDouble(), 0);
  showNumber(m_bandPaddingTop, row.value(QLatin1String("paddingTop")).toDouble(), 0);
  showNumber(m_bandPaddingBottom, row.value(QLatin1String("paddingBottom")).toDouble(), 0);
  m_filling = false;
}

}  // namespace report
