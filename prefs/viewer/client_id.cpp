#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "base/ascii.h"
#include "base/path_split.h"
#include "base/utf16.h"
#include "base/version.h"
#include "platform/durable_file.h"
#include "platform/file_system.h"
#include "platform/random_bytes.h"
#include "prefs/viewer/client_id_internal.h"

namespace trelvin::viewer {
namespace {

using velmar::utils::utf16_string;

// A UUID line and then some; anything longer is no identifier file.
constexpr std::size_t kMaxFileSize = 4096;

std::mutex g_fileMutex;

// The first line of the file without surrounding white space, or empty.
std::string ReadIdFile(const utf16_string& file) {
  std::string bytes;
  if (velmar::platform::DefaultFileEnv().ReadFile(file, kMaxFileSize, bytes).kind !=
      velmar::platform::FileReadResult::kRead) {
    return {};
  }
  const std::string line = bytes.substr(0, bytes.find('\n'));
  const auto first = line.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = line.find_last_not_of(" \t\r\n");
  return line.substr(first, last - first + 1);
}

// Under the identifier's own lock, so two processes never write at once;
// replaced in one step, so a reader never sees half a file and a crash
// leaves the old one or the new one.
std::string StoreNewId(const utf16_string& file) {
  const std::size_t folder_end = velmar::base::LastPathSeparator(file);
  if (folder_end == utf16_string::npos ||
      !velmar::platform::MakeFolders(file.substr(0, folder_end))) {
    return {};
  }
  velmar::platform::FileEnv& env = velmar::platform::DefaultFileEnv();
  std::unique_ptr<velmar::platform::FileLock> lock;
  if (!velmar::platform::LockForWriting(
           env, file, std::chrono::steady_clock::now() + velmar::platform::kLockWait, {}, lock)
           .ok()) {
    return {};
  }
  // Another process may have stored its own meanwhile; the file decides.
  const std::string stored = ReadIdFile(file);
  if (IsUuidText(stored)) return stored;
  const std::string id = MakeRandomUuid();
  if (id.empty() || !velmar::platform::WriteFileAtomically(env, *lock, file, id + '\n').ok()) {
    return {};
  }
  return id;
}

}  // namespace

utf16_string ClientIdFile() {
  const utf16_string root = velmar::platform::GetDataFolder(velmar::platform::DataFolder::kLocal);
  if (root.empty()) return {};
  return root + velmar::base::FromAscii("/Trelvin/Trelvin 20" +
                                        std::to_string(velmar::base::kCurrentMajorVersion) + "/" +
                                        velmar::base::kApplicationName + "/trelvin.viewer.cid");
}

std::string MakeRandomUuid() {
  unsigned char bytes[16];
  if (!velmar::platform::FillRandomBytes(bytes, sizeof bytes)) return {};
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  std::string text;
  text.reserve(36);
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += velmar::base::kLowerHexDigits[bytes[i] >> 4];
    text += velmar::base::kLowerHexDigits[bytes[i] & 0x0F];
  }
  return text;
}

bool IsUuidText(const std::string& text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash_position = i == 8 || i == 13 || i == 18 || i == 23;
    const auto c = static_cast<unsigned char>(text[i]);
    if (dash_position ? c != '-' : velmar::base::HexDigitValue(c) < 0) return false;
  }
  return true;
}

std::string GetOrCreateClientId() {
  const utf16_string file = ClientIdFile();
  if (file.empty()) return {};
  const std::lock_guard<std::mutex> lock(g_fileMutex);
  const std::string id = ReadIdFile(file);
  return IsUuidText(id) ? id : StoreNewId(file);
}

}  // namespace trelvin::viewer
