#pragma once
// The bq30z report on the two built-in bq30z55 profiles as the program must
// write it, with colour sequences, and the bus traffic it must make; written
// from the report's texts and the profiles' values.

#include <string>

namespace bq30z_expected {

// Bus trace pieces: a block read line from the bytes as the profile lists them.
std::string Rb(int command, const std::string& bytes);
// A manufacturer data read of `subcommand` answered with `bytes`.
std::string DataRead(int subcommand, const std::string& bytes);
// A gauge-memory row read answered with `bytes`, then its sleep.
std::string RowRead(int row, const std::string& bytes, int sleep);

std::string UnsealedReport();
std::string UnsealedTrace();
std::string SealedReport();
std::string SealedTrace();

}  // namespace bq30z_expected
