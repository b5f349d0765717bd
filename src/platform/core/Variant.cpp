#include "platform/core/Variant.h"

#include <utility>

#include "platform/core/Exception.h"

namespace platform {

namespace {

[[noreturn]] void RaiseIndexError() { throw EVariantError("Variant array index out of bounds"); }

[[noreturn]] void RaiseNotArray() { throw EVariantError("Variant is not an array"); }

}  // namespace

const char* VarTypeName(VarType type) {
  switch (type) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::SmallInt:
      return "SmallInt";
    case VarType::Integer:
      return "Integer";
    case VarType::Double:
      return "Double";
    case VarType::Currency:
      return "Currency";
    case VarType::Date:
      return "Date";
    case VarType::OleStr:
      return "OleStr";
    case VarType::Dispatch:
      return "Dispatch";
    case VarType::Boolean:
      return "Boolean";
    case VarType::String:
      return "String";
    case VarType::Array:
      return "Array of Variant";
  }
  return "Unknown";
}

// ---------------------------------------------------------------------------
// VarArray

VarArray::VarArray(std::vector<ArrayBound> bounds) : bounds_(std::move(bounds)) {
  if (bounds_.empty() || bounds_.size() > 2) {
    throw EVariantError("Variant array must have one or two dimensions");
  }
  size_t total = 1;
  for (const ArrayBound& b : bounds_) {
    // Counted in 64 bits: High - Low can overflow 32 bits for extreme bounds.
    const int64_t count = int64_t{b.High} - int64_t{b.Low} + 1;
    if (count < 0) throw EVariantError("Variant array bounds are invalid");
    total *= static_cast<size_t>(count);
    // One element is already far more than 16 bytes; refuse sizes that cannot
    // be real rather than fail deep inside the allocator.
    if (total > (size_t{1} << 28)) throw EVariantError("Variant array is too large");
  }
  items_.resize(total);
}

ArrayBound VarArray::Bounds(int dim) const {
  if (dim < 1 || dim > DimCount()) throw EVariantError("Variant array dimension out of range");
  return bounds_[static_cast<size_t>(dim - 1)];
}

size_t VarArray::Size() const { return items_.size(); }

size_t VarArray::Offset(int32_t i) const {
  if (bounds_.size() != 1) RaiseIndexError();
  const ArrayBound& b = bounds_[0];
  if (i < b.Low || i > b.High) RaiseIndexError();
  return static_cast<size_t>(int64_t{i} - b.Low);
}

size_t VarArray::Offset(int32_t i, int32_t j) const {
  if (bounds_.size() != 2) RaiseIndexError();
  const ArrayBound& b0 = bounds_[0];
  const ArrayBound& b1 = bounds_[1];
  if (i < b0.Low || i > b0.High || j < b1.Low || j > b1.High) RaiseIndexError();
  const auto count0 = static_cast<size_t>(int64_t{b0.High} - b0.Low + 1);
  return static_cast<size_t>(int64_t{i} - b0.Low) +
         static_cast<size_t>(int64_t{j} - b1.Low) * count0;
}

Variant& VarArray::At(int32_t i) { return items_[Offset(i)]; }
const Variant& VarArray::At(int32_t i) const { return items_[Offset(i)]; }
Variant& VarArray::At(int32_t i, int32_t j) { return items_[Offset(i, j)]; }
const Variant& VarArray::At(int32_t i, int32_t j) const { return items_[Offset(i, j)]; }

void VarArray::Redim(int32_t highBound) {
  if (bounds_.empty()) throw EVariantError("Variant array has no dimensions");
  ArrayBound& last = bounds_.back();
  const int64_t count = int64_t{highBound} - int64_t{last.Low} + 1;
  if (count < 0) throw EVariantError("Variant array bounds are invalid");
  size_t stride = 1;
  for (size_t d = 0; d + 1 < bounds_.size(); ++d) {
    stride *= static_cast<size_t>(bounds_[d].Count());
  }
  const size_t total = stride * static_cast<size_t>(count);
  if (total > (size_t{1} << 28)) throw EVariantError("Variant array is too large");
  // The last dimension runs slowest, so its elements are whole blocks at the
  // end of the storage: resizing keeps everything that stays in bounds.
  items_.resize(total);
  last.High = highBound;
}

bool operator==(const VarArray& a, const VarArray& b) {
  return a.bounds_ == b.bounds_ && a.items_ == b.items_;
}

// ---------------------------------------------------------------------------
// Variant: construction, copy, move

Variant::Variant() noexcept : type_(VarType::Empty), value_() {}

Variant Variant::Null() {
  Variant v;
  v.type_ = VarType::Null;
  return v;
}

Variant::Variant(bool value) : type_(VarType::Boolean), value_(value) {}
Variant::Variant(int16_t value) : type_(VarType::SmallInt), value_(value) {}
Variant::Variant(int32_t value) : type_(VarType::Integer), value_(value) {}
Variant::Variant(double value) : type_(VarType::Double), value_(value) {}
Variant::Variant(Currency value) : type_(VarType::Currency), value_(value) {}
Variant::Variant(DateTime value) : type_(VarType::Date), value_(value) {}
Variant::Variant(const char* bytes)
    : type_(VarType::String), value_(std::string(bytes ? bytes : "")) {}
Variant::Variant(std::string bytes) : type_(VarType::String), value_(std::move(bytes)) {}
Variant::Variant(std::string_view bytes) : type_(VarType::String), value_(std::string(bytes)) {}
Variant::Variant(const char16_t* wide)
    : type_(VarType::OleStr), value_(std::u16string(wide ? wide : u"")) {}
Variant::Variant(std::u16string wide) : type_(VarType::OleStr), value_(std::move(wide)) {}
Variant::Variant(DispatchPtr object) : type_(VarType::Dispatch), value_(std::move(object)) {}
Variant::Variant(VarArray array)
    : type_(VarType::Array), value_(std::make_unique<VarArray>(std::move(array))) {}

Variant::Variant(const Variant& other) : type_(other.type_) {
  if (const auto* array = std::get_if<std::unique_ptr<VarArray>>(&other.value_)) {
    value_ = std::make_unique<VarArray>(**array);
  } else {
    // Every other alternative copies as a value (the object pointer shares).
    std::visit(
        [this](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (!std::is_same_v<T, std::unique_ptr<VarArray>>) value_ = v;
        },
        other.value_);
  }
}

Variant::Variant(Variant&& other) noexcept
    : type_(std::exchange(other.type_, VarType::Empty)),
      value_(std::exchange(other.value_, std::monostate{})) {}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    // Copy first: other may be an element of this Variant's own array.
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    // Take other's value before dropping ours, for the same reason as above.
    auto value = std::exchange(other.value_, std::monostate{});
    type_ = std::exchange(other.type_, VarType::Empty);
    value_ = std::move(value);
  }
  return *this;
}

Variant::~Variant() = default;

bool Variant::IsNumeric() const noexcept {
  switch (type_) {
    case VarType::SmallInt:
    case VarType::Integer:
    case VarType::Double:
    case VarType::Currency:
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Arrays

VarArray& Variant::Array() {
  auto* array = std::get_if<std::unique_ptr<VarArray>>(&value_);
  if (array == nullptr) RaiseNotArray();
  return **array;
}

const VarArray& Variant::Array() const {
  const auto* array = std::get_if<std::unique_ptr<VarArray>>(&value_);
  if (array == nullptr) RaiseNotArray();
  return **array;
}

int Variant::DimCount() const { return IsArray() ? Array().DimCount() : 0; }
int32_t Variant::LowBound(int dim) const { return Array().Bounds(dim).Low; }
int32_t Variant::HighBound(int dim) const { return Array().Bounds(dim).High; }

bool operator==(const Variant& a, const Variant& b) {
  if (a.type_ != b.type_) return false;
  if (a.type_ == VarType::Array) return a.Array() == b.Array();
  return a.value_ == b.value_;
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
  VarArray array({ArrayBound{0, static_cast<int32_t>(values.size()) - 1}});
  size_t k = 0;
  for (const Variant& v : values) array.Items()[k++] = v;
  return Variant(std::move(array));
}

Variant VarArrayCreate(std::initializer_list<ArrayBound> bounds) {
  return Variant(VarArray(std::vector<ArrayBound>(bounds)));
}

}  // namespace platform
