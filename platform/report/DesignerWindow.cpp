#include "platform/report/DesignerWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/report/IReportControl.h"
#include "platform/report/PageSource.h"
#include "platform/report/PageView.h"
#include "platform/report/PropertyPanel.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/ErrorStyle.h"

namespace report {

namespace {

constexpr int kPreviewDelayMs = 500;
constexpr int kNameRole = Qt::UserRole;
const QString kValueMime = QStringLiteral("application/x-skrivant-value");
const QString kObjectsMime = QStringLiteral("application/x-skrivant-objects");
constexpr double kPasteOffset = 5;  // mm between a copy and what it was copied from

// What a template key is called where the user meets it (the undo list).
QString propertyName(const QString& key) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("x"), QStringLiteral("Position")},           {QStringLiteral("y"), QStringLiteral("Position")},
      {QStringLiteral("width"), QStringLiteral("Größe")},          {QStringLiteral("height"), QStringLiteral("Größe")},
      {QStringLiteral("text"), QStringLiteral("Text")},            {QStringLiteral("source"), QStringLiteral("Bilddatei")},
      {QStringLiteral("font.family"), QStringLiteral("Schriftart")}, {QStringLiteral("font.size"), QStringLiteral("Schriftgröße")},
      {QStringLiteral("font.bold"), QStringLiteral("Fett")},       {QStringLiteral("font.italic"), QStringLiteral("Kursiv")},
      {QStringLiteral("font.underline"), QStringLiteral("Unterstrichen")}, {QStringLiteral("align"), QStringLiteral("Ausrichtung")},
      {QStringLiteral("color"), QStringLiteral("Farbe")},          {QStringLiteral("lineWidth"), QStringLiteral("Linienstärke")},
      {QStringLiteral("when"), QStringLiteral("Bedingung")},       {QStringLiteral("pages"), QStringLiteral("Seiten")},
      {QStringLiteral("band.caption"), QStringLiteral("Bandbezeichnung")}, {QStringLiteral("band.when"), QStringLiteral("Bandbedingung")},
      {QStringLiteral("band.height"), QStringLiteral("Bandhöhe")},     {QStringLiteral("band.paddingTop"), QStringLiteral("Abstand oben")},
      {QStringLiteral("band.paddingBottom"), QStringLiteral("Abstand unten")},
  };
  return names.value(key, key);
}

// Whether a key means something for an object: fonts for texts, line widths for what has a line...
bool appliesTo(const QString& key, DrawObject::Type type, bool pageObject) {
  using T = DrawObject::Type;
  if (key.startsWith(QLatin1String("font.")) || key == QLatin1String("align")) return type == T::Text;
  if (key == QLatin1String("text")) return type == T::Text || type == T::Picture;
  if (key == QLatin1String("lineWidth")) return type == T::Line || type == T::Rect;
  if (key == QLatin1String("color")) return type != T::Picture;
  if (key == QLatin1String("pages")) return pageObject;
  return true;
}

QString typeName(int type) {
  if (type & kTypeDrawing) return QStringLiteral("Zeichnung");
  if (type & kTypeText) return QStringLiteral("Text");
  if (type & kTypeNumeric) return QStringLiteral("Zahl");
  if (type & kTypeDate) return QStringLiteral("Datum");
  if (type & kTypeBoolean) return QStringLiteral("Ja/Nein");
  if (type & kTypeRichText) return QStringLiteral("RTF-Text");
  return QStringLiteral("Text");
}

// One line of the sample value for the list; the whole value is the tool tip.
QString sampleLine(const QString& contents) {
  QString line = contents.simplified();
  if (line.size() > 80) line = line.left(79) + QChar(0x2026);
  return line;
}

// The value list hands a dragged value to the page by its name.
class ValueList : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  QStringList mimeTypes() const override { return {kValueMime, QStringLiteral("text/plain")}; }
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override {
    if (items.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    const QString name = items[0]->data(0, kNameRole).toString();
    data->setData(kValueMime, name.toUtf8());
    data->setText(QStringLiteral("{%1}").arg(name));
    return data;
  }
};

// Lengths are kept in hundredths of a millimetre, as the pages are laid out.
double mm(double v) { return std::round(v * 100) / 100; }

const char* rowKey(Section s) {
  switch (s) {
    case Section::Header: return "header";
    case Section::Footer: return "footer";
    default: return "rows";
  }
}

// The row layout of a band as written.
QJsonObject rowOf(const QJsonObject& doc, const ObjectRef& list) {
  const QJsonArray rows = doc.value(QLatin1String("table")).toObject().value(QLatin1String(rowKey(list.section))).toArray();
  return rows.at(list.row).toObject();
}

QJsonObject withRow(QJsonObject doc, const ObjectRef& list, const QJsonObject& row) {
  QJsonObject table = doc.value(QLatin1String("table")).toObject();
  const QString rowsKey = QString::fromLatin1(rowKey(list.section));
  QJsonArray rows = table.value(rowsKey).toArray();
  rows.replace(list.row, row);
  table.insert(rowsKey, rows);
  doc.insert(QStringLiteral("table"), table);
  return doc;
}

QJsonArray objectsOf(const QJsonObject& doc, const ObjectRef& list) {
  switch (list.section) {
    case Section::Page: return doc.value(QLatin1String("objects")).toArray();
    case Section::Label: return doc.value(QLatin1String("label")).toObject().value(QLatin1String("objects")).toArray();
    default: return rowOf(doc, list).value(QLatin1String("objects")).toArray();
  }
}

QJsonObject withObjects(QJsonObject doc, const ObjectRef& list, const QJsonArray& objects) {
  const QString key = QStringLiteral("objects");
  switch (list.section) {
    case Section::Page:
      doc.insert(key, objects);
      break;
    case Section::Label: {
      QJsonObject label = doc.value(QLatin1String("label")).toObject();
      label.insert(key, objects);
      doc.insert(QStringLiteral("label"), label);
      break;
    }
    default: {
      QJsonObject row = rowOf(doc, list);
      row.insert(key, objects);
      return withRow(doc, list, row);
    }
  }
  return doc;
}

QPointF onGrid(const QPointF& at) {
  return QPointF(std::round(at.x() / DesignCanvas::kGrid), std::round(at.y() / DesignCanvas::kGrid)) * DesignCanvas::kGrid;
}

// `o` moved by `delta` mm; a line's end moves with it (without one it sits on the start and
// follows anyway).
QJsonObject shifted(QJsonObject o, const QPointF& delta) {
  const auto shift = [&o](const QString& key, double d) {
    o.insert(key, mm(o.value(key).toDouble() + d));
  };
  if (o.contains(QLatin1String("x2"))) shift(QStringLiteral("x2"), delta.x());
  if (o.contains(QLatin1String("y2"))) shift(QStringLiteral("y2"), delta.y());
  shift(QStringLiteral("x"), delta.x());
  shift(QStringLiteral("y"), delta.y());
  return o;
}

// Reads `text` as a template: the JSON as written and the template as it prints.
std::optional<Template> readTemplate(const QString& text, QJsonObject* doc, QString* problem) {
  if (text.trimmed().isEmpty()) {
    *problem = QStringLiteral("Die Vorlage ist leer.");
    return std::nullopt;
  }
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(text.toUtf8(), &error);
  if (error.error != QJsonParseError::NoError) {
    const int line = int(text.left(error.offset).count(QLatin1Char('\n'))) + 1;
    *problem = QStringLiteral("Zeile %1: %2").arg(line).arg(error.errorString());
    return std::nullopt;
  }
  if (!json.isObject()) {
    *problem = QStringLiteral("Die Vorlage ist kein JSON-Objekt.");
    return std::nullopt;
  }
  auto t = Template::parse(text.toUtf8(), problem);
  if (t) *doc = json.object();
  return t;
}

}  // namespace

// One change of the template: the whole document before and after. Edits of one property in a
// row (typing a text) merge into one step.
class DocumentCommand : public QUndoCommand {
 public:
  DocumentCommand(DesignerWindow* window, QJsonObject before, QJsonObject after, const QString& what,
                  const QString& mergeKey, bool fromText)
      : QUndoCommand(what),
        m_window(window),
        m_before(std::move(before)),
        m_after(std::move(after)),
        m_mergeKey(mergeKey),
        m_fromText(fromText) {}

  // The text the user typed is kept as typed the first time.
  void redo() override {
    m_window->applyDocument(m_after, !m_fromText);
    m_fromText = false;
  }
  void undo() override { m_window->applyDocument(m_before, true); }
  int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* o = static_cast<const DocumentCommand*>(other);
    if (o->m_mergeKey != m_mergeKey) return false;
    m_after = o->m_after;
    return true;
  }

 private:
  DesignerWindow* m_window;
  QJsonObject m_before, m_after;
  QString m_mergeKey;
  bool m_fromText;
};

DesignerWindow::DesignerWindow(const DesignRequest& request, QWidget* parent)
    : QDialog(parent),
      m_request(request),
      m_tabs(new QTabWidget(this)),
      m_canvas(new DesignCanvas(this)),
      m_properties(new PropertyPanel(this)),
      m_problemLabel(new QLabel(this)),
      m_editor(new QPlainTextEdit(this)),
      m_values(new ValueList(this)),
      m_previewStack(new QStackedWidget(this)),
      m_view(new PageView(this)),
      m_message(new QLabel(this)),
      m_timer(new QTimer(this)),
      m_undo(new QUndoStack(this)),
      m_tools(new QActionGroup(this)) {
  setWindowTitle(request.title);
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  auto* designPage = new QScrollArea(this);
  designPage->setObjectName(QStringLiteral("designPage"));
  designPage->setWidget(m_canvas);
  designPage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  designPage->setBackgroundRole(QPalette::Dark);
  m_canvas->setObjectName(QStringLiteral("designCanvas"));

  auto* toolBar = new QToolBar(this);
  // `text` marks the button's Alt letter with "&".
  const auto action = [&](const char* name, const QString& text, const QKeySequence& key, auto slot) {
    QAction* a = toolBar->addAction(text);
    a->setIconText(text);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  // Actions of the page only: the text editor and the panel keep these keys for typing.
  const auto pageAction = [&](QAction* a) {
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    designPage->addAction(a);
    return a;
  };
  action("saveTemplate", QStringLiteral("&Speichern"), QKeySequence::Save, [this] { save(); });
  toolBar->addSeparator();
  // Undo and redo keys belong to the page; the text editor keeps its own for typing.
  QAction* undo = m_undo->createUndoAction(this, QStringLiteral("Rückgängig"));
  QAction* redo = m_undo->createRedoAction(this, QStringLiteral("Wiederholen"));
  undo->setObjectName(QStringLiteral("undo"));
  redo->setObjectName(QStringLiteral("redo"));
  for (auto [a, key] : {std::pair{undo, QKeySequence::Undo}, std::pair{redo, QKeySequence::Redo}}) {
    a->setShortcut(key);
    toolBar->addAction(pageAction(a));
  }
  toolBar->addSeparator();
  // The first page and the following ones carry different page objects in the same places.
  auto* shownPage = new QComboBox(this);
  shownPage->setObjectName(QStringLiteral("shownPage"));
  shownPage->addItem(QStringLiteral("erste Seite"), int(PageRule::First));
  shownPage->addItem(QStringLiteral("Folgeseiten"), int(PageRule::Following));
  connect(shownPage, &QComboBox::currentIndexChanged, this,
          [this, shownPage] { m_canvas->setShownPage(PageRule(shownPage->currentData().toInt())); });
  toolBar->addWidget(shownPage);
  // A new object waits for the click that places it.
  m_tools->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (auto [name, text, type] : {std::tuple{"newText", "&Text", "text"}, std::tuple{"newLine", "Li&nie", "line"},
                                  std::tuple{"newRect", "&Rechteck", "rect"}, std::tuple{"newPicture", "&Bild", "picture"}}) {
    QAction* a = action(name, QString::fromUtf8(text), {}, [] {});
    a->setCheckable(true);
    a->setData(QString::fromLatin1(type));
    m_tools->addAction(a);
    connect(a, &QAction::toggled, this, &DesignerWindow::updatePlacing);
  }
  QAction* remove = pageAction(action("deleteObjects", QStringLiteral("&Löschen"), QKeySequence::Delete, [this] { deleteSelection(); }));
  QAction* copy = pageAction(new QAction(QStringLiteral("Kopieren"), this));
  QAction* paste = pageAction(new QAction(QStringLiteral("Einfügen"), this));
  QAction* duplicate = pageAction(new QAction(QStringLiteral("Duplizieren"), this));
  for (auto [a, name, key] : {std::tuple{copy, "copyObjects", QKeySequence(QKeySequence::Copy)},
                              std::tuple{paste, "pasteObjects", QKeySequence(QKeySequence::Paste)},
                              std::tuple{duplicate, "duplicateObjects", QKeySequence(Qt::CTRL | Qt::Key_D)}}) {
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
  }
  connect(copy, &QAction::triggered, this, &DesignerWindow::copySelection);
  connect(paste, &QAction::triggered, this, &DesignerWindow::paste);
  connect(duplicate, &QAction::triggered, this, &DesignerWindow::duplicateSelection);
  m_canvas->setContextMenuPolicy(Qt::ActionsContextMenu);
  m_canvas->addActions({copy, paste, duplicate, remove});
  toolBar->addSeparator();
  action("zoomIn", QStringLiteral("Ver&größern"), QKeySequence::ZoomIn, [this] { m_canvas->setZoom(m_canvas->zoom() * 1.25); });
  action("zoomOut", QStringLiteral("Ver&kleinern"), QKeySequence::ZoomOut,
         [this] { m_canvas->setZoom(m_canvas->zoom() / 1.25); });
  action("refreshPreview", QStringLiteral("&Vorschau aktualisieren"), QKeySequence(Qt::Key_F5),
         &DesignerWindow::renderPreview);
  toolBar->addSeparator();
  action("closeDesigner", QStringLiteral("S&chließen"), {}, &QDialog::reject);

  m_problemLabel->setObjectName(QStringLiteral("templateProblem"));
  m_problemLabel->setTextFormat(Qt::PlainText);
  m_problemLabel->setWordWrap(true);
  m_problemLabel->setStyleSheet(QStringLiteral("QLabel { background: #fff3cd; color: #6b4b00; padding: 6px; }"));
  m_problemLabel->hide();
  m_editor->setObjectName(QStringLiteral("templateEditor"));
  m_editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* textPage = new QWidget(this);
  textPage->setObjectName(QStringLiteral("textPage"));
  auto* textLayout = new QVBoxLayout(textPage);
  textLayout->setContentsMargins(0, 0, 0, 0);
  textLayout->addWidget(m_problemLabel);
  textLayout->addWidget(m_editor, 1);

  m_tabs->setObjectName(QStringLiteral("designTabs"));
  m_tabs->addTab(designPage, QStringLiteral("Entwurf"));
  m_tabs->addTab(textPage, QStringLiteral("Text"));
  // Leaving the text takes it into the page at once.
  connect(m_tabs, &QTabWidget::currentChanged, this, [this] { syncFromText(); });

  m_values->setObjectName(QStringLiteral("valueList"));
  m_values->setRootIsDecorated(false);
  m_values->setDragEnabled(true);
  m_values->setDragDropMode(QAbstractItemView::DragOnly);
  m_values->setHeaderLabels(
      {QStringLiteral("Name"), QStringLiteral("Art"), QStringLiteral("Typ"), QStringLiteral("Beispielwert")});
  connect(m_values, &QTreeWidget::itemDoubleClicked, this, &DesignerWindow::insertSelectedValue);
  auto* insert = new QPushButton(QStringLiteral("E&infügen"), this);
  insert->setObjectName(QStringLiteral("insertValue"));
  // Enter in a field of the panel takes that field's value, and nothing else.
  insert->setAutoDefault(false);
  connect(insert, &QPushButton::clicked, this, &DesignerWindow::insertSelectedValue);
  m_properties->setObjectName(QStringLiteral("propertyPanel"));
  connect(m_properties, &PropertyPanel::edited, this,
          [this](const QString& key, const QJsonValue& v) { setSelectionProperty(key, v); });
  connect(m_properties, &PropertyPanel::bandEdited, this,
          [this](const QString& key, const QJsonValue& v) { setBandProperty(key, v); });
  connect(m_properties, &PropertyPanel::pictureRequested, this, [this] {
    if (const QString source = choosePicture(); !source.isEmpty()) setSelectionProperty(QStringLiteral("text"), source);
  });

  auto* valuePane = new QWidget(this);
  auto* valueLayout = new QVBoxLayout(valuePane);
  valueLayout->setContentsMargins(0, 0, 0, 0);
  valueLayout->addWidget(m_values, 1);
  valueLayout->addWidget(insert, 0, Qt::AlignRight);

  m_view->setObjectName(QStringLiteral("previewView"));
  m_message->setObjectName(QStringLiteral("previewMessage"));
  m_message->setTextFormat(Qt::PlainText);
  m_message->setWordWrap(true);
  m_message->setAlignment(Qt::AlignCenter);
  m_message->setMargin(12);
  m_previewStack->addWidget(m_view);
  m_previewStack->addWidget(m_message);

  // On a small screen (or at a large scale) the panel scrolls: its last rows stay reachable and
  // the value list keeps its share of the height.
  auto* propertyPane = new QScrollArea(this);
  propertyPane->setObjectName(QStringLiteral("propertyPane"));
  propertyPane->setFrameShape(QFrame::NoFrame);
  propertyPane->setWidgetResizable(true);
  propertyPane->setWidget(m_properties);
  // It scrolls up and down only: its fields keep their width.
  propertyPane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  propertyPane->setMinimumWidth(m_properties->minimumSizeHint().width() +
                                propertyPane->verticalScrollBar()->sizeHint().width());
  auto* left = new QSplitter(Qt::Vertical, this);
  left->setObjectName(QStringLiteral("leftPane"));
  left->addWidget(valuePane);
  left->addWidget(propertyPane);
  left->setChildrenCollapsible(false);
  left->setStretchFactor(0, 2);
  left->setStretchFactor(1, 3);
  left->setSizes({360, 540});
  auto* main = new QSplitter(Qt::Horizontal, this);
  main->addWidget(left);
  main->addWidget(m_tabs);
  main->addWidget(m_previewStack);
  main->setStretchFactor(0, 0);
  main->setStretchFactor(1, 3);
  main->setStretchFactor(2, 2);
  main->setSizes({300, 600, 380});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(toolBar);
  layout->addWidget(main, 1);

  // As large as the screen allows (ui::fitToScreen bounds it when the window opens).
  resize(1400, 900);

  connect(m_canvas, &DesignCanvas::selectionChanged, this, &DesignerWindow::showSelection);
  connect(m_canvas, &DesignCanvas::moveRequested, this,
          [this](const QList<ObjectRef>& refs, const QPointF& delta) { moveObjects(refs, delta); });
  connect(m_canvas, &DesignCanvas::placeRequested, this, [this](const QPointF& pos) {
    QAction* tool = m_tools->checkedAction();
    if (!tool) return;
    tool->setChecked(false);
    addObject(tool->data().toString(), pos);
  });
  connect(m_canvas, &DesignCanvas::placingCancelled, this, [this] {
    if (QAction* tool = m_tools->checkedAction()) tool->setChecked(false);
  });
  connect(m_canvas, &DesignCanvas::resizeRequested, this, &DesignerWindow::resizeObject);
  connect(m_canvas, &DesignCanvas::valueDropped, this, &DesignerWindow::addValueObject);

  loadTemplate();
  fillValueList();

  // The preview follows the text once the user pauses, not at every key.
  m_timer->setObjectName(QStringLiteral("previewTimer"));
  m_timer->setSingleShot(true);
  m_timer->setInterval(kPreviewDelayMs);
  connect(m_timer, &QTimer::timeout, this, &DesignerWindow::renderPreview);
  connect(m_editor, &QPlainTextEdit::textChanged, m_timer, qOverload<>(&QTimer::start));
  renderPreview();
}

DesignerWindow::~DesignerWindow() {
  // The view must not keep pointing at the pages while they go.
  m_view->setPages(nullptr);
  // Undo commands must not reach back into a window half gone.
  m_undo->clear();
}

void DesignerWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (m_fitted) return;
  // The page opens as wide as its pane.
  m_fitted = true;
  const auto* area = static_cast<QScrollArea*>(m_tabs->widget(0));
  const QPointF pageCorner = m_canvas->toWidget(QPointF(m_canvas->sceneSize().width(), 0));
  const double page = pageCorner.x() - m_canvas->toWidget({0, 0}).x();
  const double available = area->viewport()->width() - area->verticalScrollBar()->sizeHint().width() -
                           2 * m_canvas->toWidget({0, 0}).x();
  if (page > 0 && available > 0) m_canvas->setZoom(m_canvas->zoom() * available / page);
}

void DesignerWindow::loadTemplate() {
  QFile file(m_request.templatePath);
  if (file.exists()) {
    if (file.open(QIODevice::ReadOnly)) {
      m_editor->setPlainText(QString::fromUtf8(file.readAll()));
    } else {
      m_loadError = QStringLiteral("Die Vorlage %1 kann nicht gelesen werden: %2")
                        .arg(m_request.templatePath, file.errorString());
    }
  }
  m_savedText = m_editor->toPlainText();
  if (!m_loadError.isEmpty()) {
    setProblem(m_loadError);
    return;
  }
  QString problem;
  QJsonObject doc;
  if (auto t = readTemplate(m_savedText, &doc, &problem)) {
    m_savedDocument = doc;
    applyDocument(doc, false);
    setProblem({});
  } else {
    setProblem(problem);
  }
}

void DesignerWindow::setProblem(const QString& problem) {
  m_problem = problem;
  m_problemLabel->setText(problem.isEmpty() ? QString()
                                            : QStringLiteral("Die Vorlage kann nicht gelesen werden: %1").arg(problem));
  m_problemLabel->setVisible(!problem.isEmpty());
  // The page shows only what the text says; while it says nothing readable it cannot be edited.
  m_tabs->setTabEnabled(0, problem.isEmpty());
  if (!problem.isEmpty()) m_tabs->setCurrentIndex(1);
}

void DesignerWindow::fillValueList() {
  const auto add = [this](const QList<DefinedValue>& values, const QString& kind) {
    for (const DefinedValue& v : values) {
      auto* item = new QTreeWidgetItem(m_values, {v.name, kind, typeName(v.type), sampleLine(v.contents)});
      item->setData(0, kNameRole, v.name);
      item->setToolTip(3, v.contents);
    }
  };
  add(m_request.variables, QStringLiteral("Variable"));
  add(m_request.fields, QStringLiteral("Feld"));
  m_values->header()->resizeSections(QHeaderView::ResizeToContents);
  if (m_values->topLevelItemCount() > 0) m_values->setCurrentItem(m_values->topLevelItem(0));
}

QString DesignerWindow::templateText() const { return m_editor->toPlainText(); }

bool DesignerWindow::isModified() const { return templateText() != m_savedText; }

bool DesignerWindow::save() {
  syncFromText();
  QSaveFile file(m_request.templatePath);
  const QString text = templateText();
  if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
    ui::MsgBox(QStringLiteral("Die Vorlage %1 kann nicht gespeichert werden: %2")
                   .arg(m_request.templatePath, file.errorString()),
               ui::vbOKOnly | ui::vbCritical, windowTitle());
    return false;
  }
  m_savedText = text;
  m_savedDocument = isReadable() ? m_document : QJsonObject();
  m_undo->setClean();
  m_loadError.clear();
  return true;
}

void DesignerWindow::insertSelectedValue() {
  const QTreeWidgetItem* item = m_values->currentItem();
  if (!item) return;
  const QString name = item->data(0, kNameRole).toString();
  if (m_tabs->currentIndex() == 1 || !isReadable()) {
    m_editor->insertPlainText(QStringLiteral("{%1}").arg(name));
    m_editor->setFocus();
    return;
  }
  const ObjectRef list = targetList();
  addValueObject(name, m_canvas->origin(list) + newObjectPlace(list));
}

void DesignerWindow::syncFromText() {
  if (m_writingText || !m_loadError.isEmpty()) return;
  QString problem;
  QJsonObject doc;
  if (readTemplate(templateText(), &doc, &problem)) {
    setProblem({});
    if (doc != m_document)
      m_undo->push(new DocumentCommand(this, m_document, doc, QStringLiteral("Text bearbeitet"), {}, true));
  } else {
    setProblem(problem);
  }
}

void DesignerWindow::applyDocument(const QJsonObject& document, bool writeText) {
  m_document = document;
  QString problem;
  auto t = Template::parse(QJsonDocument(document).toJson(QJsonDocument::Compact), &problem);
  if (!t) return setProblem(problem);  // only a text edit can get here, and it is shown
  t->folder = QFileInfo(m_request.templatePath).absolutePath();
  m_canvas->setTemplate(*t);
  showSelection();
  if (writeText) {
    m_writingText = true;
    // Back where the file was, its text comes back as written.
    m_editor->setPlainText(document == m_savedDocument && isReadable()
                               ? m_savedText
                               : QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    m_writingText = false;
  }
}

bool DesignerWindow::edit(const QJsonObject& document, const QString& what, const QString& mergeKey, bool quietly) {
  QString problem;
  const bool valid = Template::parse(QJsonDocument(document).toJson(QJsonDocument::Compact), &problem).has_value();
  m_properties->showProblem(valid || !quietly ? QString() : problem);
  if (!valid && quietly) return false;
  if (!valid) {
    ui::MsgBox(QStringLiteral("Diese Änderung ergibt keine gültige Vorlage: %1").arg(problem),
               ui::vbOKOnly | ui::vbExclamation, windowTitle());
    showSelection();
    return false;
  }
  if (document != m_document) m_undo->push(new DocumentCommand(this, m_document, document, what, mergeKey, false));
  return true;
}

void DesignerWindow::showSelection() {
  if (const auto band = m_canvas->selectedBand()) return m_properties->showBand(rowOf(m_document, *band));
  QList<PropertyPanel::Selected> shown;
  for (const ObjectRef& r : m_canvas->selection())
    shown.append({objectsOf(m_document, r.list()).at(r.index).toObject(), m_canvas->object(r), r.section == Section::Page});
  m_properties->show(shown);
}

bool DesignerWindow::moveSelection(const QPointF& delta) { return moveObjects(m_canvas->selection(), delta); }

bool DesignerWindow::moveObjects(const QList<ObjectRef>& refs, const QPointF& delta, const QString& what) {
  QJsonObject doc = m_document;
  for (const ObjectRef& r : refs) {
    QJsonArray list = objectsOf(doc, r.list());
    list.replace(r.index, shifted(list.at(r.index).toObject(), delta));
    doc = withObjects(doc, r.list(), list);
  }
  return edit(doc, what);
}

bool DesignerWindow::resizeObject(const ObjectRef& ref, const QSizeF& delta) {
  const DrawObject* drawn = m_canvas->object(ref);
  if (!drawn) return false;
  QJsonArray list = objectsOf(m_document, ref.list());
  QJsonObject o = list.at(ref.index).toObject();
  if (drawn->type == DrawObject::Type::Line) {
    o.insert(QStringLiteral("x2"), mm(drawn->end.x() + delta.width()));
    o.insert(QStringLiteral("y2"), mm(drawn->end.y() + delta.height()));
  } else {
    // A text that grew with its lines gets the height it is shown with.
    const double height = m_canvas->objectRect(ref).height();
    o.insert(QStringLiteral("width"), mm(qMax(1.0, drawn->box.width() + delta.width())));
    if (delta.height() != 0) o.insert(QStringLiteral("height"), mm(qMax(1.0, height + delta.height())));
  }
  list.replace(ref.index, o);
  return edit(withObjects(m_document, ref.list(), list), QStringLiteral("Größe ändern"));
}

bool DesignerWindow::setSelectionProperty(const QString& key, const QJsonValue& value) {
  const QList<ObjectRef> sel = m_canvas->selection();
  if (sel.isEmpty()) return false;
  const bool x = key == QLatin1String("x");
  if (x || key == QLatin1String("y")) {
    // Several objects keep their places to each other: the leftmost (topmost) one goes there.
    double least = 1e12;
    for (const ObjectRef& r : sel) least = qMin(least, x ? m_canvas->object(r)->box.x() : m_canvas->object(r)->box.y());
    const double d = value.toDouble() - least;
    return moveObjects(sel, x ? QPointF(d, 0) : QPointF(0, d), propertyName(key));
  }
  QJsonObject doc = m_document;
  bool pictures = true;
  for (const ObjectRef& r : sel) {
    const DrawObject* drawn = m_canvas->object(r);
    if (!appliesTo(key, drawn->type, r.section == Section::Page)) continue;
    QJsonArray list = objectsOf(doc, r.list());
    QJsonObject o = list.at(r.index).toObject();
    const bool line = drawn->type == DrawObject::Type::Line;
    pictures = pictures && drawn->type == DrawObject::Type::Picture;
    if (key.startsWith(QLatin1String("font."))) {
      QJsonObject font = o.value(QLatin1String("font")).toObject();
      font.insert(key.mid(5), value);
      o.insert(QStringLiteral("font"), font);
    } else if (line && (key == QLatin1String("width") || key == QLatin1String("height"))) {
      const bool across = key == QLatin1String("width");
      o.insert(across ? QStringLiteral("x2") : QStringLiteral("y2"),
               mm((across ? drawn->box.x() : drawn->box.y()) + value.toDouble()));
    } else if (key == QLatin1String("text") && drawn->type == DrawObject::Type::Picture) {
      o.insert(QStringLiteral("source"), value);
    } else if (key == QLatin1String("when") && value.toString().trimmed().isEmpty()) {
      o.remove(key);
    } else {
      o.insert(key, value.isDouble() ? QJsonValue(mm(value.toDouble())) : value);
    }
    list.replace(r.index, o);
    doc = withObjects(doc, r.list(), list);
  }
  const bool typed = key == QLatin1String("text") || key == QLatin1String("when");
  return edit(doc, propertyName(key == QLatin1String("text") && pictures ? QStringLiteral("source") : key), key, typed);
}

bool DesignerWindow::setBandProperty(const QString& key, const QJsonValue& value) {
  const auto band = m_canvas->selectedBand();
  if (!band) return false;
  QJsonObject row = rowOf(m_document, *band);
  if (value.isString() && value.toString().trimmed().isEmpty()) row.remove(key);
  else row.insert(key, value.isDouble() ? QJsonValue(mm(value.toDouble())) : value);
  const QString name = QStringLiteral("band.") + key;
  return edit(withRow(m_document, *band, row), propertyName(name), name, value.isString());
}

QJsonObject DesignerWindow::onShownPage(QJsonObject object, const ObjectRef& list) const {
  if (list.section == Section::Page)
    object.insert(QStringLiteral("pages"), m_canvas->shownPage() == PageRule::First ? QStringLiteral("first")
                                                                                     : QStringLiteral("following"));
  return object;
}

QPointF DesignerWindow::newObjectPlace(const ObjectRef& list) const {
  // A new page object starts in the part of the page the user sees, one in a row or label at its corner.
  return list.section == Section::Page ? m_canvas->visibleSpot() : QPointF();
}

ObjectRef DesignerWindow::targetList() const {
  if (const auto band = m_canvas->selectedBand()) return *band;
  const QList<ObjectRef> sel = m_canvas->selection();
  return sel.isEmpty() ? ObjectRef{} : sel[0].list();
}

bool DesignerWindow::addObject(const QString& type) {
  const ObjectRef list = targetList();
  return insertObject(type, list, newObjectPlace(list));
}

bool DesignerWindow::addObject(const QString& type, const QPointF& pos) {
  const ObjectRef list = m_canvas->listAt(pos);
  return insertObject(type, list, onGrid(pos - m_canvas->origin(list)));
}

bool DesignerWindow::insertObject(const QString& type, const ObjectRef& list, const QPointF& at) {
  if (!isReadable()) return false;
  QJsonObject o{{QStringLiteral("type"), type}, {QStringLiteral("x"), at.x()}, {QStringLiteral("y"), at.y()}};
  if (type == QLatin1String("text")) {
    o.insert(QStringLiteral("width"), 40);
    o.insert(QStringLiteral("text"), QStringLiteral("Text"));
  } else if (type == QLatin1String("line")) {
    o.insert(QStringLiteral("x2"), at.x() + 40);
    o.insert(QStringLiteral("y2"), at.y());
  } else if (type == QLatin1String("picture")) {
    const QString source = choosePicture();
    if (source.isEmpty()) return false;
    // Height 0: as high as the picture's shape asks at this width.
    o.insert(QStringLiteral("width"), 40);
    o.insert(QStringLiteral("source"), source);
  } else {
    o.insert(QStringLiteral("width"), 40);
    o.insert(QStringLiteral("height"), 20);
  }
  return appendObjects({{list, onShownPage(o, list)}}, QStringLiteral("Neues Objekt"));
}

bool DesignerWindow::appendObjects(const Placed& objects, const QString& what) {
  if (!isReadable() || objects.isEmpty()) return false;
  QJsonObject doc = m_document;
  QList<ObjectRef> added;
  for (const auto& [list, o] : objects) {
    QJsonArray target = objectsOf(doc, list);
    added.append({list.section, list.row, int(target.size())});
    target.append(o);
    doc = withObjects(doc, list, target);
  }
  if (!edit(doc, what)) return false;
  m_canvas->setSelection(added);
  return true;
}

QString DesignerWindow::choosePicture() const {
  const QString folder = QFileInfo(m_request.templatePath).absolutePath();
  ui::FileDialogRequest request;
  request.title = QStringLiteral("Bild wählen");
  request.filter = QStringLiteral("Bilder (*.png *.jpg *.jpeg *.bmp *.gif *.PNG *.JPG *.JPEG *.BMP *.GIF)");
  request.initDir = folder;
  const QString chosen = ui::dialogs().fileDialog(request);
  if (chosen.isEmpty()) return {};
  // A picture beside the template goes with it when the forms folder moves.
  const QString relative = QDir(folder).relativeFilePath(chosen);
  QString stored = relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative)
                       ? QFileInfo(chosen).absoluteFilePath()
                       : relative;
  // Braces in a file name would read as a value's name.
  return stored.replace(QLatin1Char('{'), QStringLiteral("{{")).replace(QLatin1Char('}'), QStringLiteral("}}"));
}

void DesignerWindow::updatePlacing() { m_canvas->setPlacing(m_tools->checkedAction() != nullptr); }

void DesignerWindow::copySelection() {
  QJsonArray objects;
  for (const ObjectRef& r : m_canvas->selection()) objects.append(objectsOf(m_document, r.list()).at(r.index));
  if (objects.isEmpty()) return;
  auto* data = new QMimeData;
  data->setData(kObjectsMime, QJsonDocument(objects).toJson(QJsonDocument::Compact));
  data->setText(QString::fromUtf8(QJsonDocument(objects).toJson(QJsonDocument::Indented)));
  QGuiApplication::clipboard()->setMimeData(data);
  m_pastes = 0;
}

bool DesignerWindow::paste() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasFormat(kObjectsMime)) return false;
  Placed copies;
  for (const QJsonValue& o : QJsonDocument::fromJson(data->data(kObjectsMime)).array())
    copies.append({targetList(), o.toObject()});
  if (!insertCopies(copies, kPasteOffset * (m_pastes + 1), QStringLiteral("Einfügen"))) return false;
  ++m_pastes;
  return true;
}

bool DesignerWindow::duplicateSelection() {
  Placed copies;
  for (const ObjectRef& r : m_canvas->selection())
    copies.append({r.list(), objectsOf(m_document, r.list()).at(r.index).toObject()});
  return insertCopies(copies, kPasteOffset, QStringLiteral("Duplizieren"));
}

bool DesignerWindow::insertCopies(Placed copies, double offset, const QString& what) {
  for (auto& [list, o] : copies) {
    o = shifted(o, QPointF(offset, offset));
    // A copy is seen where it lands: on the page shown, and in a band without page rules.
    const QString pages = o.value(QLatin1String("pages")).toString();
    if (list.section != Section::Page) o.remove(QStringLiteral("pages"));
    else if (pages == QLatin1String("first") || pages == QLatin1String("following")) o = onShownPage(o, list);
  }
  return appendObjects(copies, what);
}

bool DesignerWindow::addValueObject(const QString& name, const QPointF& pos) {
  const ObjectRef list = m_canvas->listAt(pos);
  const QPointF at = onGrid(pos - m_canvas->origin(list));
  const QJsonObject o{{QStringLiteral("type"), QStringLiteral("text")},
                      {QStringLiteral("x"), at.x()},
                      {QStringLiteral("y"), at.y()},
                      {QStringLiteral("width"), 30},
                      {QStringLiteral("text"), QStringLiteral("{%1}").arg(name)}};
  return appendObjects({{list, onShownPage(o, list)}}, QStringLiteral("%1 eingefügt").arg(name));
}

bool DesignerWindow::deleteSelection() {
  QList<ObjectRef> sel = m_canvas->selection();
  if (sel.isEmpty()) return false;
  // From the back, so the indexes still to go stay right.
  std::sort(sel.begin(), sel.end(), [](const ObjectRef& a, const ObjectRef& b) { return a.index > b.index; });
  QJsonObject doc = m_document;
  for (const ObjectRef& r : sel) {
    QJsonArray list = objectsOf(doc, r.list());
    list.removeAt(r.index);
    doc = withObjects(doc, r.list(), list);
  }
  m_canvas->setSelection({});
  return edit(doc, QStringLiteral("Löschen"));
}

void DesignerWindow::renderPreview() {
  m_timer->stop();
  syncFromText();
  if (!m_loadError.isEmpty()) {
    showPreviewMessage(m_loadError);
    return;
  }
  QString error;
  std::unique_ptr<PageSource> pages;
  if (m_request.render) {
    // A template in the middle of an edit is often broken; that must never end the designer.
    const auto failed = vb::ignoreErrors([&] { pages = m_request.render(templateText().toUtf8(), &error); });
    if (failed) error = failed->description();
  }
  if (!pages) {
    showPreviewMessage(error.isEmpty() ? QStringLiteral("Für diese Vorlage gibt es keine Vorschau.")
                                       : QStringLiteral("Die Vorschau kann nicht gezeigt werden:\n%1").arg(error));
    return;
  }
  // The view lets go of the old pages before they are freed.
  m_view->setPages(pages.get());
  m_pages = std::move(pages);
  m_previewStack->setCurrentWidget(m_view);
}

void DesignerWindow::showPreviewMessage(const QString& message) {
  m_view->setPages(nullptr);
  m_pages.reset();
  m_message->setText(message);
  m_previewStack->setCurrentWidget(m_message);
}

void DesignerWindow::done(int result) {
  if (isModified()) {
    const int answer = ui::MsgBox(QStringLiteral("Sollen die Änderungen an der Vorlage gespeichert werden?"),
                                  ui::vbYesNoCancel | ui::vbQuestion, windowTitle());
    if (answer == ui::vbCancel) return;
    if (answer == ui::vbYes && !save()) return;
  }
  m_timer->stop();
  QDialog::done(result);
}

}  // namespace report
