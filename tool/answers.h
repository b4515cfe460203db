// What a command answers: one record of named values, printed by one
// writer as plain text or as one JSON object on one line. A command never
// prints; it fills its record, so a field added shows in both forms.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folian::tool {

// The shortest text that reads back as the same double ("0.1", "1e+20");
// "inf", "-inf" and "nan" for the rest.
std::string ShortestText(double value);
// The same for a single-precision value: "0.1", not the double nearest it.
std::string ShortestFloatText(float value);

// A named value of an answer: a scalar, a list or an object of values.
// Plain text shows a value as its label and its text (null is "none"); a
// list or object joins its parts' texts.
class Value {
 public:
  enum Kind : unsigned char { kNull, kBool, kInteger, kNumber, kFloat, kText, kList, kObject };

  Value() = default;
  Value(const char* key, Kind kind) : m_key(key), m_kind(kind) {}

  // Adds a part to this list or object and returns it; `key` is unused in
  // a list. References to earlier parts may not survive the next Add.
  Value& Null(const char* key);
  Value& Bool(const char* key, bool value);
  Value& Integer(const char* key, long long value);
  Value& Number(const char* key, double value);  // null when not finite
  Value& Number(const char* key, const std::optional<double>& value);
  Value& Float(const char* key, float value);
  Value& Text(const char* key, std::string_view value);
  Value& List(const char* key, const char* join = " ");
  Value& Object(const char* key, const char* join = " ");

  // Plain-text presentation.
  Value& Label(const char* label) {
    m_label = label;
    return *this;
  }
  Value& Hidden() {
    m_shown = false;
    return *this;
  }
  Value& Plain(std::string text) {
    m_plain = std::move(text);
    m_hasPlain = true;
    return *this;
  }
  // What joins the parts of a list or object in plain text.
  Value& Join(const char* join) {
    m_join = join;
    return *this;
  }
  // A list of objects shown as a table: every column but the last padded.
  Value& Aligned() {
    m_aligned = true;
    return *this;
  }

  void Clear() { m_parts.clear(); }
  const char* key() const { return m_key; }
  Kind kind() const { return m_kind; }
  const std::vector<Value>& parts() const { return m_parts; }

  void WriteJson(std::string& out) const;
  void WritePlain(std::string& out) const;

 private:
  Value& Add(const char* key, Kind kind);
  void WriteJsonValue(std::string& out) const;
  void WritePlainValue(std::string& out) const;

  const char* m_key = nullptr;
  Kind m_kind = kObject;
  bool m_shown = true;
  bool m_hasPlain = false;
  bool m_aligned = false;
  bool m_flag = false;
  long long m_integer = 0;
  double m_number = 0.0;
  const char* m_label = "";
  const char* m_join = "\n";
  std::string m_text;
  std::string m_plain;
  std::vector<Value> m_parts;
};

// Why there is no answer: a reason and, for a text, where it went wrong.
struct AnswerError {
  std::string reason;
  long long position = -1;  // none when negative
};

// One command's answer. In JSON: {"command":...,"ok":...,fields...,
// "error":{"reason":...,"position":...}}; in plain text the fields, "none"
// when there is no answer, nothing when the work failed.
class Record {
 public:
  // Back to an empty answer of `command` (may be null: no command named).
  void Start(const char* command);

  Value& fields() { return m_fields; }
  const Value& fields() const { return m_fields; }
  bool ok() const { return m_ok; }
  void set_ok(bool ok) { m_ok = ok; }

  // No answer, and why.
  void NoAnswer(std::string reason, long long position = -1);
  // The work was not done (a failed save, a usage error).
  void Fail(std::string reason);
  bool failed() const { return m_failed; }
  const std::optional<AnswerError>& error() const { return m_error; }
  // "REASON" or "REASON at POSITION".
  std::string ErrorText() const;

  // The command wrote its answers itself (batch): nothing more to print.
  void SetWritten() { m_written = true; }

  void WriteJson(std::string& out) const;
  // The plain answer with its line break; nothing when the work failed.
  void WritePlain(std::string& out) const;

 private:
  const char* m_command = nullptr;
  bool m_ok = true;
  bool m_written = false;
  bool m_failed = false;
  Value m_fields;
  std::optional<AnswerError> m_error;
};

// Terminal columns of UTF-8 text: one per character.
std::size_t Columns(std::string_view text);

// Appends `text` as a JSON string; bytes that are not valid UTF-8 are
// replaced, so the output is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace folian::tool
