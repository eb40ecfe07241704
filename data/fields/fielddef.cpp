#include "data/fields/fielddef.h"

#include "core/exceptions.h"
#include "core/textutil.h"
#include "data/fields/autoincfield.h"
#include "data/fields/bcdfield.h"
#include "data/fields/blobfield.h"
#include "data/fields/currencyfield.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/largeintfield.h"
#include "data/fields/memofield.h"
#include "data/fields/smallintfield.h"
#include "data/fields/stringfield.h"
#include "data/fields/timefield.h"

namespace contado {

namespace {

TField* NewFieldOfType(TFieldType type, TComponent* owner) {
    switch (type) {
        case ftString:
        case ftFixedChar:
        case ftWideString:
            return new TStringField(owner);
        case ftSmallint:
            return new TSmallintField(owner);
        case ftInteger:
        case ftWord:
            return new TIntegerField(owner);
        case ftAutoInc:
            return new TAutoIncField(owner);
        case ftLargeint:
            return new TLargeintField(owner);
        case ftFloat:
            return new TFloatField(owner);
        case ftCurrency:
            return new TCurrencyField(owner);
        case ftBCD:
            return new TBCDField(owner);
        case ftFMTBcd:
            return new TFMTBCDField(owner);
        case ftDate:
            return new TDateField(owner);
        case ftTime:
            return new TTimeField(owner);
        case ftDateTime:
        case ftTimeStamp:
            return new TDateTimeField(owner);
        case ftMemo:
        case ftFmtMemo:
        case ftOraClob:
            return new TMemoField(owner);
        case ftBlob:
        case ftGraphic:
        case ftParadoxOle:
        case ftDBaseOle:
        case ftTypedBinary:
        case ftOraBlob:
        case ftBytes:
        case ftVarBytes:
            return new TBlobField(owner);
        default:
            return nullptr;
    }
}

}  // namespace

TField* TFieldDef::CreateField(TComponent* owner) const {
    TField* field = NewFieldOfType(dataType_, owner);
    if (field == nullptr) {
        throw EDatabaseError(FormatMessage("Field '%s' is of an unsupported type", name_));
    }
    field->SetFieldName(name_);
    field->SetRequired(required_);
    field->SetReadOnly(readOnly_);
    if (IsTextType(dataType_)) {
        field->SetSize(size_);
        static_cast<TStringField*>(field)->SetFixedChar(fixed_ || dataType_ == ftFixedChar);
    } else if (auto* decimal = dynamic_cast<TDecimalField*>(field)) {
        decimal->SetSize(size_);
        decimal->SetPrecision(precision_);
    }
    return field;
}

}  // namespace contado
