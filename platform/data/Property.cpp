#include "platform/data/Property.h"

namespace data {

Property::Property(const QString& name) : m_name(name) {}

QString Property::Name() const { return m_name; }

vb::Variant Property::Value() const { return m_value; }

void Property::let_Value(const vb::Variant& value) { m_value = value; }

}  // namespace data
