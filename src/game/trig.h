// Sine and cosine for the rules. The library's may differ in the last bit from one
// build or machine to another, and a replay must come out the same everywhere:
// these are a fixed reduction and polynomial in plain double arithmetic (the
// classic kernels, within an ulp or two of the library on the game's angles).
#pragma once

namespace pondaro {

double GameSin(double x);
double GameCos(double x);

}  // namespace pondaro
