#include "tool/answers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/utf8.h"

namespace folian::tool {
namespace {

template <typename Real>
void AppendShortest(std::string& out, Real value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

template <typename Real>
void AppendJsonNumber(std::string& out, Real value) {
  if (std::isfinite(value)) {
    AppendShortest(out, value);
  } else {
    out += "null";
  }
}

void AppendEscaped(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\u00";
          out.push_back(kHex[(c >> 4) & 0xF]);
          out.push_back(kHex[c & 0xF]);
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

}  // namespace

std::size_t Columns(std::string_view text) {
  std::size_t columns = 0;
  for (const char c : text) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return columns;
}

std::string ShortestText(double value) {
  std::string text;
  AppendShortest(text, value);
  return text;
}

std::string ShortestFloatText(float value) {
  std::string text;
  AppendShortest(text, value);
  return text;
}

void AppendJsonString(std::string& out, std::string_view text) {
  if (velmar::base::utf8::IsValid(text)) {
    AppendEscaped(out, text);
  } else {
    AppendEscaped(out, velmar::base::utf8::ReplaceInvalid(text));
  }
}

Value& Value::Add(const char* key, Kind kind) {
  m_parts.emplace_back(key, kind);
  return m_parts.back();
}

Value& Value::Null(const char* key) { return Add(key, kNull); }

Value& Value::Bool(const char* key, bool value) {
  Value& part = Add(key, kBool);
  part.m_flag = value;
  return part;
}

Value& Value::Integer(const char* key, long long value) {
  Value& part = Add(key, kInteger);
  part.m_integer = value;
  return part;
}

Value& Value::Number(const char* key, double value) {
  Value& part = Add(key, std::isfinite(value) ? kNumber : kNull);
  part.m_number = value;
  return part;
}

Value& Value::Number(const char* key, const std::optional<double>& value) {
  return value ? Number(key, *value) : Null(key);
}

Value& Value::Float(const char* key, float value) {
  Value& part = Add(key, std::isfinite(value) ? kFloat : kNull);
  part.m_number = static_cast<double>(value);
  return part;
}

Value& Value::Text(const char* key, std::string_view value) {
  Value& part = Add(key, kText);
  part.m_text.assign(value.data(), value.size());
  return part;
}

Value& Value::List(const char* key, const char* join) {
  Value& part = Add(key, kList);
  part.m_join = join;
  return part;
}

Value& Value::Object(const char* key, const char* join) {
  Value& part = Add(key, kObject);
  part.m_join = join;
  return part;
}

void Value::WriteJsonValue(std::string& out) const {
  switch (m_kind) {
    case kNull:
      out += "null";
      return;
    case kBool:
      out += m_flag ? "true" : "false";
      return;
    case kInteger: {
      char buffer[24];
      const auto result = std::to_chars(buffer, buffer + sizeof buffer, m_integer);
      out.append(buffer, result.ptr);
      return;
    }
    case kNumber:
      AppendJsonNumber(out, m_number);
      return;
    case kFloat:
      AppendJsonNumber(out, static_cast<float>(m_number));
      return;
    case kText:
      AppendJsonString(out, m_text);
      return;
    case kList:
      out.push_back('[');
      for (std::size_t i = 0; i < m_parts.size(); ++i) {
        if (i > 0) out.push_back(',');
        m_parts[i].WriteJsonValue(out);
      }
      out.push_back(']');
      return;
    case kObject:
      out.push_back('{');
      WriteJson(out);
      out.push_back('}');
      return;
  }
}

void Value::WriteJson(std::string& out) const {
  bool first = out.back() == '{';
  for (const Value& part : m_parts) {
    if (!first) out.push_back(',');
    first = false;
    AppendJsonString(out, part.m_key);
    out.push_back(':');
    part.WriteJsonValue(out);
  }
}

void Value::WritePlainValue(std::string& out) const {
  if (m_hasPlain) {
    out += m_plain;
    return;
  }
  switch (m_kind) {
    case kNull:
      out += "none";
      return;
    case kBool:
    case kInteger:
    case kNumber:
    case kFloat:
      WriteJsonValue(out);
      return;
    case kText:
      out += m_text;
      return;
    case kList:
    case kObject:
      break;
  }
  // Column widths of a table: every part's shown values but the last.
  std::vector<std::size_t> widths;
  if (m_aligned) {
    for (const Value& row : m_parts) {
      std::size_t column = 0;
      for (const Value& cell : row.m_parts) {
        if (!cell.m_shown) continue;
        std::string text;
        cell.WritePlainValue(text);
        if (widths.size() <= column) widths.resize(column + 1, 0);
        widths[column] = std::max(widths[column], Columns(text));
        ++column;
      }
    }
  }
  bool first = true;
  for (const Value& part : m_parts) {
    if (!part.m_shown) continue;
    if (!first) out += m_join;
    first = false;
    if (!m_aligned) {
      out += part.m_label;
      part.WritePlainValue(out);
      continue;
    }
    std::size_t column = 0;
    std::size_t shown = 0;
    for (const Value& cell : part.m_parts) shown += cell.m_shown ? 1 : 0;
    for (const Value& cell : part.m_parts) {
      if (!cell.m_shown) continue;
      const std::size_t start = out.size();
      cell.WritePlainValue(out);
      if (++column < shown) {
        const std::size_t used = Columns(std::string_view(out).substr(start));
        out.append(widths[column - 1] - used + 2, ' ');
      }
    }
  }
}

void Value::WritePlain(std::string& out) const { WritePlainValue(out); }

void Record::Start(const char* command) {
  m_command = command;
  m_ok = true;
  m_written = false;
  m_failed = false;
  m_fields.Clear();
  m_error.reset();
}

void Record::NoAnswer(std::string reason, long long position) {
  m_ok = false;
  m_error = AnswerError{std::move(reason), position};
}

void Record::Fail(std::string reason) {
  m_ok = false;
  m_failed = true;
  m_error = AnswerError{std::move(reason), -1};
}

std::string Record::ErrorText() const {
  if (!m_error) return std::string();
  if (m_error->position < 0) return m_error->reason;
  return m_error->reason + " at " + std::to_string(m_error->position);
}

void Record::WriteJson(std::string& out) const {
  if (m_written) return;
  out.push_back('{');
  if (m_command != nullptr) {
    out += "\"command\":";
    AppendJsonString(out, m_command);
    out.push_back(',');
  }
  out += m_ok ? "\"ok\":true" : "\"ok\":false";
  m_fields.WriteJson(out);
  if (m_error) {
    out += ",\"error\":{\"reason\":";
    AppendJsonString(out, m_error->reason);
    if (m_error->position >= 0) {
      out += ",\"position\":";
      out += std::to_string(m_error->position);
    }
    out.push_back('}');
  }
  out += "}\n";
}

void Record::WritePlain(std::string& out) const {
  if (m_failed || m_written) return;
  const std::size_t start = out.size();
  if (m_ok) {
    m_fields.WritePlain(out);
  } else {
    out += "none";
  }
  // An empty listing is no line at all.
  if (out.size() > start) out.push_back('\n');
}

}  // namespace folian::tool
