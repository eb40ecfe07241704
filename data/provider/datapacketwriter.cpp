#include "data/provider/datapacketwriter.h"

#include "data/dataset/dataset.h"
#include "data/dataset/providersupport.h"
#include "data/fields/decimalfield.h"
#include "data/fields/field.h"
#include "data/fields/stringfield.h"

namespace contado {

void TDataPacketWriter::WriteMetadata(TProviderOptions options, IProviderSupport& source) {
    for (int i = 0; i < dataSet_.FieldCount(); ++i) {
        packet_.Columns.push_back(ColumnOf(*dataSet_.Fields(i)));
    }
    WriteDataSetAttributes(options, source);
}

void TDataPacketWriter::WriteRowAt(std::size_t index) {
    if (index >= packet_.Rows.size()) {
        packet_.Rows.emplace_back();
        index = packet_.Rows.size() - 1;
    }
    TPacketRow& row = packet_.Rows[index];
    row.Status = TUpdateStatus::Unmodified;
    dataSet_.GetFieldValues(row.Values);
}

TPacketColumn TDataPacketWriter::ColumnOf(const TField& field) {
    TPacketColumn column;
    column.Name = field.FieldName();
    column.Type = field.DataType();
    column.Size = field.Size();
    if (const auto* decimal = dynamic_cast<const TDecimalField*>(&field)) {
        column.Precision = decimal->Precision();
    }
    column.ReadOnly = field.ReadOnly();
    column.Required = field.Required();
    column.Hidden = field.ProviderFlags().Contains(pfHidden);
    if (field.ProviderFlags() != TProviderFlags{pfInUpdate, pfInWhere}) {
        column.Attributes["PROVFLAGS"] = static_cast<std::int64_t>(field.ProviderFlags().Bits());
    }
    if (!field.Origin().empty()) {
        column.Attributes["ORIGIN"] = field.Origin();
    }
    if (field.FieldKind() != fkData) {
        column.Attributes["SERVER_CALC"] = true;
    }
    AddWidthAttributes(field, column);
    if (const char* subtype = SubtypeOf(field)) {
        column.Attributes["SUBTYPE"] = std::string(subtype);
    }
    return column;
}

void TDataPacketWriter::AddWidthAttributes(const TField& field, TPacketColumn& column) {
    if (IsTextType(field.DataType())) {
        column.Attributes["WIDTH"] = std::int64_t{field.Size()};
    } else if (field.DataType() == ftBCD || field.DataType() == ftFMTBcd) {
        column.Attributes["WIDTH"] = std::int64_t{column.Precision > 0 ? column.Precision : 32};
        if (field.Size() > 0) {
            column.Attributes["DECIMALS"] = std::int64_t{field.Size()};
        }
    }
}

const char* TDataPacketWriter::SubtypeOf(const TField& field) {
    switch (field.DataType()) {
        case ftFixedChar:
            return "FixedChar";
        case ftString: {
            const auto* text = dynamic_cast<const TStringField*>(&field);
            return text != nullptr && text->FixedChar() ? "FixedChar" : nullptr;
        }
        case ftCurrency:
            return "Money";
        case ftAutoInc:
            return "Autoinc";
        case ftMemo:
            return "Text";
        case ftFmtMemo:
            return "Formatted";
        case ftGraphic:
            return "Graphics";
        case ftBytes:
        case ftVarBytes:
            return "Binary";
        case ftParadoxOle:
            return "Ole";
        case ftDBaseOle:
            return "dBASEOle";
        case ftTypedBinary:
            return "TypedBinary";
        case ftReference:
            return "Reference";
        case ftGuid:
            return "Guid";
        default:
            return nullptr;
    }
}

void TDataPacketWriter::WriteDataSetAttributes(TProviderOptions options, IProviderSupport& source) {
    const std::pair<TProviderOption, const char*> flags[] = {{poReadOnly, "READONLY"},
                                                             {poDisableEdits, "DISABLE_EDITS"},
                                                             {poDisableInserts, "DISABLE_INSERTS"},
                                                             {poDisableDeletes, "DISABLE_DELETES"},
                                                             {poNoReset, "NO_RESET_CALL"}};
    for (const auto& [option, name] : flags) {
        if (options.Contains(option)) {
            packet_.Attributes[name] = true;
        }
    }
    if (options.Contains(poCascadeDeletes) || options.Contains(poCascadeUpdates)) {
        packet_.Attributes["MD_SEMANTICS"] = true;
    }
    source.PSGetAttributes(packet_.Attributes);
}

}  // namespace contado
