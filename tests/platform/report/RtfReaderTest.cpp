#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <vector>

#include "platform/report/RtfReader.h"

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using report::looksLikeRtf;
using report::readRtf;

namespace {

struct Run {
  QString text;
  QTextCharFormat format;
};

std::vector<Run> runsOf(const QTextDocument& doc) {
  std::vector<Run> runs;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      runs.push_back({it.fragment().text(), it.fragment().charFormat()});
  return runs;
}

// The run that holds `text` (a test failure when there is none).
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
  for (const Run& r : runsOf(doc))
    if (r.text.contains(text)) return r.format;
  ADD_FAILURE() << "no run holds " << text.toStdString();
  return {};
}

QString read(const QString& rtf, QTextDocument& doc, const QFont& base = QFont("DejaVu Sans", 10)) {
  readRtf(rtf, doc, base);
  return doc.toPlainText();
}

// Written the way the system's rich-text control writes a position text.
const QString kSample = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\*\\generator Riched20 10.0.19041;}\\viewkind4\\uc1 \r\n"
    "\\pard\\f0\\fs20 Men\\'fc mit \\b fett\\b0 , \\i kursiv\\i0 , \\ul unter\\ulnone  und "
    "\\strike durch\\strike0\\par\r\n"
    "\\f1\\fs28 Gr\\u246?\\'dfe\\tab Stra\\u223?e\\line zweite Zeile\\par\r\n"
    "\\cf1\\f0\\fs20 rot\\cf0  \\{Klammer\\} \\\\ Ende\\par\r\n}\r\n");

}  // namespace

TEST(RtfReader, RecognisesTheRtfMarkerInAnyCaseAfterWhiteSpace) {
  EXPECT_TRUE(looksLikeRtf(QStringLiteral("{\\rtf1\\ansi x}")));
  EXPECT_TRUE(looksLikeRtf(QStringLiteral("  \r\n{\\RTF1 x}")));
  EXPECT_FALSE(looksLikeRtf(QStringLiteral("Vorspann {\\rtf1 x}")));
  EXPECT_FALSE(looksLikeRtf(QStringLiteral("Klartext")));
  EXPECT_FALSE(looksLikeRtf(QString()));
  EXPECT_FALSE(looksLikeRtf(QStringLiteral("{\\rt")));
}

TEST(RtfReader, PlainTextStaysPlainText) {
  QTextDocument doc;
  EXPECT_EQ(read(QStringLiteral("Menü {fett}\nzweite"), doc), QStringLiteral("Menü {fett}\nzweite"));
  EXPECT_EQ(doc.blockCount(), 2);
}

TEST(RtfReader, BoldItalicUnderlineAndStrikeComeOutAsRuns) {
  QTextDocument doc;
  read(kSample, doc);
  EXPECT_EQ(formatOf(doc, "fett").fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatOf(doc, "fett").fontItalic());
  EXPECT_TRUE(formatOf(doc, "kursiv").fontItalic());
  EXPECT_EQ(formatOf(doc, "kursiv").fontWeight(), QFont::Normal);
  EXPECT_TRUE(formatOf(doc, "unter").fontUnderline());
  EXPECT_TRUE(formatOf(doc, "durch").fontStrikeOut());
  EXPECT_FALSE(formatOf(doc, "durch").fontUnderline());
  const QTextCharFormat plain = formatOf(doc, "Men");
  EXPECT_EQ(plain.fontWeight(), QFont::Normal);
  EXPECT_FALSE(plain.fontItalic() || plain.fontUnderline() || plain.fontStrikeOut());
}

TEST(RtfReader, FontSizeIsReadInHalfPoints) {
  QTextDocument doc;
  read(kSample, doc);
  EXPECT_DOUBLE_EQ(formatOf(doc, "Men").fontPointSize(), 10.0);
  EXPECT_DOUBLE_EQ(formatOf(doc, "zweite Zeile").fontPointSize(), 14.0);
  read(QStringLiteral("{\\rtf1 \\fs17 halb}"), doc);
  EXPECT_DOUBLE_EQ(formatOf(doc, "halb").fontPointSize(), 8.5);
}

TEST(RtfReader, FontTableNamesTheFamilies) {
  QTextDocument doc;
  read(kSample, doc);
  EXPECT_EQ(formatOf(doc, "Men").fontFamilies().toStringList(), QStringList{"Arial"});
  EXPECT_EQ(formatOf(doc, "zweite Zeile").fontFamilies().toStringList(), QStringList{"Times New Roman"});
  // A table without entry groups, and \deff choosing the font of text without \f.
  read(QStringLiteral("{\\rtf1\\deff1{\\fonttbl\\f0\\fnil Courier New;\\f1\\fnil Liberation Serif;}ohne \\f0 mit}"), doc);
  EXPECT_EQ(formatOf(doc, "ohne").fontFamilies().toStringList(), QStringList{"Liberation Serif"});
  EXPECT_EQ(formatOf(doc, "mit").fontFamilies().toStringList(), QStringList{"Courier New"});
}

TEST(RtfReader, UnknownFontIndexKeepsTheBaseFont) {
  QTextDocument doc;
  read(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f7 x}"), doc, QFont("DejaVu Serif", 9));
  EXPECT_EQ(formatOf(doc, "x").fontFamilies().toStringList(), QStringList{"DejaVu Serif"});
  EXPECT_DOUBLE_EQ(formatOf(doc, "x").fontPointSize(), 9.0);
}

TEST(RtfReader, HexEscapesAreWindows1252) {
  QTextDocument doc;
  EXPECT_EQ(read(QStringLiteral("{\\rtf1\\ansi M\\'fcller \\'80 \\'84x\\'93 \\'9f\\'e4}"), doc),
            QStringLiteral("Müller € „x“ Ÿä"));
  // \fcharset does not change the reading.
  EXPECT_EQ(read(QStringLiteral("{\\rtf1{\\fonttbl{\\f0\\fcharset238 X;}}\\f0 \\'fc}"), doc), QStringLiteral("ü"));
}

TEST(RtfReader, UnicodeEscapesSkipTheirFallback) {
  QTextDocument doc;
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 Gr\\u252?n \\u8364\\'80 Preis}"), doc), QStringLiteral("Grün € Preis"));
  EXPECT_EQ(read(QStringLiteral("{\\rtf1\\uc0 \\u252 n}"), doc), QStringLiteral("ün"));
  EXPECT_EQ(read(QStringLiteral("{\\rtf1\\uc2 \\u8364 EURx}"), doc), QStringLiteral("€Rx"));
  // Negative values are the upper half of the 16-bit range.
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 \\u-3?}"), doc), QString(QChar(0xFFFD)));
  // \uc is scoped to its group.
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 {\\uc0 \\u252}\\u252?}"), doc), QStringLiteral("üü"));
}

TEST(RtfReader, SampleReadsAsExpectedText) {
  QTextDocument doc;
  EXPECT_EQ(read(kSample, doc),
            QStringLiteral("Menü mit fett, kursiv, unter und durch\n"
                           "Größe\tStraße\nzweite Zeile\nrot {Klammer} \\ Ende"));
  ASSERT_EQ(doc.blockCount(), 3);  // the closing \par adds no empty line
  // \line breaks the line inside its paragraph.
  EXPECT_EQ(doc.findBlockByNumber(1).text(), QStringLiteral("Größe\tStraße") + QChar(QChar::LineSeparator) +
                                                 QStringLiteral("zweite Zeile"));
}

TEST(RtfReader, EmptyParagraphsInTheMiddleStay) {
  QTextDocument doc;
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a\\par\\par b\\par\\par}"), doc), QStringLiteral("a\n\nb\n"));
}

TEST(RtfReader, GroupsRestoreTheOuterFormatting) {
  QTextDocument doc;
  read(QStringLiteral("{\\rtf1 \\fs20 {\\b\\fs40 gross}klein}"), doc);
  EXPECT_EQ(formatOf(doc, "gross").fontWeight(), QFont::Bold);
  EXPECT_DOUBLE_EQ(formatOf(doc, "gross").fontPointSize(), 20.0);
  EXPECT_EQ(formatOf(doc, "klein").fontWeight(), QFont::Normal);
  EXPECT_DOUBLE_EQ(formatOf(doc, "klein").fontPointSize(), 10.0);
}

TEST(RtfReader, PlainReturnsToTheBaseFont) {
  QTextDocument doc;
  QFont base("DejaVu Sans", 11);
  base.setBold(true);
  read(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs30\\b0\\i\\ul eins\\plain zwei}"), doc, base);
  EXPECT_EQ(formatOf(doc, "eins").fontWeight(), QFont::Normal);
  const QTextCharFormat zwei = formatOf(doc, "zwei");
  EXPECT_EQ(zwei.fontWeight(), QFont::Bold);
  EXPECT_FALSE(zwei.fontItalic() || zwei.fontUnderline());
  EXPECT_DOUBLE_EQ(zwei.fontPointSize(), 11.0);
  EXPECT_EQ(zwei.fontFamilies().toStringList(), QStringList{"DejaVu Sans"});
}

TEST(RtfReader, ColourTableGivesTheForeground) {
  QTextDocument doc;
  read(kSample, doc);
  EXPECT_EQ(formatOf(doc, "rot").foreground().color(), QColor(255, 0, 0));
  EXPECT_FALSE(formatOf(doc, "Klammer").hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RtfReader, UnknownDestinationsAreSkipped) {
  QTextDocument doc;
  EXPECT_EQ(read(QStringLiteral("{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title Titel}{\\author A}}"
                                "{\\*\\unbekannt {verschachtelt} text}{\\*\\bkmkstart m}sichtbar"
                                "{\\header Kopf}\\foo42 \\bar\\'fc}"),
                 doc),
            QStringLiteral("sichtbarü"));
}

TEST(RtfReader, ParagraphAlignmentIsKept) {
  QTextDocument doc;
  read(QStringLiteral("{\\rtf1\\pard\\qc mitte\\par\\pard rechts?\\qr\\par\\pard links}"), doc);
  ASSERT_EQ(doc.blockCount(), 3);
  EXPECT_EQ(doc.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(doc.findBlockByNumber(1).blockFormat().alignment(), Qt::AlignRight);
  EXPECT_EQ(doc.findBlockByNumber(2).blockFormat().alignment(), Qt::AlignLeft);
}

TEST(RtfReader, ReplacesWhatTheDocumentHeldBefore) {
  QTextDocument doc;
  doc.setPlainText("alt");
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 neu}"), doc), QStringLiteral("neu"));
}

TEST(RtfReader, UnbalancedBracesDoNotBreakTheReading) {
  QTextDocument doc;
  // Text behind the document's end is not part of it.
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a}} b {c"), doc), QStringLiteral("a"));
  // A document whose closing braces are missing keeps what it has.
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 {\\b fett {\\i x"), doc), QStringLiteral("fett x"));
  EXPECT_TRUE(formatOf(doc, "x").fontItalic());
  EXPECT_EQ(formatOf(doc, "x").fontWeight(), QFont::Bold);
}

TEST(RtfReader, TruncatedEscapesAreDropped) {
  QTextDocument doc;
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a\\'f"), doc), QStringLiteral("a"));
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a\\'zzb}"), doc), QStringLiteral("azzb"));
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a\\"), doc), QStringLiteral("a"));
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a\\u"), doc), QStringLiteral("a"));
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a\\u99999999999999999999?b}"), doc), QStringLiteral("a?b"));
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a\\fs99999999999999999 b}"), doc), QStringLiteral("ab"));
}

TEST(RtfReader, BinaryDataIsSkippedWithinItsLength) {
  QTextDocument doc;
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a{\\*\\blip\\bin4 }}{{}b}"), doc), QStringLiteral("ab"));
  EXPECT_EQ(read(QStringLiteral("{\\rtf1 a\\bin999999999 xyz}"), doc), QStringLiteral("a"));
}

// Groups too deep to keep are flattened: their text stays, what they start is skipped with them.
TEST(RtfReader, DeepNestingIsReadWithoutExhaustingMemory) {
  const int depth = 200000;
  const QString rtf = QStringLiteral("{\\rtf1 vor") + QString(depth, u'{') +
                      QStringLiteral("\\b tief{\\*\\generator geheim}{\\fonttbl{\\f0 Arial;}}\\par unten\\tab!") +
                      QString(depth, u'}') + QStringLiteral(" nach}");
  QTextDocument doc;
  const QString text = read(rtf, doc);
  EXPECT_EQ(text, QStringLiteral("vortief\nunten\t! nach"));
  EXPECT_EQ(formatOf(doc, "nach").fontWeight(), QFont::Normal);
}

TEST(RtfReader, EveryCutOfTheSampleReadsAsAPrefixOfTheWhole) {
  QTextDocument whole;
  const QString full = read(kSample, whole);
  for (qsizetype cut = 5; cut <= kSample.size(); ++cut) {  // from "{\rtf" on
    QTextDocument doc;
    QString text = read(kSample.left(cut), doc);
    // A cut inside a \uN parameter may leave one other character at the end.
    if (!full.startsWith(text)) text.chop(1);
    EXPECT_TRUE(full.startsWith(text)) << "cut at " << cut << ": " << text.toStdString();
  }
}

TEST(RtfReader, RandomlyDamagedInputNeverYieldsMoreTextThanItHolds) {
  QRandomGenerator random(20240611);  // fixed start value: a failure can be repeated
  const QString alphabet = QStringLiteral("{}\\';0123456789-abfilpqrstu* \r\n");
  for (int round = 0; round < 2000; ++round) {
    QString rtf = kSample;
    const int damages = 1 + random.bounded(12);
    for (int d = 0; d < damages; ++d) {
      const int at = random.bounded(rtf.size());
      const QChar c = alphabet[random.bounded(alphabet.size())];
      switch (random.bounded(3)) {
        case 0: rtf[at] = c; break;
        case 1: rtf.insert(at, c); break;
        default: rtf.remove(at, 1 + random.bounded(8)); break;
      }
    }
    if (random.bounded(2)) rtf.truncate(random.bounded(rtf.size() + 1));
    QTextDocument doc;
    readRtf(rtf, doc, QFont("DejaVu Sans", 10));
    // Each character or paragraph mark of the document needs at least one input character.
    ASSERT_LE(doc.characterCount(), rtf.size() + 1) << rtf.toStdString();
  }
}
