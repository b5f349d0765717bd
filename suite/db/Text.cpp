#include "suite/db/Text.h"

#include <sqlite3.h>

#include <limits>

#include "platform/core/CodePage.h"

namespace suitedb {

using platform::Variant;
using platform::VarType;

std::string FromClient(const Variant& value) {
  switch (value.Type()) {
    case VarType::String:
      return platform::WideToUtf8(platform::BytesToWide(value.AsString(), kDbCodePage));
    case VarType::OleStr:
      return platform::WideToUtf8(value.AsWideString());
    case VarType::Empty:
    case VarType::Null:
      return {};
    default:
      return platform::WideToUtf8(platform::BytesToWide(value.AsString(), kDbCodePage));
  }
}

std::string Utf8ToGb(std::string_view utf8) {
  return platform::WideToBytes(platform::Utf8ToWide(utf8), kDbCodePage);
}

Variant ToClient(std::string_view utf8) { return Variant(Utf8ToGb(utf8)); }

std::string ClientBytes(const Variant& value) {
  switch (value.Type()) {
    case VarType::String:
      return value.AsString();
    case VarType::OleStr:
      return platform::WideToBytes(value.AsWideString(), kDbCodePage);
    case VarType::Empty:
    case VarType::Null:
      return {};
    default:
      return value.AsString();
  }
}

Variant ColumnToClient(const Statement& row, int column) {
  switch (row.ColumnType(column)) {
    case SQLITE_INTEGER: {
      const int64_t value = row.ColumnInt(column);
      if (value >= std::numeric_limits<int32_t>::min() &&
          value <= std::numeric_limits<int32_t>::max())
        return Variant(static_cast<int32_t>(value));
      return Variant(static_cast<double>(value));
    }
    case SQLITE_FLOAT:
      return Variant(row.ColumnDouble(column));
    case SQLITE_TEXT:
      return ToClient(row.ColumnText(column));
    case SQLITE_BLOB:
      return Variant(row.ColumnText(column));
    default:
      return Variant::Null();
  }
}

Variant RowToClient(const Statement& row) {
  platform::VarArray values({{0, row.ColumnCount() - 1}});
  for (int i = 0; i < row.ColumnCount(); ++i) values.At(i) = ColumnToClient(row, i);
  return Variant(std::move(values));
}

}  // namespace suitedb
