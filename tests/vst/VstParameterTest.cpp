// Parameters as the host sees them: names, labels, display texts, normalised
// values, text entry and the vendor-specific display query.
#include "VstFixture.h"

#include <climits>
#include <limits>

using VstParameters = VstFixture;

namespace {
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
}  // namespace

TEST_F(VstParameters, NamesLabelsAndDefaults) {
  EXPECT_EQ(Text(effGetParamName, kDelayParam, kVstMaxParamStrLen), "Delay");
  EXPECT_EQ(Text(effGetParamName, kPanParam, kVstMaxParamStrLen), "Pan");
  EXPECT_EQ(Text(effGetParamName, kWetMixParam, kVstMaxParamStrLen), "Wet Mix");
  EXPECT_EQ(Text(effGetParamLabel, kDelayParam, kVstMaxParamStrLen), "ms");
  EXPECT_EQ(Text(effGetParamLabel, kPanParam, kVstMaxParamStrLen), "") << "a value with its own text has no unit";
  EXPECT_EQ(Text(effGetParamLabel, kWetMixParam, kVstMaxParamStrLen), "dB");
  EXPECT_EQ(ParamDisplay(kDelayParam), "20.000");
  EXPECT_EQ(ParamDisplay(kPanParam), "Left");
  EXPECT_EQ(ParamDisplay(kWetMixParam), "0");
  // Default Delay 20 of 1...40 ms.
  EXPECT_FLOAT_EQ(GetParameter(kDelayParam), 19.0f / 39.0f);
  EXPECT_EQ(GetParameter(kPanParam), 0.0f);
  EXPECT_EQ(GetParameter(kWetMixParam), 0.5f);
}

TEST_F(VstParameters, TextOpcodesIgnoreUnknownIndicesAndNullBuffers) {
  for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
    for (VstInt32 index : {-1, 3, INT_MAX, INT_MIN}) {
      char buffer[16] = "untouched";
      EXPECT_EQ(Dispatch(opcode, index, 0, buffer), 0);
      EXPECT_STREQ(buffer, "untouched") << "opcode " << opcode << " index " << index;
    }
    EXPECT_EQ(Dispatch(opcode, 0, 0, nullptr), 0);
  }
}

TEST_F(VstParameters, SetAndGetNormalised) {
  SetParameter(kDelayParam, 0.5f);
  EXPECT_EQ(GetParameter(kDelayParam), 0.5f) << "a continuous value is not rounded";
  EXPECT_EQ(ParamDisplay(kDelayParam), "20.500");
  SetParameter(kWetMixParam, 0.5f);
  EXPECT_EQ(ParamDisplay(kWetMixParam), "0");
  SetParameter(kWetMixParam, 1.0f);
  EXPECT_EQ(ParamDisplay(kWetMixParam), "10.0");
  SetParameter(kPanParam, 0.7f);
  EXPECT_EQ(GetParameter(kPanParam), 1.0f) << "a choice snaps to its nearest value";
  EXPECT_EQ(ParamDisplay(kPanParam), "Right");
  SetParameter(kPanParam, 0.49f);
  EXPECT_EQ(ParamDisplay(kPanParam), "Left");
}

TEST_F(VstParameters, UnknownIndexChangesNothing) {
  const float before[3] = {GetParameter(0), GetParameter(1), GetParameter(2)};
  for (VstInt32 index : {-1, 3, INT_MIN, INT_MAX}) {
    SetParameter(index, 1.0f);
    EXPECT_EQ(GetParameter(index), 0.0f);
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(GetParameter(i), before[i]);
}

TEST_F(VstParameters, NonFiniteValuesAreIgnored) {
  SetParameter(kDelayParam, 0.25f);
  for (float bad : {kNaN, kInf, -kInf}) {
    SetParameter(kDelayParam, bad);
    EXPECT_EQ(GetParameter(kDelayParam), 0.25f);
    SetParameter(kWetMixParam, bad);
    EXPECT_EQ(GetParameter(kWetMixParam), 0.5f);
  }
  EXPECT_EQ(ParamDisplay(kDelayParam), "10.750");
}

TEST_F(VstParameters, ValuesOutsideTheUnitRangeClamp) {
  SetParameter(kDelayParam, 7.5f);
  EXPECT_EQ(GetParameter(kDelayParam), 1.0f);
  EXPECT_EQ(ParamDisplay(kDelayParam), "40.000");
  SetParameter(kDelayParam, -3.0f);
  EXPECT_EQ(GetParameter(kDelayParam), 0.0f);
  EXPECT_EQ(ParamDisplay(kDelayParam), "1.000");
  SetParameter(kWetMixParam, -1.0f);
  EXPECT_EQ(ParamDisplay(kWetMixParam), "-10.0");
  SetParameter(kPanParam, 2.0f);
  EXPECT_EQ(ParamDisplay(kPanParam), "Right");
}

TEST_F(VstParameters, StringToParameter) {
  SetParameterText(kPanParam, "Right");
  EXPECT_EQ(GetParameter(kPanParam), 1.0f);
  // None of Pan's texts: refused, nothing changes.
  EXPECT_EQ(Dispatch(effString2Parameter, kPanParam, 0, const_cast<char*>("right")), 0);
  EXPECT_EQ(Dispatch(effString2Parameter, kPanParam, 0, const_cast<char*>("1")), 0);
  EXPECT_EQ(GetParameter(kPanParam), 1.0f);
  SetParameterText(kPanParam, "Left");
  EXPECT_EQ(GetParameter(kPanParam), 0.0f);

  SetParameterText(kDelayParam, "55");
  EXPECT_EQ(ParamDisplay(kDelayParam), "40.000") << "clamped to the maximum";
  SetParameterText(kDelayParam, "12.3456 ms");
  EXPECT_EQ(ParamDisplay(kDelayParam), "12.346") << "the leading number, not rounded to the step";
  SetParameterText(kDelayParam, "abc");
  EXPECT_EQ(ParamDisplay(kDelayParam), "1.000") << "no number reads as 0, clamped to the minimum";
  SetParameterText(kWetMixParam, "-4.1");
  EXPECT_EQ(ParamDisplay(kWetMixParam), "-4.1");

  EXPECT_EQ(Dispatch(effString2Parameter, 3, 0, const_cast<char*>("1")), 0);
  EXPECT_EQ(Dispatch(effString2Parameter, -1, 0, const_cast<char*>("1")), 0);
  EXPECT_EQ(Dispatch(effString2Parameter, kDelayParam, 0, nullptr), 1);
  EXPECT_EQ(ParamDisplay(kDelayParam), "1.000");
}

TEST_F(VstParameters, StringToParameterRefusesNonFiniteNumbers) {
  SetParameterText(kWetMixParam, "3");
  for (const char* text : {"nan", "NAN(123)", "inf", "-infinity", "1e999", "-1e400"}) {
    EXPECT_EQ(Dispatch(effString2Parameter, kWetMixParam, 0, const_cast<char*>(text)), 0) << text;
    EXPECT_EQ(ParamDisplay(kWetMixParam), "3.0") << text;
    EXPECT_EQ(Dispatch(effString2Parameter, kDelayParam, 0, const_cast<char*>(text)), 0) << text;
  }
  EXPECT_EQ(ParamDisplay(kDelayParam), "20.000");
}

TEST_F(VstParameters, VendorSpecificDisplayOfANormalisedValue) {
  char buffer[256];
  auto query = [&](VstIntPtr param, float value) {
    std::memset(buffer, '\x7f', sizeof(buffer));
    std::strcpy(buffer, "untouched");
    return Dispatch(effVendorSpecific, effGetParamDisplay, param, buffer, value);
  };
  EXPECT_EQ(query(kDelayParam, 1.0f), 0xBEEF);
  EXPECT_STREQ(buffer, "40.000");
  EXPECT_EQ(query(kPanParam, 0.7f), 0xBEEF);
  EXPECT_STREQ(buffer, "Left") << "the display truncates where setting rounds";
  EXPECT_EQ(query(kWetMixParam, 0.0f), 0xBEEF);
  EXPECT_STREQ(buffer, "-10.0");
  // The host's value does not change the parameter.
  EXPECT_EQ(ParamDisplay(kDelayParam), "20.000");

  // Values outside 0...1 show the nearest end of the range; NaN shows nothing.
  EXPECT_EQ(query(kDelayParam, 25.0f), 0xBEEF);
  EXPECT_STREQ(buffer, "40.000");
  EXPECT_EQ(query(kWetMixParam, -1e30f), 0xBEEF);
  EXPECT_STREQ(buffer, "-10.0");
  EXPECT_EQ(query(kDelayParam, kNaN), 0xBEEF);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(query(kDelayParam, -kInf), 0xBEEF);
  EXPECT_STREQ(buffer, "1.000");

  // Unknown parameter: answered, buffer left alone.
  EXPECT_EQ(query(5, 0.5f), 0xBEEF);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(query(-1, 0.5f), 0xBEEF);
  EXPECT_STREQ(buffer, "untouched");
  // Other vendor queries and a null buffer are not answered.
  EXPECT_EQ(Dispatch(effVendorSpecific, 8, 0, buffer, 0.5f), 0);
  EXPECT_EQ(Dispatch(effVendorSpecific, effGetParamDisplay, 0, nullptr, 0.5f), 0);
  EXPECT_STREQ(buffer, "untouched");
}

TEST_F(VstParameters, VendorSpecificTextStaysWithinTheParameterTextLimit) {
  char buffer[64];
  std::memset(buffer, '\x7f', sizeof(buffer));
  ASSERT_EQ(Dispatch(effVendorSpecific, effGetParamDisplay, kDelayParam, buffer, 0.6f), 0xBEEF);
  EXPECT_NE(std::memchr(buffer, '\0', kVstMaxParamStrLen), nullptr);
  for (size_t i = std::strlen(buffer) + 1; i < sizeof(buffer); ++i) ASSERT_EQ(buffer[i], '\x7f');
}
