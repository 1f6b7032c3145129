#include "platform/report/RtfReader.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>
#include <vector>

namespace report {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five bytes it leaves undefined map to
// the C1 controls of the same value, as Windows itself maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar fromCp1252(int byte) {
  if (byte >= 0x80 && byte <= 0x9F) return QChar(kCp1252High[byte - 0x80]);
  return QChar(byte);
}

// Groups whose content is never text of the document.
bool isSkippedDestination(const QString& word) {
  static const QSet<QString> words = {
      QStringLiteral("stylesheet"), QStringLiteral("info"),      QStringLiteral("pict"),
      QStringLiteral("header"),     QStringLiteral("headerl"),   QStringLiteral("headerr"),
      QStringLiteral("headerf"),    QStringLiteral("footer"),    QStringLiteral("footerl"),
      QStringLiteral("footerr"),    QStringLiteral("footerf"),   QStringLiteral("footnote"),
      QStringLiteral("listtable"),  QStringLiteral("listoverridetable"), QStringLiteral("revtbl"),
      QStringLiteral("rsidtbl"),    QStringLiteral("object"),    QStringLiteral("xmlnstbl"),
      QStringLiteral("filetbl"),    QStringLiteral("fldinst"),   QStringLiteral("themedata"),
      QStringLiteral("latentstyles"), QStringLiteral("datastore"), QStringLiteral("generator"),
      QStringLiteral("nonshppict"), QStringLiteral("shppict")};
  return words.contains(word);
}

// Control words that stand for one character.
QChar specialCharacter(const QString& word) {
  static const QHash<QString, char16_t> chars = {
      {QStringLiteral("tab"), u'\t'},         {QStringLiteral("line"), QChar::LineSeparator},
      {QStringLiteral("emdash"), 0x2014},     {QStringLiteral("endash"), 0x2013},
      {QStringLiteral("bullet"), 0x2022},     {QStringLiteral("lquote"), 0x2018},
      {QStringLiteral("rquote"), 0x2019},     {QStringLiteral("ldblquote"), 0x201C},
      {QStringLiteral("rdblquote"), 0x201D},  {QStringLiteral("emspace"), 0x2003},
      {QStringLiteral("enspace"), 0x2002}};
  auto it = chars.constFind(word);
  return it == chars.constEnd() ? QChar() : QChar(*it);
}

bool isAsciiLetter(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int hexValue(QChar c) {
  if (isAsciiDigit(c)) return c.unicode() - '0';
  if (c >= u'a' && c <= u'f') return c.unicode() - 'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - 'A' + 10;
  return -1;
}

enum class Destination { Text, Skip, FontTable, ColorTable };

struct GroupState {
  Destination dest = Destination::Text;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int font = -1;        // font table index; -1: the document's default font
  int halfPoints = 0;   // 0: the base font's size
  int color = 0;        // colour table index; 0: automatic
  int unicodeSkip = 1;  // \ucN: fallback characters behind each \uN
  Qt::Alignment align = Qt::AlignLeft;
};

// Deeper nesting than this is counted but not stacked, so hostile input cannot eat memory. Such
// groups are flattened into the deepest one kept: their text stays, in that group's format, and
// what they start (a table, a destination) is skipped with them.
constexpr int kMaxDepth = 512;

class Reader {
 public:
  Reader(const QString& src, QTextDocument& doc, const QFont& base)
      : m_src(src), m_cursor(&doc), m_base(base) {
    m_plain.bold = base.bold();
    m_plain.italic = base.italic();
    m_plain.underline = base.underline();
    m_plain.strike = base.strikeOut();
  }

  void run(qsizetype start) {
    m_pos = start;
    const qsizetype n = m_src.size();
    while (m_pos < n) {
      const QChar c = m_src[m_pos];
      if (c == u'{') {
        ++m_pos;
        openGroup();
      } else if (c == u'}') {
        ++m_pos;
        if (!closeGroup()) break;  // the document's outer group is closed
      } else if (c == u'\\') {
        ++m_pos;
        controlSequence();
      } else {
        ++m_pos;
        if (c != u'\r' && c != u'\n') character(c);
      }
    }
    finish();
  }

 private:
  GroupState& state() { return m_stack.back(); }
  // Inside a group too deep to be kept that began a destination: nothing of it is read.
  bool tiefUebersprungen() const { return m_overflow > 0 && m_skipFrom > 0; }

  void openGroup() {
    flushRun();
    m_skip = 0;
    if (m_stack.empty()) {
      m_stack.push_back(m_plain);
    } else if (static_cast<int>(m_stack.size()) >= kMaxDepth || m_overflow > 0) {
      ++m_overflow;
    } else {
      m_stack.push_back(m_stack.back());
    }
  }

  // False when the outermost group has closed.
  bool closeGroup() {
    flushRun();
    m_skip = 0;
    if (m_overflow > 0) {
      if (m_skipFrom == m_overflow) m_skipFrom = 0;
      --m_overflow;
      return true;
    }
    // The outer group stays on the stack: finish() still needs its paragraph state.
    if (m_stack.size() <= 1) return false;
    const Destination closed = state().dest;
    if (closed == Destination::FontTable) commitFont();
    m_stack.pop_back();
    if (closed == Destination::ColorTable && state().dest != Destination::ColorTable) commitColor();
    return true;
  }

  void controlSequence() {
    const qsizetype n = m_src.size();
    if (m_pos >= n) return;
    const QChar c = m_src[m_pos];
    if (isAsciiLetter(c)) {
      const qsizetype begin = m_pos;
      while (m_pos < n && isAsciiLetter(m_src[m_pos])) ++m_pos;
      const QString word = m_src.mid(begin, m_pos - begin);
      bool hasParam = false;
      qint64 param = 0;
      bool negative = false;
      if (m_pos + 1 < n && m_src[m_pos] == u'-' && isAsciiDigit(m_src[m_pos + 1])) {
        negative = true;
        ++m_pos;
      }
      while (m_pos < n && isAsciiDigit(m_src[m_pos])) {
        hasParam = true;
        if (param < std::numeric_limits<int>::max()) param = param * 10 + (m_src[m_pos].unicode() - '0');
        ++m_pos;
      }
      if (m_pos < n && m_src[m_pos] == u' ') ++m_pos;  // the delimiter belongs to the word
      param = std::min<qint64>(param, std::numeric_limits<int>::max());
      controlWord(word, hasParam, static_cast<int>(negative ? -param : param));
      return;
    }
    ++m_pos;
    if (c == u'\'') {
      // Two hex digits; a cut-off escape is dropped with the digit it has.
      int value = 0;
      int digits = 0;
      while (digits < 2 && m_pos < n && hexValue(m_src[m_pos]) >= 0) {
        value = value * 16 + hexValue(m_src[m_pos++]);
        ++digits;
      }
      if (digits < 2) return;
      if (m_skip > 0) {
        --m_skip;
        return;
      }
      character(fromCp1252(value));
      return;
    }
    if (m_skip > 0) {
      --m_skip;
      return;
    }
    switch (c.unicode()) {
      case '\\': case '{': case '}': character(c); break;
      case '~': character(QChar(0x00A0)); break;
      case '-': character(QChar(0x00AD)); break;
      case '_': character(QChar(0x2011)); break;
      case '*':
        if (m_stack.empty()) break;
        if (m_overflow == 0) state().dest = Destination::Skip;
        else if (m_skipFrom == 0) m_skipFrom = m_overflow;
        break;
      case '\r': case '\n': paragraph(); break;
      default: break;
    }
  }

  void controlWord(const QString& word, bool hasParam, int param) {
    if (m_stack.empty()) return;
    if (word == u"bin") {
      // Binary data: its bytes are no RTF and may hold braces.
      m_pos += std::clamp<qint64>(hasParam ? param : 0, 0, m_src.size() - m_pos);
      return;
    }
    if (tiefUebersprungen()) return;
    if (word == u"u") {
      if (!hasParam || param < -32768 || param > 65535) return;
      m_skip = 0;  // a \u right behind another is text, not the other's fallback
      character(QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param)));
      m_skip = state().unicodeSkip;
      return;
    }
    if (m_skip > 0) {
      --m_skip;
      return;
    }
    GroupState& s = state();
    if (s.dest == Destination::Skip) return;
    if (m_overflow > 0) {
      // Flattened: text and breaks are read, formats and tables are not.
      if (word == u"fonttbl" || word == u"colortbl" || isSkippedDestination(word)) m_skipFrom = m_overflow;
      else if (s.dest != Destination::Text) return;
      else if (word == u"par") paragraph();
      else if (const QChar special = specialCharacter(word); !special.isNull()) character(special);
      return;
    }

    if (word == u"fonttbl") {
      s.dest = Destination::FontTable;
      m_fontIndex = -1;
      m_fontName.clear();
      return;
    }
    if (word == u"colortbl") {
      s.dest = Destination::ColorTable;
      m_colors.clear();
      m_colorPending = m_hasRgb = false;
      m_red = m_green = m_blue = 0;
      return;
    }
    if (isSkippedDestination(word)) {
      s.dest = Destination::Skip;
      return;
    }
    if (s.dest == Destination::FontTable) {
      if (word == u"f" && hasParam) {
        commitFont();
        m_fontIndex = param;
      }
      return;
    }
    if (s.dest == Destination::ColorTable) {
      const int v = std::clamp(hasParam ? param : 0, 0, 255);
      if (word == u"red") m_red = v;
      else if (word == u"green") m_green = v;
      else if (word == u"blue") m_blue = v;
      else return;
      m_hasRgb = m_colorPending = true;
      return;
    }

    if (word == u"par") {
      paragraph();
      return;
    }
    const QChar special = specialCharacter(word);
    if (!special.isNull()) {
      character(special);
      return;
    }

    flushRun();
    const bool on = !hasParam || param != 0;
    if (word == u"b") s.bold = on;
    else if (word == u"i") s.italic = on;
    else if (word == u"ul") s.underline = on;
    else if (word == u"ulnone") s.underline = false;
    else if (word == u"strike") s.strike = on;
    else if (word == u"fs") s.halfPoints = hasParam ? std::clamp(param, 0, 3276) : 24;
    else if (word == u"f") s.font = hasParam ? param : -1;
    else if (word == u"cf") s.color = hasParam ? param : 0;
    else if (word == u"uc") s.unicodeSkip = hasParam ? std::clamp(param, 0, 16) : 1;
    else if (word == u"deff") m_defaultFont = hasParam ? param : -1;
    else if (word == u"plain") {
      const GroupState keep = s;
      s = m_plain;
      s.dest = keep.dest;
      s.unicodeSkip = keep.unicodeSkip;
      s.align = keep.align;
    } else if (word == u"pard") s.align = Qt::AlignLeft;
    else if (word == u"ql") s.align = Qt::AlignLeft;
    else if (word == u"qr") s.align = Qt::AlignRight;
    else if (word == u"qc") s.align = Qt::AlignHCenter;
    else if (word == u"qj") s.align = Qt::AlignJustify;
  }

  void character(QChar c) {
    if (m_stack.empty() || tiefUebersprungen()) return;
    if (m_skip > 0) {
      --m_skip;
      return;
    }
    switch (state().dest) {
      case Destination::Skip:
        return;
      case Destination::FontTable:
        if (c == u';') commitFont();
        else m_fontName.append(c);
        return;
      case Destination::ColorTable:
        if (c == u';') {
          m_colorPending = true;
          commitColor();
        }
        return;
      case Destination::Text:
        break;
    }
    if (m_pendingBreak) {
      flushRun();
      m_cursor.insertBlock(QTextBlockFormat(), currentFormat());
      m_pendingBreak = false;
    }
    if (m_run.isEmpty()) m_runFormat = currentFormat();
    m_run.append(c);
  }

  // The paragraph ends at \par with the alignment in force there; its block is only opened when
  // text follows, so the closing \par of a document adds no empty line.
  void paragraph() {
    if (m_stack.empty() || tiefUebersprungen() || state().dest != Destination::Text) return;
    flushRun();
    if (m_pendingBreak) m_cursor.insertBlock(QTextBlockFormat(), currentFormat());
    alignCurrentBlock();
    m_pendingBreak = true;
  }

  void alignCurrentBlock() {
    QTextBlockFormat block;
    block.setAlignment(m_stack.empty() ? Qt::AlignLeft : state().align);
    m_cursor.mergeBlockFormat(block);
  }

  void finish() {
    flushRun();
    if (!m_pendingBreak) alignCurrentBlock();
  }

  void flushRun() {
    if (m_run.isEmpty()) return;
    m_cursor.insertText(m_run, m_runFormat);
    m_run.clear();
  }

  void commitFont() {
    const QString name = m_fontName.trimmed();
    if (m_fontIndex >= 0 && !name.isEmpty() && !m_fonts.contains(m_fontIndex)) m_fonts.insert(m_fontIndex, name);
    m_fontName.clear();
  }

  // An entry is ended by ';' or, when a writer left that out, by the table's end.
  void commitColor() {
    if (!m_colorPending) return;
    m_colors.append(m_hasRgb ? QColor(m_red, m_green, m_blue) : QColor());
    m_colorPending = m_hasRgb = false;
    m_red = m_green = m_blue = 0;
  }

  QTextCharFormat currentFormat() const {
    const GroupState& s = m_stack.empty() ? m_plain : m_stack.back();
    QTextCharFormat f;
    QString family = m_fonts.value(s.font >= 0 ? s.font : m_defaultFont);
    if (family.isEmpty()) family = m_base.family();
    f.setFontFamilies({family});
    if (s.halfPoints > 0) f.setFontPointSize(s.halfPoints / 2.0);
    else if (m_base.pointSizeF() > 0) f.setFontPointSize(m_base.pointSizeF());
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setFontStrikeOut(s.strike);
    if (s.color > 0 && s.color < m_colors.size() && m_colors[s.color].isValid())
      f.setForeground(m_colors[s.color]);
    return f;
  }

  const QString& m_src;
  qsizetype m_pos = 0;
  QTextCursor m_cursor;
  QFont m_base;
  GroupState m_plain;
  std::vector<GroupState> m_stack;
  int m_overflow = 0;
  int m_skipFrom = 0;  // the too-deep group (counted from 1) whose destination is being skipped
  int m_skip = 0;  // fallback characters of the last \uN still to drop

  QMap<int, QString> m_fonts;
  int m_defaultFont = -1;
  int m_fontIndex = -1;
  QString m_fontName;

  QList<QColor> m_colors;
  bool m_colorPending = false;  // an entry has begun
  bool m_hasRgb = false;        // it named a component (else it is "automatic")
  int m_red = 0, m_green = 0, m_blue = 0;

  QString m_run;
  QTextCharFormat m_runFormat;
  bool m_pendingBreak = false;
};

// Index of "{\rtf" when only white space stands in front of it, else -1.
qsizetype rtfStart(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text[i].isSpace()) ++i;
  return text.mid(i, 5).compare(u"{\\rtf", Qt::CaseInsensitive) == 0 ? i : -1;
}

}  // namespace

bool looksLikeRtf(const QString& text) { return rtfStart(text) >= 0; }

void readRtf(const QString& rtf, QTextDocument& doc, const QFont& baseFont) {
  doc.clear();
  doc.setDefaultFont(baseFont);
  const qsizetype start = rtfStart(rtf);
  if (start < 0) {
    doc.setPlainText(rtf);
    return;
  }
  Reader(rtf, doc, baseFont).run(start);
}

}  // namespace report
