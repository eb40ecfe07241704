#include "data/sql/customsqldataset.h"

#include <algorithm>
#include <array>

#include "core/datetime.h"
#include "core/textutil.h"
#include "data/sql/driverparameter.h"
#include "data/sql/parametermarkers.h"
#include "data/sql/sqlconnection.h"
#include "data/sql/sqlerror.h"
#include "data/sql/sqlfielddefs.h"

// Preparing, running and reading the statement; the provider services are in
// customsqldatasetprovider.cpp.

namespace contado {

namespace {

constexpr int kInt64Digits = 18;

// 10 to the power of 0 to kInt64Digits.
constexpr std::array<std::int64_t, kInt64Digits + 1> kPowersOfTen = [] {
    std::array<std::int64_t, kInt64Digits + 1> powers{1};
    for (std::size_t digits = 1; digits < powers.size(); ++digits) {
        powers[digits] = powers[digits - 1] * 10;
    }
    return powers;
}();

// A decimal as a column of that precision and scale holds it. A value already of the column's scale
// with fewer digits than its precision is that value itself, found without counting digits one by one.
TBcd ColumnDecimal(const TBcd& value, int precision, int scale) {
    if (value.Scale() == scale && precision >= 1 && precision <= kInt64Digits) {
        const std::int64_t limit = kPowersOfTen[precision];
        const TBcd::Unscaled unscaled = value.UnscaledValue();
        if (unscaled > -limit && unscaled < limit) {
            return value;
        }
    }
    return value.Normalized(precision, scale);
}

bool IsLeadingFiller(char character) {
    return static_cast<unsigned char>(character) <= ' ';
}

std::string WithoutLeadingFiller(const std::string& text) {
    return std::string(std::find_if_not(text.begin(), text.end(), IsLeadingFiller), text.end());
}

}  // namespace

TCustomSQLDataSet::TCustomSQLDataSet(TComponent* owner) : TDataSet(owner) {}

TCustomSQLDataSet::~TCustomSQLDataSet() {
    try {
        CloseForDestruction();
    } catch (const std::exception&) {
        // Going away: the cursor is released either way.
    }
    FreeStatement();
    if (connection_ != nullptr) {
        connection_->UnRegisterClient(this);
    }
}

// ---------------------------------------------------------------------------------------------
// Settings

void TCustomSQLDataSet::SetSQLConnection(TSQLConnection* connection) {
    if (connection == connection_) {
        return;
    }
    CheckInactive();
    FreeStatement();
    if (connection_ != nullptr) {
        connection_->UnRegisterClient(this);
    }
    connection_ = connection;
    if (connection_ != nullptr) {
        connection_->RegisterClient(this);
    }
}

void TCustomSQLDataSet::ComponentDestroying(TComponent* component) {
    if (component == connection_) {
        CloseForDisconnect();
        connection_->UnRegisterClient(this);
        connection_ = nullptr;
    }
}

void TCustomSQLDataSet::SetCommandText(const std::string& text) {
    const std::string stripped = WithoutLeadingFiller(text);
    if (stripped == commandText_) {
        return;
    }
    CheckInactive();
    FreeStatement();
    params_.Clear();
    commandText_ = stripped;
    if (paramCheck_ && commandType_ != ctTable) {
        CollectParams();
    }
    DataEvent(dePropertyChange);
}

void TCustomSQLDataSet::SetCommandType(TSQLCommandType type) {
    if (type == commandType_) {
        return;
    }
    CheckInactive();
    FreeStatement();
    commandType_ = type;
    DataEvent(dePropertyChange);
}

// One input parameter per marker name, in the order the names first appear.
void TCustomSQLDataSet::CollectParams() {
    const std::string quote = connection_ != nullptr ? connection_->QuoteChar() : std::string();
    for (const std::string& name : TParameterMarkers::Names(commandText_, quote.empty() ? '\0' : quote[0])) {
        if (params_.FindParam(name) == nullptr) {
            params_.Add(TParam(name, ftUnknown));
        }
    }
}

void TCustomSQLDataSet::SetFiltered(bool filtered) {
    if (filtered) {
        DatabaseError("Operation not allowed on a unidirectional dataset");
    }
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

void TCustomSQLDataSet::InternalOpen() {
    CheckStatement();
    OpenConnection();
    Prepare();
    ExecuteCommand();
    ReadFieldDefs();
}

void TCustomSQLDataSet::CheckStatement() const {
    if (commandText_.empty()) {
        throw EDatabaseError("Missing query, table name or procedure name");
    }
    if (connection_ == nullptr) {
        throw EDatabaseError("SQLConnection property required for this operation");
    }
}

TSQLConnection& TCustomSQLDataSet::OpenConnection() {
    if (connection_ == nullptr) {
        throw EDatabaseError("SQLConnection property required for this operation");
    }
    if (!connection_->Connected()) {
        connection_->Open();
    }
    return *connection_;
}

void TCustomSQLDataSet::Prepare() {
    if (prepared_) {
        return;
    }
    lastError_.clear();
    TSQLConnection& connection = OpenConnection();
    command_ = connection.NewCommand();
    command_->setOption(commandoption::kRowsetSize, connection.RowsetSize());
    const std::string text = StatementText();
    if (Trim(text).empty()) {
        command_.reset();
        DatabaseError("No SQL statement available");
    }
    PrepareCommand(text);
    nativeCommand_ = text;
    prepared_ = true;
}

std::string TCustomSQLDataSet::StatementText() {
    const std::string quote = connection_->QuoteChar();
    switch (commandType_) {
        case ctTable:
            return " select * from " + connection_->DriverQuotedName(commandText_);
        case ctStoredProc: {
            std::string text = " execute procedure " + connection_->DriverQuotedName(commandText_);
            for (int index = 0; index < params_.Count(); ++index) {
                text += index == 0 ? " ?" : ", ?";
            }
            return text;
        }
        case ctQuery:
            break;
    }
    return params_.IsEmpty()
               ? commandText_
               : TParameterMarkers::ReplaceWithPlaceholders(commandText_, quote.empty() ? '\0' : quote[0]);
}

// A failed prepare drops the command; its message stays the last error and is raised as is.
void TCustomSQLDataSet::PrepareCommand(const std::string& text) {
    const SQLResult status = command_->prepare(text, static_cast<std::uint16_t>(params_.Count()));
    if (status == sqlstatus::kSuccess) {
        return;
    }
    std::string handleText;
    command_->getErrorMessage(handleText);
    lastError_ = TSQLError::Message(status, handleText, lastError_);
    command_.reset();
    RaisePrepareFailure();
}

void TCustomSQLDataSet::RaisePrepareFailure() {
    if (!lastError_.empty()) {
        throw EDatabaseError(lastError_);
    }
    throw EDatabaseError(commandType_ == ctQuery ? "Unable to execute Query" : "Table/Procedure not found");
}

void TCustomSQLDataSet::RunCommand(std::unique_ptr<ISQLCursor>& cursor) {
    if (!params_.IsEmpty()) {
        TDriverParameter::BindAll(*command_, params_, lastError_);
    }
    Check(command_->execute(cursor), command_.get());
    rowsAffected_ = 0;
    command_->getRowsAffected(rowsAffected_);
}

void TCustomSQLDataSet::ExecuteCommand() {
    RunCommand(cursor_);
    rowsRead_ = 0;
    if (cursor_ == nullptr) {
        DatabaseError("Cursor not returned from Query");
    }
}

void TCustomSQLDataSet::ReadFieldDefs() {
    std::uint16_t count = 0;
    Check(cursor_->getColumnCount(count), cursor_.get());
    std::vector<TColumnDescription> columns(count);
    for (std::uint16_t column = 1; column <= count; ++column) {
        Check(cursor_->getColumnDescription(column, columns[column - 1]), cursor_.get());
    }
    TSQLFieldDefs::Build(columns, FieldDefs());
}

void TCustomSQLDataSet::InternalClose() {
    CloseCursor();
    if (connection_ == nullptr || !connection_->KeepConnection()) {
        FreeStatement();
    }
}

// Closing a cursor ends a statement run in a transaction of its own, so its status counts.
void TCustomSQLDataSet::CloseCursor() {
    rowsRead_ = 0;
    if (cursor_ != nullptr) {
        const std::unique_ptr<ISQLCursor> cursor = std::move(cursor_);
        Check(cursor->close(), cursor.get());
    }
}

void TCustomSQLDataSet::FreeStatement() {
    cursor_.reset();
    command_.reset();
    nativeCommand_.clear();
    prepared_ = false;
}

// ---------------------------------------------------------------------------------------------
// Reading rows

// The cursor only moves forward: going back to the first row runs the statement again.
void TCustomSQLDataSet::InternalFirst() {
    if (rowsRead_ > 0) {
        CloseCursor();
        ExecuteCommand();
    }
}

void TCustomSQLDataSet::InternalLast() {
    DatabaseError("Operation not allowed on a unidirectional dataset");
}

TGetResult TCustomSQLDataSet::GetRecord(TRecordBuffer& buffer, TGetMode mode) {
    if (mode == gmPrior) {
        return grBOF;
    }
    if (mode == gmCurrent || cursor_ == nullptr) {
        return grError;
    }
    const SQLResult status = cursor_->next();
    if (status == sqlstatus::kEndOfResultSet || status == sqlstatus::kNoData) {
        return grEOF;
    }
    Check(status, cursor_.get());
    ++rowsRead_;
    ReadRow(buffer);
    return grOK;
}

// One driver value serves every column of the row, and each buffer value is assigned in place, so
// reading a row allocates nothing but room for a text longer than the one its buffer held.
void TCustomSQLDataSet::ReadRow(TRecordBuffer& buffer) {
    TDriverValue value;
    const int count = FieldDefs().Count();
    for (int column = 0; column < count; ++column) {
        Check(cursor_->getValue(static_cast<std::uint16_t>(column + 1), value), cursor_.get());
        ReadColumnValue(column, value, buffer.Values[column]);
    }
    buffer.Bookmark.clear();
    buffer.BookmarkFlag = bfCurrent;
}

// The driver's value as the column's field keeps it; decimals take the field's precision and scale.
void TCustomSQLDataSet::ReadColumnValue(int column, const TDriverValue& value, TVariant& target) const {
    if (value.IsNull) {
        target = TNull{};
        return;
    }
    switch (value.Type) {
        case TDriverType::Text:
        case TDriverType::Blob:
            target = value.Text;
            return;
        case TDriverType::Boolean:
            target = value.Integer != 0;
            return;
        case TDriverType::Int16:
        case TDriverType::Int32:
        case TDriverType::Int64:
            target = value.Integer;
            return;
        case TDriverType::Float:
            target = value.Real;
            return;
        case TDriverType::Bcd: {
            const TFieldDef& def = FieldDefs()[column];
            target = ColumnDecimal(value.Decimal, def.Precision(), def.Size());
            return;
        }
        case TDriverType::Date:
            target = DayNumberToDate(static_cast<std::int32_t>(value.Integer));
            return;
        case TDriverType::Time:
            target = TimeFromUnits(value.Integer);
            return;
        case TDriverType::TimeStamp:
            target = JoinDateTime(static_cast<std::int32_t>(value.Integer), value.TimeOfDay);
            return;
        case TDriverType::Unknown:
            break;
    }
    target = TNull{};
}

// ---------------------------------------------------------------------------------------------
// The connection's notices

void TCustomSQLDataSet::ConnectionChanged(bool connected) {
    DataEvent(deConnectChange, connected ? 1 : 0);
}

void TCustomSQLDataSet::CloseForDisconnect() {
    try {
        Close();
    } catch (const EDatabaseError&) {
        // The connection goes away next; its end decides what the statement leaves.
    }
    FreeStatement();
}

}  // namespace contado
