#include "FolianUtils/variant.h"

#include <atomic>
#include <cmath>
#include <new>
#include <utility>

namespace velmar::utils {

VariantCastError::VariantCastError(const std::string& type_name, const std::string& reason)
    : std::runtime_error("Could not cast Variant to " + type_name + ": " + reason) {}

VariantCastError::~VariantCastError() = default;

// The count comes first so that both libraries agree on the block's layout.
struct Variant::SharedString {
  explicit SharedString(velmar_ustring&& value) : text(std::move(value)) {}

  std::atomic<std::uint32_t> references{1};
  velmar_ustring text;
};

Variant::Variant() noexcept { m_payload.bits = 0; }

Variant::Variant(bool value) noexcept : m_type(kBool) {
  m_payload.bits = 0;
  m_payload.b = value;
}

Variant::Variant(std::int8_t value) noexcept : m_type(kInt8) {
  m_payload.bits = 0;
  m_payload.i8 = value;
}

Variant::Variant(std::int16_t value) noexcept : m_type(kInt16) {
  m_payload.bits = 0;
  m_payload.i16 = value;
}

Variant::Variant(std::int32_t value) noexcept : m_type(kInt32) {
  m_payload.bits = 0;
  m_payload.i32 = value;
}

Variant::Variant(std::int64_t value) noexcept : m_type(kInt64) { m_payload.i64 = value; }

Variant::Variant(float value) noexcept : m_type(kFloat) {
  m_payload.bits = 0;
  m_payload.f = value;
}

Variant::Variant(double value) noexcept : m_type(kDouble) { m_payload.d = value; }

Variant::Variant(const velmar_ustring& value) : Variant(velmar_ustring(value)) {}

Variant::Variant(velmar_ustring&& value) : m_type(kString) {
  m_payload.string = new SharedString(std::move(value));
}

Variant::Variant(const VariantVector& value) : m_type(kVector) {
  m_payload.vector = new VariantVector(value);
}

Variant::Variant(VariantVector&& value) : m_type(kVector) {
  m_payload.vector = new VariantVector(std::move(value));
}

Variant::Variant(const Dictionary& value) : m_type(kDictionary) {
  m_payload.dictionary = new Dictionary(value);
}

Variant::Variant(Dictionary&& value) : m_type(kDictionary) {
  m_payload.dictionary = new Dictionary(std::move(value));
}

Variant::Variant(const KeyValuePairs& value) : m_type(kKeyValuePairs) {
  m_payload.pairs = new KeyValuePairs(value);
}

Variant::Variant(KeyValuePairs&& value) : m_type(kKeyValuePairs) {
  m_payload.pairs = new KeyValuePairs(std::move(value));
}

Variant Variant::Timestamp(std::uint64_t value) noexcept {
  Variant result;
  result.m_type = kTimestamp;
  result.m_payload.timestamp = value;
  return result;
}

Variant::Variant(const Variant& other) : m_type(other.m_type), m_payload(other.m_payload) {
  switch (m_type) {
    case kString:
      m_payload.string->references.fetch_add(1, std::memory_order_relaxed);
      break;
    case kVector:
      m_payload.vector = new VariantVector(*other.m_payload.vector);
      break;
    case kDictionary:
      m_payload.dictionary = new Dictionary(*other.m_payload.dictionary);
      break;
    case kKeyValuePairs:
      m_payload.pairs = new KeyValuePairs(*other.m_payload.pairs);
      break;
    default:
      break;
  }
}

Variant::Variant(Variant&& other) noexcept : m_type(other.m_type), m_payload(other.m_payload) {
  other.m_type = kEmpty;
  other.m_payload.bits = 0;
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    swap(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    Release();
    m_type = other.m_type;
    m_payload = other.m_payload;
    other.m_type = kEmpty;
    other.m_payload.bits = 0;
  }
  return *this;
}

Variant::~Variant() { Release(); }

void Variant::swap(Variant& other) noexcept {
  std::swap(m_type, other.m_type);
  std::swap(m_payload, other.m_payload);
}

void Variant::Release() noexcept {
  switch (m_type) {
    case kString: {
      SharedString* block = m_payload.string;
      // A count already at 0 belongs to a block nobody else can release.
      if (block != nullptr) {
        const std::uint32_t before = block->references.load(std::memory_order_acquire);
        if (before == 0 || block->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
          delete block;
        }
      }
      m_payload.string = nullptr;
      break;
    }
    case kVector:
      delete m_payload.vector;
      m_payload.vector = nullptr;
      break;
    case kDictionary:
      delete m_payload.dictionary;
      m_payload.dictionary = nullptr;
      break;
    case kKeyValuePairs:
      delete m_payload.pairs;
      m_payload.pairs = nullptr;
      break;
    default:
      break;
  }
}

std::uint32_t Variant::StringReferenceCount() const noexcept {
  if (m_type != kString || m_payload.string == nullptr) return 0;
  return m_payload.string->references.load(std::memory_order_acquire);
}

namespace {

[[noreturn]] void ThrowCast(const char* type_name, const char* reason) {
  throw VariantCastError(type_name, reason);
}

}  // namespace

bool Variant::GetBool() const {
  if (m_type != kBool) ThrowCast("bool", "not a bool");
  return m_payload.b;
}

std::int8_t Variant::GetInt8() const {
  if (m_type != kInt8) ThrowCast("int8_t", "not a 1-byte integer");
  return m_payload.i8;
}

std::int16_t Variant::GetInt16() const {
  if (m_type != kInt16) ThrowCast("int16_t", "not a 2-byte integer");
  return m_payload.i16;
}

std::int32_t Variant::GetInt32() const {
  if (m_type != kInt32) ThrowCast("int32_t", "not a 4-byte integer");
  return m_payload.i32;
}

std::int64_t Variant::GetInt64() const {
  if (m_type != kInt64) ThrowCast("int64_t", "not an 8-byte integer");
  return m_payload.i64;
}

float Variant::GetFloat() const {
  if (m_type != kFloat) ThrowCast("float", "not a float");
  return m_payload.f;
}

double Variant::GetDouble() const {
  if (m_type != kDouble) ThrowCast("double", "not a double");
  return m_payload.d;
}

const velmar_ustring& Variant::GetString() const {
  if (m_type != kString) ThrowCast("velmar_ustring", "not a string");
  return m_payload.string->text;
}

std::uint64_t Variant::GetTimestamp() const {
  if (m_type != kTimestamp) ThrowCast("timestamp", "not a timestamp");
  return m_payload.timestamp;
}

const VariantVector& Variant::GetVector() const {
  if (m_type != kVector) ThrowCast("VariantVector", "not a vector");
  return *m_payload.vector;
}

VariantVector& Variant::GetVector() {
  if (m_type != kVector) ThrowCast("VariantVector", "not a vector");
  return *m_payload.vector;
}

const Dictionary& Variant::GetDictionary() const {
  if (m_type != kDictionary) ThrowCast("Dictionary", "not a dictionary");
  return *m_payload.dictionary;
}

Dictionary& Variant::GetDictionary() {
  if (m_type != kDictionary) ThrowCast("Dictionary", "not a dictionary");
  return *m_payload.dictionary;
}

const KeyValuePairs& Variant::GetKeyValuePairs() const {
  if (m_type != kKeyValuePairs) ThrowCast("KeyValuePairs", "not key-value pairs");
  return *m_payload.pairs;
}

KeyValuePairs& Variant::GetKeyValuePairs() {
  if (m_type != kKeyValuePairs) ThrowCast("KeyValuePairs", "not key-value pairs");
  return *m_payload.pairs;
}

namespace {

template <typename Real>
bool SameReal(Real a, Real b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

bool Variant::operator==(const Variant& other) const {
  if (m_type != other.m_type) return false;
  switch (m_type) {
    case kEmpty:
      return true;
    case kBool:
      return m_payload.b == other.m_payload.b;
    case kInt8:
      return m_payload.i8 == other.m_payload.i8;
    case kInt16:
      return m_payload.i16 == other.m_payload.i16;
    case kInt32:
      return m_payload.i32 == other.m_payload.i32;
    case kInt64:
      return m_payload.i64 == other.m_payload.i64;
    case kFloat:
      return SameReal(m_payload.f, other.m_payload.f);
    case kDouble:
      return SameReal(m_payload.d, other.m_payload.d);
    case kString:
      return m_payload.string == other.m_payload.string ||
             m_payload.string->text == other.m_payload.string->text;
    case kTimestamp:
      return m_payload.timestamp == other.m_payload.timestamp;
    case kVector:
      return *m_payload.vector == *other.m_payload.vector;
    case kDictionary:
      return *m_payload.dictionary == *other.m_payload.dictionary;
    case kKeyValuePairs:
      return *m_payload.pairs == *other.m_payload.pairs;
    default:
      return false;
  }
}

}  // namespace velmar::utils
