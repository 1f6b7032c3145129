#pragma once
// The objects of the data layer as they travel: std::shared_ptr, known to Qt's meta types so
// late binding can pass and return them (each converts to a vb::Variant object reference).
#include <QMetaType>
#include <memory>

namespace data {
class Connection;
class Property;
class Recordset;
class Field;
class FieldList;
}  // namespace data

Q_DECLARE_METATYPE(std::shared_ptr<data::Connection>)
Q_DECLARE_METATYPE(std::shared_ptr<data::Property>)
Q_DECLARE_METATYPE(std::shared_ptr<data::Recordset>)
Q_DECLARE_METATYPE(std::shared_ptr<data::Field>)
Q_DECLARE_METATYPE(std::shared_ptr<data::FieldList>)
