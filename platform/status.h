// The outcome of a file operation, passed up as a value from the system
// call to where it is shown: success, or the system's words for what went
// wrong and the step of the larger task it stopped.
#pragma once

#include <string>
#include <utility>

namespace velmar::platform {

class [[nodiscard]] Status {
 public:
  // Success.
  Status() = default;
  static Status Error(std::string reason) { return Status(std::move(reason)); }

  // The same failure as the step `step` of a larger task; success stays
  // success. `step` is a literal, so a failure costs one string at most.
  Status WithStep(const char* step) const {
    Status status = *this;
    if (!m_ok) status.m_step = step;
    return status;
  }

  bool ok() const { return m_ok; }
  const std::string& reason() const { return m_reason; }
  const char* step() const { return m_step; }
  // "<step>: <reason>", or the reason alone when no step was named.
  std::string ToString() const;

 private:
  explicit Status(std::string reason) : m_ok(false), m_reason(std::move(reason)) {}

  bool m_ok = true;
  std::string m_reason;
  const char* m_step = "";
};

}  // namespace velmar::platform
