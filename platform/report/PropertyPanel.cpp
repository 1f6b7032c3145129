#include "platform/report/PropertyPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include "platform/ui/Dialogs.h"

namespace report {

namespace {

constexpr double kMaxMM = 10000;

void setValue(QDoubleSpinBox* box, double v) {
  if (box->value() != v) box->setValue(v);
}

void setCurrent(QComboBox* box, const QString& data) { box->setCurrentIndex(qMax(0, box->findData(data))); }

}  // namespace

PropertyPanel::PropertyPanel(QWidget* parent)
    : QWidget(parent),
      m_x(length("propX", QStringLiteral("x"), -kMaxMM)),
      m_y(length("propY", QStringLiteral("y"), -kMaxMM)),
      m_width(length("propWidth", QStringLiteral("width"), 0)),
      m_height(length("propHeight", QStringLiteral("height"), 0)),
      m_text(new QPlainTextEdit(this)),
      m_family(new QFontComboBox(this)),
      m_size(new QDoubleSpinBox(this)),
      m_bold(new QCheckBox(QStringLiteral("fett"), this)),
      m_italic(new QCheckBox(QStringLiteral("kursiv"), this)),
      m_underline(new QCheckBox(QStringLiteral("unterstrichen"), this)),
      m_align(new QComboBox(this)),
      m_color(new QLineEdit(this)),
      m_colorButton(new QToolButton(this)),
      m_lineWidth(length("propLineWidth", QStringLiteral("lineWidth"), 0)),
      m_when(new QLineEdit(this)),
      m_pages(new QComboBox(this)),
      m_problem(new QLabel(this)) {
  const auto emitIf = [this](const QString& key, const QJsonValue& v) {
    if (!m_filling) emit edited(key, v);
  };
  m_text->setObjectName(QStringLiteral("propText"));
  m_text->setTabChangesFocus(true);
  m_text->setFixedHeight(m_text->fontMetrics().lineSpacing() * 4 + 12);
  connect(m_text, &QPlainTextEdit::textChanged, this,
          [this, emitIf] { emitIf(QStringLiteral("text"), m_text->toPlainText()); });
  m_family->setObjectName(QStringLiteral("propFontFamily"));
  connect(m_family, &QFontComboBox::currentFontChanged, this,
          [emitIf](const QFont& f) { emitIf(QStringLiteral("font.family"), f.family()); });
  m_size->setObjectName(QStringLiteral("propFontSize"));
  m_size->setRange(1, 1000);
  m_size->setDecimals(1);
  m_size->setSuffix(QStringLiteral(" pt"));
  m_size->setKeyboardTracking(false);
  connect(m_size, &QDoubleSpinBox::valueChanged, this, [emitIf](double v) { emitIf(QStringLiteral("font.size"), v); });
  for (auto [box, name, key] : {std::tuple{m_bold, "propBold", "font.bold"}, std::tuple{m_italic, "propItalic", "font.italic"},
                                std::tuple{m_underline, "propUnderline", "font.underline"}}) {
    box->setObjectName(QString::fromLatin1(name));
    const QString k = QString::fromLatin1(key);
    connect(box, &QCheckBox::toggled, this, [emitIf, k](bool on) { emitIf(k, on); });
  }
  m_align->setObjectName(QStringLiteral("propAlign"));
  m_align->addItem(QStringLiteral("links"), QStringLiteral("left"));
  m_align->addItem(QStringLiteral("zentriert"), QStringLiteral("center"));
  m_align->addItem(QStringLiteral("rechts"), QStringLiteral("right"));
  connect(m_align, &QComboBox::activated, this,
          [this, emitIf] { emitIf(QStringLiteral("align"), m_align->currentData().toString()); });
  m_color->setObjectName(QStringLiteral("propColor"));
  m_color->setPlaceholderText(QStringLiteral("#rrggbb"));
  connect(m_color, &QLineEdit::editingFinished, this, [this, emitIf] {
    if (QColor::fromString(m_color->text()).isValid()) emitIf(QStringLiteral("color"), m_color->text());
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
  m_when->setObjectName(QStringLiteral("propWhen"));
  connect(m_when, &QLineEdit::editingFinished, this, [this, emitIf] { emitIf(QStringLiteral("when"), m_when->text()); });
  m_pages->setObjectName(QStringLiteral("propPages"));
  m_pages->addItem(QStringLiteral("alle"), QStringLiteral("all"));
  m_pages->addItem(QStringLiteral("erste"), QStringLiteral("first"));
  m_pages->addItem(QStringLiteral("folgende"), QStringLiteral("following"));
  m_pages->addItem(QStringLiteral("letzte"), QStringLiteral("last"));
  m_pages->addItem(QStringLiteral("alle außer der letzten"), QStringLiteral("notlast"));
  connect(m_pages, &QComboBox::activated, this,
          [this, emitIf] { emitIf(QStringLiteral("pages"), m_pages->currentData().toString()); });

  auto* style = new QWidget(this);
  auto* styleRow = new QHBoxLayout(style);
  styleRow->setContentsMargins(0, 0, 0, 0);
  styleRow->addWidget(m_bold);
  styleRow->addWidget(m_italic);
  styleRow->addWidget(m_underline);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("X (mm)"), m_x);
  form->addRow(QStringLiteral("Y (mm)"), m_y);
  form->addRow(QStringLiteral("Breite (mm)"), m_width);
  form->addRow(QStringLiteral("Höhe (mm)"), m_height);
  form->addRow(QStringLiteral("Text"), m_text);
  form->addRow(QStringLiteral("Schrift"), m_family);
  form->addRow(QStringLiteral("Größe"), m_size);
  form->addRow(QString(), style);
  form->addRow(QStringLiteral("Ausrichtung"), m_align);
  auto* colour = new QWidget(this);
  auto* colourRow = new QHBoxLayout(colour);
  colourRow->setContentsMargins(0, 0, 0, 0);
  colourRow->addWidget(m_color, 1);
  colourRow->addWidget(m_colorButton);
  form->addRow(QStringLiteral("Farbe"), colour);
  form->addRow(QStringLiteral("Linienstärke (mm)"), m_lineWidth);
  form->addRow(QStringLiteral("Bedingung"), m_when);
  form->addRow(QStringLiteral("Seiten"), m_pages);
  m_problem->setObjectName(QStringLiteral("propProblem"));
  m_problem->setWordWrap(true);
  m_problem->setTextFormat(Qt::PlainText);
  m_problem->setStyleSheet(QStringLiteral("QLabel { color: #a00000; }"));
  m_problem->hide();
  form->addRow(m_problem);
  show(QJsonObject(), nullptr, false);
}

QDoubleSpinBox* PropertyPanel::length(const char* name, const QString& key, double lo) {
  auto* box = new QDoubleSpinBox(this);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(lo, kMaxMM);
  box->setDecimals(2);
  box->setSingleStep(1);
  box->setKeyboardTracking(false);
  connect(box, &QDoubleSpinBox::valueChanged, this, [this, key](double v) {
    if (!m_filling) emit edited(key, v);
  });
  return box;
}

void PropertyPanel::showProblem(const QString& problem) {
  m_problem->setText(problem);
  m_problem->setVisible(!problem.isEmpty());
}

void PropertyPanel::show(const QJsonObject& json, const DrawObject* drawn, bool pageObject) {
  m_filling = true;
  setEnabled(drawn != nullptr);
  const DrawObject d = drawn ? *drawn : DrawObject();
  const bool line = d.type == DrawObject::Type::Line;
  const bool text = d.type == DrawObject::Type::Text;
  setValue(m_x, d.box.x());
  setValue(m_y, d.box.y());
  setValue(m_width, line ? d.end.x() - d.box.x() : d.box.width());
  setValue(m_height, line ? d.end.y() - d.box.y() : d.box.height());
  // A line's extent may point either way.
  m_width->setMinimum(line ? -kMaxMM : 0);
  m_height->setMinimum(line ? -kMaxMM : 0);
  const QString source = json.value(d.type == DrawObject::Type::Picture ? QLatin1String("source") : QLatin1String("text")).toString();
  if (m_text->toPlainText() != source) m_text->setPlainText(source);
  m_text->setEnabled(text || d.type == DrawObject::Type::Picture);
  for (QWidget* w : {static_cast<QWidget*>(m_family), static_cast<QWidget*>(m_size), static_cast<QWidget*>(m_bold),
                     static_cast<QWidget*>(m_italic), static_cast<QWidget*>(m_underline), static_cast<QWidget*>(m_align)})
    w->setEnabled(text);
  m_family->setCurrentFont(QFont(d.font.family()));
  setValue(m_size, d.fontPoints);
  m_bold->setChecked(d.font.bold());
  m_italic->setChecked(d.font.italic());
  m_underline->setChecked(d.font.underline());
  setCurrent(m_align, json.value(QLatin1String("align")).toString(QStringLiteral("left")));
  m_color->setText(d.color.name());
  setValue(m_lineWidth, d.lineWidth);
  m_lineWidth->setEnabled(!text && d.type != DrawObject::Type::Picture);
  m_when->setText(json.value(QLatin1String("when")).toString());
  setCurrent(m_pages, json.value(QLatin1String("pages")).toString(QStringLiteral("all")));
  m_pages->setEnabled(pageObject);
  m_filling = false;
}

}  // namespace report
