// What a command answers: plain lines or one JSON object, and a failure
// message. The command line writes them to standard output and standard
// error; batch turns each run into one answer line.
#pragma once

#include <rapidjson/writer.h>

#include <string>
#include <string_view>

namespace folian::tool {

// The shortest text that reads back as the same double ("0.1", "1e+20");
// "inf", "-inf" and "nan" for the rest.
std::string ShortestText(double value);
// The same for a single-precision value: "0.1", not the double nearest it.
std::string ShortestFloatText(float value);

class Answers {
 public:
  explicit Answers(bool json) : m_json(json) {}

  bool json() const { return m_json; }
  void set_json(bool json) { m_json = json; }

  // One plain line; the line break is added.
  void Line(std::string_view text);
  // Why the command could not answer, without the program name.
  void Fail(std::string_view message) { m_error = message; }

  std::string& text() { return m_text; }
  const std::string& error() const { return m_error; }
  void ClearError() { m_error.clear(); }

 private:
  bool m_json;
  std::string m_text;
  std::string m_error;
};

// Appends characters to a std::string for RapidJSON's writer.
class StringOutput {
 public:
  using Ch = char;
  explicit StringOutput(std::string& text) : m_text(text) {}
  void Put(char c) { m_text.push_back(c); }
  void Flush() {}

 private:
  std::string& m_text;
};

// One JSON object on one line of `answers`; the object closes when this
// goes out of scope. Texts that are not valid UTF-8 have the bad bytes
// replaced, so the output is always valid JSON.
class JsonLine {
 public:
  using Writer = rapidjson::Writer<StringOutput>;

  explicit JsonLine(Answers& answers);
  ~JsonLine();
  JsonLine(const JsonLine&) = delete;
  JsonLine& operator=(const JsonLine&) = delete;

  JsonLine& Text(const char* key, std::string_view value);
  // null when not finite.
  JsonLine& Number(const char* key, double value);
  JsonLine& Integer(const char* key, long long value);
  JsonLine& Bool(const char* key, bool value);
  JsonLine& Null(const char* key);

  // For nested values: the writer, and the value forms without a key.
  Writer& writer() { return m_writer; }
  void Key(const char* key) { m_writer.Key(key); }
  void TextValue(std::string_view value);
  void NumberValue(double value);
  void FloatValue(float value);

 private:
  Answers& m_answers;
  StringOutput m_output;
  Writer m_writer;
};

// An answer of one error: {"error": message} or "error: message".
void WriteError(Answers& answers, std::string_view message);

}  // namespace folian::tool
