#include "platform/remote/ClientDataSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/remote/SocketConnection.h"

namespace platform::remote {
namespace {

// A server object whose provider answers a fixed data packet and counts the
// fetches; any other provider is refused as the suite's server refuses it.
class ProviderServer : public AutoObject {
 public:
  explicit ProviderServer(Variant packet)
      : AutoObject("Test.Provider"), packet_(std::move(packet)) {
    AddMethod("AS_GetRecords", 1, 7, [this](std::vector<Variant>& a) {
      ++fetches;
      if (VarToStr(a[0]) != "pvdConSave") throw Exception("no provider named " + VarToStr(a[0]));
      return packet_;
    });
  }
  int fetches = 0;

 private:
  Variant packet_;
};

Variant Row(const char* name, const char* creator, const char* program, const char* date) {
  return VarArrayOf({Variant(name), Variant(creator), Variant(program), Variant(date)});
}

// Schemes in the order the server might send them: not in index order, with
// names differing in case only.
Variant SchemePacket() {
  return VarArrayOf(
      {VarArrayOf({Variant("NCONDITION"), Variant("CREATOR"), Variant("PROGRAMME"),
                   Variant("CREATE_DATE")}),
       VarArrayOf({Row("b2", "U001", "PVQR82", "20240102"), Row("A1", "U001", "PVQR82", "20240101"),
                   Row("a0", "U001", "PVQR82", "20240103"),
                   Row("C3", "U001", "PVQR82", "20240104")})});
}

class ClientDataSetTest : public ::testing::Test {
 protected:
  void Serve(Variant packet) {
    server_ = std::make_shared<ProviderServer>(std::move(packet));
    connection_.SetAppServer(Variant(DispatchPtr(server_)));
    data_.SetRemoteServer(&connection_);
    data_.SetProviderName("pvdConSave");
    data_.AddIndex("Index1", "NCONDITION;CREATOR;PROGRAMME");
  }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (data_.First(); !data_.Eof(); data_.Next())
      names.push_back(data_.FieldByName("NCONDITION")->AsString());
    return names;
  }

  TSocketConnection connection_;
  std::shared_ptr<ProviderServer> server_;
  TClientDataSet data_;
};

TEST_F(ClientDataSetTest, OpenFetchesTheProviderRowsInIndexOrder) {
  Serve(SchemePacket());
  data_.SetIndexName("Index1");
  data_.Open();
  EXPECT_EQ(server_->fetches, 1);
  EXPECT_EQ(data_.State(), dsBrowse);
  EXPECT_EQ(data_.RecordCount(), 4);
  EXPECT_EQ(data_.FieldCount(), 4);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a0", "A1", "b2", "C3"}));
  data_.Open();  // already open: no second fetch
  EXPECT_EQ(server_->fetches, 1);
}

TEST_F(ClientDataSetTest, WithoutAnIndexRowsStayInTheOrderReceived) {
  Serve(SchemePacket());
  data_.Open();
  EXPECT_EQ(Names(), (std::vector<std::string>{"b2", "A1", "a0", "C3"}));
  data_.SetIndexFieldNames("CREATE_DATE");
  EXPECT_EQ(data_.IndexName(), "");
  EXPECT_EQ(Names(), (std::vector<std::string>{"A1", "b2", "a0", "C3"}));
}

TEST_F(ClientDataSetTest, CloseAndOpenFetchesAgain) {
  Serve(SchemePacket());
  data_.Open();
  data_.Close();
  EXPECT_FALSE(data_.Active());
  EXPECT_EQ(data_.RecordCount(), 0);
  EXPECT_THROW(data_.First(), EDatabaseError);
  data_.Open();
  EXPECT_EQ(server_->fetches, 2);
}

TEST_F(ClientDataSetTest, NavigationAndEofOnAnEmptyAndAFullSet) {
  Serve(VarArrayOf({VarArrayOf({Variant("NCONDITION")}), VarArrayCreate({{0, -1}})}));
  data_.Open();
  EXPECT_TRUE(data_.Eof());
  EXPECT_EQ(data_.RecNo(), 0);
  EXPECT_EQ(data_.FieldByName("ncondition")->AsString(), "");
  EXPECT_THROW(data_.Edit(), EDatabaseError);

  Serve(SchemePacket());
  data_.Close();
  data_.Open();
  EXPECT_FALSE(data_.Eof());
  EXPECT_EQ(data_.RecNo(), 1);
  data_.Last();
  EXPECT_EQ(data_.RecNo(), 4);
  data_.Next();
  EXPECT_TRUE(data_.Eof());
  EXPECT_EQ(data_.RecNo(), 4);
  data_.Prior();
  EXPECT_FALSE(data_.Eof());
  EXPECT_EQ(data_.RecNo(), 3);
}

TEST_F(ClientDataSetTest, LocateAndFindKeyByTheIndex) {
  Serve(SchemePacket());
  data_.SetIndexName("Index1");
  data_.Open();
  struct Case {
    std::vector<Variant> key;
    bool found;
    const char* date;
  } cases[] = {
      {{Variant("b2"), Variant("U001"), Variant("PVQR82")}, true, "20240102"},
      {{Variant("B2"), Variant("u001"), Variant("pvqr82")},
       true,
       "20240102"},                         // index ignores case
      {{Variant("C3")}, true, "20240104"},  // leading fields only
      {{Variant("b2"), Variant("U002"), Variant("PVQR82")}, false, "20240104"},  // row unchanged
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.FindKey(c.key), c.found) << VarToStr(c.key[0]);
    EXPECT_EQ(data_.FieldByName("CREATE_DATE")->AsString(), c.date) << VarToStr(c.key[0]);
  }

  EXPECT_TRUE(data_.Locate("NCONDITION", Variant("A1")));
  EXPECT_EQ(data_.RecNo(), 2);
  EXPECT_FALSE(data_.Locate("NCONDITION", Variant("a1")));
  EXPECT_TRUE(data_.Locate("NCONDITION", Variant("a1"), true));
  EXPECT_EQ(data_.FieldByName("NCONDITION")->AsString(), "A1");
  EXPECT_THROW(data_.Locate("NCONDITION;CREATOR", Variant("A1")), EDatabaseError);

  data_.SetIndexName("");
  EXPECT_THROW(data_.FindKey({Variant("A1")}), EDatabaseError);
}

TEST_F(ClientDataSetTest, EditAndPostChangeTheLocalRowAndKeepItCurrent) {
  Serve(SchemePacket());
  data_.SetIndexName("Index1");
  data_.Open();
  ASSERT_TRUE(data_.FindKey({Variant("A1"), Variant("U001"), Variant("PVQR82")}));
  EXPECT_THROW(data_.FieldByName("NCONDITION")->SetAsString("x"), EDatabaseError);

  data_.Edit();
  data_.FieldByName("NCONDITION")->SetAsString("Z9");
  EXPECT_EQ(data_.FieldByName("NCONDITION")->AsString(), "Z9");
  data_.Post();
  EXPECT_EQ(data_.State(), dsBrowse);
  EXPECT_EQ(data_.FieldByName("NCONDITION")->AsString(), "Z9");
  EXPECT_EQ(data_.RecNo(), 4);  // moved to its place in the index
  EXPECT_EQ(Names(), (std::vector<std::string>{"a0", "b2", "C3", "Z9"}));
  EXPECT_EQ(server_->fetches, 1);  // nothing went to the server

  data_.First();
  data_.Edit();
  data_.FieldByName("NCONDITION")->SetAsString("gone");
  data_.Cancel();
  EXPECT_EQ(data_.FieldByName("NCONDITION")->AsString(), "a0");
}

TEST_F(ClientDataSetTest, ErrorsLeaveTheSetClosed) {
  // No provider or no connection.
  TClientDataSet bare;
  EXPECT_THROW(bare.Open(), EDatabaseError);
  bare.SetProviderName("pvdConSave");
  EXPECT_THROW(bare.Open(), EDatabaseError);

  // The server refuses the provider: its error reaches the caller.
  Serve(SchemePacket());
  data_.SetProviderName("pvdOther");
  EXPECT_THROW(data_.Open(), EOleException);
  EXPECT_FALSE(data_.Active());

  // Answers of another shape.
  for (const Variant& packet : {Variant("text"), VarArrayOf({Variant("only one")}),
                                VarArrayOf({Variant(int32_t{1}), Variant(int32_t{2})})}) {
    Serve(packet);
    EXPECT_THROW(data_.Open(), EDatabaseError);
    EXPECT_FALSE(data_.Active());
  }

  Serve(SchemePacket());
  EXPECT_THROW(data_.SetIndexName("Index2"), EDatabaseError);
  data_.SetIndexFieldNames("NOSUCH");
  EXPECT_THROW(data_.Open(), EDatabaseError);
  data_.SetIndexFieldNames("");
  data_.Open();
  EXPECT_THROW(data_.FieldByName("NOSUCH"), EDatabaseError);
  EXPECT_EQ(data_.FindField("NOSUCH"), nullptr);
  EXPECT_THROW(data_.Fields(4), EDatabaseError);
}

}  // namespace
}  // namespace platform::remote
