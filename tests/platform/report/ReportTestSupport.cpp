#include "tests/platform/report/ReportTestSupport.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

namespace reporttest {

class CaptureDevice::Engine : public QPaintEngine {
 public:
  explicit Engine(CaptureDevice& device) : QPaintEngine(QPaintEngine::AllFeatures), m_device(device) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState& state) override {
    if (state.state() & DirtyTransform) m_transform = state.transform();
    if (state.state() & DirtyFont) m_font = state.font();
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++m_device.images; }
  void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { ++m_device.images; }
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    m_device.texts.append({item.text(), m_transform.map(p), item.font()});
  }
  void drawLines(const QLineF*, int count) override { m_device.lines += count; }
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  Type type() const override { return QPaintEngine::User; }

 private:
  CaptureDevice& m_device;
  QTransform m_transform;
  QFont m_font;
};

CaptureDevice::CaptureDevice(double widthUnits, double heightUnits)
    : m_engine(std::make_unique<Engine>(*this)), m_width(qRound(widthUnits)), m_height(qRound(heightUnits)) {}

CaptureDevice::~CaptureDevice() = default;

QPaintEngine* CaptureDevice::paintEngine() const { return m_engine.get(); }

int CaptureDevice::metric(PaintDeviceMetric m) const {
  switch (m) {
    case PdmWidth: return m_width;
    case PdmHeight: return m_height;
    case PdmWidthMM: return m_width / 100;
    case PdmHeightMM: return m_height / 100;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDepth: return 32;
    case PdmNumColors: return 1 << 24;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default: return 0;
  }
}

QStringList CaptureDevice::textList() const {
  QStringList out;
  for (const DrawnText& t : texts) out << t.text;
  return out;
}

QList<DrawnText> textsOfPage(const report::PageSource& pages, int page) {
  const QSizeF size = pages.pageSizeMM(page) * 100.0;
  CaptureDevice device(size.width(), size.height());
  QPainter p(&device);
  pages.drawPage(page, p, QRectF(QPointF(0, 0), size));
  p.end();
  return device.texts;
}

QStringList textListOfPage(const report::PageSource& pages, int page) {
  QStringList out;
  for (const DrawnText& t : textsOfPage(pages, page)) out << t.text;
  return out;
}

bool havePdfToText() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

QString pdfText(const QString& pdf, int page) {
  if (!havePdfToText()) return {};
  QProcess p;
  QStringList args;
  if (page > 0) args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
  args << QStringLiteral("-enc") << QStringLiteral("UTF-8") << pdf << QStringLiteral("-");
  p.start(QStringLiteral("pdftotext"), args);
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace reporttest
