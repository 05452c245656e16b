#pragma once
// The bq20z report on the built-in bq20z profiles, as the screen and the bus
// trace must show it, composed from the report's own texts and the values
// the profiles hold.

#include <string>

namespace bq20z_expected {

// Screen and trace of one report run on bq20z-sealed / bq20z-unsealed.
std::string SealedScreen();
std::string SealedTrace();
std::string UnsealedScreen();
std::string UnsealedTrace();

}  // namespace bq20z_expected
