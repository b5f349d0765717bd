#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Variant.h"

namespace platform::remote {

class TSocketConnection;
class TClientDataSet;

/* A data set was used in a way it does not allow (closed, no such field,
   no provider). */
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EDatabaseError"; }
};

/* One column of a client data set, read and written on the current row. */
class TField {
 public:
  const std::string& FieldName() const { return name_; }
  /* The current row's value (in edit state: the edited value). */
  const Variant& Value() const;
  /* Writes the value; raises EDatabaseError "Dataset not in edit mode"
     unless the data set is being edited. */
  void SetValue(const Variant& value);
  /* The value as text ("" for empty and null). */
  std::string AsString() const { return VarToStr(Value()); }
  void SetAsString(const std::string& text) { SetValue(Variant(text)); }
  bool IsNull() const;

 private:
  friend class TClientDataSet;
  TField(TClientDataSet* owner, std::string name, int index)
      : owner_(owner), name_(std::move(name)), index_(index) {}
  TClientDataSet* owner_;
  std::string name_;
  int index_;
};

enum TDataSetState { dsInactive, dsBrowse, dsEdit };

/* The platform's client data set with a remote provider: Open fetches every
   row of ProviderName from the server object of RemoteServer, through
   the server's AS_GetRecords(ProviderName), whose answer is [field names,
   rows] (each row an array of values in field order). The rows are kept in
   the order of the active index: IndexName (one defined by AddIndex) or
   IndexFieldNames, ";"-separated field names compared as texts, ignoring
   case; without one, in the order received. Edit/Post change the local
   rows only; nothing is sent back. */
class TClientDataSet {
 public:
  TClientDataSet();
  ~TClientDataSet();
  TClientDataSet(const TClientDataSet&) = delete;
  TClientDataSet& operator=(const TClientDataSet&) = delete;

  const std::string& ProviderName() const { return providerName_; }
  void SetProviderName(std::string name) { providerName_ = std::move(name); }
  /* Not owned. */
  TSocketConnection* RemoteServer() const { return remoteServer_; }
  void SetRemoteServer(TSocketConnection* connection) { remoteServer_ = connection; }

  /* Defines an index by name over ";"-separated fields. */
  void AddIndex(const std::string& name, const std::string& fields);
  const std::string& IndexName() const { return indexName_; }
  /* Makes a defined index active ("" none); raises EDatabaseError "Index
     'X' not found" for another name. Clears IndexFieldNames. */
  void SetIndexName(const std::string& name);
  const std::string& IndexFieldNames() const { return indexFieldNames_; }
  /* Orders by these fields; clears IndexName. */
  void SetIndexFieldNames(const std::string& fields);
  /* The fields of the active index ("" without one). */
  std::string ActiveIndexFields() const;

  bool Active() const { return state_ != dsInactive; }
  /* Fetches the rows and goes to the first. Raises EDatabaseError "Missing
     data provider or remote server" without either; the server's own
     errors and an answer of another shape ("Bad data packet") pass to the
     caller, leaving the data set closed. Opening an open data set does
     nothing. */
  void Open();
  void Close();
  void SetActive(bool on) { on ? Open() : Close(); }
  TDataSetState State() const { return state_; }

  int RecordCount() const;
  /* 1-based number of the current row, 0 when there is none. */
  int RecNo() const;
  void First();
  void Next();
  void Prior();
  void Last();
  /* Past the last row (also for an empty data set). */
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField* Fields(int index) const;
  /* The field of that name (ignoring case); nullptr / EDatabaseError
     "Field 'X' not found" when there is none. */
  TField* FindField(std::string_view name) const;
  TField* FieldByName(std::string_view name) const;

  /* Makes the first row whose KeyFields (";"-separated) equal KeyValues (a
     single value for one field, else an array in field order, compared as
     texts; ignoring case when asked) the current row; false (current row
     unchanged) when none does. */
  bool Locate(const std::string& keyFields, const Variant& keyValues, bool caseInsensitive = false);
  /* Locate over the fields of the active index; raises EDatabaseError "No
     index currently active" without one. */
  bool FindKey(const std::vector<Variant>& values);

  /* Edit state for the current row; raises EDatabaseError on a closed or
     empty data set. Post keeps the changes (the row moves to its place in
     the index and stays current); Cancel drops them. */
  void Edit();
  void Post();
  void Cancel();

 private:
  friend class TField;
  void CheckActive() const;
  void Sort();
  std::vector<std::string> SplitFields(const std::string& fields) const;
  int FieldIndex(std::string_view name) const;
  void SetCurrent(int row);

  std::string providerName_;
  TSocketConnection* remoteServer_ = nullptr;
  std::vector<std::pair<std::string, std::string>> indexes_;
  std::string indexName_;
  std::string indexFieldNames_;
  TDataSetState state_ = dsInactive;
  std::vector<std::unique_ptr<TField>> fields_;
  std::vector<std::vector<Variant>> rows_;
  std::vector<Variant> editBuffer_;
  int current_ = -1;
  bool eof_ = true;
  bool bof_ = true;
};

}  // namespace platform::remote
