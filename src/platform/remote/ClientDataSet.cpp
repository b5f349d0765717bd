#include "platform/remote/ClientDataSet.h"

#include <algorithm>
#include <numeric>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/remote/SocketConnection.h"

namespace platform::remote {

namespace {

// The elements of a one-dimensional array in index order.
std::vector<Variant> Elements(const Variant& array) {
  std::vector<Variant> out;
  if (!array.IsArray() || array.DimCount() != 1) throw EDatabaseError("Bad data packet");
  for (int32_t i = array.LowBound(); i <= array.HighBound(); ++i) out.push_back(array[i]);
  return out;
}

// Rows are compared and looked up by their texts; Null and Empty read "".
int CompareValues(const Variant& a, const Variant& b) {
  return CompareText(VarToStr(a), VarToStr(b));
}

}  // namespace

// ---------------------------------------------------------------------------

const Variant& TField::Value() const {
  owner_->CheckActive();
  if (owner_->state_ == dsEdit) return owner_->editBuffer_[static_cast<size_t>(index_)];
  if (owner_->current_ < 0) {
    static const Variant empty;
    return empty;
  }
  return owner_->rows_[static_cast<size_t>(owner_->current_)][static_cast<size_t>(index_)];
}

void TField::SetValue(const Variant& value) {
  if (owner_->state_ != dsEdit) throw EDatabaseError("Dataset not in edit mode");
  owner_->editBuffer_[static_cast<size_t>(index_)] = value;
}

bool TField::IsNull() const {
  const Variant& v = Value();
  return v.IsEmpty() || v.IsNull();
}

// ---------------------------------------------------------------------------

TClientDataSet::TClientDataSet() = default;
TClientDataSet::~TClientDataSet() = default;

void TClientDataSet::AddIndex(const std::string& name, const std::string& fields) {
  for (auto& index : indexes_)
    if (SameText(index.first, name)) {
      index.second = fields;
      return;
    }
  indexes_.emplace_back(name, fields);
}

void TClientDataSet::SetIndexName(const std::string& name) {
  if (!name.empty() && std::none_of(indexes_.begin(), indexes_.end(),
                                    [&](const auto& i) { return SameText(i.first, name); }))
    throw EDatabaseError("Index '" + name + "' not found");
  indexName_ = name;
  indexFieldNames_.clear();
  if (Active()) Sort();
}

void TClientDataSet::SetIndexFieldNames(const std::string& fields) {
  indexFieldNames_ = fields;
  indexName_.clear();
  if (Active()) Sort();
}

std::string TClientDataSet::ActiveIndexFields() const {
  if (!indexFieldNames_.empty()) return indexFieldNames_;
  for (const auto& index : indexes_)
    if (!indexName_.empty() && SameText(index.first, indexName_)) return index.second;
  return "";
}

std::vector<std::string> TClientDataSet::SplitFields(const std::string& fields) const {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= fields.size()) {
    const size_t end = std::min(fields.find(';', start), fields.size());
    const std::string name = Trim(std::string_view(fields).substr(start, end - start));
    if (!name.empty()) names.push_back(name);
    start = end + 1;
  }
  return names;
}

int TClientDataSet::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (SameText(fields_[i]->FieldName(), name)) return static_cast<int>(i);
  return -1;
}

void TClientDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TClientDataSet::Open() {
  if (Active()) return;
  if (providerName_.empty() || !remoteServer_)
    throw EDatabaseError("Missing data provider or remote server");
  const Variant answer =
      CallMethod(remoteServer_->AppServer(), "AS_GetRecords", {Variant(providerName_)});
  const std::vector<Variant> parts = Elements(answer);
  if (parts.size() < 2) throw EDatabaseError("Bad data packet");

  std::vector<std::unique_ptr<TField>> fields;
  for (const Variant& name : Elements(parts[0]))
    fields.push_back(
        std::unique_ptr<TField>(new TField(this, VarToStr(name), static_cast<int>(fields.size()))));
  std::vector<std::vector<Variant>> rows;
  for (const Variant& row : Elements(parts[1])) {
    std::vector<Variant> values = Elements(row);
    values.resize(fields.size());
    rows.push_back(std::move(values));
  }

  fields_ = std::move(fields);
  rows_ = std::move(rows);
  state_ = dsBrowse;
  try {
    Sort();
  } catch (...) {
    Close();
    throw;
  }
  First();
}

void TClientDataSet::Close() {
  state_ = dsInactive;
  fields_.clear();
  rows_.clear();
  editBuffer_.clear();
  current_ = -1;
  eof_ = bof_ = true;
}

void TClientDataSet::Sort() {
  std::vector<int> keys;
  for (const std::string& name : SplitFields(ActiveIndexFields())) {
    const int i = FieldIndex(name);
    if (i < 0) throw EDatabaseError("Field '" + name + "' not found");
    keys.push_back(i);
  }
  if (keys.empty()) return;
  std::vector<size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    for (int k : keys) {
      const int c =
          CompareValues(rows_[a][static_cast<size_t>(k)], rows_[b][static_cast<size_t>(k)]);
      if (c != 0) return c < 0;
    }
    return false;
  });
  std::vector<std::vector<Variant>> sorted;
  sorted.reserve(rows_.size());
  int newCurrent = -1;
  for (size_t i = 0; i < order.size(); ++i) {
    if (static_cast<int>(order[i]) == current_) newCurrent = static_cast<int>(i);
    sorted.push_back(std::move(rows_[order[i]]));
  }
  rows_ = std::move(sorted);
  current_ = newCurrent;
}

int TClientDataSet::RecordCount() const { return Active() ? static_cast<int>(rows_.size()) : 0; }

int TClientDataSet::RecNo() const { return current_ < 0 ? 0 : current_ + 1; }

void TClientDataSet::SetCurrent(int row) {
  if (state_ == dsEdit) Post();
  current_ = rows_.empty() ? -1 : std::clamp(row, 0, static_cast<int>(rows_.size()) - 1);
  eof_ = bof_ = rows_.empty();
}

void TClientDataSet::First() {
  CheckActive();
  SetCurrent(0);
  bof_ = true;
}

void TClientDataSet::Last() {
  CheckActive();
  SetCurrent(static_cast<int>(rows_.size()) - 1);
  eof_ = true;
}

void TClientDataSet::Next() {
  CheckActive();
  if (state_ == dsEdit) Post();
  bof_ = false;
  if (current_ + 1 >= static_cast<int>(rows_.size())) {
    eof_ = true;
    return;
  }
  ++current_;
}

void TClientDataSet::Prior() {
  CheckActive();
  if (state_ == dsEdit) Post();
  eof_ = false;
  if (current_ <= 0) {
    bof_ = true;
    return;
  }
  --current_;
}

TField* TClientDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount())
    throw EDatabaseError("Field index out of range (" + std::to_string(index) + ")");
  return fields_[static_cast<size_t>(index)].get();
}

TField* TClientDataSet::FindField(std::string_view name) const {
  const int i = FieldIndex(name);
  return i < 0 ? nullptr : fields_[static_cast<size_t>(i)].get();
}

TField* TClientDataSet::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (!field) throw EDatabaseError("Field '" + std::string(name) + "' not found");
  return field;
}

bool TClientDataSet::Locate(const std::string& keyFields, const Variant& keyValues,
                            bool caseInsensitive) {
  CheckActive();
  std::vector<int> keys;
  for (const std::string& name : SplitFields(keyFields)) keys.push_back(FieldByName(name)->index_);
  std::vector<Variant> wanted;
  if (keys.size() == 1 && !keyValues.IsArray()) {
    wanted.push_back(keyValues);
  } else {
    wanted = Elements(keyValues);
  }
  if (wanted.size() != keys.size()) throw EDatabaseError("Key values do not match the key fields");

  for (size_t r = 0; r < rows_.size(); ++r) {
    bool match = true;
    for (size_t k = 0; k < keys.size() && match; ++k) {
      const std::string have = VarToStr(rows_[r][static_cast<size_t>(keys[k])]);
      const std::string want = VarToStr(wanted[k]);
      match = caseInsensitive ? SameText(have, want) : have == want;
    }
    if (match) {
      SetCurrent(static_cast<int>(r));
      return true;
    }
  }
  return false;
}

bool TClientDataSet::FindKey(const std::vector<Variant>& values) {
  const std::string fields = ActiveIndexFields();
  if (fields.empty()) throw EDatabaseError("No index currently active");
  const std::vector<std::string> names = SplitFields(fields);
  std::vector<Variant> key(values);
  key.resize(std::min(key.size(), names.size()));
  std::string used;
  for (size_t i = 0; i < key.size(); ++i) used += (i ? ";" : "") + names[i];
  Variant array = VarArrayCreate({{0, static_cast<int32_t>(key.size()) - 1}});
  for (size_t i = 0; i < key.size(); ++i) array[static_cast<int32_t>(i)] = key[i];
  // The index compares ignoring case, so its lookups do too.
  return Locate(used, array, true);
}

void TClientDataSet::Edit() {
  CheckActive();
  if (state_ == dsEdit) return;
  if (current_ < 0) throw EDatabaseError("Cannot edit an empty dataset");
  editBuffer_ = rows_[static_cast<size_t>(current_)];
  state_ = dsEdit;
}

void TClientDataSet::Post() {
  if (state_ != dsEdit) return;
  rows_[static_cast<size_t>(current_)] = std::move(editBuffer_);
  editBuffer_.clear();
  state_ = dsBrowse;
  Sort();
}

void TClientDataSet::Cancel() {
  if (state_ != dsEdit) return;
  editBuffer_.clear();
  state_ = dsBrowse;
}

}  // namespace platform::remote
