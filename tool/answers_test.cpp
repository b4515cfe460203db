#include "tool/answers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

namespace folian::tool {
namespace {

TEST(ShortestText, IsTheShortestTextThatReadsBack) {
  const std::pair<double, const char*> cases[] = {
      {0.1, "0.1"},
      {-5.0, "-5"},
      {-0.0, "-0"},
      {1e20, "1e+20"},
      {1.0 / 48, "0.020833333333333332"},
      {5e-324, "5e-324"},
      {std::numeric_limits<double>::infinity(), "inf"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(ShortestText(value), text);
  for (double value = 1.0 / 3; value < 1e300; value *= -7.77) {
    EXPECT_EQ(std::strtod(ShortestText(value).c_str(), nullptr), value);
  }
  EXPECT_EQ(ShortestFloatText(7.071068f), "7.071068");
}

std::string Written(const Record& record, bool json) {
  std::string text;
  json ? record.WriteJson(text) : record.WritePlain(text);
  return text;
}
std::string Json(const Record& record) { return Written(record, true); }
std::string Plain(const Record& record) { return Written(record, false); }

// One record, both forms: every field is in the JSON, escaped, invalid UTF-8
// replaced; plain text shows the shown ones with their labels, joined as asked.
TEST(Record, WritesOneObjectOnOneLineAndItsPlainText) {
  Record record;
  record.Start("demo");
  Value& fields = record.fields();
  fields.Text("text", "5'\"\n\ttab\xFF\xC3\x01").Hidden();
  fields.Number("inches", 0.1).Label("inches=");
  fields.Integer("count", -3).Label("count=");
  fields.Number("infinite", std::numeric_limits<double>::infinity()).Label("infinite=");
  Value& list = fields.List("list").Label("list=");
  list.Number(nullptr, 1e20);
  list.Float(nullptr, 0.1f);
  Value& point = fields.Object("point", ",").Label("point=");
  point.Integer("x", 1);
  point.Bool("y", true).Plain("yes");
  EXPECT_EQ(Json(record),
            "{\"command\":\"demo\",\"ok\":true,\"text\":\"5'\\\"\\n\\ttab\xEF\xBF\xBD\xEF\xBF\xBD"
            "\\u0001\",\"inches\":0.1,\"count\":-3,\"infinite\":null,\"list\":[1e+20,0.1],"
            "\"point\":{\"x\":1,\"y\":true}}\n");
  EXPECT_EQ(Plain(record), "inches=0.1\ncount=-3\ninfinite=none\nlist=1e+20 0.1\npoint=1,yes\n");

  record.Start("demo");
  Value& table = record.fields().List("rows", "\n").Aligned();
  for (const auto& [a, b] : {std::pair<const char*, const char*>{"a", "1"}, {"ccc°", "2"}}) {
    Value& row = table.Object(nullptr);
    row.Text("a", a);
    row.Text("b", b);
  }
  EXPECT_EQ(Plain(record), "a     1\nccc°  2\n");
}

// No answer is "none" (with the reason in JSON); a failure prints no plain
// answer at all.
TEST(Record, SaysWhyThereIsNoAnswer) {
  Record record;
  record.Start("eval-length");
  record.fields().Null("inches");
  record.NoAnswer("unexpected character", 4);
  EXPECT_EQ(Json(record),
            "{\"command\":\"eval-length\",\"ok\":false,\"inches\":null,"
            "\"error\":{\"reason\":\"unexpected character\",\"position\":4}}\n");
  EXPECT_EQ(Plain(record), "none\n");
  EXPECT_EQ(record.ErrorText(), "unexpected character at 4");

  record.Start(nullptr);
  record.Fail("unknown command 'x'");
  EXPECT_EQ(Json(record), "{\"ok\":false,\"error\":{\"reason\":\"unknown command 'x'\"}}\n");
  EXPECT_EQ(Plain(record), "");
}

}  // namespace
}  // namespace folian::tool
