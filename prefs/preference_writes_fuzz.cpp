// Drives two stores of the same files with a sequence of changes, saves
// and synchronisations read from the input, all in memory. Every save must
// succeed. At the end a fresh store must load exactly what the store that
// saved last holds, and the other store's save, which merges its changes
// with those files, must give what the fresh store gets from the same
// changes: any text, any nesting the write side accepted, any mix of the
// two stores' changes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "TrelvinCommonPreferences/json_common.h"
#include "base/utf16.h"
#include "prefs/common/memory_file_env.h"

namespace {

using velmar::utils::Dictionary;
using velmar::utils::utf16_unit;
using velmar::utils::Variant;
using velmar::utils::VariantVector;
using velmar::utils::velmar_ustring;
using string_type = velmar_ustring::string_type;

string_type Path(const char* ascii) { return velmar::base::FromAscii(ascii); }

class MemoryStore : public velmar::prefs::JsonCommon {
 public:
  explicit MemoryStore(velmar::prefs::MemoryFileEnv& env) {
    SetFileEnv(env);
    // Short enough that a copy allocates nothing, even with ".lock" or
    // ".tmp" added: a save copies each path several times.
    m_privateFilePath = velmar_ustring(Path("/v"));
    m_publicFilePath = velmar_ustring(Path("/p"));
    LoadPreferences();
  }
  const std::array<CategoryTable, kCategoryTableCount>& Tables() const { return m_categoryTables; }
};

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool empty() const { return m_at >= m_size; }
  std::size_t At() const { return m_at; }
  std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
  // A short UTF-16 text, two bytes a unit; a few fixed names keep
  // categories and keys colliding often.
  velmar_ustring Text() {
    const std::uint8_t length = Byte();
    if (length >= 0xF0) return velmar_ustring(Path(length % 2 ? "general" : "k"));
    string_type text;
    for (std::uint8_t i = 0; i < length % 12 && !empty(); ++i) {
      const std::uint8_t low = Byte();
      text += static_cast<utf16_unit>(Byte() << 8 | low);
    }
    return velmar_ustring(text);
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_at = 0;
};

Variant Nested(Input& input) {
  Variant value(input.Text());
  // Mostly a few levels, as real values have, and now and then about as
  // deep as the writer allows, on either side of its limit: a value that
  // deep makes every later save and load of its file several times dearer.
  const std::uint8_t depth = input.Byte();
  const std::uint8_t levels = depth < 0xF0 ? depth % 8 : 56 + depth % 16;
  // Each level takes the one below it whole: copying it would make deep
  // values cost the square of their depth.
  for (std::uint8_t i = 0; i < levels; ++i) {
    if (i % 2 == 0) {
      Dictionary level;
      level.emplace(input.Text(), std::move(value));
      value = Variant(std::move(level));
    } else {
      VariantVector level;
      level.push_back(std::move(value));
      value = Variant(std::move(level));
    }
  }
  return value;
}

// One change read from the input, made through `store`.
void Change(std::uint8_t code, Input& input, MemoryStore& store) {
  switch (code) {
    case 0:
      store.WriteString(input.Text(), input.Text(), input.Text());
      break;
    case 1:
      store.WriteInt(input.Text(), input.Text(), input.Byte());
      break;
    case 2:
      store.WriteDouble(input.Text(), input.Text(), input.Byte() / 7.0);
      break;
    case 3:
      store.DeletePreference(input.Text(), input.Text());
      break;
    case 4:
      store.DeleteCategory(input.Text());
      break;
    case 5:
      (void)store.WriteStringVector(input.Text(), {input.Text(), input.Text()});
      break;
    case 6: {
      const velmar_ustring name = input.Text();
      const Variant nested = Nested(input);
      if (nested.GetType() == Variant::kDictionary) {
        (void)store.WriteDictionary(name, nested.GetDictionary());
      } else {
        store.WriteVariant(velmar_ustring(Path("general")), name, nested);
      }
      break;
    }
    case 7:
      store.WriteBinary(input.Text(), input.Text(), {input.Byte(), input.Byte()});
      break;
    default:
      store.RemoveAllPreferencesExcept(input.Text(), input.Text());
      break;
  }
}

// Where in the input a change a store has not yet saved was read, its
// operation byte first.
struct Span {
  std::size_t begin;
  std::size_t end;
};

}  // namespace

// AddressSanitizer still finds every fault; its reports leave out where
// the memory was allocated and freed, which costs an eighth of each run
// here. Rerun a crash input with ASAN_OPTIONS=malloc_context_size=30 to
// see them.
extern "C" const char* __asan_default_options() { return "malloc_context_size=0"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velmar::prefs::MemoryFileEnv env;
  MemoryStore stores[2] = {MemoryStore(env), MemoryStore(env)};
  std::vector<Span> unsaved[2];
  Input input(data, size);
  // libFuzzer lengthens its inputs over a run: a bounded number of
  // operations keeps each run as short late in a run as early on, so the
  // interleavings tried each second do not fall as the corpus grows.
  constexpr int kOperationsPerRun = 8;
  int last = -1;
  for (int operation = 0; operation < kOperationsPerRun && !input.empty(); ++operation) {
    const std::size_t begin = input.At();
    const std::uint8_t op = input.Byte();
    const int which = op >> 7;
    MemoryStore& store = stores[which];
    const std::uint8_t code = op & 0x0F;
    if (code < 9) {
      Change(code, input, store);
      unsaved[which].push_back({begin, input.At()});
      continue;
    }
    if (code == 9 ? !store.Synchronize() : !store.SavePreferences()) __builtin_trap();
    if (code > 9 || !unsaved[which].empty()) last = which;
    unsaved[which].clear();
  }
  // A save leaves a store holding what its files hold, whichever store
  // counts as the last; the other one's save is the merge under test.
  if (last >= 0 && !stores[last].SavePreferences()) __builtin_trap();
  MemoryStore expected(env);
  if (last >= 0 && expected.Tables() != stores[last].Tables()) __builtin_trap();
  const int closer = last == 0 ? 1 : 0;
  for (const Span& change : unsaved[closer]) {
    Input replay(data + change.begin, change.end - change.begin);
    const std::uint8_t code = replay.Byte() & 0x0F;
    Change(code, replay, expected);
  }
  if (!stores[closer].SavePreferences()) __builtin_trap();
  if (stores[closer].Tables() != expected.Tables()) __builtin_trap();
  return 0;
}
