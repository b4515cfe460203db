#include "prefs/common/preference_file.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "base/ascii.h"
#include "base/match.h"
#include "base/path_split.h"
#include "base/utf16.h"
#include "base/utf8.h"
#include "prefs/common/json_codec.h"

namespace velmar::prefs {
namespace {

using utils::Dictionary;
using utils::utf16_unit;
using utils::Variant;
using string_type = utils::utf16_string;

// Copies of unreadable files kept aside; older ones are removed.
constexpr std::size_t kKeptBadCopies = 5;

string_type Decimal(std::uint64_t value) { return base::FromAscii(std::to_string(value)); }

// A file this library wrote: it parses and names its format.
bool IsPreferenceFile(const std::string& bytes) {
  Tables tables;
  Dictionary unknown;
  std::uint64_t timestamp = 0;
  bool names_format = false;
  return ParseFile(bytes, tables, kShareLevelPublic, unknown, timestamp, &names_format) &&
         names_format;
}

// Copies are numbered in the order they are made: "<file>.bad" is 0.
// Larger numbers, or digits with a leading zero, are no copies of ours.
constexpr std::uint64_t kCopyNumberLimit = 1000000000000000000u;

bool ParseCopyNumber(const string_type& digits, std::uint64_t& number) {
  number = 0;
  if (digits.empty()) return true;
  if (digits.size() > 18 || digits[0] == '0') return false;
  for (const utf16_unit c : digits) {
    if (!base::IsDigit(c)) return false;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return true;
}

// Moves an unreadable file aside as "<file>.bad", "<file>.bad1", ...,
// keeping only the newest few copies; `aside` is where it went.
platform::Status MoveAside(platform::FileEnv& env, const string_type& path, string_type& aside) {
  const auto parts = base::SplitPath(path);
  const string_type folder(parts.folder);
  const string_type stem = string_type(parts.name) + base::FromAscii(".bad");
  std::vector<string_type> entries;
  std::vector<std::uint64_t> numbers;
  if (env.ListFolder(folder, entries)) {
    for (const string_type& entry : entries) {
      std::uint64_t number = 0;
      if (base::StartsWith(entry, stem) && ParseCopyNumber(entry.substr(stem.size()), number)) {
        numbers.push_back(number);
      }
    }
  }
  std::sort(numbers.begin(), numbers.end());
  auto name_of = [&](std::uint64_t number) {
    return folder + static_cast<utf16_unit>('/') + stem +
           (number == 0 ? string_type() : Decimal(number));
  };
  std::uint64_t next = numbers.empty() ? 0 : numbers.back() + 1;
  // Only a copy planted with a number near the limit gets here: the copies
  // are numbered from 0 again, in their order, so the newest stay known.
  if (next >= kCopyNumberLimit) {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      if (numbers[i] != i && env.RenameWithoutReplacing(name_of(numbers[i]), name_of(i)).ok()) {
        numbers[i] = i;
      }
    }
    next = numbers.size();
  }
  platform::Status moved;
  for (int attempt = 0; attempt < 10; ++attempt, ++next) {
    aside = name_of(next);
    moved = env.RenameWithoutReplacing(path, aside);
    if (moved.ok()) break;
  }
  if (!moved.ok()) return moved;
  while (numbers.size() + 1 > kKeptBadCopies) {
    env.RemoveFile(name_of(numbers.front()));
    numbers.erase(numbers.begin());
  }
  return moved;
}

// The names a file's members are looked up by, made once: every load
// parses at least one file.
struct MemberNames {
  std::array<utils::velmar_ustring, JsonCommon::kCategoryKindCount> sections;
  utils::velmar_ustring format{base::FromAscii("format")};
  utils::velmar_ustring timestamp{base::FromAscii("timestamp")};
  MemberNames() {
    for (std::size_t kind = 0; kind < sections.size(); ++kind) {
      const utils::velmar_ustring name(base::FromAscii(kSectionNames[kind]));
      sections[kind] = name;
    }
  }
};

const MemberNames& Names() {
  static const MemberNames names;
  return names;
}

}  // namespace

bool ParseFile(const std::string& bytes, Tables& tables, EShareLevel level, Dictionary& unknown,
               std::uint64_t& timestamp, bool* names_format) {
  Dictionary members;
  if (!DecodeJsonObject(bytes, members)) return false;
  std::array<Dictionary, JsonCommon::kCategoryKindCount> sections;
  for (std::size_t kind = 0; kind < JsonCommon::kCategoryKindCount; ++kind) {
    const auto found = members.find(Names().sections[kind]);
    if (found == members.end()) continue;
    if (found->second.GetType() != Variant::kDictionary) return false;
    sections[kind] = std::move(found->second.GetDictionary());
    members.erase(found);
  }
  const bool format = members.erase(Names().format) != 0;
  if (names_format != nullptr) *names_format = format;
  timestamp = 0;
  const auto stamp = members.find(Names().timestamp);
  if (stamp != members.end()) {
    if (stamp->second.GetType() == Variant::kInt64 && stamp->second.GetInt64() > 0) {
      timestamp = static_cast<std::uint64_t>(stamp->second.GetInt64());
    } else if (stamp->second.GetType() == Variant::kInt32 && stamp->second.GetInt32() > 0) {
      timestamp = static_cast<std::uint64_t>(stamp->second.GetInt32());
    }
    members.erase(stamp);
  }
  for (std::size_t kind = 0; kind < JsonCommon::kCategoryKindCount; ++kind) {
    tables[JsonCommon::TableIndex(level, static_cast<JsonCommon::CategoryKind>(kind))] =
        std::move(sections[kind]);
  }
  unknown = std::move(members);
  return true;
}

void PreferenceFile::Read(platform::FileEnv& env, const string_type& path, std::size_t max_size) {
  target = env.ResolveLinks(path);
  link = target != path;
  platform::ReadOutcome read = env.ReadFile(target, max_size, bytes);
  result = read.kind;
  read_status = std::move(read.status);
  fingerprint = result == platform::FileReadResult::kRead ? Fingerprint::Of(bytes) : Fingerprint();
  foreign = link && (result != platform::FileReadResult::kRead || !IsPreferenceFile(bytes));
}

platform::Status PreferenceFile::LockAndRead(platform::FileEnv& env, const string_type& path,
                                             std::size_t max_size,
                                             platform::LockDeadline deadline) {
  constexpr const char* kStep = "cannot lock it";
  for (;;) {
    const string_type locked = env.ResolveLinks(path);
    if (locked != path) {
      Read(env, path, max_size);
      if (foreign) return {};
    }
    // A link re-pointed while this waits leads to another lock at once.
    bool moved = false;
    const platform::Status status = platform::LockForWriting(
        env, locked, deadline,
        [&] {
          moved = env.ResolveLinks(path) != locked;
          return !moved;
        },
        lock);
    if (status.ok()) {
      // What the lock guards is read under it; a link moved after the
      // wait leads to another lock too.
      Read(env, path, max_size);
      if (target == locked) return status;
      lock.reset();
      moved = true;
    }
    if (!moved) return status.WithStep(kStep);
    if (std::chrono::steady_clock::now() > deadline) {
      return platform::Status::Error("the link keeps changing").WithStep(kStep);
    }
  }
}

std::string PreferenceFile::ForeignReason() const {
  std::string text;
  base::utf8::Encode(target.data(), target.size(), text);
  text = "it leads to " + text + ", ";
  switch (result) {
    case platform::FileReadResult::kMissing:
      return text + "which does not exist";
    case platform::FileReadResult::kRead:
      return text + "which is no preference file";
    case platform::FileReadResult::kTooLarge:
    case platform::FileReadResult::kFailed:
      break;
  }
  return text + "which cannot be read: " + read_status.reason();
}

platform::Status PreferenceFile::Write(platform::FileEnv& env, const std::string& content,
                                       bool set_aside) const {
  // A link stays a link: the file it leads to is replaced.
  string_type permissions_from;
  if (set_aside && result != platform::FileReadResult::kMissing) {
    const platform::Status moved = MoveAside(env, target, permissions_from);
    if (!moved.ok()) return moved.WithStep("cannot keep the unreadable file aside");
  }
  return platform::WriteFileAtomically(env, *lock, target, content, permissions_from)
      .WithStep("cannot save it");
}

}  // namespace velmar::prefs
