#include "platform/core/Variant.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/Exception.h"

namespace platform {
namespace {

// Kinds that would be narrowed or misread must not make a Variant.
static_assert(!std::is_constructible_v<Variant, std::nullptr_t>);
static_assert(!std::is_constructible_v<Variant, long long>);
static_assert(!std::is_constructible_v<Variant, unsigned int>);
static_assert(!std::is_constructible_v<Variant, float>);
static_assert(!std::is_constructible_v<Variant, char>);
static_assert(!std::is_constructible_v<Variant, int*>);
static_assert(!std::is_constructible_v<Variant, const void*>);
static_assert(std::is_constructible_v<Variant, const char*>);
static_assert(std::is_constructible_v<Variant, const char16_t*>);

class Probe : public Dispatch {
 public:
  Variant Invoke(std::string_view, std::vector<Variant>&) override { return {}; }
  Variant GetProperty(std::string_view) override { return {}; }
  void PutProperty(std::string_view, const Variant&) override {}
  std::string ClassName() const override { return "Probe"; }
};

TEST(VariantKinds, EachConstructorGivesItsKind) {
  const struct {
    Variant value;
    VarType type;
  } cases[] = {
      {Variant(), VarType::Empty},
      {Variant::Null(), VarType::Null},
      {Variant(true), VarType::Boolean},
      {Variant(int16_t{7}), VarType::SmallInt},
      {Variant(7), VarType::Integer},
      {Variant(7.5), VarType::Double},
      {Variant(Currency{75000}), VarType::Currency},
      {Variant(DateTime{45000}), VarType::Date},
      {Variant("abc"), VarType::String},
      {Variant(std::string("abc")), VarType::String},
      {Variant(std::string_view("abc")), VarType::String},
      {Variant(u"abc"), VarType::OleStr},
      {Variant(std::u16string(u"abc")), VarType::OleStr},
      {Variant(DispatchPtr(std::make_shared<Probe>())), VarType::Dispatch},
      {VarArrayOf({1, 2}), VarType::Array},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(VarTypeName(c.type));
    EXPECT_EQ(c.value.Type(), c.type);
    EXPECT_EQ(c.value.IsEmpty(), c.type == VarType::Empty);
    EXPECT_EQ(c.value.IsNull(), c.type == VarType::Null);
    EXPECT_EQ(c.value.IsArray(), c.type == VarType::Array);
    EXPECT_EQ(c.value.IsString(), c.type == VarType::String || c.type == VarType::OleStr);
    const bool numeric = c.type == VarType::SmallInt || c.type == VarType::Integer ||
                         c.type == VarType::Double || c.type == VarType::Currency;
    EXPECT_EQ(c.value.IsNumeric(), numeric);
  }
}

TEST(VariantKinds, NullPointerTextsAreEmptyStrings) {
  EXPECT_EQ(Variant(static_cast<const char*>(nullptr)), Variant(""));
  EXPECT_EQ(Variant(static_cast<const char16_t*>(nullptr)), Variant(u""));
}

TEST(VariantKinds, TypeCodesAreTheAutomationCodes) {
  // Stored and sent as numbers, so they must not drift.
  EXPECT_EQ(static_cast<int>(VarType::Boolean), 11);
  EXPECT_EQ(static_cast<int>(VarType::OleStr), 8);
  EXPECT_EQ(static_cast<int>(VarType::String), 0x100);
  EXPECT_EQ(static_cast<int>(VarType::Array), 0x200C);
  EXPECT_STREQ(VarTypeName(VarType::String), "String");
  EXPECT_STREQ(VarTypeName(VarType::Array), "Array of Variant");
}

TEST(VariantEquality, IsStrictAboutKind) {
  EXPECT_EQ(Variant(1), Variant(1));
  EXPECT_NE(Variant(1), Variant(int16_t{1}));
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant("1"), Variant(u"1"));
  EXPECT_NE(Variant(), Variant::Null());
  EXPECT_EQ(Variant::Null(), Variant::Null());
  EXPECT_NE(VarArrayOf({1, 2}), VarArrayOf({1, 3}));
  // Same elements, other bounds.
  Variant shifted = VarArrayCreate({{1, 2}});
  shifted[1] = 1;
  shifted[2] = 2;
  EXPECT_NE(shifted, VarArrayOf({1, 2}));
  // Objects compare by identity.
  auto a = std::make_shared<Probe>();
  EXPECT_EQ(Variant(DispatchPtr(a)), Variant(DispatchPtr(a)));
  EXPECT_NE(Variant(DispatchPtr(a)), Variant(DispatchPtr(std::make_shared<Probe>())));
}

// ---------------------------------------------------------------------------
// Copy and move

TEST(VariantCopy, ArraysAreCopiedDeeply) {
  Variant original = VarArrayOf({1, VarArrayOf({"inner"})});
  Variant copy = original;
  copy[0] = 99;
  copy[1][0] = "changed";
  EXPECT_EQ(original[0], Variant(1));
  EXPECT_EQ(original[1][0], Variant("inner"));

  Variant assigned;
  assigned = original;
  assigned[1].Redim(3);
  EXPECT_EQ(original[1].HighBound(), 0);
  EXPECT_EQ(assigned[1].HighBound(), 3);
}

TEST(VariantCopy, ObjectsAreShared) {
  auto object = std::make_shared<Probe>();
  {
    Variant v{DispatchPtr(object)};
    Variant copy = v;
    EXPECT_EQ(object.use_count(), 3);
    EXPECT_EQ(copy.AsDispatch().get(), object.get());
  }
  EXPECT_EQ(object.use_count(), 1);
}

TEST(VariantCopy, MoveLeavesTheSourceEmpty) {
  Variant source = VarArrayOf({1, 2, 3});
  Variant target = std::move(source);
  EXPECT_TRUE(
      source.IsEmpty());  // NOLINT(bugprone-use-after-move): the state is part of the contract
  EXPECT_EQ(target.HighBound(), 2);

  Variant text("abc");
  target = std::move(text);
  EXPECT_TRUE(text.IsEmpty());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(target, Variant("abc"));
}

TEST(VariantCopy, AssigningAnElementToItsOwnArray) {
  // The element lives inside the array being replaced; it must be taken
  // before the array goes.
  Variant v = VarArrayOf({VarArrayOf({1, 2}), 3});
  v = v[0];
  EXPECT_EQ(v, VarArrayOf({1, 2}));

  Variant w = VarArrayOf({VarArrayOf({"x"})});
  w = std::move(w[0]);
  EXPECT_EQ(w, VarArrayOf({"x"}));

  Variant self = VarArrayOf({1});
  const Variant& alias = self;
  self = alias;
  EXPECT_EQ(self, VarArrayOf({1}));
}

// ---------------------------------------------------------------------------
// Arrays

TEST(VarArrayBounds, OneAndTwoDimensions) {
  const struct {
    std::vector<ArrayBound> bounds;
    size_t size;
  } cases[] = {
      {{{0, 4}}, 5},          {{{1, 1}}, 1},
      {{{-3, 2}}, 6},         {{{5, 4}}, 0},  // empty dimension
      {{{-10, -11}}, 0},      {{{0, 3}, {0, 7}}, 32},
      {{{-1, 1}, {2, 3}}, 6}, {{{0, 3}, {1, 0}}, 0},
  };
  for (const auto& c : cases) {
    VarArray a(c.bounds);
    ASSERT_EQ(a.DimCount(), static_cast<int>(c.bounds.size()));
    EXPECT_EQ(a.Size(), c.size);
    for (int d = 1; d <= a.DimCount(); ++d) {
      EXPECT_EQ(a.Bounds(d), c.bounds[static_cast<size_t>(d - 1)]);
    }
    for (const Variant& item : a.Items()) EXPECT_TRUE(item.IsEmpty());
  }
}

TEST(VarArrayBounds, OddBoundsRaise) {
  const std::vector<ArrayBound> cases[] = {
      {},                          // no dimension
      {{0, -2}},                   // High < Low - 1
      {{5, 2}},                    //
      {{0, 1}, {3, 0}},            // second dimension
      {{0, 1}, {0, 1}, {0, 1}},    // three dimensions
      {{INT32_MIN, INT32_MAX}},    // cannot be held
      {{0, 100000}, {0, 100000}},  //
      {{INT32_MAX, INT32_MIN}},    // no overflow into a "valid" count
  };
  for (const auto& bounds : cases) {
    SCOPED_TRACE(bounds.size());
    EXPECT_THROW(VarArray{bounds}, EVariantError);
  }
}

TEST(VarArrayBounds, IndexOutsideTheBoundsRaises) {
  Variant one = VarArrayCreate({{-2, 2}});
  Variant two = VarArrayCreate({{1, 2}, {-1, 0}});
  Variant empty = VarArrayCreate({{0, -1}});
  for (int32_t i : {-3, 3, INT32_MIN, INT32_MAX}) EXPECT_THROW(one[i], EVariantError) << i;
  EXPECT_NO_THROW(one[-2]);
  EXPECT_NO_THROW(one[2]);
  EXPECT_THROW(empty[0], EVariantError);
  EXPECT_THROW(two.At(0, 0), EVariantError);
  EXPECT_THROW(two.At(3, 0), EVariantError);
  EXPECT_THROW(two.At(1, 1), EVariantError);
  EXPECT_THROW(two.At(1, -2), EVariantError);
  EXPECT_NO_THROW(two.At(2, -1));
  // The wrong number of indexes.
  EXPECT_THROW(two[1], EVariantError);
  EXPECT_THROW(one.At(0, 0), EVariantError);
  try {
    one[5];
    FAIL() << "no exception";
  } catch (const EVariantError& e) {
    EXPECT_EQ(e.Message(), "Variant array index out of bounds");
  }
}

TEST(VarArrayBounds, DimensionQueries) {
  Variant two = VarArrayCreate({{-1, 1}, {2, 3}});
  EXPECT_EQ(two.DimCount(), 2);
  EXPECT_EQ(two.LowBound(1), -1);
  EXPECT_EQ(two.HighBound(1), 1);
  EXPECT_EQ(two.LowBound(2), 2);
  EXPECT_EQ(two.HighBound(2), 3);
  EXPECT_THROW(two.LowBound(3), EVariantError);
  EXPECT_THROW(two.HighBound(0), EVariantError);
  EXPECT_EQ(Variant(5).DimCount(), 0);
  EXPECT_THROW(Variant(5).LowBound(), EVariantError);
  EXPECT_THROW(Variant("abc")[0], EVariantError);
  EXPECT_THROW(Variant().Redim(3), EVariantError);
}

TEST(VarArrayBounds, TwoDimensionsRunFirstIndexFastest) {
  Variant grid = VarArrayCreate({{0, 2}, {1, 2}});
  for (int32_t i = 0; i <= 2; ++i) {
    for (int32_t j = 1; j <= 2; ++j) grid.At(i, j) = i * 10 + j;
  }
  std::vector<int32_t> stored;
  for (const Variant& v : grid.Array().Items()) stored.push_back(v.AsInteger());
  EXPECT_EQ(stored, (std::vector<int32_t>{1, 11, 21, 2, 12, 22}));
}

TEST(VarArrayRedim, KeepsElementsInBounds) {
  const struct {
    int32_t low, high, newHigh;
  } cases[] = {
      {0, 4, 9},    // grow
      {0, 4, 2},    // shrink
      {0, 4, -1},   // to empty
      {-3, -1, 1},  // negative lower bound
      {5, 4, 6},    // from empty
      {2, 3, 3},    // same size
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.newHigh);
    Variant a = VarArrayCreate({{c.low, c.high}});
    for (int32_t i = c.low; i <= c.high; ++i) a[i] = i * 100;
    a.Redim(c.newHigh);
    EXPECT_EQ(a.LowBound(), c.low);
    EXPECT_EQ(a.HighBound(), c.newHigh);
    for (int32_t i = c.low; i <= c.newHigh; ++i) {
      EXPECT_EQ(a[i], i <= c.high ? Variant(i * 100) : Variant()) << i;
    }
    EXPECT_THROW(a[c.newHigh + 1], EVariantError);
  }
}

TEST(VarArrayRedim, LastDimensionOfAGrid) {
  Variant grid = VarArrayCreate({{0, 1}, {0, 1}});
  grid.At(0, 0) = "a";
  grid.At(1, 0) = "b";
  grid.At(0, 1) = "c";
  grid.At(1, 1) = "d";
  grid.Redim(3);
  EXPECT_EQ(grid.HighBound(1), 1);
  EXPECT_EQ(grid.HighBound(2), 3);
  EXPECT_EQ(grid.At(0, 0), Variant("a"));
  EXPECT_EQ(grid.At(1, 0), Variant("b"));
  EXPECT_EQ(grid.At(0, 1), Variant("c"));
  EXPECT_EQ(grid.At(1, 1), Variant("d"));
  EXPECT_TRUE(grid.At(1, 3).IsEmpty());
  grid.Redim(0);
  EXPECT_EQ(grid.At(1, 0), Variant("b"));
  EXPECT_THROW(grid.At(0, 1), EVariantError);
}

TEST(VarArrayRedim, BelowTheLowerBoundRaisesAndKeepsTheArray) {
  Variant a = VarArrayCreate({{1, 3}});
  a[3] = 7;
  EXPECT_THROW(a.Redim(-1), EVariantError);
  EXPECT_THROW(a.Redim(INT32_MIN), EVariantError);
  EXPECT_EQ(a.HighBound(), 3);
  EXPECT_EQ(a[3], Variant(7));
}

TEST(VarArrayOfTest, BoundsStartAtZero) {
  Variant a = VarArrayOf({"x", 2, 3.5});
  EXPECT_EQ(a.LowBound(), 0);
  EXPECT_EQ(a.HighBound(), 2);
  EXPECT_EQ(a[0], Variant("x"));
  EXPECT_EQ(a[2], Variant(3.5));
  Variant none = VarArrayOf({});
  EXPECT_EQ(none.DimCount(), 1);
  EXPECT_EQ(none.HighBound(), -1);
  EXPECT_EQ(none.Array().Size(), 0u);
}

}  // namespace
}  // namespace platform
