#include "tool/answers.h"

#include <charconv>
#include <cmath>

#include "base/utf8.h"

namespace folian::tool {
namespace {

template <typename Real>
std::string Shortest(Real value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// RawValue: the writer's own double printing is not always the shortest.
template <typename Real>
void WriteShortest(JsonLine::Writer& writer, Real value) {
  if (!std::isfinite(value)) {
    writer.Null();
    return;
  }
  const std::string text = Shortest(value);
  writer.RawValue(text.data(), text.size(), rapidjson::kNumberType);
}

}  // namespace

std::string ShortestText(double value) { return Shortest(value); }

std::string ShortestFloatText(float value) { return Shortest(value); }

void Answers::Line(std::string_view text) {
  m_text.append(text);
  m_text.push_back('\n');
}

JsonLine::JsonLine(Answers& answers)
    : m_answers(answers), m_output(answers.text()), m_writer(m_output) {
  m_writer.StartObject();
}

JsonLine::~JsonLine() {
  m_writer.EndObject();
  m_answers.text().push_back('\n');
}

void JsonLine::TextValue(std::string_view value) {
  if (velmar::base::utf8::IsValid(value)) {
    m_writer.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
  } else {
    const std::string valid = velmar::base::utf8::ReplaceInvalid(value);
    m_writer.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
  }
}

void JsonLine::NumberValue(double value) { WriteShortest(m_writer, value); }

void JsonLine::FloatValue(float value) { WriteShortest(m_writer, value); }

JsonLine& JsonLine::Text(const char* key, std::string_view value) {
  m_writer.Key(key);
  TextValue(value);
  return *this;
}

JsonLine& JsonLine::Number(const char* key, double value) {
  m_writer.Key(key);
  NumberValue(value);
  return *this;
}

JsonLine& JsonLine::Integer(const char* key, long long value) {
  m_writer.Key(key);
  m_writer.Int64(value);
  return *this;
}

JsonLine& JsonLine::Bool(const char* key, bool value) {
  m_writer.Key(key);
  m_writer.Bool(value);
  return *this;
}

JsonLine& JsonLine::Null(const char* key) {
  m_writer.Key(key);
  m_writer.Null();
  return *this;
}

void WriteError(Answers& answers, std::string_view message) {
  if (answers.json()) {
    JsonLine(answers).Text("error", message);
  } else {
    answers.text().append("error: ");
    answers.Line(message);
  }
}

}  // namespace folian::tool
