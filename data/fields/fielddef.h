#pragma once

#include <string>

#include "core/fieldtype.h"

namespace contado {

class TComponent;
class TField;

// The description of one column of a dataset: name, type, size and attributes.
class TFieldDef {
  public:
    TFieldDef() = default;
    TFieldDef(std::string name, TFieldType dataType, int size = 0, bool required = false)
        : name_(std::move(name)), dataType_(dataType), size_(size), required_(required) {}

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    TFieldType DataType() const { return dataType_; }
    void SetDataType(TFieldType type) { dataType_ = type; }
    // Characters of a text column, scale of a decimal column.
    int Size() const { return size_; }
    void SetSize(int size) { size_ = size; }
    int Precision() const { return precision_; }
    void SetPrecision(int precision) { precision_ = precision; }
    bool Required() const { return required_; }
    void SetRequired(bool required) { required_ = required; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // A text column of fixed length.
    bool Fixed() const { return fixed_; }
    void SetFixed(bool fixed) { fixed_ = fixed; }
    // Position of the column, counted from 1.
    int FieldNo() const { return fieldNo_; }
    void SetFieldNo(int fieldNo) { fieldNo_ = fieldNo; }

    // A field of the class that suits the type, carrying this definition's attributes;
    // "Field '%s' is of an unsupported type" for a type no field class holds.
    TField* CreateField(TComponent* owner) const;

  private:
    std::string name_;
    TFieldType dataType_ = ftUnknown;
    int size_ = 0;
    int precision_ = 0;
    bool required_ = false;
    bool readOnly_ = false;
    bool fixed_ = false;
    int fieldNo_ = 0;
};

}  // namespace contado
