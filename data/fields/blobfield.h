#pragma once

#include "data/fields/field.h"

namespace contado {

// Binary data of any length; its display text names the kind, "(BLOB)", or "(blob)" when empty.
class TBlobField : public TField {
  public:
    explicit TBlobField(TComponent* owner = nullptr) : TBlobField(owner, ftBlob) {}

    std::string AsString() const override;
    void SetAsString(const std::string& value) override { SetData(value); }
    std::string GetText(bool displayText) const override;

  protected:
    TBlobField(TComponent* owner, TFieldType type);
    virtual std::string KindText() const { return "BLOB"; }
};

}  // namespace contado
