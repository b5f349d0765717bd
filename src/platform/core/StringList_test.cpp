#include "platform/core/StringList.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/core/Exception.h"

namespace platform {
namespace {

using Lines = std::vector<std::string>;

StringList ListOf(const Lines& lines) {
  StringList list;
  for (const std::string& line : lines) list.Add(line);
  return list;
}

std::vector<intptr_t> ObjectsOf(const StringList& list) {
  std::vector<intptr_t> objects;
  for (int i = 0; i < list.Count(); ++i) objects.push_back(list.Object(i));
  return objects;
}

TEST(StringListTest, IndexErrorsNameTheIndex) {
  struct Case {
    const char* what;
    std::function<void(StringList&)> op;
    const char* message;
  };
  const Case cases[] = {
      {"read -1", [](StringList& l) { (void)l[-1]; }, "List index out of bounds (-1)"},
      {"read Count", [](StringList& l) { (void)l[2]; }, "List index out of bounds (2)"},
      {"set", [](StringList& l) { l.Set(2, "x"); }, "List index out of bounds (2)"},
      {"object", [](StringList& l) { (void)l.Object(5); }, "List index out of bounds (5)"},
      {"set object", [](StringList& l) { l.SetObject(-1, 1); }, "List index out of bounds (-1)"},
      {"delete", [](StringList& l) { l.Delete(2); }, "List index out of bounds (2)"},
      {"insert past end", [](StringList& l) { l.Insert(3, "x"); }, "List index out of bounds (3)"},
      {"insert -1", [](StringList& l) { l.Insert(-1, "x"); }, "List index out of bounds (-1)"},
      {"name", [](StringList& l) { (void)l.Name(7); }, "List index out of bounds (7)"},
      {"value", [](StringList& l) { (void)l.ValueFromIndex(2); }, "List index out of bounds (2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StringList list = ListOf({"a", "b"});
    try {
      c.op(list);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(list.Strings(), (Lines{"a", "b"})) << "a failed operation changed the list";
  }
}

TEST(StringListTest, AddInsertDeleteKeepObjectsWithTheirTexts) {
  StringList list;
  EXPECT_EQ(list.Add("one", 1), 0);
  EXPECT_EQ(list.Add("three", 3), 1);
  list.Insert(1, "two", 2);
  list.Insert(3, "four", 4);  // at Count: appends
  list.Insert(0, "zero");
  EXPECT_EQ(list.Strings(), (Lines{"zero", "one", "two", "three", "four"}));
  EXPECT_EQ(ObjectsOf(list), (std::vector<intptr_t>{0, 1, 2, 3, 4}));

  list.Delete(2);
  list.Set(0, "nil");
  list.SetObject(0, 9);
  EXPECT_EQ(list.Strings(), (Lines{"nil", "one", "three", "four"}));
  EXPECT_EQ(ObjectsOf(list), (std::vector<intptr_t>{9, 1, 3, 4}));

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Add("again", 5), 0);
  EXPECT_EQ(list.Object(0), 5);
}

TEST(StringListTest, IndexOfIgnoresAsciiCaseOnly) {
  for (bool sorted : {false, true}) {
    SCOPED_TRACE(sorted ? "sorted" : "unsorted");
    StringList list = ListOf({"Beta", "alpha", "确定", "ALPHA", "gamma"});
    list.SetSorted(sorted);
    EXPECT_EQ(list[list.IndexOf("BETA")], "Beta");
    EXPECT_EQ(list[list.IndexOf("确定")], "确定");
    EXPECT_EQ(list.IndexOf("gam"), -1);
    EXPECT_EQ(list.IndexOf(""), -1);
    // The first of the equal entries is found.
    EXPECT_EQ(list[list.IndexOf("Alpha")], "alpha");
  }
}

TEST(StringListTest, SortingIsCaseInsensitiveAndStable) {
  StringList list;
  const Lines texts = {"b", "A", "c", "a", "B", "#"};
  for (size_t i = 0; i < texts.size(); ++i) list.Add(texts[i], static_cast<intptr_t>(i));
  list.SetSorted(true);
  EXPECT_EQ(list.Strings(), (Lines{"#", "A", "a", "b", "B", "c"}));
  EXPECT_EQ(ObjectsOf(list), (std::vector<intptr_t>{5, 1, 3, 0, 4, 2}));

  // Further additions go to their sorted place.
  EXPECT_EQ(list.Add("bb", 7), 5);
  EXPECT_EQ(list.Add("0"), 1);
  EXPECT_EQ(list.Strings(), (Lines{"#", "0", "A", "a", "b", "B", "bb", "c"}));
}

TEST(StringListTest, SortedAddHandlesDuplicatesByTheChosenRule) {
  struct Case {
    StringList::Duplicates rule;
    int expectedIndex;  // -1: raises
    Lines expected;
  };
  const Case cases[] = {
      {StringList::Duplicates::Accept, 3, {"a", "m", "M", "m", "z"}},
      {StringList::Duplicates::Ignore, 1, {"a", "m", "M", "z"}},
      {StringList::Duplicates::Error, -1, {"a", "m", "M", "z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.rule));
    StringList list = ListOf({"z", "m", "a", "M"});
    list.SetSorted(true);
    list.SetDuplicates(c.rule);
    if (c.expectedIndex < 0) {
      try {
        list.Add("m", 9);
        ADD_FAILURE() << "no exception";
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
      }
    } else {
      EXPECT_EQ(list.Add("m", 9), c.expectedIndex);
    }
    EXPECT_EQ(list.Strings(), c.expected);
  }
}

TEST(StringListTest, SortedListRefusesPlacedWrites) {
  StringList list = ListOf({"b", "a"});
  list.SetSorted(true);
  for (const auto& op : std::vector<std::function<void()>>{[&] { list.Insert(0, "z"); },
                                                           [&] { list.Set(0, "z"); }}) {
    try {
      op();
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Operation not allowed on sorted string list");
    }
  }
  EXPECT_EQ(list.Strings(), (Lines{"a", "b"}));
  // Unsorted again, the list accepts them and keeps its order.
  list.SetSorted(false);
  list.Insert(0, "z");
  EXPECT_EQ(list.Strings(), (Lines{"z", "a", "b"}));
}

TEST(StringListTest, NameValueAccess) {
  const StringList list = ListOf({"a=1", "B=2", "noeq", "b=3", "c=", "x=y=z", "=v"});
  struct Case {
    int index;
    const char* name;
    const char* value;
  };
  const Case entries[] = {{0, "a", "1"}, {1, "B", "2"},   {2, "", ""}, {3, "b", "3"},
                          {4, "c", ""},  {5, "x", "y=z"}, {6, "", "v"}};
  for (const Case& c : entries) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(list.Name(c.index), c.name);
    EXPECT_EQ(list.ValueFromIndex(c.index), c.value);
  }
  struct Lookup {
    const char* name;
    int index;
    const char* value;
  };
  const Lookup lookups[] = {{"A", 0, "1"}, {"b", 1, "2"},   {"noeq", -1, ""},
                            {"c", 4, ""},  {"X", 5, "y=z"}, {"missing", -1, ""}};
  for (const Lookup& l : lookups) {
    SCOPED_TRACE(l.name);
    EXPECT_EQ(list.IndexOfName(l.name), l.index);
    EXPECT_EQ(list.Value(l.name), l.value);
  }
}

TEST(StringListTest, SetValueReplacesAddsAndDeletes) {
  StringList list = ListOf({"a=1", "b=2", "c=3"});
  list.SetObject(1, 42);
  list.SetValue("B", "20");
  list.SetValue("d", "4");
  list.SetValue("a", "");
  list.SetValue("missing", "");
  EXPECT_EQ(list.Strings(), (Lines{"B=20", "c=3", "d=4"}));
  EXPECT_EQ(list.Object(0), 42);

  StringList sorted = ListOf({"b=2", "m=1"});
  sorted.SetSorted(true);
  sorted.SetValue("b", "zz");
  sorted.SetValue("a", "0");
  EXPECT_EQ(sorted.Strings(), (Lines{"a=0", "b=zz", "m=1"}));
}

TEST(StringListTest, TextSplitsAtEveryLineBreakKind) {
  struct Case {
    const char* text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"\r\n", {""}},
      {" x \r\n", {" x "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    StringList list;
    list.Add("old");
    list.SetText(c.text);
    EXPECT_EQ(list.Strings(), c.lines);
  }
  EXPECT_EQ(ListOf({"a", "", "确定"}).Text(), "a\r\n\r\n确定\r\n");
  EXPECT_EQ(StringList().Text(), "");
}

TEST(StringListTest, CommaTextQuotesWhatWouldSplit) {
  struct Case {
    Lines lines;
    const char* text;
  };
  const Case cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"a", "b"}, "a,b"},
      {{"a", "", "b"}, "a,,b"},
      {{"b c", "d,e", "say \"hi\""}, "\"b c\",\"d,e\",\"say \"\"hi\"\"\""},
      {{"tab\there", "\x01"}, "\"tab\there\",\"\x01\""},
      {{"确定", "a=b"}, "确定,a=b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ListOf(c.lines).CommaText(), c.text);
    StringList back;
    back.SetCommaText(c.text);
    EXPECT_EQ(back.Strings(), c.lines) << "the written form does not read back";
  }
}

TEST(StringListTest, SetCommaTextReadsTheLooseForms) {
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"a b", {"a", "b"}},
      {"  a , b  ", {"a", "b"}},
      {"a,", {"a"}},
      {",a", {"", "a"}},
      {"a,,b", {"a", "", "b"}},
      {"\"x\"\"y\",z", {"x\"y", "z"}},
      {"\"open", {"open"}},
      {"\"a b\"c", {"a b", "c"}},
      {"x\"y\"", {"x\"y\""}},
      {std::string("a,b\0c", 5), {"a", "b"}},
      {"   ", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    StringList list;
    list.Add("old");
    list.SetCommaText(c.text);
    EXPECT_EQ(list.Strings(), c.lines);
  }
}

}  // namespace
}  // namespace platform
