// The words a jack page shows for what a pedal or footswitch sends.

#include <gtest/gtest.h>

#include "editor/JackFunctions.h"

namespace kr7 {
namespace {

struct Case {
  bool pedal;
  int mode;
  int channel;
  int controller;
  JackLines expected;
};

TEST(JackFunctionsTest, DescribesEveryModeOfPedalsAndSwitches) {
  const Case cases[] = {
      {true, kPedalControl, 0, 11, {"CH 1 - CC 11", "Expression Pedal", ""}},
      {true, kPedalAftertouch, 4, 11, {"CH 5 AFTERTOUCH", "", ""}},
      {true, kPedalBend, 15, 11, {"CH 16 PITCH BEND", "", ""}},
      {true, 3, 0, 11, {"", "", ""}},
      {false, kSwitchControl, 1, 64, {"CH 2 - CC 64", "Sustain Pedal", ""}},
      {false, kSwitchNote, 9, 61, {"CH 10 NOTE C#3", "", ""}},
      {false, kSwitchNote, 0, 0, {"CH 1 NOTE C-2", "", ""}},
      {false, kSwitchStart, 3, 5, {"START/STOP", "", ""}},
      {false, kSwitchStop, 3, 5, {"START/STOP", "", ""}},
      {false, kSwitchProgramChange, 2, 5, {"CH 3 PRG. CHANGE", "", ""}},
      {false, kSwitchSpecialControl, 0, 127, {"CH 1 - CC 127", "Poly Mode", ""}},
      {false, kSwitchPedal, 0, 3, {"CH 1 - CC 3", "", "PEDAL"}},
      {false, 7, 0, 3, {"", "", ""}},
  };
  for (const Case& c : cases) {
    const JackLines lines = c.pedal ? DescribePedal(c.mode, c.channel, c.controller)
                                    : DescribeSwitch(c.mode, c.channel, c.controller);
    EXPECT_EQ(lines, c.expected) << "pedal " << c.pedal << " mode " << c.mode;
  }
  EXPECT_EQ(ControlChangeName(19), "Slider, Knob or Ribbon Controller");
  EXPECT_EQ(ControlChangeName(128), "");
  EXPECT_EQ(JackFunctionOf(kParamSwitchB2Controller), 5);
  EXPECT_EQ(JackOfMode(kParamJack2Mode), 1);
}

}  // namespace
}  // namespace kr7
