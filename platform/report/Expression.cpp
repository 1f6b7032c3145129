#include "platform/report/Expression.h"

#include <algorithm>
#include <vector>

namespace report {

struct Expression::Node {
  enum class Op { Literal, Name, Not, And, Or, Eq, Ne, Lt, Gt, Le, Ge, Empty, Page, FirstPage, LastPage };
  Op op = Op::Literal;
  ReportValue literal;
  QString name;
  std::shared_ptr<const Node> left, right;
  int depth = 1;  // levels down to the deepest leaf
};

namespace {

using Node = Expression::Node;
using Op = Node::Op;
using NodePtr = std::shared_ptr<const Node>;

constexpr int kText = 0x10000000;
constexpr int kNumber = 0x08000000;
constexpr int kBool = 0x02000000;
// Parsing, evaluating and freeing a condition recurse once per level: a bound keeps a
// template's condition from exhausting the stack.
constexpr int kMaxDepth = 200;

ReportValue boolValue(bool b) { return {b ? QStringLiteral("1") : QStringLiteral("0"), kBool}; }

bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'); }

class Parser {
 public:
  explicit Parser(const QString& text) : m_text(text) {}

  NodePtr parseAll(QString* error) {
    NodePtr n = parseNested(&Parser::parseOr);
    skipBlanks();
    if (m_error.isEmpty() && m_pos < m_text.size()) fail(QStringLiteral("unexpected \"%1\"").arg(m_text.mid(m_pos)));
    if (!m_error.isEmpty()) {
      if (error) *error = m_error;
      return nullptr;
    }
    return n;
  }

 private:
  void fail(const QString& why) {
    if (m_error.isEmpty()) m_error = QStringLiteral("%1 at position %2 of \"%3\"").arg(why).arg(m_pos + 1).arg(m_text);
  }
  void skipBlanks() {
    while (m_pos < m_text.size() && m_text[m_pos].isSpace()) ++m_pos;
  }
  // Consumes `symbol` when it stands next; keywords must not run on into a name.
  bool accept(const QString& symbol) {
    skipBlanks();
    if (m_text.mid(m_pos, symbol.size()).compare(symbol, Qt::CaseInsensitive) != 0) return false;
    if (isNameStart(symbol[0]) && m_pos + symbol.size() < m_text.size() && isNamePart(m_text[m_pos + symbol.size()]))
      return false;
    m_pos += symbol.size();
    return true;
  }
  NodePtr make(Op op, NodePtr l = nullptr, NodePtr r = nullptr) {
    auto n = std::make_shared<Node>();
    n->op = op;
    n->depth = 1 + std::max(l ? l->depth : 0, r ? r->depth : 0);
    if (n->depth > kMaxDepth) tooDeep();
    n->left = std::move(l);
    n->right = std::move(r);
    return n;
  }
  void tooDeep() { fail(QStringLiteral("nested deeper than %1 levels").arg(kMaxDepth)); }
  // Runs one level of the grammar that may come back here; refuses to go deeper than kMaxDepth.
  NodePtr parseNested(NodePtr (Parser::*rule)()) {
    if (!m_error.isEmpty()) return nullptr;
    if (m_nesting >= kMaxDepth) {
      tooDeep();
      return nullptr;
    }
    ++m_nesting;
    NodePtr n = (this->*rule)();
    --m_nesting;
    return n;
  }

  NodePtr parseOr() {
    NodePtr n = parseAnd();
    while (m_error.isEmpty() && (accept(QStringLiteral("or")) || accept(QStringLiteral("||"))))
      n = make(Op::Or, n, parseAnd());
    return n;
  }
  NodePtr parseAnd() {
    NodePtr n = parseNot();
    while (m_error.isEmpty() && (accept(QStringLiteral("and")) || accept(QStringLiteral("&&"))))
      n = make(Op::And, n, parseNot());
    return n;
  }
  NodePtr parseNot() {
    if (accept(QStringLiteral("not"))) return make(Op::Not, parseNested(&Parser::parseNot));
    skipBlanks();
    if (m_pos + 1 < m_text.size() && m_text[m_pos] == QLatin1Char('!') && m_text[m_pos + 1] != QLatin1Char('=')) {
      ++m_pos;
      return make(Op::Not, parseNested(&Parser::parseNot));
    }
    return parseComparison();
  }
  NodePtr parseComparison() {
    NodePtr l = parsePrimary();
    static const std::vector<std::pair<QString, Op>> ops = {
        {QStringLiteral("=="), Op::Eq}, {QStringLiteral("<>"), Op::Ne}, {QStringLiteral("!="), Op::Ne},
        {QStringLiteral("<="), Op::Le}, {QStringLiteral(">="), Op::Ge}, {QStringLiteral("="), Op::Eq},
        {QStringLiteral("<"), Op::Lt},  {QStringLiteral(">"), Op::Gt}};
    for (const auto& [symbol, op] : ops)
      if (accept(symbol)) return make(op, l, parsePrimary());
    return l;
  }
  NodePtr parsePrimary() {
    skipBlanks();
    if (!m_error.isEmpty()) return nullptr;
    if (m_pos >= m_text.size()) {
      fail(QStringLiteral("value missing"));
      return nullptr;
    }
    const QChar c = m_text[m_pos];
    if (c == QLatin1Char('(')) {
      ++m_pos;
      NodePtr n = parseNested(&Parser::parseOr);
      if (!accept(QStringLiteral(")"))) fail(QStringLiteral("\")\" missing"));
      return n;
    }
    if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      const qsizetype end = m_text.indexOf(c, m_pos + 1);
      if (end < 0) {
        fail(QStringLiteral("text not closed"));
        return nullptr;
      }
      auto n = std::make_shared<Node>();
      n->literal = {m_text.mid(m_pos + 1, end - m_pos - 1), kText};
      m_pos = end + 1;
      return n;
    }
    if (c.isDigit() || (c == QLatin1Char('-') && m_pos + 1 < m_text.size() && m_text[m_pos + 1].isDigit())) {
      qsizetype end = m_pos + 1;
      while (end < m_text.size() && (m_text[end].isDigit() || m_text[end] == QLatin1Char('.'))) ++end;
      auto n = std::make_shared<Node>();
      n->literal = {m_text.mid(m_pos, end - m_pos), kNumber};
      bool ok = false;
      n->literal.text.toDouble(&ok);
      if (!ok) fail(QStringLiteral("bad number"));
      m_pos = end;
      return n;
    }
    if (isNameStart(c)) {
      qsizetype end = m_pos + 1;
      while (end < m_text.size() && isNamePart(m_text[end])) ++end;
      const QString name = m_text.mid(m_pos, end - m_pos);
      m_pos = end;
      if (accept(QStringLiteral("("))) return parseCall(name);
      if (name.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        auto n = std::make_shared<Node>();
        n->literal = boolValue(true);
        return n;
      }
      if (name.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        auto n = std::make_shared<Node>();
        n->literal = boolValue(false);
        return n;
      }
      auto n = std::make_shared<Node>();
      n->op = Op::Name;
      n->name = name;
      return n;
    }
    fail(QStringLiteral("unexpected \"%1\"").arg(c));
    return nullptr;
  }
  NodePtr parseCall(const QString& name) {
    const QString f = name.toLower();
    NodePtr n;
    if (f == QLatin1String("empty")) {
      n = make(Op::Empty, parseNested(&Parser::parseOr));
    } else if (f == QLatin1String("page")) {
      n = make(Op::Page);
    } else if (f == QLatin1String("firstpage")) {
      n = make(Op::FirstPage);
    } else if (f == QLatin1String("lastpage")) {
      n = make(Op::LastPage);
    } else {
      fail(QStringLiteral("unknown function %1()").arg(name));
      return nullptr;
    }
    if (!accept(QStringLiteral(")"))) fail(QStringLiteral("\")\" missing"));
    return n;
  }

  const QString& m_text;
  qsizetype m_pos = 0;
  int m_nesting = 0;
  QString m_error;
};

int compareValues(const ReportValue& a, const ReportValue& b) {
  const auto numeric = [](const ReportValue& v) {
    return v.kind() == ValueKind::Numeric || v.kind() == ValueKind::Boolean;
  };
  if (numeric(a) || numeric(b)) {
    const auto x = a.number(), y = b.number();
    if (x && y) return *x < *y ? -1 : (*x > *y ? 1 : 0);
  }
  if (a.kind() == ValueKind::Date || b.kind() == ValueKind::Date) {
    const auto x = a.date(), y = b.date();
    if (x && y) return *x < *y ? -1 : (*x > *y ? 1 : 0);
  }
  // Case-insensitive comparison folds case letter by letter, as toCaseFolded() does.
  const int c = a.print().compare(b.print(), Qt::CaseInsensitive);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

ReportValue eval(const Node& n, const ValueScope& scope);

// The truth of a node, without making a value of it where the node is a test itself: conditions
// are evaluated for every row and every template line.
bool truthOf(const Node& n, const ValueScope& scope) {
  switch (n.op) {
    case Op::Not: return !truthOf(*n.left, scope);
    case Op::And: return truthOf(*n.left, scope) && truthOf(*n.right, scope);
    case Op::Or: return truthOf(*n.left, scope) || truthOf(*n.right, scope);
    case Op::Eq: return compareValues(eval(*n.left, scope), eval(*n.right, scope)) == 0;
    case Op::Ne: return compareValues(eval(*n.left, scope), eval(*n.right, scope)) != 0;
    case Op::Lt: return compareValues(eval(*n.left, scope), eval(*n.right, scope)) < 0;
    case Op::Gt: return compareValues(eval(*n.left, scope), eval(*n.right, scope)) > 0;
    case Op::Le: return compareValues(eval(*n.left, scope), eval(*n.right, scope)) <= 0;
    case Op::Ge: return compareValues(eval(*n.left, scope), eval(*n.right, scope)) >= 0;
    case Op::Empty: return eval(*n.left, scope).print().trimmed().isEmpty();
    case Op::FirstPage: return scope.page() == 1;
    case Op::LastPage: return scope.lastPage();
    case Op::Literal:
    case Op::Name:
    case Op::Page: return eval(n, scope).truth();
  }
  return false;
}

ReportValue eval(const Node& n, const ValueScope& scope) {
  switch (n.op) {
    case Op::Literal: return n.literal;
    case Op::Name: return scope.value(n.name).value_or(ReportValue{{}, kText});
    case Op::Page: return {QString::number(scope.page()), kNumber};
    default: return boolValue(truthOf(n, scope));
  }
}

// `outer` is the binding of the place the node stands in: 1 or, 2 and, 3 not, 4 comparison,
// 5 operand; a node that binds looser goes in parentheses.
QString readableOf(const Node& n, int outer) {
  const auto wrap = [outer](int binding, const QString& s) {
    return binding < outer ? QLatin1Char('(') + s + QLatin1Char(')') : s;
  };
  const auto compare = [&](const char* symbol) {
    return wrap(4, readableOf(*n.left, 5) + QLatin1Char(' ') + QString::fromUtf8(symbol) + QLatin1Char(' ') +
                       readableOf(*n.right, 5));
  };
  switch (n.op) {
    case Op::Or: return wrap(1, readableOf(*n.left, 1) + QStringLiteral(" oder ") + readableOf(*n.right, 2));
    case Op::And: return wrap(2, readableOf(*n.left, 2) + QStringLiteral(" und ") + readableOf(*n.right, 3));
    case Op::Not:
      if (n.left->op == Op::Empty) return wrap(4, readableOf(*n.left->left, 5) + QStringLiteral(" nicht leer"));
      return wrap(3, QStringLiteral("nicht ") + readableOf(*n.left, 3));
    case Op::Empty: return wrap(4, readableOf(*n.left, 5) + QStringLiteral(" leer"));
    case Op::Eq: return compare("=");
    case Op::Ne: return compare("≠");
    case Op::Lt: return compare("<");
    case Op::Gt: return compare(">");
    case Op::Le: return compare("≤");
    case Op::Ge: return compare("≥");
    case Op::Page: return QStringLiteral("Seite");
    case Op::FirstPage: return QStringLiteral("erste Seite");
    case Op::LastPage: return QStringLiteral("letzte Seite");
    case Op::Name: return n.name;
    case Op::Literal:
      if (n.literal.type == kText) return QStringLiteral("„%1“").arg(n.literal.text);
      if (n.literal.type == kBool) return n.literal.text == QLatin1String("1") ? QStringLiteral("wahr") : QStringLiteral("falsch");
      return QString(n.literal.text).replace(QLatin1Char('.'), QLatin1Char(','));
  }
  return {};
}

}  // namespace

std::optional<Expression> Expression::parse(const QString& text, QString* error) {
  Expression e;
  if (text.trimmed().isEmpty()) return e;
  Parser p(text);
  e.m_root = p.parseAll(error);
  if (!e.m_root) return std::nullopt;
  return e;
}

ReportValue Expression::evaluate(const ValueScope& scope) const {
  return m_root ? eval(*m_root, scope) : boolValue(true);
}

bool Expression::test(const ValueScope& scope) const { return !m_root || truthOf(*m_root, scope); }

QString Expression::readable() const { return m_root ? readableOf(*m_root, 1) : QString(); }

}  // namespace report
