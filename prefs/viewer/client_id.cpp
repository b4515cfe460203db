#include <fstream>
#include <mutex>
#include <string>
#include <system_error>

#include "base/version.h"
#include "platform/local_data_root.h"
#include "platform/random_bytes.h"
#include "prefs/viewer/client_id_internal.h"

namespace trelvin::viewer {
namespace {

namespace fs = std::filesystem;

std::mutex g_fileMutex;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The first line of the file without surrounding white space, or empty.
std::string ReadIdFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  const auto first = line.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = line.find_last_not_of(" \t\r\n");
  return line.substr(first, last - first + 1);
}

bool WriteIdFile(const fs::path& file, const std::string& id) {
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  if (error) return false;
  // Written aside and renamed into place, so a reader never sees half a file.
  fs::path temporary = file;
  temporary += ".tmp-" + id.substr(0, 8);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!(out << id << '\n') || !out.flush()) {
      out.close();
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::rename(temporary, file, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace

fs::path ClientIdFile() {
  const fs::path root = velmar::platform::LocalDataRoot();
  if (root.empty()) return {};
  return root / "Trelvin" / ("Trelvin 20" + std::to_string(velmar::base::kCurrentMajorVersion)) /
         velmar::base::kApplicationName / "trelvin.viewer.cid";
}

std::string MakeRandomUuid() {
  unsigned char bytes[16];
  if (!velmar::platform::FillRandomBytes(bytes, sizeof bytes)) return {};
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(36);
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 0x0F];
  }
  return text;
}

bool IsUuidText(const std::string& text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash_position = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash_position ? text[i] != '-' : !IsHexDigit(text[i])) return false;
  }
  return true;
}

std::string GetOrCreateClientId() {
  const fs::path file = ClientIdFile();
  if (file.empty()) return {};
  const std::lock_guard<std::mutex> lock(g_fileMutex);
  std::string id = ReadIdFile(file);
  if (IsUuidText(id)) return id;
  id = MakeRandomUuid();
  if (id.empty() || !WriteIdFile(file, id)) return {};
  // Another process may have stored its own meanwhile; the file decides.
  const std::string stored = ReadIdFile(file);
  return IsUuidText(stored) ? stored : std::string();
}

}  // namespace trelvin::viewer
