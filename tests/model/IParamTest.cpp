#include "model/IParam.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

using iplug::IParam;
using Type = IParam::EParamType;

TEST(IParam, UninitialisedRecordIsNeutral) {
  const IParam param;
  EXPECT_EQ(param.Type(), Type::kTypeNone);
  EXPECT_EQ(param.Name(), "");
  EXPECT_EQ(param.Label(), "");
  EXPECT_EQ(param.Group(), "");
  EXPECT_EQ(param.GetMin(), 0.0);
  EXPECT_EQ(param.GetMax(), 1.0);
  EXPECT_EQ(param.GetStep(), 1.0);
  EXPECT_EQ(param.GetDefault(), 0.0);
  EXPECT_EQ(param.Value(), 0.0);
  EXPECT_FALSE(param.IsStepped());
  EXPECT_EQ(param.NumDisplayTexts(), 0);
}

TEST(IParam, IntIsSteppedWithStepOneAndStartsAtDefault) {
  IParam param;
  param.InitInt("Level", 64, 0, 127, "lbl");
  EXPECT_EQ(param.Type(), Type::kTypeInt);
  EXPECT_EQ(param.Name(), "Level");
  EXPECT_EQ(param.Label(), "lbl");
  EXPECT_TRUE(param.IsStepped());
  EXPECT_EQ(param.GetStep(), 1.0);
  EXPECT_EQ(param.Value(), 64.0);
  EXPECT_EQ(param.DisplayPrecision(), 0);
}

TEST(IParam, DefaultOutsideRangeIsClampedAtInit) {
  IParam param;
  param.InitInt("x", 200, 0, 127);
  EXPECT_EQ(param.Value(), 127.0);
}

TEST(IParam, MaximumSpansAtLeastOneStep) {
  IParam param;
  param.InitInt("x", 5, 5, 3);  // requested maximum below the minimum
  EXPECT_EQ(param.GetMin(), 5.0);
  EXPECT_EQ(param.GetMax(), 6.0);
}

TEST(IParam, SecondInitKeepsFirstType) {
  IParam param;
  param.InitInt("x", 0, 0, 10);
  param.InitDouble("y", 0.0, 0.0, 10.0, 1.0);
  EXPECT_EQ(param.Type(), Type::kTypeInt);
  EXPECT_EQ(param.Name(), "y");
}

TEST(IParam, FromNormalizedRoundsHalfAwayFromZero) {
  IParam param;
  param.InitInt("x", 0, -10, 10);
  EXPECT_EQ(param.FromNormalized(0.375), -3.0);  // -10 + 7.5 = -2.5
  EXPECT_EQ(param.FromNormalized(0.625), 3.0);   // -10 + 12.5 = 2.5
  IParam wide;
  wide.InitInt("y", 0, 0, 127);
  EXPECT_EQ(wide.FromNormalized(0.5), 64.0);  // 63.5
}

TEST(IParam, FromNormalizedClamps) {
  IParam param;
  param.InitInt("x", 0, 0, 127);
  EXPECT_EQ(param.FromNormalized(-1.0), 0.0);
  EXPECT_EQ(param.FromNormalized(2.0), 127.0);
}

TEST(IParam, ToNormalizedRoundsThenClamps) {
  IParam param;
  param.InitInt("x", 0, 0, 100);
  EXPECT_DOUBLE_EQ(param.ToNormalized(50.0), 0.5);
  EXPECT_DOUBLE_EQ(param.ToNormalized(49.5), 0.5);
  EXPECT_DOUBLE_EQ(param.ToNormalized(-20.0), 0.0);
  EXPECT_DOUBLE_EQ(param.ToNormalized(400.0), 1.0);
}

TEST(IParam, RealIsNotSteppedAndIntTruncates) {
  IParam param;
  param.InitDouble("", 0.0, 0.0, 19.0, 1.0);
  EXPECT_EQ(param.Type(), Type::kTypeDouble);
  EXPECT_FALSE(param.IsStepped());
  param.SetNormalized(0.2);  // 3.8
  EXPECT_DOUBLE_EQ(param.Value(), 3.8);
  EXPECT_EQ(param.Int(), 3);
}

TEST(IParam, SetConstrainsAndNaNFallsToMinimum) {
  IParam param;
  param.InitInt("x", 10, 2, 5);
  EXPECT_EQ(param.Value(), 5.0);
  param.Set(3.4);
  EXPECT_EQ(param.Value(), 3.0);
  param.Set(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(param.Value(), 2.0);
}

TEST(IParam, RawValueGoesThroughItsPosition) {
  IParam param;
  param.InitInt("x", 2, 2, 5);
  EXPECT_DOUBLE_EQ(param.RawToNormalized(2), 0.0);
  EXPECT_DOUBLE_EQ(param.RawToNormalized(5), 1.0);
  param.SetFromRaw(0);
  EXPECT_EQ(param.Value(), 2.0);
  param.SetFromRaw(4);
  EXPECT_EQ(param.Value(), 4.0);
  param.SetFromRaw(127);
  EXPECT_EQ(param.Value(), 5.0);
}

TEST(IParam, RawValueOnUninitialisedRecordClampsToItsRange) {
  IParam param;
  param.SetFromRaw(127);
  EXPECT_EQ(param.Value(), 1.0);
}

TEST(IParam, DisplayPrecisionCountsStepDigitsUpToSix) {
  IParam tenth;
  tenth.InitDouble("x", 0.0, 0.0, 1.0, 0.5);
  EXPECT_EQ(tenth.DisplayPrecision(), 1);
  IParam hundredth;
  hundredth.InitDouble("x", 0.0, 0.0, 1.0, 0.25);
  EXPECT_EQ(hundredth.DisplayPrecision(), 2);
  IParam third;
  third.InitDouble("x", 0.0, 0.0, 1.0, 1.0 / 3.0);
  EXPECT_EQ(third.DisplayPrecision(), IParam::kMaxDisplayPrecision);
}

TEST(IParam, DisplayTextWithPrecisionUsesFixedDigits) {
  IParam param;
  param.InitDouble("x", 0.25, 0.0, 1.0, 0.25);
  EXPECT_EQ(param.DisplayText(), "0.25");
}

TEST(IParam, DisplayTextPrefersExactValueText) {
  IParam param;
  param.InitEnum("x", 1, {"zero", "one", "two"});
  EXPECT_EQ(param.GetMax(), 2.0);
  EXPECT_EQ(param.DisplayText(), "one");
  EXPECT_EQ(param.DisplayTextForValue(2.0), "two");
  EXPECT_EQ(param.DisplayTextForValue(7.0), "7");
}

TEST(IParam, DisplayTextRoundsHalfAwayFromZero) {
  IParam param;
  param.InitDouble("x", 0.0, -5.0, 5.0, 1.0);
  EXPECT_EQ(param.DisplayTextForValue(2.5), "3");
  EXPECT_EQ(param.DisplayTextForValue(-2.5), "-3");
  EXPECT_EQ(param.DisplayTextForValue(2.4), "2");
  EXPECT_EQ(param.DisplayTextForValue(1e300), "2147483647");
}

TEST(IParam, ValueTextsAddedOneByOne) {
  IParam param;
  param.InitEnum("x", 0, 3);
  EXPECT_EQ(param.NumDisplayTexts(), 0);
  param.SetDisplayText(0, "a");
  param.SetDisplayText(2, "c");
  param.SetDisplayText(0, "A");  // replaces, does not duplicate
  EXPECT_EQ(param.NumDisplayTexts(), 2);
  EXPECT_EQ(param.DisplayTextForValue(0.0), "A");
  EXPECT_EQ(param.DisplayTextForValue(1.0), "1");
  EXPECT_EQ(param.DisplayTextAt(1).first, 2.0);
  EXPECT_EQ(param.DisplayTextAt(1).second, "c");
  EXPECT_EQ(param.DisplayTextAt(5).second, "");
  EXPECT_EQ(param.DisplayTextFor(1.0), nullptr);
}

TEST(IParam, LabelEmptyWhenValueTextMatchesIntegerPart) {
  IParam param;
  param.InitDouble("x", 0.0, 0.0, 4.0, 1.0, "units");
  param.SetDisplayText(1.0, "one");
  EXPECT_EQ(param.DisplayLabelForValue(0.0), "units");
  EXPECT_EQ(param.DisplayLabelForValue(1.0), "");
  // 1.5 has no exact text, so the number shows, but its integer part has one.
  EXPECT_EQ(param.DisplayTextForValue(1.5), "2");
  EXPECT_EQ(param.DisplayLabelForValue(1.5), "");
  EXPECT_EQ(param.DisplayLabelForValue(2.0), "units");
}

TEST(IParam, LongLabelIsKeptWhole) {
  IParam param;
  param.InitInt("Reverb Mode", 0, 0, 4, "[Room, Hall, Arena, Spring, Plate]");
  EXPECT_EQ(param.Label(), "[Room, Hall, Arena, Spring, Plate]");
  EXPECT_EQ(param.DisplayLabel(), "[Room, Hall, Arena, Spring, Plate]");
}

}  // namespace
