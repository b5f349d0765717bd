#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/core/DateTime.h"

namespace platform {

class Dispatch;
using DispatchPtr = std::shared_ptr<Dispatch>;
class Variant;

/* The kinds a Variant can hold. The numbers are the automation type codes,
   so that they can be stored and sent as they are. */
enum class VarType : uint16_t {
  Empty = 0,  // unassigned
  Null = 1,
  SmallInt = 2,  // 16-bit integer
  Integer = 3,   // 32-bit integer
  Double = 5,
  Currency = 6,
  Date = 7,        // DateTime
  OleStr = 8,      // wide string (UTF-16)
  Dispatch = 9,    // automation object
  Boolean = 11,    // true is all bits set (-1)
  String = 0x100,  // byte string in an ANSI code page
  Array = 0x200C,  // array of Variants
};

/* The name of a kind as the runtime's error messages print it ("String",
   "Integer", "Array of Variant", ...). */
const char* VarTypeName(VarType type);

/* Fixed-point money value: the number times 10000. */
struct Currency {
  int64_t Scaled = 0;
  /* Rounds half to even at 4 decimals; raises EVariantError (overflow) for
     a value beyond the range or not a number. */
  static Currency FromDouble(double value);
  double ToDouble() const { return static_cast<double>(Scaled) / 10000.0; }
  friend bool operator==(Currency, Currency) = default;
};

/* Bounds of one array dimension. An empty dimension has High = Low - 1. */
struct ArrayBound {
  int32_t Low = 0;
  int32_t High = -1;
  int32_t Count() const { return High - Low + 1; }
  friend bool operator==(ArrayBound, ArrayBound) = default;
};

/* An array of Variants with one or two dimensions and any bounds. Elements
   are stored with the first index running fastest, so resizing the last
   dimension keeps every element that stays in bounds. */
class VarArray {
 public:
  VarArray() = default;
  /* All elements empty. Raises EVariantError for no dimensions, more than
     two, High < Low - 1, or more elements than memory could ever hold. */
  explicit VarArray(std::vector<ArrayBound> bounds);

  int DimCount() const { return static_cast<int>(bounds_.size()); }
  /* Dim is 1-based. Raises EVariantError for a dimension that does not exist. */
  ArrayBound Bounds(int dim) const;
  // Defined out of line: clang instantiates the vector's constexpr size()
  // here, where Variant is still incomplete.
  size_t Size() const;

  /* Element access; raises EVariantError ("Variant array index out of bounds")
     for an index outside the bounds or the wrong number of indexes. */
  Variant& At(int32_t i);
  const Variant& At(int32_t i) const;
  Variant& At(int32_t i, int32_t j);
  const Variant& At(int32_t i, int32_t j) const;

  /* Changes the high bound of the last dimension, keeping the elements that
     stay in bounds; new elements are empty. Raises EVariantError for a high
     bound below Low - 1 or an array without dimensions. */
  void Redim(int32_t highBound);

  /* All elements in storage order (first index fastest). */
  std::vector<Variant>& Items() { return items_; }
  const std::vector<Variant>& Items() const { return items_; }

  friend bool operator==(const VarArray&, const VarArray&);

 private:
  size_t Offset(int32_t i) const;
  size_t Offset(int32_t i, int32_t j) const;

  std::vector<ArrayBound> bounds_;
  std::vector<Variant> items_;
};

/* The automation value. Copies are deep: an array is copied with its
   elements; a dispatch object is shared (reference-counted). A Variant moved
   from is Empty. Assigning an element of an array to that array is safe.

   Conversions follow the platform's rules and live in VariantConv.cpp: As...()
   converts to the asked kind and raises EVariantError when it cannot, with
   the message "Could not convert variant of type (String) into type
   (Integer)", or "Overflow while converting variant of type (..) into type
   (..)" when the value does not fit.
   - Empty reads as 0, "", false, date 0 and no object; Null, arrays and
     objects convert to nothing else (VarToStr gives "" for Null).
   - Booleans: true reads as -1 and as "True", false as 0 and "False"; any
     non-zero number or date is true.
   - Numbers: a fraction becomes a whole number rounded half to even; text
     is a decimal number with "." (blanks around it allowed), a whole number
     in "$" or "0x" hexadecimal, or "True" / "False" in any case. Numbers
     become text by IntToStr and FloatToStr; a currency with up to 4 decimals.
   - Dates are read from and written as text by TryStrToDateTime and
     DateTimeToStr; as numbers they are their date-time number.
   - A wide string becomes bytes in the system code page (WideToAnsi) and
     bytes become wide text by AnsiToWide (see CodePage.h). */
class Variant {
 public:
  Variant() noexcept;
  static Variant Null();

  Variant(bool value);
  Variant(int16_t value);
  Variant(int32_t value);
  Variant(double value);
  Variant(Currency value);
  Variant(DateTime value);
  Variant(const char* bytes);
  Variant(std::string bytes);
  Variant(std::string_view bytes);
  Variant(const char16_t* wide);
  Variant(std::u16string wide);
  Variant(DispatchPtr object);
  Variant(VarArray array);

  // Kinds that would be silently narrowed or misread are refused.
  Variant(std::nullptr_t) = delete;
  Variant(char) = delete;
  Variant(unsigned char) = delete;
  Variant(unsigned short) = delete;
  Variant(unsigned int) = delete;
  Variant(long) = delete;
  Variant(unsigned long) = delete;
  Variant(long long) = delete;
  Variant(unsigned long long) = delete;
  Variant(float) = delete;
  // clang-format off
  template <class T>
    requires(!std::is_same_v<std::remove_cv_t<T>, char> &&
             !std::is_same_v<std::remove_cv_t<T>, char16_t>)
  Variant(T*) = delete;
  // clang-format on

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  VarType Type() const noexcept { return type_; }
  bool IsEmpty() const noexcept { return type_ == VarType::Empty; }
  bool IsNull() const noexcept { return type_ == VarType::Null; }
  bool IsArray() const noexcept { return type_ == VarType::Array; }
  bool IsString() const noexcept { return type_ == VarType::String || type_ == VarType::OleStr; }
  bool IsNumeric() const noexcept;  // the integer kinds, Double and Currency

  // Conversions; each raises EVariantError when the value cannot be converted.
  bool AsBoolean() const;
  int16_t AsSmallInt() const;
  int32_t AsInteger() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  DateTime AsDate() const;
  std::string AsString() const;  // byte string; Empty gives "", Null raises
  std::u16string AsWideString() const;
  DispatchPtr AsDispatch() const;  // Empty gives no object

  /* Returns a new Variant of the given kind converted from this one (Empty
     and Null stay as they are unless the kind is Empty or Null). */
  Variant ChangeType(VarType type) const;

  // Arrays. Each raises EVariantError when the Variant is not an array.
  VarArray& Array();
  const VarArray& Array() const;
  int DimCount() const;  // 0 when the Variant is not an array
  int32_t LowBound(int dim = 1) const;
  int32_t HighBound(int dim = 1) const;
  Variant& operator[](int32_t i) { return Array().At(i); }
  const Variant& operator[](int32_t i) const { return Array().At(i); }
  Variant& At(int32_t i, int32_t j) { return Array().At(i, j); }
  const Variant& At(int32_t i, int32_t j) const { return Array().At(i, j); }
  void Redim(int32_t highBound) { Array().Redim(highBound); }

  /* Same kind and same value; arrays compare bounds and elements, objects
     by identity. This is not the platform's loose comparison. */
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  // The layout below is private to Variant.cpp and VariantConv.cpp.
  VarType type_;
  std::variant<std::monostate, bool, int16_t, int32_t, double, Currency, DateTime, std::string,
               std::u16string, DispatchPtr, std::unique_ptr<VarArray>>
      value_;
  friend struct VariantAccess;
};

/* A one-dimensional array with bounds 0 to n-1 holding the given values. */
Variant VarArrayOf(std::initializer_list<Variant> values);

/* An array with the given bounds (one or two dimensions), all elements empty. */
Variant VarArrayCreate(std::initializer_list<ArrayBound> bounds);

/* Text of a Variant: "" for Empty and Null, else AsString(). */
std::string VarToStr(const Variant& value);

/* Wide text of a Variant: u"" for Empty and Null, else AsWideString(). */
std::u16string VarToWideStr(const Variant& value);

}  // namespace platform
