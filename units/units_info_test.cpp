#include "FolianUtils/units_info.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FolianUtils/notification_center.h"

namespace velmar::units {
namespace {

using U = UnitsInfo;

TEST(UnitsFactorsTest, TablesAreReciprocalForLengths) {
  struct Case {
    U::Units units;
    double to_inches;
  };
  for (const Case& c :
       {Case{U::kInches, 1.0}, Case{U::kFeet, 12.0}, Case{U::kMillimeters, 0.03937007874015748},
        Case{U::kCentimeters, 0.39370078740157477}, Case{U::kMeters, 39.37007874015748},
        Case{U::kPoints, 0.013888888888888888}, Case{U::kYards, 36.0}}) {
    EXPECT_DOUBLE_EQ(GetFactorToInches(c.units), c.to_inches) << c.units;
    EXPECT_DOUBLE_EQ(GetFactorToInches(c.units) * GetFactorFromInches(c.units), 1.0) << c.units;
  }
  for (const U::Units u : {U::kNone, U::kMixed, U::kRadians, U::kDegrees, U::kGradians,
                           U::kUnitsCount, static_cast<U::Units>(-1), static_cast<U::Units>(99)}) {
    EXPECT_EQ(GetFactorToInches(u), 1.0) << u;
    EXPECT_EQ(GetFactorFromInches(u), 1.0) << u;
  }
  EXPECT_EQ(GetFactorFromInches(U::kMillimeters), 25.4);
}

TEST(LengthInfoTest, UnitsFollowTheFormat) {
  LengthInfo info;
  info.SetUnits(U::kMillimeters, false);
  info.SetFormat(U::kArchitectural, false);
  EXPECT_EQ(info.GetUnits(), U::kInches);
  info.SetFormat(U::kFractional, false);
  EXPECT_EQ(info.GetUnits(), U::kInches);
  info.SetFormat(U::kEngineering, false);
  EXPECT_EQ(info.GetUnits(), U::kFeet);
  EXPECT_EQ(info.GetConversionFactor(), 12.0);
  info.SetFormat(U::kDecimal, false);
  EXPECT_EQ(info.GetUnits(), U::kMillimeters);
}

TEST(LengthInfoTest, EffectivePrecisionIsCappedByUnits) {
  struct Case {
    U::Format format;
    U::Units units;
    int max;
  };
  for (const Case& c : {Case{U::kDecimal, U::kPoints, 1}, Case{U::kDecimal, U::kMeters, 6},
                        Case{U::kDecimal, U::kYards, 4}, Case{U::kDecimal, U::kNone, 4},
                        Case{U::kDecimal, U::kInches, 6}, Case{U::kArchitectural, U::kPoints, 6},
                        Case{U::kFractional, U::kYards, 6}, Case{U::kEngineering, U::kPoints, 6}}) {
    LengthInfo info;
    info.SetFormat(c.format, false);
    info.SetUnits(c.units, false);
    info.SetPrecision(9, false);
    EXPECT_EQ(info.GetMaxPrecision(), c.max) << c.format << "/" << c.units;
    EXPECT_EQ(info.GetEffectivePrecision(), c.max);
    EXPECT_EQ(info.GetPrecision(), 9);
  }
}

TEST(LengthInfoTest, PrecisionAsValue) {
  const LengthInfo info;
  EXPECT_EQ(info.GetPrecisionAsValue(U::kFractional, 4, U::kMillimeters), 0.0625);
  EXPECT_EQ(info.GetPrecisionAsValue(U::kArchitectural, 0, U::kMillimeters), 1.0);
  EXPECT_DOUBLE_EQ(info.GetPrecisionAsValue(U::kDecimal, 4, U::kMillimeters),
                   0.0001 * 0.03937007874015748);
  EXPECT_DOUBLE_EQ(info.GetPrecisionAsValue(U::kEngineering, 2, U::kFeet), 0.12);
  EXPECT_DOUBLE_EQ(info.GetPrecisionAsValue(), 0.01);
}

TEST(LengthInfoTest, RoundToPrecision) {
  LengthInfo info;
  EXPECT_DOUBLE_EQ(info.RoundToPrecision(1.234), 1.23);
  EXPECT_DOUBLE_EQ(info.RoundToPrecision(-1.236), -1.24);
  info.SetFormat(U::kFractional, false);
  info.SetPrecision(2, false);
  EXPECT_EQ(info.RoundToPrecision(1.13), 1.25);
  EXPECT_EQ(info.RoundToPrecision(1.12), 1.0);
}

TEST(LengthInfoTest, PrecisionForValueFindsTheNearestStep) {
  struct Case {
    U::Format format;
    U::Units units;
    double step_inches;
    int precision;
  };
  for (const Case& c : {
           Case{U::kDecimal, U::kInches, 1.0, 0},
           Case{U::kDecimal, U::kInches, 0.01, 2},
           Case{U::kDecimal, U::kInches, 0.012, 2},
           Case{U::kDecimal, U::kMillimeters, 0.1 / 25.4, 1},
           Case{U::kDecimal, U::kInches, 1e-12, 7},  // capped at 7
           Case{U::kDecimal, U::kInches, 5.0, 0},
           Case{U::kFractional, U::kInches, 0.125, 3},
           Case{U::kArchitectural, U::kInches, 1.0 / 64, 6},
           Case{U::kEngineering, U::kFeet, 1.2, 1},
       }) {
    LengthInfo info;
    info.SetFormat(c.format, false);
    info.SetUnits(c.units, false);
    EXPECT_EQ(info.GetPrecisionForValue(c.step_inches), c.precision) << c.step_inches;
  }
  // A tie moves on to the finer step: 0.75 is as far from 1 as from 1/2.
  LengthInfo fractional;
  fractional.SetFormat(U::kFractional, false);
  EXPECT_EQ(fractional.GetPrecisionForValue(0.75), 1);
}

TEST(LengthInfoTest, CopiesTakeDerivedUnitsAndEffectivePrecision) {
  LengthInfo source;
  source.SetUnits(U::kMillimeters, false);
  source.SetFormat(U::kArchitectural, false);
  source.SetPrecision(12, false);
  source.SetSpaceSeparator(true);
  source.SetExtraFlag(true);
  source.SetSuppressApproximation(true);

  const LengthInfo copy(source);
  EXPECT_EQ(copy.GetFormat(), U::kArchitectural);
  EXPECT_EQ(copy.GetPrecision(), 6);
  EXPECT_TRUE(copy.GetSpaceSeparator() && copy.GetExtraFlag() && copy.GetSuppressApproximation());
  LengthInfo decimal(copy);
  decimal.SetFormat(U::kDecimal, false);
  EXPECT_EQ(decimal.GetUnits(), U::kInches);  // the stored unit became inches

  LengthInfo assigned;
  assigned = source;
  EXPECT_EQ(assigned.GetPrecision(), 6);
  const std::unique_ptr<LengthInfo> clone(source.Clone());
  EXPECT_EQ(clone->GetPrecision(), 6);
  EXPECT_TRUE(clone->GetSpaceSeparator());
}

TEST(AngleInfoTest, DefaultsFactorsAndLimits) {
  AngleInfo info;
  EXPECT_EQ(info.GetUnits(), U::kRadians);
  EXPECT_EQ(info.GetPrecision(), 4);
  EXPECT_EQ(info.GetInfoKind(), 1);
  EXPECT_EQ(LengthInfo().GetInfoKind(), 0);
  EXPECT_EQ(info.GetConversionFactor(U::kDegrees), 0.017453292519943295);
  EXPECT_EQ(info.GetConversionFactor(U::kGradians), 0.015707963267948967);
  EXPECT_EQ(info.GetConversionFactor(U::kInches), 0.0);
  info.SetUnits(U::kDegrees, false);
  info.SetPrecision(5, false);
  EXPECT_EQ(info.GetEffectivePrecision(), 2);
  EXPECT_DOUBLE_EQ(info.GetPrecisionAsValue(), 0.01 * 0.017453292519943295);
  EXPECT_EQ(info.GetPrecisionAsValue(U::kArchitectural, 0, U::kRadians), 1.0);
  EXPECT_EQ(info.GetPrecisionForValue(0.1 * 0.017453292519943295), 1);
}

TEST(AngleInfoTest, CopiesDropTheSpaceSeparator) {
  AngleInfo source;
  source.SetSpaceSeparator(true);
  source.SetForceFraction(true);
  source.SetUnits(U::kGradians, false);
  const AngleInfo copy(source);
  EXPECT_FALSE(copy.GetSpaceSeparator());
  EXPECT_TRUE(copy.GetForceFraction());
  EXPECT_EQ(copy.GetUnits(), U::kGradians);
  AngleInfo assigned;
  assigned = source;
  EXPECT_FALSE(assigned.GetSpaceSeparator());
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
  ASSERT_TRUE(utils::NotificationCenter::IsMainThread());
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
  info.SetSuppressUnits(true);
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
