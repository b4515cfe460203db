#include "FolianUtils/units_info.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FolianUtils/notification_center.h"
#include "units/length_test_support.h"

namespace velmar::units {
namespace {

using U = UnitsInfo;
using utils::testing::MakeLengthInfo;

// The two tables agree; units outside them convert by 1.
TEST(UnitsFactorsTest, TablesAreReciprocal) {
  for (int u = -1; u <= U::kUnitsCount + 1; ++u) {
    const auto units = static_cast<U::Units>(u);
    EXPECT_DOUBLE_EQ(GetFactorToInches(units) * GetFactorFromInches(units), 1.0) << u;
  }
  EXPECT_EQ(GetFactorFromInches(U::kMillimeters), 25.4);
}

// The precision is capped by the shown unit (binary formats show inches);
// steps, rounding and the nearest precision follow the format, a tie going
// to the finer step; a copy takes the effective precision and the shown unit.
TEST(LengthInfoTest, PrecisionFollowsTheFormatAndUnit) {
  EXPECT_EQ(MakeLengthInfo({U::kFractional, U::kPoints, 9}).GetEffectivePrecision(), 6);
  EXPECT_EQ(MakeLengthInfo({U::kDecimal, U::kPoints, 9}).GetEffectivePrecision(), 1);
  EXPECT_EQ(MakeLengthInfo({U::kDecimal, U::kYards, 9}).GetEffectivePrecision(), 4);
  EXPECT_EQ(MakeLengthInfo({U::kEngineering, U::kMillimeters, 9}).GetConversionFactor(), 12.0);
  const LengthInfo info;
  EXPECT_EQ(info.GetPrecisionAsValue(U::kFractional, 4, U::kMillimeters), 0.0625);
  EXPECT_DOUBLE_EQ(info.GetPrecisionAsValue(U::kEngineering, 2, U::kFeet), 0.12);
  EXPECT_EQ(MakeLengthInfo({U::kFractional, U::kInches, 2}).RoundToPrecision(1.13), 1.25);
  EXPECT_EQ(MakeLengthInfo({U::kDecimal, U::kMillimeters, 9}).GetPrecisionForValue(0.1 / 25.4), 1);
  EXPECT_EQ(MakeLengthInfo({U::kDecimal, U::kInches, 9}).GetPrecisionForValue(1e-12), 7);
  EXPECT_EQ(MakeLengthInfo({U::kFractional, U::kInches, 9}).GetPrecisionForValue(0.75), 1);
  LengthInfo source = MakeLengthInfo({U::kArchitectural, U::kMillimeters, 12});
  source.SetSpaceSeparator(true);
  const std::unique_ptr<LengthInfo> clone(source.Clone());
  EXPECT_EQ(clone->GetPrecision(), 6);
  EXPECT_TRUE(clone->GetSpaceSeparator());
  clone->SetFormat(U::kDecimal, false);
  EXPECT_EQ(clone->GetUnits(), U::kInches);
  EXPECT_TRUE(clone->GetInfoKind() == 0 &&
              std::unique_ptr<AngleInfo>(AngleInfo().Clone())->GetInfoKind() == 1);
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
  EXPECT_FALSE(assigned.GetSpaceSeparator());
  EXPECT_EQ(assigned.GetPrecision(), 2);
}

class Recorder : public utils::NotificationObserver {
 public:
  void OnNotification(const std::string& name, const void* sender) override {
    names += name.substr(name.rfind(':') + 1) + (sender == expected_sender ? " " : "? ");
  }
  std::string names;
  const void* expected_sender = nullptr;
};

TEST(UnitsInfoNotificationTest, NotifyingSettersPostEvenWithoutChange) {
  auto& center = utils::NotificationCenter::Default();
  Recorder recorder;
  for (const char* name : {U::kFormatChanged, U::kUnitsChanged, U::kPrecisionChanged}) {
    center.AddObserver(name, &recorder);
  }
  LengthInfo info;  // construction posts nothing
  recorder.expected_sender = &info;
  info.SetFormat(U::kDecimal);
  info.SetUnits(U::kInches);
  info.SetPrecision(2);
  info.SetFormat(U::kFractional, false);
  info.SetUnits(U::kFeet, false);
  info.SetPrecision(3, false);
  const LengthInfo copy(info);  // copies post nothing either
  center.RemoveObserver(&recorder);
  EXPECT_EQ(recorder.names, "kFormatChanged kUnitsChanged kPrecisionChanged ");
}

}  // namespace
}  // namespace velmar::units
