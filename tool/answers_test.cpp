#include "tool/answers.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cstdlib>
#include <limits>

namespace folian::tool {
namespace {

TEST(ShortestText, IsTheShortestTextThatReadsBack) {
  const std::pair<double, const char*> cases[] = {
      {0.1, "0.1"},
      {66.5, "66.5"},
      {-5.0, "-5"},
      {0.0, "0"},
      {-0.0, "-0"},
      {1e20, "1e+20"},
      {1.0 / 48, "0.020833333333333332"},
      {0.009999999999999998, "0.009999999999999998"},
      {5e-324, "5e-324"},
      {std::numeric_limits<double>::infinity(), "inf"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(ShortestText(value), text);
  for (const double value : {1.0 / 3, 2.0 / 3, 123456.789e-7, 1.7976931348623157e308}) {
    EXPECT_EQ(std::strtod(ShortestText(value).c_str(), nullptr), value);
  }
  EXPECT_EQ(ShortestFloatText(0.1f), "0.1");
  EXPECT_EQ(ShortestFloatText(7.071068f), "7.071068");
}

// Parses one answer line as a JSON object, insisting on valid UTF-8.
rapidjson::Document Parse(const std::string& line) {
  EXPECT_FALSE(line.empty());
  EXPECT_EQ(line.back(), '\n');
  rapidjson::Document document;
  document.Parse<rapidjson::kParseValidateEncodingFlag | rapidjson::kParseFullPrecisionFlag>(
      line.c_str());
  EXPECT_FALSE(document.HasParseError()) << line;
  EXPECT_TRUE(document.IsObject()) << line;
  return document;
}

// One record, both forms: every field is in the JSON; plain text shows the
// shown ones with their labels, joined as asked.
TEST(Record, WritesOneObjectOnOneLineAndItsPlainText) {
  Record record;
  record.Start("demo");
  Value& fields = record.fields();
  fields.Text("text", "5'-6 1/2\"\n\ttab").Hidden();
  fields.Number("inches", 0.1).Label("inches=");
  fields.Integer("count", -3).Label("count=");
  fields.Number("infinite", std::numeric_limits<double>::infinity()).Label("infinite=");
  Value& list = fields.List("list").Label("list=");
  list.Number(nullptr, 1e20);
  list.Float(nullptr, 0.1f);
  Value& point = fields.Object("point", ",").Label("point=");
  point.Integer("x", 1);
  point.Bool("y", true).Plain("yes");
  std::string json;
  record.WriteJson(json);
  EXPECT_EQ(
      json,
      "{\"command\":\"demo\",\"ok\":true,\"text\":\"5'-6 1/2\\\"\\n\\ttab\",\"inches\":0.1,"
      "\"count\":-3,\"infinite\":null,\"list\":[1e+20,0.1],\"point\":{\"x\":1,\"y\":true}}\n");
  const rapidjson::Document document = Parse(json);
  EXPECT_EQ(document["inches"].GetDouble(), 0.1);
  EXPECT_STREQ(document["text"].GetString(), "5'-6 1/2\"\n\ttab");
  std::string plain;
  record.WritePlain(plain);
  EXPECT_EQ(plain, "inches=0.1\ncount=-3\ninfinite=none\nlist=1e+20 0.1\npoint=1,yes\n");
}

TEST(Record, ReplacesInvalidUtf8SoTheLineStaysValid) {
  Record record;
  record.Start("x");
  record.fields().Text("text", "5\xFF\xC3\x01");
  std::string json;
  record.WriteJson(json);
  const rapidjson::Document document = Parse(json);
  EXPECT_STREQ(document["text"].GetString(), "5\xEF\xBF\xBD\xEF\xBF\xBD\x01");
}

// No answer is "none" (with the reason in JSON); a failure prints no plain
// answer at all; a table pads its columns.
TEST(Record, SaysWhyThereIsNoAnswer) {
  Record record;
  record.Start("eval-length");
  record.fields().Null("inches");
  record.NoAnswer("unexpected character", 4);
  std::string json;
  std::string plain;
  record.WriteJson(json);
  record.WritePlain(plain);
  EXPECT_EQ(json,
            "{\"command\":\"eval-length\",\"ok\":false,\"inches\":null,"
            "\"error\":{\"reason\":\"unexpected character\",\"position\":4}}\n");
  EXPECT_EQ(plain, "none\n");
  EXPECT_EQ(record.ErrorText(), "unexpected character at 4");

  record.Start(nullptr);
  record.Fail("unknown command 'x'");
  json.clear();
  plain.clear();
  record.WriteJson(json);
  record.WritePlain(plain);
  EXPECT_EQ(json, "{\"ok\":false,\"error\":{\"reason\":\"unknown command 'x'\"}}\n");
  EXPECT_EQ(plain, "");

  record.Start("demo");
  Value& table = record.fields().List("rows", "\n").Aligned();
  for (const auto& [a, b] : {std::pair<const char*, const char*>{"a", "1"}, {"ccc°", "2"}}) {
    Value& row = table.Object(nullptr);
    row.Text("a", a);
    row.Text("b", b);
  }
  plain.clear();
  record.WritePlain(plain);
  EXPECT_EQ(plain, "a     1\nccc°  2\n");
}

}  // namespace
}  // namespace folian::tool
