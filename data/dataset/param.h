#pragma once

#include <string>

#include "core/fieldtype.h"
#include "core/variant.h"

namespace contado {

enum TParamType { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };

// One parameter of a statement: a name, a field type and a value (unassigned, null or a value).
class TParam {
  public:
    TParam() = default;
    TParam(std::string name, TFieldType dataType, TVariant value = {})
        : name_(std::move(name)), dataType_(dataType), value_(std::move(value)) {}

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    TFieldType DataType() const { return dataType_; }
    void SetDataType(TFieldType type) { dataType_ = type; }
    TParamType ParamType() const { return paramType_; }
    void SetParamType(TParamType type) { paramType_ = type; }
    const TVariant& Value() const { return value_; }
    void SetValue(TVariant value) { value_ = std::move(value); }
    bool IsNull() const { return VarIsEmptyOrNull(value_); }
    void Clear() { value_ = TNull{}; }
    // Data size in bytes (text: its length); decimals keep their scale here.
    int Size() const { return size_; }
    void SetSize(int size) { size_ = size; }
    int Precision() const { return precision_; }
    void SetPrecision(int precision) { precision_ = precision; }
    int NumericScale() const { return numericScale_; }
    void SetNumericScale(int scale) { numericScale_ = scale; }

    friend bool operator==(const TParam&, const TParam&) = default;

  private:
    std::string name_;
    TFieldType dataType_ = ftUnknown;
    TParamType paramType_ = ptInput;
    TVariant value_;
    int size_ = 0;
    int precision_ = 0;
    int numericScale_ = 0;
};

}  // namespace contado
