#pragma once
// A record set over one statement of a Connection. Rows are fetched at Open, so no statement
// stays open on the database (another connection can write the file at once). A read is whole
// or it fails: a row that cannot be fetched, also after the first, fails Open (and Requery, and
// Connection::Execute) with the database's message.
//
// Updatable: a single-table SELECT (or a table name) opened with a lock type other than
// read-only. Update writes INSERT or UPDATE, Delete writes DELETE, keyed by SQLite's rowid, else
// by the table's primary key, else by all original values of the row (which must then match one
// row); always by what the row holds now, also after its key was changed through the set. Rows
// added through the record set stay in it (a dynamic cursor sees them); moving off a row that is
// being edited saves it first. With option adCmdTable the whole text names the table.
//
// RecordCount is the number of rows for every cursor type. The statement is put into the
// server's words by the connection's Dialect (Jet's wildcards on the Jet road, [bracketed]
// names on the servers); values are bound to its "?" placeholders, never put into its text.
//
// Yes/No columns (declared BOOLEAN; MariaDB's TINYINT(1)) have type 11, read any non-zero value
// as True and are written as -1/0 (PostgreSQL: its boolean). Date columns (declared
// DATE/DATETIME) hold ISO text "yyyy-MM-dd HH:mm:ss" on SQLite.
//
// Saved parameter queries: the command text "Name(arg, ...)" (or "Name" with option
// adCmdStoredProc) runs a saved query. On SQLite it is the row of the table SavedQueries
// (Name, SqlText) whose SqlText holds one "?" per argument, bound in order; a name without a
// row there, called without arguments, reads the view or table of that name. On a server it is
// the function or procedure of that name, called as the server calls one (Dialect). Arguments
// are numbers or 'quoted texts', bound in order.
#include <QHash>
#include <QObject>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/data/Field.h"
#include "platform/data/ObjectTypes.h"
#include "platform/vb/Variant.h"

namespace data {

class Connection;

// Values bound in order to the "?" placeholders of a statement: no value is ever put into the
// statement's text.
using Parameters = std::vector<vb::Variant>;

// `value` as a text column of a record set takes it: Null (also Empty and Missing) stays Null, a
// truth value is "True" or "False", anything else its text (CStr).
vb::Variant textColumnValue(const vb::Variant& value);

enum CursorType : int {
  adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3,
};
enum LockType : int {
  adLockUnspecified = -1, adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3,
  adLockBatchOptimistic = 4,
};
enum CommandType : int {
  adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdStoredProc = 4, adCmdUnknown = 8,
};

class Recordset : public QObject {
  Q_OBJECT
 public:
  Recordset();
  ~Recordset() override;

  // `activeConnection` is a data::Connection (or a connection string, opened for this set).
  // Unspecified cursor and lock types mean forward-only and read-only.
  Q_INVOKABLE void Open(const QString& source, const vb::Variant& activeConnection,
                        int cursorType = adOpenUnspecified, int lockType = adLockUnspecified,
                        int options = adCmdUnspecified);
  // The same with `values` bound in order to the statement's "?" placeholders; Requery and the
  // writes of an updatable set bind them again.
  void Open(const QString& source, const vb::Variant& activeConnection, int cursorType, int lockType, int options,
            const Parameters& values);
  // Raises ErrIllegalOperation while a row is being edited (call Update or CancelUpdate first).
  Q_INVOKABLE void Close();
  Q_INVOKABLE int State() const { return m_open ? 1 : 0; }

  Q_INVOKABLE bool Eof() const;
  Q_INVOKABLE bool Bof() const;
  Q_INVOKABLE int RecordCount() const;
  Q_INVOKABLE void MoveFirst();
  Q_INVOKABLE void MoveLast();
  Q_INVOKABLE void MoveNext();
  Q_INVOKABLE void MovePrevious();  // ErrNoBackwardFetch on a forward-only set

  // By position from 0 or by name without regard to case; ErrItemNotFound otherwise.
  Q_INVOKABLE std::shared_ptr<data::Field> Fields(const vb::Variant& index) const;
  Q_INVOKABLE std::shared_ptr<data::FieldList> Fields() const;

  Q_INVOKABLE void AddNew();
  Q_INVOKABLE void Update();
  Q_INVOKABLE void CancelUpdate();
  // Deletes the current row from the table (affect 1: the current record only).
  Q_INVOKABLE void Delete(int affectRecords = 1);
  // Runs the statement again and stands on the first row.
  Q_INVOKABLE void Requery();

  Q_INVOKABLE std::shared_ptr<data::Connection> ActiveConnection() const { return m_connection; }
  bool isUpdatable() const { return m_updatable; }

 private:
  friend class Field;
  friend class Connection;
  enum class Kind { Integer, SmallInt, BigInt, Byte, Boolean, Double, Currency, Numeric, Date, Text, Memo, Binary, Unknown };
  struct Column {
    QString name;
    Kind kind = Kind::Unknown;
    int odbcType = 0;  // the ODBC type code Qt reports (0 on SQLite)
    bool asUtf8 = false;  // a text read by the layer itself as UTF-8 bytes (Dialect::readsTextAsBytes)
  };
  struct Row {
    std::vector<vb::Variant> values;
    std::vector<QVariant> raw;  // as the database gave them: the row's original values
    QVariant rowid;  // SQLite rowid when the set is keyed by it
    bool deleted = false;
    bool unread = false;  // inserted; what the database filled in is read when the row is read
  };
  enum class EditMode { None, Edit, Add };

  void requireOpen() const;
  void requireCurrent() const;
  void requireUpdatable() const;
  void prepareCommand();
  void run();
  bool execSelect(QSqlQuery& query, const QString& sql);
  void bind(QSqlQuery& query, const std::vector<QVariant>& values) const;
  QVariant rawValue(const QSqlQuery& query, int column) const;
  void fetch(QSqlQuery& query, bool withRowid);
  void saveIfEditing();
  void writeInsert();
  void writeUpdate();
  void writeDelete();
  QString whereForRow(const Row& row, std::vector<QVariant>& binds) const;
  // The column of the table's primary key when that key is one column the set selects, else -1.
  int singleKeyColumn();
  // The rowid of the row whose `keyColumn` holds `key`.
  QVariant rowidOf(int keyColumn, const QVariant& key) const;
  // Runs a write; `affected` receives the row count the database reports.
  QVariant execWrite(const QString& sql, const std::vector<QVariant>& binds, bool expectOneRow, int* affected = nullptr);
  // The rows of the table that `where` with `binds` finds.
  qlonglong countRows(const QString& where, const std::vector<QVariant>& binds) const;
  void reloadRow(Row& row) const;
  void readBack(Row& row) const;
  int firstLive() const;
  int lastLive() const;
  vb::Variant readValue(int column) const;
  void assignValue(int column, const vb::Variant& value);
  int columnIndex(const vb::Variant& index) const;  // ErrItemNotFound when absent
  int findColumn(const QString& name) const;         // -1 when absent
  int typeCode(int column) const;
  static Kind kindFromDeclared(const QString& declared);
  static Kind kindFromMetaType(int typeId);
  static Kind kindFromValue(const QVariant& v);
  static vb::Variant fromDb(Kind kind, const QVariant& v);
  QVariant toDb(Kind kind, const vb::Variant& v) const;
  void applyPending(Row& row);

  std::shared_ptr<Connection> m_connection;
  QString m_source;
  int m_cursor = adOpenForwardOnly;
  int m_lock = adLockReadOnly;
  int m_options = adCmdUnspecified;
  bool m_open = false;
  long m_affected = 0;  // rows changed by a statement that returns none (Connection::Execute)

  // What Open made of the source.
  QString m_sql;                  // the statement as run
  std::vector<QVariant> m_values;  // the caller's values
  std::vector<QVariant> m_binds;   // bound to the statement as run: the values, or a saved query's arguments
  QString m_table;                // the table written to (updatable sets)
  QString m_selectList;           // of a single-table SELECT
  QString m_fromClause;           // "FROM ..." to the end, of a single-table SELECT
  QString m_tableRef;             // the table as the SELECT names it, with its alias
  bool m_updatable = false;
  bool m_keyedByRowid = false;
  std::vector<int> m_keyColumns;  // primary key columns, when not keyed by rowid
  std::optional<int> m_singleKey;  // singleKeyColumn(), asked once an open

  std::vector<Column> m_columns;
  QHash<QString, int> m_columnByName;  // names as the database gave them -> the column findColumn answers
  std::vector<std::shared_ptr<Field>> m_fields;
  mutable std::vector<Row> m_rows;  // mutable: an inserted row is read back on its first read
  int m_pos = 0;  // -1 BOF, m_rows.size() EOF
  EditMode m_edit = EditMode::None;
  int m_posBeforeAdd = 0;
  std::vector<std::optional<vb::Variant>> m_pending;
  // The last write statement, prepared once for a run of rows added or changed alike.
  QString m_writeSql;
  std::optional<QSqlQuery> m_writeQuery;
  int m_writeGeneration = 0;  // the connection's generation it was prepared on
};

}  // namespace data
