#include "FolianUtils/units_info.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FolianUtils/notification_center.h"

namespace velmar::units {
namespace {

using U = UnitsInfo;

// The two tables agree; units outside them convert by 1.
TEST(UnitsFactorsTest, TablesAreReciprocal) {
  for (int u = -1; u <= U::kUnitsCount + 1; ++u) {
    const auto units = static_cast<U::Units>(u);
    EXPECT_DOUBLE_EQ(GetFactorToInches(units) * GetFactorFromInches(units), 1.0) << u;
  }
  EXPECT_EQ(GetFactorFromInches(U::kMillimeters), 25.4);
}

LengthInfo Length(U::Format format, U::Units units, int precision = 9) {
  LengthInfo info;
  info.SetFormat(format, false);
  info.SetUnits(units, false);
  info.SetPrecision(precision, false);
  return info;
}

// Binary formats show inches, engineering feet; the precision is capped by
// the shown unit; the step and the nearest precision follow.
TEST(LengthInfoTest, UnitsAndPrecisionFollowTheFormat) {
  const struct {
    U::Format format;
    U::Units units;
    U::Units shown;
    int max;
  } cases[] = {{U::kFractional, U::kYards, U::kInches, 6},
               {U::kEngineering, U::kPoints, U::kFeet, 6},
               {U::kDecimal, U::kPoints, U::kPoints, 1},
               {U::kDecimal, U::kYards, U::kYards, 4}};
  for (const auto& c : cases) {
    const LengthInfo info = Length(c.format, c.units);
    EXPECT_EQ(info.GetUnits(), c.shown) << c.format << "/" << c.units;
    EXPECT_EQ(info.GetEffectivePrecision(), c.max) << c.format << "/" << c.units;
  }
  EXPECT_EQ(Length(U::kEngineering, U::kMillimeters).GetConversionFactor(), 12.0);
  const LengthInfo info;
  EXPECT_EQ(info.GetPrecisionAsValue(U::kFractional, 4, U::kMillimeters), 0.0625);
  EXPECT_DOUBLE_EQ(info.GetPrecisionAsValue(U::kEngineering, 2, U::kFeet), 0.12);
  EXPECT_DOUBLE_EQ(info.GetPrecisionAsValue(), 0.01);
  EXPECT_EQ(Length(U::kFractional, U::kInches, 2).RoundToPrecision(1.13), 1.25);
  const struct {
    LengthInfo info;
    double step_inches;
    int precision;
  } nearest[] = {{Length(U::kDecimal, U::kInches), 0.012, 2},
                 {Length(U::kDecimal, U::kMillimeters), 0.1 / 25.4, 1},
                 {Length(U::kDecimal, U::kInches), 1e-12, 7},  // capped at 7
                 // A tie moves on to the finer step: 0.75 is as far from 1 as from 1/2.
                 {Length(U::kFractional, U::kInches), 0.75, 1}};
  for (const auto& c : nearest) {
    EXPECT_EQ(c.info.GetPrecisionForValue(c.step_inches), c.precision) << c.step_inches;
  }
}

TEST(LengthInfoTest, CopiesTakeShownUnitsAndEffectivePrecision) {
  LengthInfo source = Length(U::kArchitectural, U::kMillimeters, 12);
  source.SetSpaceSeparator(true);
  LengthInfo assigned;
  assigned = source;
  const std::unique_ptr<LengthInfo> clone(source.Clone());
  for (const LengthInfo* copy : {&assigned, clone.get()}) {
    EXPECT_EQ(copy->GetPrecision(), 6);
    EXPECT_TRUE(copy->GetSpaceSeparator());
  }
  LengthInfo decimal(source);
  decimal.SetFormat(U::kDecimal, false);
  EXPECT_EQ(decimal.GetUnits(), U::kInches);  // the stored unit became inches
}

TEST(AngleInfoTest, FactorsLimitsAndCopies) {
  AngleInfo info;
  EXPECT_EQ(info.GetConversionFactor(U::kInches), 0.0);
  EXPECT_EQ(info.GetPrecisionAsValue(U::kArchitectural, 0, U::kRadians), 1.0);
  info.SetUnits(U::kDegrees, false);
  info.SetPrecision(5, false);
  info.SetSpaceSeparator(true);
  EXPECT_DOUBLE_EQ(info.GetPrecisionAsValue(), 0.01 * 0.017453292519943295);
  EXPECT_EQ(info.GetPrecisionForValue(0.1 * 0.017453292519943295), 1);
  AngleInfo assigned;
  assigned = info;
  for (const AngleInfo& copy : {AngleInfo(info), assigned}) {
    EXPECT_FALSE(copy.GetSpaceSeparator());
    EXPECT_EQ(copy.GetPrecision(), 2);
  }
}

class Recorder : public utils::NotificationObserver {
 public:
  void OnNotification(const std::string& name, const void* sender) override {
    names.push_back(name);
    senders.push_back(sender);
  }
  std::vector<std::string> names;
  std::vector<const void*> senders;
};

TEST(UnitsInfoNotificationTest, NotifyingSettersPostEvenWithoutChange) {
  auto& center = utils::NotificationCenter::Default();
  Recorder recorder;
  for (const char* name : {U::kFormatChanged, U::kUnitsChanged, U::kPrecisionChanged}) {
    center.AddObserver(name, &recorder);
  }
  LengthInfo info;  // construction posts nothing
  info.SetFormat(U::kDecimal);
  info.SetUnits(U::kInches);
  info.SetPrecision(2);
  info.SetFormat(U::kFractional, false);
  info.SetUnits(U::kFeet, false);
  info.SetPrecision(3, false);
  const LengthInfo copy(info);  // copies post nothing either
  center.RemoveObserver(&recorder);

  EXPECT_EQ(recorder.names,
            (std::vector<std::string>{"velmar::units::UnitsInfo::kFormatChanged",
                                      "velmar::units::UnitsInfo::kUnitsChanged",
                                      "velmar::units::UnitsInfo::kPrecisionChanged"}));
  for (const void* sender : recorder.senders) EXPECT_EQ(sender, &info);
}

}  // namespace
}  // namespace velmar::units
