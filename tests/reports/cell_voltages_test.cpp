// The cell-voltage search: candidate order, the 59 mV tolerance, block
// candidates read twice, and the fallback to block 0x30.

#include <gtest/gtest.h>

#include <string>

#include "reports/cell_voltages.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;

// The four lines, cell 4 first; labels and values given cell 1 first.
std::string Lines(const std::string (&labels)[4], const std::string (&values)[4]) {
  const char* cell_text[4] = {"VCELL 1:            ", "VCELL 2:........... ", "VCELL 3:            ",
                              "VCELL 4:........... "};
  std::string s;
  for (int n = 3; n >= 0; --n) s += S(W) + labels[n] + C + cell_text[n] + W + values[n] + " mV\n";
  return s;
}

const std::string kWord3B[4] = {" Word 3B  ", " Word 3A  ", " Word 39  ", " Word 38  "};
const std::string kWord3F[4] = {" Word 3F  ", " Word 3E  ", " Word 3D  ", " Word 3C  "};
const std::string kBlock23[4] = {" Block 23 ", " Block 23 ", " Block 23 ", " Block 23 "};
const std::string kBlock30[4] = {" Block 30 ", " Block 30 ", " Block 30 ", " Block 30 "};

std::string Candidate1(int pack) {
  return R"("0x09": )" + std::to_string(pack) + R"(, "0x3B": 3700, "0x3A": 3701, "0x39": 3702, "0x38": 3703)";
}

const char* kCandidate1Trace = "rw 3b -> 3700\nrw 3a -> 3701\nrw 39 -> 3702\nrw 38 -> 3703\n";

TEST(CellVoltages, DifferenceOf59IsAcceptedAt60TheSearchGoesOn) {
  // Sum 14806 against the pack voltage, either side.
  for (int pack : {14865, 14747}) {
    SCOPED_TRACE(pack);
    Rig t(R"({"words": {)" + Candidate1(pack) + "}}");
    reports::CellVoltages(t.p());
    EXPECT_EQ(t.Output(), Lines(kWord3B, {"3700", "3701", "3702", "3703"}));
    EXPECT_EQ(t.TraceText(), "rw 09 -> " + std::to_string(pack) + "\n" + kCandidate1Trace);
  }
  for (int pack : {14866, 14746}) {
    SCOPED_TRACE(pack);
    Rig t(R"({"words": {)" + Candidate1(pack) + "}}");
    reports::CellVoltages(t.p());
    const std::string v = "rw 09 -> " + std::to_string(pack) + "\n";
    // Nothing else answers: every later candidate is read, block 0x30's zeros shown.
    EXPECT_EQ(t.TraceText(), v + kCandidate1Trace + v + "rw 3f -> -9\nrw 3e -> -9\nrw 3d -> -9\nrw 3c -> -9\n" +
                                 "rb 23 -> -9\nsleep 5\nrb 23 -> -9\nsleep 15\n" + v +
                                 v + "rw 6c -> -9\nrw 6d -> -9\nrw 6e -> -9\nrw 6f -> -9\n" +
                                 "rb 30 -> -9\nsleep 5\nrb 30 -> -9\nsleep 15\n" + v);
    EXPECT_EQ(t.Output(), Lines(kBlock30, {"0", "0", "0", "0"}));
  }
}

TEST(CellVoltages, ThreeCellPackMatchesWithAZeroFourthCell) {
  Rig t(R"({"words": {"0x09": 12500, "0x3B": 4170, "0x3A": 4160, "0x39": 4150, "0x38": 0}})");
  reports::CellVoltages(t.p());
  EXPECT_EQ(t.Output(), Lines(kWord3B, {"4170", "4160", "4150", "0"}));
  EXPECT_EQ(t.TraceText(), "rw 09 -> 12500\nrw 3b -> 4170\nrw 3a -> 4160\nrw 39 -> 4150\nrw 38 -> 0\n");
}

TEST(CellVoltages, ZerosInCandidate1LeadToCandidate2WithItsLabels) {
  Rig t(
      R"({"words": {"0x09": 16000, "0x3B": 0, "0x3A": 0, "0x39": 0, "0x38": 0,
                    "0x3F": 4001, "0x3E": 4002, "0x3D": 3998, "0x3C": 3999}})");
  reports::CellVoltages(t.p());
  EXPECT_EQ(t.Output(), Lines(kWord3F, {"4001", "4002", "3998", "3999"}));
  EXPECT_EQ(t.TraceText(),
            "rw 09 -> 16000\nrw 3b -> 0\nrw 3a -> 0\nrw 39 -> 0\nrw 38 -> 0\n"
            "rw 09 -> 16000\nrw 3f -> 4001\nrw 3e -> 4002\nrw 3d -> 3998\nrw 3c -> 3999\n");
}

TEST(CellVoltages, BlockCandidateReadsTwiceAndTakesTheSecondAnswer) {
  // Cells at bytes 10-11 (cell 1), 8-9, 6-7, 4-5, little-endian. The first
  // read answers something else; only the second counts.
  Rig match(R"({"words": {"0x09": 14990},
                        "blocks": {"0x23": ["00 00 00 00 01 00 02 00 03 00 04 00",
                                            "AA BB CC DD A0 0E A1 0E A2 0E A3 0E"]}})");
  reports::CellVoltages(match.p());
  EXPECT_EQ(match.Output(), Lines(kBlock23, {"3747", "3746", "3745", "3744"}));
  EXPECT_EQ(match.TraceText(),
            "rw 09 -> 14990\nrw 3b -> -9\nrw 3a -> -9\nrw 39 -> -9\nrw 38 -> -9\n"
            "rw 09 -> 14990\nrw 3f -> -9\nrw 3e -> -9\nrw 3d -> -9\nrw 3c -> -9\n"
            "rb 23 -> 12 00 00 00 00 01 00 02 00 03 00 04 00\nsleep 5\n"
            "rb 23 -> 12 aa bb cc dd a0 0e a1 0e a2 0e a3 0e\nsleep 15\n"
            "rw 09 -> 14990\n");
}

TEST(CellVoltages, NoMatchShowsBlock30FromItsFirstBytes) {
  Rig t(R"({"words": {"0x09": 16000, "0x6C": 1, "0x6D": 2, "0x6E": 3, "0x6F": 4},
                    "blocks": {"0x30": ["11 11 22 22 33 33 44 44", "10 0E 11 0E 12 0E 13 0E 99"]}})");
  reports::CellVoltages(t.p());
  EXPECT_EQ(t.Output(), Lines(kBlock30, {"3600", "3601", "3602", "3603"}));
  const std::string trace = t.TraceText();
  const std::string tail =
      "rw 09 -> 16000\nrw 6c -> 1\nrw 6d -> 2\nrw 6e -> 3\nrw 6f -> 4\n"
      "rb 30 -> 8 11 11 22 22 33 33 44 44\nsleep 5\n"
      "rb 30 -> 9 10 0e 11 0e 12 0e 13 0e 99\nsleep 15\n"
      "rw 09 -> 16000\n";
  ASSERT_GE(trace.size(), tail.size());
  EXPECT_EQ(trace.substr(trace.size() - tail.size()), tail);
}

TEST(CellVoltages, BlockBufferIsNotClearedBetweenCandidates) {
  // Block 0x30 fails, so candidate 5 shows bytes 0-7 left by block 0x23.
  Rig t(R"({"words": {"0x09": 1000},
                    "blocks": {"0x23": "01 00 02 00 03 00 04 00 05 00 06 00"}})");
  reports::CellVoltages(t.p());
  EXPECT_EQ(t.Output(), Lines(kBlock30, {"1", "2", "3", "4"}));
}

TEST(CellVoltages, CellValuesAreUnsignedAndAFailedVoltageReadFails) {
  Rig t(R"({"words": {"0x09": 65534, "0x3B": "0xFFFE", "0x3A": 0, "0x39": 0, "0x38": 0}})");
  reports::CellVoltages(t.p());
  EXPECT_EQ(t.Output(), Lines(kWord3B, {"65534", "0", "0", "0"}));

  // A failed Voltage read (-9) fails a pack whose cells are there; the
  // unanswered block 0x23 leaves zeros, which lie within 59 of the code.
  Rig failed(R"({"words": {"0x3B": 3700, "0x3A": 3701, "0x39": 3702, "0x38": 3703}})");
  reports::CellVoltages(failed.p());
  EXPECT_EQ(failed.Output(), Lines(kBlock23, {"0", "0", "0", "0"}));

  // Cells that read 0 are taken at once for the same reason.
  Rig zeros(R"({"words": {"0x3B": 0, "0x3A": 0, "0x39": 0, "0x38": 0}})");
  reports::CellVoltages(zeros.p());
  EXPECT_EQ(zeros.Output(), Lines(kWord3B, {"0", "0", "0", "0"}));
  EXPECT_EQ(zeros.TraceText(), "rw 09 -> -9\nrw 3b -> 0\nrw 3a -> 0\nrw 39 -> 0\nrw 38 -> 0\n");
}

}  // namespace
