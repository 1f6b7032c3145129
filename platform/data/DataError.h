#pragma once
// Error numbers of the data layer. Callers trap them by number as they trapped the data-access
// library's: the layer's own conditions carry the small numbers, failures the database reports
// carry the provider's HRESULT-style numbers with the database's own message.
#include <QString>

namespace data {

enum DataErrorNumber : long {
  ErrNoCurrentRecord = 3021,   // BOF or EOF, or the current row was deleted
  ErrIllegalOperation = 3219,  // not allowed in this context (e.g. closing while a row is edited)
  ErrNotUpdatable = 3251,      // the record set is read-only
  ErrItemNotFound = 3265,      // no field or property of that name or position
  ErrObjectClosed = 3704,      // the record set or connection is closed
  ErrObjectOpen = 3705,        // the connection is already open
  ErrProviderNotFound = 3706,  // unknown provider
  ErrNoConnection = 3709,      // no open connection to work on
  ErrDatabase = -2147467259,          // the database refused: open failed, constraint, lock, ...
  ErrCommand = -2147217900,           // the database rejected the statement (syntax, missing table)
  ErrRowNotFound = -2147217864,       // the row to update or delete is gone or was changed
  ErrNoBackwardFetch = -2147217884,   // moving backwards on a forward-only record set
  ErrNoSuchQuery = -2147217865,       // a saved query or table of that name does not exist
};

// Raises vb::VbError `number` with `description` (the standard text of the number when empty).
[[noreturn]] void raiseDataError(long number, const QString& description = {});

}  // namespace data
