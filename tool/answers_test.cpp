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

TEST(JsonLine, WritesOneObjectOnOneLine) {
  Answers answers(true);
  {
    JsonLine line(answers);
    line.Text("text", "5'-6 1/2\"\n\ttab").Number("inches", 0.1).Integer("count", -3);
    line.Bool("ok", true).Null("none").Number("infinite", std::numeric_limits<double>::infinity());
    line.Key("list");
    line.writer().StartArray();
    line.NumberValue(1e20);
    line.FloatValue(0.1f);
    line.writer().EndArray();
  }
  EXPECT_EQ(answers.text(),
            "{\"text\":\"5'-6 1/2\\\"\\n\\ttab\",\"inches\":0.1,\"count\":-3,\"ok\":true,"
            "\"none\":null,\"infinite\":null,\"list\":[1e+20,0.1]}\n");
  const rapidjson::Document document = Parse(answers.text());
  EXPECT_EQ(document["inches"].GetDouble(), 0.1);
  EXPECT_STREQ(document["text"].GetString(), "5'-6 1/2\"\n\ttab");
}

TEST(JsonLine, ReplacesInvalidUtf8SoTheLineStaysValid) {
  Answers answers(true);
  JsonLine(answers).Text("text", "5\xFF\xC3");
  const rapidjson::Document document = Parse(answers.text());
  EXPECT_STREQ(document["text"].GetString(), "5\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(WriteError, IsAnObjectInJsonAndALineInPlainText) {
  Answers json(true);
  WriteError(json, "unknown command 'x'");
  EXPECT_EQ(json.text(), "{\"error\":\"unknown command 'x'\"}\n");
  Answers plain(false);
  WriteError(plain, "unknown command 'x'");
  EXPECT_EQ(plain.text(), "error: unknown command 'x'\n");
}

}  // namespace
}  // namespace folian::tool
